#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/FakeDialog.h"
#include "support/FakePrompts.h"
#include "support/MemoryRegistry.h"
#include "support/RecordingProgramGroups.h"
#include "support/SzddExpander.h"
#include "sysconfig/AutoexecNt.h"
#include "win32/Win32Files.h"
#include "win32/Win32SystemInfo.h"

namespace setup {
namespace {

// The prefix's own AutoExec.NT, as the test harness seeds it, edited through kernel32 and
// put back as it was afterwards.
class AutoexecNtWin32Test : public ::testing::Test {
 protected:
  AutoexecNtWin32Test() : original_(Contents(path_)) {
    state_.Catalogue.SetText(text::ERR_CANTWRITE, "cannot write %s");
  }
  ~AutoexecNtWin32Test() override {
    if (!original_) return;
    OpenFile file(files_, files_.Create(path_));
    files_.Write(file.handle(), original_->data(), static_cast<std::uint32_t>(original_->size()));
  }

  std::optional<std::string> Contents(const std::string& path) {
    OpenFile file = OpenForReading(files_, path);
    if (!file.valid()) return std::nullopt;
    std::string bytes;
    char chunk[256];
    for (std::int32_t n; (n = files_.Read(file.handle(), chunk, sizeof chunk)) > 0;)
      bytes.append(chunk, static_cast<std::size_t>(n));
    return bytes;
  }

  Win32Files files_;
  Win32SystemInfo system_;
  SzddExpander expander_{files_};
  MemoryRegistry registry_;
  FakePrompts prompts_;
  FakeDialogHost host_;
  RecordingProgramGroups groups_;
  Services services_{files_, expander_, system_, registry_, prompts_, host_, groups_};
  ProgramState state_;
  const std::string path_ = system_.SystemDirectory() + "\\AutoExec.NT";
  const std::optional<std::string> original_;
};

TEST_F(AutoexecNtWin32Test, BlockGoesIntoTheSeededFileAndOutAgain) {
  ASSERT_TRUE(original_) << path_ << " was not seeded";
  std::string block = "\r\n";
  for (std::string_view line : kAutoexecBlock) (block += line) += "\r\n";

  ASSERT_EQ(InsertAutoexecBlock(services_, state_), 1);
  EXPECT_EQ(Contents(path_), *original_ + block);
  {
    // Windows renames nothing over a file another handle holds open.
    OpenFile reader = OpenForReading(files_, path_);
    EXPECT_EQ(RemoveAutoexecBlock(services_, state_), 0);
  }
  EXPECT_EQ(Contents(path_), *original_ + block);
  EXPECT_EQ(RemoveAutoexecBlock(services_, state_), 1);
  EXPECT_EQ(Contents(path_), *original_ + "\r\n");
  EXPECT_EQ(files_.Attributes(system_.SystemDirectory() + "\\AutoTmp.$$$"), std::nullopt);
  EXPECT_EQ(prompts_.Texts(FakePrompts::Kind::Message),
            std::vector<std::string>{"cannot write " + path_});
}

}  // namespace
}  // namespace setup
