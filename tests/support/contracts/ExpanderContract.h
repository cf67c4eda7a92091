#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/Expander.h"
#include "support/contracts/FilesContract.h"

namespace setup {

// What every Expander must do as LZ32 does it, on the files tests/support/szdd makes. `Env`
// gives `Expander& expander()`, `Files& files()` on the same file system, `std::string
// fixtures()`, the Windows path of the folder holding those files, and `std::string
// scratch()`, the Windows path of an empty folder it owns.
template <class Env>
class ExpanderContract : public ::testing::Test {
 protected:
  std::string Contents(const std::string& path) {
    const OpenFile file = OpenForReading(env_.files(), path);
    return file.valid() ? ReadRest(env_.files(), file.handle(), 65536) : "(none)";
  }

  Env env_;
};

TYPED_TEST_SUITE_P(ExpanderContract);

// Each file expands to exactly its original, or tells what went wrong.
TYPED_TEST_P(ExpanderContract, ExpandsEachFileToItsOriginalOrTellsWhatWentWrong) {
  using Result = Expander::Result;
  const std::string fixtures = this->env_.fixtures() + "\\", scratch = this->env_.scratch() + "\\";
  // Longer than the 128 characters an OFSTRUCT holds.
  const std::string longName = std::string(130, 'v');
  ASSERT_TRUE(this->env_.files().Copy(fixtures + "repeat.txt_", scratch + longName + "_"));
  const struct {
    std::string source;
    const char* original;  // null: nothing to compare
    Result result = Result::Done;
    const char* target = "out.bin";
  } cases[] = {
      {fixtures + "empty.bin_", "empty.bin"},  // the compressor pads even an empty file
      {fixtures + "one.bin_", "one.bin"},      // coded by hand: the compressor garbles it
      {fixtures + "large.bin_", "large.bin"},  // 1 MiB: the window wraps, far matches
      {fixtures + "plain.txt", "plain.txt"},   // not compressed: copied unchanged
      {scratch + longName + "_", "repeat.txt", Result::Done, longName.c_str()},
      {fixtures + "missing.bin_", nullptr, Result::SourceUnreadable},
      {fixtures + "repeat.txt_", nullptr, Result::TargetUncreatable, "missing\\out.bin"},
      {fixtures + "truncated.bin_", nullptr, Result::Failed},
      {fixtures + "method-b.bin_", nullptr, Result::Failed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    const std::string target = scratch + c.target;
    EXPECT_EQ(this->env_.expander().Expand(c.source, target), c.result);
    // 1 MiB would drown the log.
    EXPECT_TRUE(!c.original || this->Contents(target) == this->Contents(fixtures + c.original));
    // The source's date goes with it, so that installing again asks about no newer file.
    Files& files = this->env_.files();
    EXPECT_TRUE(!c.original || files.LastWriteTime(target) == files.LastWriteTime(c.source));
  }
}

REGISTER_TYPED_TEST_SUITE_P(ExpanderContract, ExpandsEachFileToItsOriginalOrTellsWhatWentWrong);

}  // namespace setup
