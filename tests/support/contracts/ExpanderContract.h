#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/Expander.h"
#include "platform/Files.h"

namespace setup {

// What every Expander must do as LZ32 does it, on the files tests/support/szdd makes. `Env`
// gives `Expander& expander()`, `Files& files()` on the same file system, `std::string
// fixtures()`, the Windows path of the folder holding those files, and `std::string
// scratch()`, the Windows path of an empty folder it owns.
template <class Env>
class ExpanderContract : public ::testing::Test {
 protected:
  Expander::Result Expand(const std::string& source, const std::string& target) {
    return env_.expander().Expand(source, target);
  }
  Files& files() { return env_.files(); }
  std::string Fixture(const std::string& name) { return env_.fixtures() + "\\" + name; }
  std::string Scratch(const std::string& name) { return env_.scratch() + "\\" + name; }

  std::string Contents(const std::string& path) {
    OpenFile file = OpenForReading(files(), path);
    EXPECT_TRUE(file.valid()) << path;
    std::string bytes;
    char chunk[65536];
    for (std::int32_t n;
         file.valid() && (n = files().Read(file.handle(), chunk, sizeof chunk)) > 0;)
      bytes.append(chunk, static_cast<std::size_t>(n));
    return bytes;
  }

 private:
  Env env_;
};

TYPED_TEST_SUITE_P(ExpanderContract);

// Each file expands to exactly its original, or tells what went wrong.
TYPED_TEST_P(ExpanderContract, ExpandsEachFileToItsOriginalOrTellsWhatWentWrong) {
  using Result = Expander::Result;
  const struct {
    const char* source;
    const char* original;  // null: nothing to compare
    Result result = Result::Done;
    const char* target = "out.bin";
  } cases[] = {
      {"empty.bin_", "empty.bin"},    // the compressor pads even an empty file
      {"one.bin_", "one.bin"},        // coded by hand: the compressor garbles short files
      {"repeat.txt_", "repeat.txt"},  // overlapping copies
      {"random.bin_", "random.bin"},  // nearly all literals
      {"large.bin_", "large.bin"},    // 1 MiB: the window wraps, far matches
      {"plain.txt", "plain.txt"},     // not compressed: copied unchanged
      {"missing.bin_", nullptr, Result::SourceUnreadable},
      {"repeat.txt_", nullptr, Result::TargetUncreatable, "missing\\out.bin"},
      {"truncated.bin_", nullptr, Result::Failed},
      {"method-b.bin_", nullptr, Result::Failed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    const std::string target = this->Scratch(c.target);
    EXPECT_EQ(this->Expand(this->Fixture(c.source), target), c.result);
    if (!c.original) continue;
    const std::string expanded = this->Contents(target),
                      original = this->Contents(this->Fixture(c.original));
    EXPECT_EQ(expanded.size(), original.size());
    EXPECT_TRUE(expanded == original);  // a 1 MiB mismatch would drown the log
  }

  // Paths longer than the 128 characters an OFSTRUCT holds.
  const std::string name = this->Scratch(std::string(130, 'v'));
  ASSERT_TRUE(this->files().Copy(this->Fixture("repeat.txt_"), name + "_"));
  EXPECT_EQ(this->Expand(name + "_", name), Result::Done);
  EXPECT_TRUE(this->Contents(name) == this->Contents(this->Fixture("repeat.txt")));
}

REGISTER_TYPED_TEST_SUITE_P(ExpanderContract, ExpandsEachFileToItsOriginalOrTellsWhatWentWrong);

}  // namespace setup
