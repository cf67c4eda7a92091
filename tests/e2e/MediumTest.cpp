// Every key in every language file, in the program's order, each text within a line's width
// and with the same conversions in every language, because the program fills them with the
// same arguments.
#include <gtest/gtest.h>

#include "e2e/Harness.h"

namespace e2e {
namespace {

// The printf conversions of a text in order, "%%" left out.
std::vector<std::string> Conversions(std::string_view text) {
  std::vector<std::string> found;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    std::size_t end = i + 1;
    while (end < text.size() &&
           std::string_view("-+ #0123456789lh").find(text[end]) != std::string_view::npos)
      ++end;
    if (end < text.size() && text[end] != '%') found.emplace_back(text.substr(i, end - i + 1));
    i = end;
  }
  return found;
}

TEST(MediumTest, LanguageFilesHoldEveryKeyInOrderWithTheSameConversions) {
  const Medium& medium = TheMedium();
  EXPECT_EQ(medium.complaints, std::vector<std::string>{});
  for (int language = 0; language < medium.languages.count; ++language)
    for (const setup::CatalogueKey& key : setup::kCatalogueKeys) {
      const std::string text = medium.Text(language, key.slot);
      EXPECT_LT(text.size(), 259u) << key.key << " is cut";
      EXPECT_EQ(Conversions(text), Conversions(medium.Text(0, key.slot))) << key.key;
    }
}

}  // namespace
}  // namespace e2e
