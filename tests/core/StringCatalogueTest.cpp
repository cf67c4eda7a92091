#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/StringCatalogue.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

class StringCatalogueTest : public ::testing::Test {
 protected:
  StringCatalogueTest() {
    table_.count = 2;
    table_.displayNames[0].Assign("English");
    table_.fileNames[0].Assign("ENG.TXT");
    table_.displayNames[1].Assign("Deutsch");
    table_.fileNames[1].Assign("GER.TXT");
    files_.PutFile("C:\\MEDIUM\\ENG.TXT", LanguageFile("en"));
  }

  int Load(int index) {
    return LoadStringCatalogue(files_, prompts_, "C:\\MEDIUM", table_, index, catalogue_);
  }

  std::vector<std::string> Errors() const { return prompts_.Texts(FakePrompts::Kind::ErrorBox); }

  SandboxFiles files_;
  FakePrompts prompts_;
  LanguageTable table_;
  StringCatalogue catalogue_;
};

TEST_F(StringCatalogueTest, LoadsEveryKeyIntoItsSlot) {
  ASSERT_EQ(Load(0), 1);
  for (const CatalogueKey& key : kCatalogueKeys)
    EXPECT_EQ(catalogue_.Text(key.slot), "en " + std::string(key.key));
  EXPECT_EQ(catalogue_.Text(3), "");  // no key has slot 3
  EXPECT_TRUE(prompts_.shown().empty());
  EXPECT_EQ(prompts_.cursor, (std::vector<bool>{true, false}));

  files_.PutFile("D:\\ENG.TXT", LanguageFile("root"));
  ASSERT_EQ(LoadStringCatalogue(files_, prompts_, "D:\\", table_, 0, catalogue_), 1);
  EXPECT_EQ(catalogue_.Text(text::BUTTON_OK), "root [BUTTON_OK]");
}

TEST_F(StringCatalogueTest, KeyOutOfOrderFailsWithEveryLaterKey) {
  ASSERT_EQ(Load(0), 1);
  // [DLG_MAIN_CAPTION] (index 7) stands after [DLG_MAIN_INTRO] (index 8).
  std::string file = LanguageFile("de");
  const std::string caption = "[DLG_MAIN_CAPTION]\r\nde [DLG_MAIN_CAPTION]\r\n";
  file.erase(file.find(caption), caption.size());
  const std::string intro = "[DLG_MAIN_INTRO]\r\nde [DLG_MAIN_INTRO]\r\n";
  file.insert(file.find(intro) + intro.size(), caption);
  files_.PutFile("C:\\MEDIUM\\GER.TXT", file);

  ASSERT_EQ(Load(1), 1);
  EXPECT_EQ(catalogue_.Text(text::DLG_MAIN_CAPTION), "de [DLG_MAIN_CAPTION]");
  EXPECT_EQ(catalogue_.Text(text::DLG_MAIN_INTRO), "en [DLG_MAIN_INTRO]");
  std::vector<std::string> expected;
  for (std::size_t i = 8; i < kCatalogueKeyCount; ++i) {
    expected.push_back("Section not found: " + std::string(kCatalogueKeys[i].key));
    EXPECT_EQ(catalogue_.Text(kCatalogueKeys[i].slot), "en " + std::string(kCatalogueKeys[i].key));
  }
  EXPECT_EQ(Errors(), expected);
}

TEST_F(StringCatalogueTest, LanguageWithoutAFileIsNotSupported) {
  ASSERT_EQ(Load(0), 1);
  // GER.TXT missing, indexes out of the table, whatever its count says, and no file name.
  const struct {
    int count, index;
    bool noName;
  } cases[] = {{2, 1, false},   {2, 2, false}, {2, -1, false},
               {40, 16, false}, {2, 1, true},  {0, 0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    table_.count = c.count;
    if (c.noName) table_.fileNames[1].Clear();
    prompts_.cursor.clear();
    const std::size_t before = prompts_.shown().size();
    EXPECT_EQ(Load(c.index), 0);
    EXPECT_EQ(prompts_.cursor, (std::vector<bool>{true, false}));
    ASSERT_EQ(prompts_.shown().size(), before + 1);
    EXPECT_EQ(prompts_.shown().back().text, "Language is not supported!");
    EXPECT_EQ(prompts_.shown().back().owner, kNoWindow);
    EXPECT_EQ(catalogue_.Text(text::BUTTON_OK), "en [BUTTON_OK]");
  }
}

}  // namespace
}  // namespace setup
