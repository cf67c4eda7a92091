// The lists, program items and protocols the setup script holds, read into fixed fields.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/FileLists.h"
#include "script/Protocols.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

using Texts = std::vector<std::string>;

// A drive root ends in a backslash; the messages show the collapsed path.
constexpr ScriptLocation kMedium{"C:\\", "SETUP.KVX"};
const std::string kDrivers(kDriverPrefix);

class ScriptLists : public ::testing::Test {
 protected:
  // Script lines written with '|' for each CR LF.
  void Script(std::string_view pipes) { files_.PutFile("C:\\SETUP.KVX", Piped(pipes)); }

  SandboxFiles files_;
  FakePrompts prompts_;
  AddFileList add_;
  CompFileList comp_;
  DeleteFileList del_;
  ProgmanItemList progman_;
};

// A list that does not fit its fixed fields, or that the file ends inside a group of, is
// refused whole, naming the line, rather than cut; groups stop where the file ends between two.
// A group of no files or a negative number of them still has its group lines.
TEST_F(ScriptLists, CountsStopAtTheEndAndMisfitsAreRefused) {
  std::string groups = "[DELETEADDFILES]|2|200|SUB";  // 200 + 61 rows: one too many
  for (int i = 0; i < 261; ++i) groups += i == 200 ? "|61|SUB|F" : "|F";
  const std::string n64(64, 't'), nul = std::string("V.SY_\0", 6) + std::string(30, 'x');
  const struct {
    std::string script;
    std::int32_t count;
    int refusedLine;  // 0: none
  } cases[] = {
      {"[ADDFILES]|2|1|SRC|A|T", 1, 0},
      {"[ADDFILES]|1|3|SRC|A|B", 0, 7},
      {std::string("[ADDFILES]\0|1|1|S|A|T", 21), 0, 0},
      {"[COMPFILES]|1|1|S|" + nul + "|b|N|W|V", 0, 5},
      {"[COMPFILES]|3|0|S|N|W|V|-2|S|N|W|V|1|S|a|b|N|W|V", 1, 0},
      {groups, 0, 205},
      {"[PROGMAN]|G|English|1|T|!SETUPFILE+CMD|" + n64 + "|W|I|0", 0, 7},
  };
  for (const auto& c : cases) {
    Script(c.script);
    prompts_ = {};
    const char kind = c.script[1];
    EXPECT_EQ(kind == 'A'   ? ReadAddFiles(files_, prompts_, kMedium, add_)
              : kind == 'C' ? ReadCompFiles(files_, prompts_, kMedium, comp_)
              : kind == 'P' ? ReadProgmanItems(files_, prompts_, kMedium, "English", progman_)
                            : ReadDeleteAddFiles(files_, prompts_, kMedium, del_),
              c.refusedLine ? kListRefused : 1);
    EXPECT_EQ(kind == 'A'   ? add_.count
              : kind == 'C' ? comp_.count
              : kind == 'P' ? progman_.count
                            : del_.count,
              c.count)
        << c.script.substr(0, 60);
    Texts where = prompts_.Texts(FakePrompts::Kind::ErrorBox);
    for (std::string& text : where) text = text.substr(0, text.find(':'));
    EXPECT_EQ(where,
              c.refusedLine ? Texts{"SETUP.KVX, line " + std::to_string(c.refusedLine)} : Texts{});
  }
}

// Texts and counts are bounded by the record; the line after a list is the next count.
TEST_F(ScriptLists, MaintenanceSectionIsBoundedByItsRecord) {
  const std::string u(100, 'u'), n(50, '5');
  Script("[MAINTENANCE]|!MAINTENANCE_FULL|0|0|" + u + "|p|-1|" + n + "|12|1|2|3|4|5|6|7|8|9");
  MaintenanceConfig c;
  EXPECT_EQ(ReadMaintenanceSection(files_, kMedium, c), 1);
  EXPECT_EQ(c.Mode, 1u);
  EXPECT_EQ(c.username.view(), u.substr(0, 78));
  ASSERT_EQ(c.CdpnCount, 1u);
  EXPECT_EQ(c.Cdpn[0].view(), n.substr(0, 39));
  ASSERT_EQ(c.CgpnCount, 8u);
  EXPECT_EQ(c.Cgpn[7], "8");
}

// A path past its field is refused, not cut; no entry past the end of the file may match.
TEST_F(ScriptLists, ProtocolLookupRefusesOverlongPathsAndStopsAtTheFilesEnd) {
  Script("[PROTOCOL]|3|Euro|vmdss1.sys|2|Long|" + std::string(231, 't') + "|0x3");
  const std::pair<std::string, std::string> cases[] = {
      {"Euro", kDrivers + "vmdss1.sys"}, {"Long", "old"}, {kDrivers, "old"}};
  for (const auto& [argument, expected] : cases) {
    PathText imagePath("old");
    EXPECT_EQ(GetScriptNewImagePath(files_, prompts_, kMedium, argument, imagePath),
              expected != "old" ? 1 : 0);
    EXPECT_EQ(imagePath.view(), expected);
  }
  EXPECT_EQ(FindProtocolIndex(files_, prompts_, kMedium, kDrivers), kNoProtocol);
  EXPECT_TRUE(prompts_.shown().empty());
}

}  // namespace
}  // namespace setup
