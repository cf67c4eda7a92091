#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/Dialog.h"
#include "platform/Files.h"
#include "platform/FixedText.h"
#include "platform/Prompts.h"
#include "script/ScriptReader.h"

namespace setup {

// Remote-maintenance modes, as [MAINTENANCE] names them.
inline constexpr std::uint32_t kMaintenanceOff = 0;
inline constexpr std::uint32_t kMaintenanceFull = 1;
inline constexpr std::uint32_t kMaintenanceDefault = 2;
inline constexpr std::uint32_t kMaintenanceDefaultInvisible = 3;

inline constexpr std::size_t kMaxCdpn = 1;
inline constexpr std::size_t kMaxCgpn = 8;

// A maintenance user name or password: at most 78 characters.
using MaintenanceText = FixedText<79>;
// A party number as number, comma and subaddress: at most 39 characters.
using PartyNumber = FixedText<40>;

// The remote-maintenance defaults of the setup script.
struct MaintenanceConfig {
  std::uint32_t Mode = kMaintenanceOff;
  std::uint32_t cipValue = 0;
  std::uint32_t Controller = 0;
  MaintenanceText username;
  MaintenanceText password;
  std::array<PartyNumber, kMaxCdpn> Cdpn{};  // called party
  std::array<PartyNumber, kMaxCgpn> Cgpn{};  // calling parties
  std::uint32_t CdpnCount = 0;
  std::uint32_t CgpnCount = 0;
};

// The driver directory every protocol's image lies in; an image path's file part is what
// follows its first kDriverPrefix.size() characters.
inline constexpr std::string_view kDriverPrefix = "\\SystemRoot\\System32\\drivers\\";
static_assert(kDriverPrefix.size() == 29);

// Option flags of a protocol.
inline constexpr std::uint32_t kProtocolNeedsSpid = 1;
inline constexpr std::uint32_t kProtocolHasX31 = 2;

// FindProtocolIndex when no protocol has the image.
inline constexpr std::uint32_t kNoProtocol = 0x0FFFFFFF;

// Every [MAINTENANCE] section in turn, each overwriting what an earlier one gave, until the
// first "!MAINTENANCE_OFF", which sets Mode 0, keeps every other field and ends the reading.
// A mode line that is none of the four keywords counts as off, but the section's other
// lines are still taken. Lists take at most their size; longer texts are cut to their field.
// 1 when a section was found; 0 without one or without a script, silently.
int ReadMaintenanceSection(Files& files, const ScriptLocation& script, MaintenanceConfig& config);

// The line after [DEFPROTOCOL]: 1, or 0 with `buffer` unchanged.
int ReadDefaultProtocol(Files& files, Prompts& prompts, const ScriptLocation& script,
                        LineText& buffer);

// 1 when a protocol of [PROTOCOL] has kProtocolNeedsSpid.
int AnyProtocolNeedsSpid(Files& files, Prompts& prompts, const ScriptLocation& script);

// Adds the display names of [PROTOCOL], in script order, to a combo box; reads from the
// script `file` opened by the caller, and closes it. Always 1.
int AddProtocolNames(OpenFile file, DialogView& view, int controlId);

// The 0-based position of the protocol whose driver file equals the image path's file part,
// ignoring case; kNoProtocol without one.
std::uint32_t FindProtocolIndex(Files& files, Prompts& prompts, const ScriptLocation& script,
                                std::string_view imagePath);

// Replaces `imagePath` by the driver image of the protocol with the display name `name`
// (case-sensitive): 1, or 0 with `imagePath` unchanged when no protocol has that name or its
// image path would not fit.
int GetScriptNewImagePath(Files& files, Prompts& prompts, const ScriptLocation& script,
                          std::string_view name, PathText& imagePath);

// The flags of the protocol whose display name equals `nameOrImagePath` or whose driver file
// equals its file part, both ignoring case; 0 without one.
std::uint32_t GetProtocolFlags(Files& files, Prompts& prompts, const ScriptLocation& script,
                               std::string_view nameOrImagePath);

}  // namespace setup
