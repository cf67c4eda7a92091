#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "script/SafeFormat.h"

namespace setup {
namespace {

template <class... Args>
std::string Printf(const char* format, Args... args) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

TEST(SafeFormat, ConversionsMatchPrintf) {
  for (const char* format : {"%s", "[%10s]", "[%-10s]", "[%.3s]", "[%6.2s]", "[%2s]", "<%s|%s>"})
    EXPECT_EQ(FormatText(format, {"value", "two"}), Printf(format, "value", "two")) << format;
  for (const char* format : {"%c", "[%3c]", "[%-3c]"})
    EXPECT_EQ(FormatText(format, {std::int32_t{'A'}}), Printf(format, 'A')) << format;
  EXPECT_EQ(FormatText("100%% of %s", {"files"}), "100% of files");
  for (const char* format : {"%d", "[%6d]", "[%-6d]", "[%06d]", "[%+d]", "[% d]", "[%+06d]"})
    for (const std::int32_t value : {0, 42, -42, INT_MAX, INT_MIN})
      EXPECT_EQ(FormatText(format, {value}), Printf(format, value)) << format << " " << value;

  for (const char* format : {"%u", "[%12u]", "[%-12u]", "[%012u]", "%x", "%X", "[%#x]", "[%#X]",
                             "[%08X]", "[%#010x]", "[%-#8x]"})
    for (const std::uint32_t value : {0u, 7u, 0xBEEFu, 4000000000u, 0xFFFFFFFFu})
      EXPECT_EQ(FormatText(format, {value}), Printf(format, value)) << format << " " << value;

  EXPECT_EQ(FormatText("%lu", {std::uint32_t{4000000000u}}), Printf("%lu", 4000000000ul));
  EXPECT_EQ(FormatText("[%-5ld]", {std::int32_t{-7}}), Printf("[%-5ld]", -7l));
  // A signed argument for %u, or an unsigned one for %d, is the same 32 bits to printf.
  EXPECT_EQ(FormatText("%u", {std::int32_t{-1}}), "4294967295");
  EXPECT_EQ(FormatText("%d", {std::uint32_t{4294967295u}}), "-1");
}

TEST(SafeFormat, NeverReadsAnArgumentThatWasNotPassedNorOneItDoesNotSupport) {
  EXPECT_EQ(FormatText("%s%s%s", {"only"}), "only");
  EXPECT_EQ(FormatText("[%5d][%-5s]", {}), "[][]");
  // A wrong kind uses its argument up and shows nothing.
  EXPECT_EQ(FormatText("%d|%s|%s", {"text", std::int32_t{3}, "last"}), "||last");
  // What it does not support is copied as text.
  EXPECT_EQ(FormatText("%n%s", {"x"}), "%nx");
  EXPECT_EQ(FormatText("%ls %s", {"x"}), "%ls x");
  EXPECT_EQ(FormatText("%*d %d", {std::int32_t{5}}), "%*d 5");
  EXPECT_EQ(FormatText("%p %f %hd %5.2d %lc %lld", {"x"}), "%p %f %hd %5.2d %lc %lld");
  EXPECT_EQ(FormatText("100%", {}), "100%");
  EXPECT_EQ(FormatText("%-08", {}), "%-08");
}

TEST(SafeFormat, StaysWithinTheLimit) {
  EXPECT_EQ(FormatText("%99999s", {"x"}), std::string(258, ' ') + "x");
  EXPECT_EQ(FormatText("%-99999999999999999999999d|", {std::int32_t{1}}).size(), 259u);
  EXPECT_EQ(FormatText("%.99999999999999999999s", {"abc"}), "abc");
  EXPECT_EQ(FormatText(std::string(400, 'a'), {}), std::string(259, 'a'));
  const std::string longText(300, 'b');
  EXPECT_EQ(FormatText("%s and more", {std::string_view(longText)}), longText.substr(0, 259));
  EXPECT_EQ(FormatText("abc%sdef", {"XYZ"}, 5), "abcXY");
  EXPECT_EQ(FormatText("%s", {"abc"}, 0), "");
}

}  // namespace
}  // namespace setup
