#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Files.h"

namespace setup {

// What every Files implementation must do as Windows does it. `Env` gives `Files& files()`,
// `std::string scratch()`, the absolute Windows path of an empty folder it owns, and
// `SetLastWriteTime(path, fileTime)`.
template <class Env>
class FilesContract : public ::testing::Test {
 protected:
  using Handle = Files::Handle;

  Files& files() { return env_.files(); }
  std::string At(std::string_view name) { return env_.scratch() + "\\" + std::string(name); }

  void Put(const std::string& path, std::string_view bytes) {
    const Handle file = files().Create(path);
    ASSERT_NE(file, Files::kInvalid) << path;
    EXPECT_EQ(files().Write(file, bytes.data(), static_cast<std::uint32_t>(bytes.size())),
              static_cast<std::int32_t>(bytes.size()));
    files().Close(file);
  }

  // Everything from the current position to the end, read in small pieces.
  std::string Rest(Handle file) {
    std::string bytes;
    char chunk[3];
    for (std::int32_t n; (n = files().Read(file, chunk, sizeof chunk)) > 0;)
      bytes.append(chunk, static_cast<std::size_t>(n));
    return bytes;
  }

  std::string Contents(const std::string& path) {
    OpenFile file = OpenForReading(files(), path);
    EXPECT_TRUE(file.valid()) << path;
    return file.valid() ? Rest(file.handle()) : std::string();
  }

  // The attribute bits callers look at; Windows adds the archive bit of its own accord.
  std::optional<std::uint32_t> Watched(const std::string& path) {
    const std::optional<std::uint32_t> attributes = files().Attributes(path);
    if (!attributes) return std::nullopt;
    return *attributes & (Files::kReadOnly | Files::kHidden | Files::kDirectory);
  }

  Env env_;
};

TYPED_TEST_SUITE_P(FilesContract);

// Binary bytes come back unchanged (no CR LF translation, NUL and high bytes kept) in any
// piece size, then zero; names match without regard to case; an edit in place reads, seeks
// (the line reader reads ahead, seeks back, and past the end when a file ends in CR) and
// writes at the end or over bytes; what is no file never opens, and opening for writing
// never creates what is missing.
TYPED_TEST_P(FilesContract, BytesNamesAndPositionsBehaveAsOnWindows) {
  Files& f = this->files();
  for (const char* path : {"missing.txt", ""}) {
    EXPECT_EQ(f.OpenRead(this->At(path)), Files::kInvalid) << path;
    EXPECT_EQ(f.OpenReadWrite(this->At(path)), Files::kInvalid) << path;
  }
  EXPECT_EQ(f.Create(this->At("nofolder\\file.txt")), Files::kInvalid);
  EXPECT_EQ(f.Attributes(this->At("missing.txt")), std::nullopt);

  const std::string bytes("A\r\nB\nC\0\xAF\xFF", 9);
  this->Put(this->At("Data.Bin"), bytes);
  EXPECT_EQ(this->Contents(this->At("DATA.BIN")), bytes);
  this->Put(this->At("data.bin"), "0123\r");  // the same file, truncated
  {
    OpenFile file(f, f.OpenReadWrite(this->At("DATA.bin")));
    ASSERT_TRUE(file.valid());
    const Files::Handle h = file.handle();
    char chunk[8];
    EXPECT_EQ(f.Read(h, chunk, 2), 2);
    EXPECT_EQ(std::string_view(chunk, 2), "01");
    EXPECT_EQ(f.Seek(h, 0, Files::Origin::End), 5);
    EXPECT_EQ(f.Write(h, "\n45", 3), 3);
    EXPECT_EQ(f.Seek(h, 1, Files::Origin::Begin), 1);
    EXPECT_EQ(f.Write(h, "x", 1), 1);
    EXPECT_EQ(f.Read(h, chunk, sizeof chunk), 6);
    EXPECT_EQ(std::string_view(chunk, 6), "23\r\n45");
    EXPECT_EQ(f.Seek(h, -5, Files::Origin::Current), 3);
    EXPECT_EQ(this->Rest(h), "3\r\n45");
    EXPECT_EQ(f.Read(h, chunk, 1), 0);
    EXPECT_EQ(f.Seek(h, 1, Files::Origin::End), 9);
    EXPECT_EQ(f.Read(h, chunk, 1), 0);
  }
  EXPECT_EQ(this->Contents(this->At("data.bin")), "0x23\r\n45");
  EXPECT_TRUE(f.Delete(this->At("dAtA.bIn")));
  EXPECT_EQ(f.OpenRead(this->At("Data.Bin")), Files::kInvalid);
  EXPECT_FALSE(f.Delete(this->At("Data.Bin")));
}

// The version list makes each directory current in turn and then returns to where it was.
TYPED_TEST_P(FilesContract, CurrentDirectoryIsAbsoluteAndOnlyADirectoryBecomesIt) {
  Files& files = this->files();
  const std::string current = files.CurrentDirectory();
  ASSERT_GE(current.size(), 3u);
  EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(current[0]))) << current;
  EXPECT_EQ(current.substr(1, 2), ":\\");

  const std::string scratch = this->env_.scratch();
  this->Put(this->At("FILE.TXT"), "x");
  EXPECT_TRUE(files.ChangeDirectory(scratch + "\\"));
  EXPECT_EQ(files.CurrentDirectory(), scratch);
  EXPECT_FALSE(files.ChangeDirectory(this->At("MISSING")));
  EXPECT_FALSE(files.ChangeDirectory(this->At("FILE.TXT")));
  EXPECT_EQ(files.CurrentDirectory(), scratch);
  EXPECT_TRUE(files.ChangeDirectory(current));
  EXPECT_EQ(files.CurrentDirectory(), current);
}

// Files copied from a CD arrive read-only; the program has to clear the bit before it may
// change them, and must not find that a test double let it through.
TYPED_TEST_P(FilesContract, ReadOnlyFileRefusesEveryChangeUntilMadeNormal) {
  Files& f = this->files();
  const std::string source = this->At("new.dll"), target = this->At("old.dll");
  // Delete, copy over, replace, open for writing, create.
  const auto change = [&](int which) {
    switch (which) {
      case 0:
        return f.Delete(target);
      case 1:
        return f.Copy(source, target);
      case 2:
        return f.Replace(source, target);
      case 3:
        return OpenFile(f, f.OpenReadWrite(target)).valid();
      default:
        return OpenFile(f, f.Create(target)).valid();
    }
  };
  const char* const after[] = {nullptr, "new", "new", "old", ""};  // null: gone
  for (int which = 0; which < 5; ++which) {
    SCOPED_TRACE(which);
    this->Put(source, "new");
    this->Put(target, "old");
    ASSERT_TRUE(f.SetAttributes(target, Files::kReadOnly));
    EXPECT_EQ(this->Watched(target), Files::kReadOnly);
    EXPECT_FALSE(change(which));
    EXPECT_EQ(this->Contents(target), "old");
    ASSERT_TRUE(f.SetAttributes(target, Files::kNormal));
    EXPECT_EQ(this->Watched(target), 0u);
    EXPECT_TRUE(change(which));
    if (after[which])
      EXPECT_EQ(this->Contents(target), after[which]);
    else
      EXPECT_EQ(f.Attributes(target), std::nullopt);
  }

  // Reading is no change: a read-only file still copies and moves, and so does its bit.
  ASSERT_TRUE(f.SetAttributes(source, Files::kReadOnly));
  EXPECT_TRUE(f.Copy(source, this->At("copy.dll")));
  EXPECT_EQ(this->Watched(this->At("copy.dll")), Files::kReadOnly);
  EXPECT_TRUE(f.Replace(source, this->At("moved.dll")));
  EXPECT_EQ(this->Watched(this->At("moved.dll")), Files::kReadOnly);
}

TYPED_TEST_P(FilesContract, CopyReplaceAndDirectoriesGoOneStepAtATime) {
  Files& f = this->files();
  constexpr std::uint64_t k1997 = 125016912000000000;  // 1 March 1997, 12:00 UTC
  this->Put(this->At("old.txt"), "old");
  this->env_.SetLastWriteTime(this->At("old.txt"), k1997);
  this->Put(this->At("file.txt"), "file");
  this->Put(this->At("new.txt"), "new");
  ASSERT_TRUE(f.MakeDirectory(this->At("full")));
  this->Put(this->At("full\\in.txt"), "in");
  ASSERT_TRUE(f.MakeDirectory(this->At("empty")));

  enum Op { kMake, kRemove, kCopy, kReplace };
  const struct {
    Op op;
    const char* path;
    const char* to;
    bool done;
  } steps[] = {
      {kMake, "missing\\sub", "", false},     {kMake, "full", "", false},
      {kMake, "file.txt", "", false},         {kMake, "made", "", true},
      {kRemove, "full", "", false},           {kRemove, "file.txt", "", false},
      {kRemove, "empty", "", true},           {kCopy, "missing.txt", "copy.txt", false},
      {kCopy, "old.txt", "file.txt", true},   {kReplace, "missing.txt", "moved.txt", false},
      {kReplace, "new.txt", "old.txt", true},
  };
  for (const auto& s : steps) {
    const std::string path = this->At(s.path), to = this->At(s.to);
    const char* const names[] = {"make", "remove", "copy", "replace"};
    SCOPED_TRACE(testing::Message() << names[s.op] << " " << s.path);
    EXPECT_EQ(s.op == kMake     ? f.MakeDirectory(path)
              : s.op == kRemove ? f.DeleteDirectory(path)
              : s.op == kCopy   ? f.Copy(path, to)
                                : f.Replace(path, to),
              s.done);
  }

  const struct {
    const char* path;
    std::optional<std::uint32_t> attributes;
    const char* contents;
  } after[] = {
      {"missing", std::nullopt, nullptr},
      {"full", Files::kDirectory, nullptr},
      {"made", Files::kDirectory, nullptr},
      {"empty", std::nullopt, nullptr},
      {"file.txt", 0u, "old"},
      {"old.txt", 0u, "new"},
      {"new.txt", std::nullopt, nullptr},
  };
  for (const auto& a : after) {
    SCOPED_TRACE(a.path);
    EXPECT_EQ(this->Watched(this->At(a.path)), a.attributes);
    EXPECT_EQ(IsDirectory(f, this->At(a.path)), a.attributes == Files::kDirectory);
    if (a.contents) {
      EXPECT_EQ(this->Contents(this->At(a.path)), a.contents);
    }
  }
  EXPECT_EQ(f.LastWriteTime(this->At("file.txt")), k1997);
  EXPECT_EQ(f.LastWriteTime(this->At("missing.txt")), std::nullopt);
}

// The change-directory dialog builds its lists from these.
TYPED_TEST_P(FilesContract, SubdirectoriesAreTheDirectoriesOnlyAndTheDrivesIncludeOurs) {
  Files& f = this->files();
  for (const char* name : {"Sub1", "Sub1\\Deep", "sub2"})
    ASSERT_TRUE(f.MakeDirectory(this->At(name)));
  this->Put(this->At("file.txt"), "x");
  std::vector<std::string> names = f.Subdirectories(this->At(""));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Sub1", "sub2"}));
  EXPECT_EQ(
      f.Subdirectories(this->At("missing")).size() + f.Subdirectories(this->At("file.txt")).size(),
      0u);
  const std::string letters = f.DriveLetters();
  EXPECT_NE(letters.find(static_cast<char>(std::toupper(this->env_.scratch()[0]))),
            std::string::npos);
  EXPECT_TRUE(
      std::is_sorted(letters.begin(), letters.end()) &&
      std::all_of(letters.begin(), letters.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
      << letters;
}

REGISTER_TYPED_TEST_SUITE_P(FilesContract, BytesNamesAndPositionsBehaveAsOnWindows,
                            CurrentDirectoryIsAbsoluteAndOnlyADirectoryBecomesIt,
                            ReadOnlyFileRefusesEveryChangeUntilMadeNormal,
                            CopyReplaceAndDirectoriesGoOneStepAtATime,
                            SubdirectoriesAreTheDirectoriesOnlyAndTheDrivesIncludeOurs);

}  // namespace setup
