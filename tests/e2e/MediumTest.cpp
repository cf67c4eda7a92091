// Every key once, in the program's order, each text within a line's width and with the same
// conversions in every language, because the program fills them with the same arguments.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/Harness.h"
#include "script/CatalogueKeys.h"

namespace e2e {
namespace {

TEST(MediumTest, LanguageFilesHoldEveryKeyInOrderWithTheSameConversions) {
  const Language& first = TheMedium().languages.front();
  for (const Language& language : TheMedium().languages) {
    SCOPED_TRACE(language.fileName);
    const std::vector<std::string> lines =
        ScriptLines(ReadFileBytes(TheMedium().directory + "\\" + language.fileName));
    auto next = lines.begin();
    for (const setup::CatalogueKey& key : setup::kCatalogueKeys) {
      next = std::find(next, lines.end(), key.key);
      ASSERT_LT(next + 1, lines.end()) << key.key << " is missing or out of order";
      EXPECT_LE((++next)->size(), 259u) << key.key;
      ++next;
      EXPECT_EQ(Conversions(language.Text(key.key)), Conversions(first.Text(key.key))) << key.key;
    }
  }
}

}  // namespace
}  // namespace e2e
