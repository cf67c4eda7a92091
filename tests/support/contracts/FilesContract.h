#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/Files.h"

namespace setup {

// What every Files implementation must do as Windows does it. `Env` gives `Files& files()`
// and `std::string scratch()`, the absolute Windows path of an empty folder it owns.
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

 private:
  Env env_;
};

TYPED_TEST_SUITE_P(FilesContract);

TYPED_TEST_P(FilesContract, OpeningWhatIsNoFileFails) {
  EXPECT_EQ(this->files().OpenRead(this->At("missing.txt")), Files::kInvalid);
  EXPECT_EQ(this->files().OpenRead(this->At("")), Files::kInvalid);  // the folder itself
  EXPECT_EQ(this->files().Create(this->At("nofolder\\file.txt")), Files::kInvalid);
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

TYPED_TEST_P(FilesContract, CurrentDirectoryIsAbsolute) {
  const std::string current = this->files().CurrentDirectory();
  ASSERT_GE(current.size(), 3u);
  EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(current[0]))) << current;
  EXPECT_EQ(current.substr(1, 2), ":\\");
}

REGISTER_TYPED_TEST_SUITE_P(FilesContract, OpeningWhatIsNoFileFails,
                            WrittenBytesReadBackUnchangedThenZero, SeekMovesAndReportsThePosition,
                            NamesMatchWithoutRegardToCaseAndClosedFilesDelete,
                            CurrentDirectoryIsAbsolute);

}  // namespace setup
