#include <gtest/gtest.h>

#include <string>

#include "app/FileVersions.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

const std::string kSignature("\xE8\x52\xA7\x04\x61\x78\xCA\x12", 8);

// Signature, four bytes nobody reads, then major, minor and revision as 16-bit words.
std::string Stamp(unsigned major, unsigned minor, unsigned revision) {
  std::string stamp = kSignature + "SKIP";
  for (unsigned word : {major, minor, revision}) stamp += {char(word & 0xFF), char(word >> 8)};
  return stamp;
}

TEST(FindVersionStamp, ReadsTheFirstCompleteStampInHexadecimal) {
  const std::pair<std::string, const char*> cases[] = {
      {kSignature.substr(0, 3) + "\xE8" + Stamp(3, 0, 0x1B), "F\tv3.0 (rev.1b)"},
      {std::string(4093, 'x') + Stamp(2, 0x10, 0x123), "F\tv2.10 (rev.123)"},  // across blocks
      {Stamp(1, 1, 2).substr(0, 17), nullptr},  // nine bytes after the signature
  };
  AppWorld world;
  for (const auto& [bytes, expected] : cases) {
    world.files.PutFile("C:\\F.SYS", bytes);
    LineText line("none");
    EXPECT_EQ(FindVersionStamp(world.files, "C:\\F.SYS", "F", line), expected ? 1 : 0);
    EXPECT_EQ(line.view(), expected ? expected : "none");
    EXPECT_EQ(world.files.openFiles(), 0u);
  }
  // A line longer than its buffer is cut, never overflows it.
  LineText line;
  world.files.PutFile("C:\\F.SYS", Stamp(2, 1, 5));
  EXPECT_EQ(FindVersionStamp(world.files, "C:\\F.SYS", std::string(300, 'n'), line), 1);
  EXPECT_EQ(line.view(), std::string(259, 'n'));
}

}  // namespace
}  // namespace setup
