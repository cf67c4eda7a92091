#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/Files.h"
#include "platform/FixedText.h"
#include "platform/Prompts.h"
#include "script/ScriptReader.h"

namespace setup {

// The file lists of the setup script, shared by the install, the deinstall, the file-version
// display and the program group. Rows at and past `count` hold nothing meaningful.
//
// The lists are big (a CompFileList is about 50 KB): callers keep them static or on the heap,
// never as locals of a dialog procedure or the message loop.

inline constexpr int kMaxFileRows = 260;
inline constexpr int kMaxProgmanItems = 16;

// A file name or subdirectory of the file lists: at most 31 characters.
using ListName = FixedText<32>;
using FileColumn = std::array<ListName, kMaxFileRows>;
// Group name, item title and item parameter: at most 63 characters.
using ItemText = FixedText<64>;

// Markers, each compared with a whole field, case-sensitively.
inline constexpr std::string_view kNoSetupDir = "!NOSETUPDIR";    // setup subdirectory
inline constexpr std::string_view kNoWinSystem = "!NOWINSYSTEM";  // Windows subdirectory
inline constexpr std::string_view kVersionOn = "!VERSION_ON";     // version switch
inline constexpr std::string_view kSetupFile = "!SETUPFILE";      // command
// A command that is the setup program with the item's parameter line appended.
inline constexpr std::string_view kSetupFileWithCmd = "!SETUPFILE+CMD";
inline constexpr std::string_view kSetupDir = "!SETUPDIR";    // working directory
inline constexpr std::string_view kSetupIcon = "!SETUPICON";  // icon file

// [COMPFILES]: the package's compressed files. Every row carries its group's directories and
// version switch.
struct CompFileList {
  std::int32_t count = 0;
  FileColumn sourceNames{};
  FileColumn targetNames{};
  FileColumn sourceSubdirs{};    // below the source directory
  FileColumn setupSubdirs{};     // below the destination directory, or kNoSetupDir
  FileColumn windowsSubdirs{};   // below the Windows directory, or kNoWinSystem
  FileColumn versionSwitches{};  // kVersionOn shows the file in the version display
};

// [ADDFILES]: files copied unchanged, under the same name, into the destination.
struct AddFileList {
  std::int32_t count = 0;
  FileColumn sourceSubdirs{};  // below the source directory
  FileColumn fileNames{};
  FileColumn targetSubdirs{};  // below the destination directory
};

// [DELETEADDFILES]: files the installed software makes and only the deinstall removes.
struct DeleteFileList {
  std::int32_t count = 0;
  FileColumn subdirs{};  // below the setup directory
  FileColumn fileNames{};
};

// [PROGMAN]: the program group and the items of one language.
struct ProgmanItemList {
  std::int32_t count = 0;
  ItemText groupName;
  std::array<ItemText, kMaxProgmanItems> titles{};
  std::array<PathText, kMaxProgmanItems> commands{};     // or kSetupFile, kSetupFileWithCmd
  std::array<ItemText, kMaxProgmanItems> parameters{};   // empty unless kSetupFileWithCmd
  std::array<PathText, kMaxProgmanItems> workingDirs{};  // below the destination, or kSetupDir
  std::array<PathText, kMaxProgmanItems> iconFiles{};    // below the destination, or kSetupIcon
  std::array<std::uint16_t, kMaxProgmanItems> iconIndices{};
};

// Each reader fills its list from its section of the script: 1 when the section was read or
// is missing (an empty list), 0 after "Can't find SETUPINFOFILE!" when the script cannot be
// opened, kListRefused when the section does not fit its list. A line longer than its field
// or holding a NUL byte (which would hide the rest), more rows or items than the list holds,
// or a file group that the file ends inside refuses the whole section: its first such line is
// shown by number and text and the list comes back empty, so that no cut name can stand for
// another file and no row lacks its directories. Groups stop where the file ends between two.
inline constexpr int kListRefused = -1;
int ReadCompFiles(Files& files, Prompts& prompts, const ScriptLocation& script, CompFileList& list);
int ReadAddFiles(Files& files, Prompts& prompts, const ScriptLocation& script, AddFileList& list);
int ReadDeleteAddFiles(Files& files, Prompts& prompts, const ScriptLocation& script,
                       DeleteFileList& list);
// The items of the block led by `language`, a display name matched ignoring case. Without
// such a block the list holds the group name and no items.
int ReadProgmanItems(Files& files, Prompts& prompts, const ScriptLocation& script,
                     std::string_view language, ProgmanItemList& list);

}  // namespace setup
