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
  Env& env() { return env_; }
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

 private:
  Env env_;
};

TYPED_TEST_SUITE_P(FilesContract);

TYPED_TEST_P(FilesContract, OpeningWhatIsNoFileFails) {
  EXPECT_EQ(this->files().OpenRead(this->At("missing.txt")), Files::kInvalid);
  EXPECT_EQ(this->files().OpenRead(this->At("")), Files::kInvalid);  // the folder itself
  EXPECT_EQ(this->files().Create(this->At("nofolder\\file.txt")), Files::kInvalid);
  // Opening for writing never creates what is missing.
  EXPECT_EQ(this->files().OpenReadWrite(this->At("missing.txt")), Files::kInvalid);
  EXPECT_EQ(this->files().OpenReadWrite(this->At("")), Files::kInvalid);
  EXPECT_EQ(this->files().Attributes(this->At("missing.txt")), std::nullopt);
}

TYPED_TEST_P(FilesContract, WrittenBytesReadBackUnchangedThenZero) {
  // Binary: no CR LF translation, NUL and high bytes kept.
  const std::string bytes("A\r\nB\nC\0\xAF\xFF", 9);
  this->Put(this->At("data.bin"), bytes);
  OpenFile file = OpenForReading(this->files(), this->At("data.bin"));
  EXPECT_EQ(this->Rest(file.handle()), bytes);
  char byte;
  EXPECT_EQ(this->files().Read(file.handle(), &byte, 1), 0);

  this->Put(this->At("data.bin"), "xy");  // Create truncates
  EXPECT_EQ(this->Contents(this->At("data.bin")), "xy");
}

// An edit in place reads a file, then writes at its end or over its bytes.
TYPED_TEST_P(FilesContract, ReadWriteOpenKeepsTheBytesAndWritesWhereItStands) {
  Files& f = this->files();
  this->Put(this->At("edit.txt"), "0123\r");
  {
    OpenFile file(f, f.OpenReadWrite(this->At("EDIT.TXT")));
    ASSERT_TRUE(file.valid());
    char chunk[2];
    EXPECT_EQ(f.Read(file.handle(), chunk, sizeof chunk), 2);
    EXPECT_EQ(std::string_view(chunk, 2), "01");
    EXPECT_EQ(f.Seek(file.handle(), 0, Files::Origin::End), 5);
    EXPECT_EQ(f.Write(file.handle(), "\n45", 3), 3);
    EXPECT_EQ(f.Seek(file.handle(), 1, Files::Origin::Begin), 1);
    EXPECT_EQ(f.Write(file.handle(), "x", 1), 1);
    EXPECT_EQ(this->Rest(file.handle()), "23\r\n45");
  }
  EXPECT_EQ(this->Contents(this->At("edit.txt")), "0x23\r\n45");
}

// The line reader reads ahead and seeks back, and past the end when a file ends in CR.
TYPED_TEST_P(FilesContract, SeekMovesAndReportsThePosition) {
  this->Put(this->At("seek.txt"), "0123456789");
  OpenFile file = OpenForReading(this->files(), this->At("seek.txt"));
  Files& f = this->files();
  const Files::Handle h = file.handle();
  char chunk[8];
  EXPECT_EQ(f.Read(h, chunk, sizeof chunk), 8);
  EXPECT_EQ(f.Seek(h, -5, Files::Origin::Current), 3);
  EXPECT_EQ(this->Rest(h), "3456789");
  EXPECT_EQ(f.Seek(h, 1, Files::Origin::End), 11);
  EXPECT_EQ(f.Read(h, chunk, 1), 0);
  EXPECT_EQ(f.Seek(h, 2, Files::Origin::Begin), 2);
  EXPECT_EQ(this->Rest(h), "23456789");
}

TYPED_TEST_P(FilesContract, NamesMatchWithoutRegardToCaseAndClosedFilesDelete) {
  this->Put(this->At("Setup.Kvx"), "first");
  EXPECT_EQ(this->Contents(this->At("SETUP.KVX")), "first");
  this->Put(this->At("setup.kvx"), "second");  // the same file, not a second one
  EXPECT_EQ(this->Contents(this->At("Setup.Kvx")), "second");
  EXPECT_TRUE(this->files().Delete(this->At("SeTuP.kVx")));
  EXPECT_EQ(this->files().OpenRead(this->At("Setup.Kvx")), Files::kInvalid);
  EXPECT_FALSE(this->files().Delete(this->At("Setup.Kvx")));
}

// The version list makes each directory current in turn and then returns to where it was.
TYPED_TEST_P(FilesContract, CurrentDirectoryIsAbsoluteAndOnlyADirectoryBecomesIt) {
  Files& files = this->files();
  const std::string current = files.CurrentDirectory();
  ASSERT_GE(current.size(), 3u);
  EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(current[0]))) << current;
  EXPECT_EQ(current.substr(1, 2), ":\\");

  const std::string scratch = this->env().scratch();
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
  using Change = bool (*)(Files&, const std::string& source, const std::string& target);
  const struct {
    const char* name;
    Change change;
    const char* after;  // the target's contents once allowed; null when it is gone
  } changes[] = {
      {"delete", [](Files& f, const std::string&, const std::string& t) { return f.Delete(t); },
       nullptr},
      {"copy over",
       [](Files& f, const std::string& s, const std::string& t) { return f.Copy(s, t); }, "new"},
      {"replace",
       [](Files& f, const std::string& s, const std::string& t) { return f.Replace(s, t); }, "new"},
      {"open for writing",
       [](Files& f, const std::string&, const std::string& t) {
         return OpenFile(f, f.OpenReadWrite(t)).valid();
       },
       "old"},
      {"create",
       [](Files& f, const std::string&, const std::string& t) {
         return OpenFile(f, f.Create(t)).valid();
       },
       ""},
  };
  for (const auto& c : changes) {
    SCOPED_TRACE(c.name);
    this->Put(source, "new");
    this->Put(target, "old");
    ASSERT_TRUE(f.SetAttributes(target, Files::kReadOnly));
    EXPECT_EQ(this->Watched(target), Files::kReadOnly);
    EXPECT_FALSE(c.change(f, source, target));
    EXPECT_EQ(this->Contents(target), "old");
    ASSERT_TRUE(f.SetAttributes(target, Files::kNormal));
    EXPECT_EQ(this->Watched(target), 0u);
    EXPECT_TRUE(c.change(f, source, target));
    if (c.after)
      EXPECT_EQ(this->Contents(target), c.after);
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
  this->env().SetLastWriteTime(this->At("old.txt"), k1997);
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
  EXPECT_NE(letters.find(static_cast<char>(std::toupper(this->env().scratch()[0]))),
            std::string::npos);
  EXPECT_TRUE(
      std::is_sorted(letters.begin(), letters.end()) &&
      std::all_of(letters.begin(), letters.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
      << letters;
}

REGISTER_TYPED_TEST_SUITE_P(FilesContract, OpeningWhatIsNoFileFails,
                            WrittenBytesReadBackUnchangedThenZero,
                            ReadWriteOpenKeepsTheBytesAndWritesWhereItStands,
                            SeekMovesAndReportsThePosition,
                            NamesMatchWithoutRegardToCaseAndClosedFilesDelete,
                            CurrentDirectoryIsAbsoluteAndOnlyADirectoryBecomesIt,
                            ReadOnlyFileRefusesEveryChangeUntilMadeNormal,
                            CopyReplaceAndDirectoriesGoOneStepAtATime,
                            SubdirectoriesAreTheDirectoriesOnlyAndTheDrivesIncludeOurs);

}  // namespace setup
