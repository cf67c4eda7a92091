#include <gtest/gtest.h>

#include <string>

#include "platform/FixedText.h"

namespace setup {
namespace {

TEST(FixedText, CutsOverlongTextAtItsCapacity) {
  FixedText<4> text(std::string_view("abcdef"));
  EXPECT_EQ(text.view(), "abc");
  EXPECT_EQ(text.c_str()[3], '\0');

  PathText path(std::string(1000, 'x'));
  EXPECT_EQ(path.size(), 259u);
}

TEST(FixedText, PushStopsWhenFull) {
  FixedText<3> text;
  EXPECT_TRUE(text.Push('a'));
  EXPECT_TRUE(text.Push('b'));
  EXPECT_FALSE(text.Push('c'));
  EXPECT_EQ(text.view(), "ab");
}

}  // namespace
}  // namespace setup
