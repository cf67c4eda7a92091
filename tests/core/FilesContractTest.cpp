#include "support/SandboxFiles.h"
#include "support/contracts/FilesContract.h"

namespace setup {
namespace {

class SandboxEnv {
 public:
  SandboxEnv() { files_.MakeDirectory(scratch()); }
  Files& files() { return files_; }
  std::string scratch() const { return "C:\\Scratch"; }

 private:
  SandboxFiles files_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Sandbox, FilesContract, ::testing::Types<SandboxEnv>);

// What the sandbox adds for tests, beyond the contract.
TEST(SandboxFiles, MapsDrivesAndResolvesRelativePaths) {
  SandboxFiles files;
  files.PutFile("D:\\Medium\\SETUP.KVX", "script");
  EXPECT_EQ(files.FileBytes("d:/medium/setup.kvx"), "script");
  EXPECT_EQ(files.FileBytes("C:\\Medium\\SETUP.KVX"), std::nullopt);

  files.SetCurrentDirectory("D:\\MEDIUM\\");
  EXPECT_EQ(files.CurrentDirectory(), "D:\\MEDIUM");
  OpenFile relative = OpenForReading(files, "SETUP.KVX");
  EXPECT_TRUE(relative.valid());
  OpenFile rooted = OpenForReading(files, "\\Medium\\.\\x\\..\\\\SETUP.KVX");
  EXPECT_TRUE(rooted.valid());
  EXPECT_EQ(files.OpenRead("\\\\server\\share\\SETUP.KVX"), Files::kInvalid);
  EXPECT_EQ(files.openedPaths().back(), "\\\\server\\share\\SETUP.KVX");
}

TEST(SandboxFiles, RemovesItsFoldersWhenDestroyed) {
  std::filesystem::path root;
  {
    SandboxFiles files;
    files.PutFile("C:\\a\\b.txt", "x");
    const Files::Handle open = files.OpenRead("C:\\A\\B.TXT");  // left open on purpose
    ASSERT_NE(open, Files::kInvalid);
    root = files.hostRoot();
    ASSERT_TRUE(std::filesystem::exists(root / "C" / "a" / "b.txt"));
  }
  EXPECT_FALSE(std::filesystem::exists(root));
}

}  // namespace
}  // namespace setup
