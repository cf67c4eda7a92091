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
  Files& f() { return env_.files(); }
  std::string At(std::string_view name) { return env_.scratch() + "\\" + std::string(name); }

  void Put(std::string_view name, std::string_view bytes) {
    const OpenFile file(f(), f().Create(At(name)));
    ASSERT_TRUE(file.valid()) << name;
    EXPECT_EQ(f().Write(file.handle(), bytes.data(), static_cast<std::uint32_t>(bytes.size())),
              static_cast<std::int32_t>(bytes.size()));
  }
  // From the current position to the end, in small pieces.
  std::string Rest(Files::Handle file) {
    std::string bytes;
    char chunk[3];
    for (std::int32_t n; (n = f().Read(file, chunk, sizeof chunk)) > 0;) bytes.append(chunk, n);
    return bytes;
  }
  std::string Contents(std::string_view name) {
    const OpenFile file = OpenForReading(f(), At(name));
    return file.valid() ? Rest(file.handle()) : "(none)";
  }
  // The bits callers look at; Windows adds the archive bit of its own accord.
  std::optional<std::uint32_t> Watched(std::string_view name) {
    const auto attributes = f().Attributes(At(name));
    if (!attributes) return std::nullopt;
    return *attributes & (Files::kReadOnly | Files::kDirectory);
  }

  Env env_;
};

TYPED_TEST_SUITE_P(FilesContract);

// Binary bytes come back unchanged, names match without regard to case, and an edit in place
// reads, seeks (the line reader reads ahead and seeks back) and writes over and at the end.
TYPED_TEST_P(FilesContract, BytesNamesAndPositionsBehaveAsOnWindows) {
  Files& f = this->f();
  EXPECT_EQ(f.OpenReadWrite(this->At("missing.txt")), Files::kInvalid);
  EXPECT_EQ(f.Create(this->At("nofolder\\file.txt")), Files::kInvalid);
  const std::string bytes("A\r\nB\nC\0\xAF\xFF", 9);
  this->Put("Data.Bin", bytes);
  EXPECT_EQ(this->Contents("DATA.BIN"), bytes);
  this->Put("data.bin", "0123\r");  // the same file, truncated
  {
    const OpenFile file(f, f.OpenReadWrite(this->At("DATA.bin")));
    ASSERT_TRUE(file.valid());
    const Files::Handle h = file.handle();
    char chunk[8];
    EXPECT_EQ(f.Read(h, chunk, 2), 2);
    EXPECT_EQ(f.Seek(h, 0, Files::Origin::End), 5);
    EXPECT_EQ(f.Write(h, "\n45", 3), 3);
    EXPECT_EQ(f.Seek(h, 1, Files::Origin::Begin), 1);
    EXPECT_EQ(f.Write(h, "x", 1), 1);
    EXPECT_EQ(f.Seek(h, 1, Files::Origin::Current), 3);
    EXPECT_EQ(this->Rest(h), "3\r\n45");
  }
  EXPECT_EQ(this->Contents("data.bin"), "0x23\r\n45");
  EXPECT_TRUE(f.Delete(this->At("dAtA.bIn")));
  EXPECT_FALSE(f.Delete(this->At("Data.Bin")));
  EXPECT_EQ(f.OpenRead(this->At("Data.Bin")), Files::kInvalid);
}

// Files copied from a CD arrive read-only; the program has to clear the bit before it may
// change them, and must not find that a test double let it through. Reading is no change.
TYPED_TEST_P(FilesContract, ReadOnlyFileRefusesEveryChangeUntilMadeNormal) {
  Files& f = this->f();
  const std::string source = this->At("new.dll"), target = this->At("old.dll");
  const struct {
    bool (*change)(Files&, const std::string&, const std::string&);
    const char* after;
  } changes[] = {
      {[](Files& f, const std::string&, const std::string& t) { return f.Delete(t); }, "(none)"},
      {[](Files& f, const std::string& s, const std::string& t) { return f.Copy(s, t); }, "new"},
      {[](Files& f, const std::string& s, const std::string& t) { return f.Replace(s, t); }, "new"},
      {[](Files& f, const std::string&, const std::string& t) {
         return OpenFile(f, f.OpenReadWrite(t)).valid();
       },
       "old"},
      {[](Files& f, const std::string&, const std::string& t) {
         return OpenFile(f, f.Create(t)).valid();
       },
       ""},
  };
  for (const auto& c : changes) {
    SCOPED_TRACE(&c - changes);
    this->Put("new.dll", "new");
    this->Put("old.dll", "old");
    ASSERT_TRUE(f.SetAttributes(target, Files::kReadOnly));
    EXPECT_EQ(this->Watched("old.dll"), Files::kReadOnly);
    EXPECT_FALSE(c.change(f, source, target));
    EXPECT_EQ(this->Contents("old.dll"), "old");
    ASSERT_TRUE(f.SetAttributes(target, Files::kNormal));
    EXPECT_EQ(this->Watched("old.dll"), 0u);
    EXPECT_TRUE(c.change(f, source, target));
    EXPECT_EQ(this->Contents("old.dll"), c.after);
  }
  ASSERT_TRUE(f.SetAttributes(source, Files::kReadOnly));
  EXPECT_TRUE(f.Copy(source, this->At("copy.dll")));
  EXPECT_EQ(this->Watched("copy.dll"), Files::kReadOnly);
  EXPECT_TRUE(f.Replace(source, this->At("moved.dll")));
  EXPECT_EQ(this->Watched("moved.dll"), Files::kReadOnly);
}

// Directories are made and removed one level at a time; a copy keeps its source's date, a
// replace moves the source; only a directory becomes current, and the version list returns
// to where it was; the change-directory dialog lists subdirectories and drives.
TYPED_TEST_P(FilesContract, CopyReplaceAndDirectoriesGoOneStepAtATime) {
  Files& f = this->f();
  constexpr std::uint64_t k1997 = 125016912000000000;  // 1 March 1997, 12:00 UTC
  this->Put("old.txt", "old");
  this->env_.SetLastWriteTime(this->At("old.txt"), k1997);
  this->Put("new.txt", "new");
  ASSERT_TRUE(f.MakeDirectory(this->At("full")));
  this->Put("full\\in.txt", "in");
  ASSERT_TRUE(f.MakeDirectory(this->At("empty")));

  const struct {
    char op;  // Make, Remove, Copy, Replace
    const char* path;
    const char* to;
    bool done;
  } steps[] = {
      {'M', "missing\\sub", "", false},   {'M', "full", "", false},
      {'M', "old.txt", "", false},        {'M', "made", "", true},
      {'R', "full", "", false},           {'R', "old.txt", "", false},
      {'R', "empty", "", true},           {'C', "missing.txt", "copy.txt", false},
      {'C', "old.txt", "file.txt", true}, {'P', "new.txt", "old.txt", true},
  };
  for (const auto& s : steps) {
    const std::string path = this->At(s.path), to = this->At(s.to);
    SCOPED_TRACE(testing::Message() << s.op << " " << s.path);
    EXPECT_EQ(s.op == 'M'   ? f.MakeDirectory(path)
              : s.op == 'R' ? f.DeleteDirectory(path)
              : s.op == 'C' ? f.Copy(path, to)
                            : f.Replace(path, to),
              s.done);
  }
  for (const char* name : {"missing", "empty", "new.txt"})
    EXPECT_EQ(this->Watched(name), std::nullopt) << name;
  EXPECT_TRUE(IsDirectory(f, this->At("made")));
  EXPECT_EQ(this->Contents("file.txt") + this->Contents("old.txt"), "oldnew");
  EXPECT_EQ(f.LastWriteTime(this->At("file.txt")), k1997);

  const std::string current = f.CurrentDirectory(), scratch = this->env_.scratch();
  EXPECT_TRUE(f.ChangeDirectory(scratch + "\\"));
  EXPECT_EQ(f.CurrentDirectory(), scratch);
  EXPECT_FALSE(f.ChangeDirectory(this->At("old.txt")));
  EXPECT_TRUE(f.ChangeDirectory(current));
  EXPECT_EQ(f.CurrentDirectory(), current);

  std::vector<std::string> names = f.Subdirectories(this->At(""));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"full", "made"}));
  EXPECT_NE(f.DriveLetters().find(static_cast<char>(std::toupper(scratch[0]))), std::string::npos);
}

REGISTER_TYPED_TEST_SUITE_P(FilesContract, BytesNamesAndPositionsBehaveAsOnWindows,
                            ReadOnlyFileRefusesEveryChangeUntilMadeNormal,
                            CopyReplaceAndDirectoriesGoOneStepAtATime);

}  // namespace setup
