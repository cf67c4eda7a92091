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

// The bytes from the file's position to its end, read `piece` bytes at a time.
inline std::string ReadRest(Files& files, Files::Handle file, std::size_t piece) {
  std::string bytes, chunk(piece, '\0');
  for (std::int32_t n; (n = files.Read(file, chunk.data(), static_cast<std::uint32_t>(piece))) > 0;)
    bytes.append(chunk, 0, static_cast<std::size_t>(n));
  return bytes;
}

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
  // In small pieces, so that reads end within and across them.
  std::string Rest(Files::Handle file) { return ReadRest(f(), file, 3); }
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
  EXPECT_EQ(f.OpenReadWrite(this->At("Data.Bin")), Files::kInvalid);
}

// Files copied from a CD arrive read-only, and a copy keeps that and the date: the program
// has to clear the bit before it may change them, and must not find that a double let it
// through. A replace moves the source. A temporary file is new and empty, named apart from
// the others in its directory, which may end in a backslash or not.
TYPED_TEST_P(FilesContract, ReadOnlyFileRefusesEveryChangeUntilMadeNormal) {
  Files& f = this->f();
  const std::string source = this->At("new.dll"), target = this->At("old.dll");
  using Change = bool (*)(Files&, const std::string&, const std::string&);
  const Change changes[] = {
      [](Files& f, const std::string&, const std::string& t) { return f.Delete(t); },
      [](Files& f, const std::string& s, const std::string& t) { return f.Copy(s, t); },
      [](Files& f, const std::string& s, const std::string& t) { return f.Replace(s, t); },
      [](Files& f, const std::string&, const std::string& t) {
        return OpenFile(f, f.OpenReadWrite(t)).valid();
      },
  };
  for (const Change change : changes) {
    this->Put("new.dll", "new");
    this->Put("old.dll", "old");
    ASSERT_TRUE(f.SetAttributes(target, Files::kReadOnly));
    EXPECT_EQ(this->Watched("old.dll"), Files::kReadOnly);
    EXPECT_FALSE(change(f, source, target));
    EXPECT_EQ(this->Contents("old.dll"), "old");
    ASSERT_TRUE(f.SetAttributes(target, Files::kNormal));
    EXPECT_EQ(this->Watched("old.dll"), 0u);
    EXPECT_TRUE(change(f, source, target));
  }
  constexpr std::uint64_t k1997 = 125016912000000000;  // 1 March 1997, 12:00 UTC
  this->Put("cd.dll", "cd");
  this->env_.SetLastWriteTime(this->At("cd.dll"), k1997);
  ASSERT_TRUE(f.SetAttributes(this->At("cd.dll"), Files::kReadOnly));
  EXPECT_TRUE(f.Copy(this->At("cd.dll"), this->At("copy.dll")));
  EXPECT_EQ(this->Watched("copy.dll"), Files::kReadOnly);
  EXPECT_EQ(f.LastWriteTime(this->At("copy.dll")), k1997);
  EXPECT_TRUE(f.Replace(this->At("copy.dll"), this->At("moved.dll")));
  EXPECT_EQ(this->Contents("copy.dll") + this->Contents("moved.dll"), "(none)cd");

  const std::string scratch = this->env_.scratch();
  const auto first = f.CreateTemporaryFile(scratch), second = f.CreateTemporaryFile(scratch + "\\");
  ASSERT_TRUE(first && second);
  EXPECT_NE(*first, *second);
  for (const std::string& made : {*first, *second}) {
    EXPECT_EQ(made.rfind('\\'), scratch.size()) << made;
    EXPECT_EQ(this->Contents(made.substr(scratch.size() + 1)), "");
  }
  EXPECT_EQ(f.CreateTemporaryFile(this->At("missing")), std::nullopt);
}

// Directories are made and removed one level at a time; only a directory becomes current,
// and the version list returns to where it was; the change-directory dialog lists
// subdirectories and drives.
TYPED_TEST_P(FilesContract, DirectoriesGoOneStepAtATime) {
  Files& f = this->f();
  this->Put("file.txt", "");
  EXPECT_FALSE(f.MakeDirectory(this->At("missing\\sub")));
  EXPECT_FALSE(f.MakeDirectory(this->At("file.txt")));
  ASSERT_TRUE(f.MakeDirectory(this->At("full")));
  EXPECT_FALSE(f.MakeDirectory(this->At("full")));
  this->Put("full\\in.txt", "in");
  EXPECT_FALSE(f.DeleteDirectory(this->At("full")));
  ASSERT_TRUE(f.MakeDirectory(this->At("empty")));
  EXPECT_TRUE(f.DeleteDirectory(this->At("empty")));
  EXPECT_EQ(this->Watched("empty"), std::nullopt);
  EXPECT_EQ(this->Watched("full"), Files::kDirectory);

  const std::string current = f.CurrentDirectory(), scratch = this->env_.scratch();
  EXPECT_TRUE(f.ChangeDirectory(scratch + "\\"));
  EXPECT_EQ(f.CurrentDirectory(), scratch);
  EXPECT_FALSE(f.ChangeDirectory(this->At("file.txt")));
  EXPECT_TRUE(f.ChangeDirectory(current));
  EXPECT_EQ(f.CurrentDirectory(), current);

  EXPECT_EQ(f.Subdirectories(this->At("")), std::vector<std::string>{"full"});
  EXPECT_NE(f.DriveLetters().find(static_cast<char>(std::toupper(scratch[0]))), std::string::npos);
}

REGISTER_TYPED_TEST_SUITE_P(FilesContract, BytesNamesAndPositionsBehaveAsOnWindows,
                            ReadOnlyFileRefusesEveryChangeUntilMadeNormal,
                            DirectoriesGoOneStepAtATime);

}  // namespace setup
