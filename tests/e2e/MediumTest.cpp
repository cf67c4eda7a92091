// The language files of the medium as the program reads them: every key once, in the
// program's order, each text within a line's width and with the same conversions in every
// language, because the program fills them with the same arguments.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/MediumTexts.h"
#include "script/CatalogueKeys.h"

namespace e2e {
namespace {

constexpr std::size_t kMaxTextBytes = 259;

TEST(MediumTest, LanguageFilesHoldEveryKeyInTheOrderTheProgramReadsThem) {
  for (const Language& language : TheMedium().languages) {
    SCOPED_TRACE(language.fileName);
    const std::vector<std::string> lines =
        ScriptLines(ReadFileBytes(TheMedium().directory + "\\" + language.fileName));
    std::size_t next = 0;
    for (const setup::CatalogueKey& key : setup::kCatalogueKeys) {
      auto found =
          std::find(lines.begin() + static_cast<std::ptrdiff_t>(next), lines.end(), key.key);
      ASSERT_LT(found + 1, lines.end()) << key.key << " is missing or out of order";
      EXPECT_LE((found + 1)->size(), kMaxTextBytes) << key.key;
      next = static_cast<std::size_t>(found - lines.begin()) + 2;
    }
  }
}

TEST(MediumTest, TextsHaveTheSameConversionsInEveryLanguage) {
  const Language& first = TheMedium().languages.front();
  for (const Language& language : TheMedium().languages) {
    for (const setup::CatalogueKey& key : setup::kCatalogueKeys) {
      EXPECT_EQ(Conversions(language.Text(key.key)), Conversions(first.Text(key.key)))
          << key.key << " in " << language.fileName;
    }
  }
}

}  // namespace
}  // namespace e2e
