#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/Protocols.h"
#include "support/FakeDialog.h"
#include "support/FakePrompts.h"
#include "support/SandboxFiles.h"

namespace setup {
namespace {

using Texts = std::vector<std::string>;

// A drive root ends in a backslash; the messages show the collapsed path.
constexpr ScriptLocation kMedium{"C:\\", "SETUP.KVX"};
const std::string kScript = "C:\\SETUP.KVX";
const std::string kDrivers(kDriverPrefix);

std::string Describe(const MaintenanceConfig& c) {
  std::string text = std::to_string(c.Mode) + " " + std::to_string(c.cipValue) + " " +
                     std::to_string(c.Controller) + " " + std::string(c.username.view()) + " " +
                     std::string(c.password.view()) + " [";
  for (std::uint32_t i = 0; i < c.CdpnCount; ++i)
    text += (i ? "|" : "") + std::string(c.Cdpn[i].view());
  text += "] [";
  for (std::uint32_t i = 0; i < c.CgpnCount; ++i)
    text += (i ? "|" : "") + std::string(c.Cgpn[i].view());
  return text + "]";
}

class ProtocolsTest : public ::testing::Test {
 protected:
  // Each line ended by CR LF.
  void Script(const std::vector<std::string_view>& lines) {
    std::string text;
    for (std::string_view line : lines) (text += line) += "\r\n";
    files_.PutFile(kScript, text);
  }

  SandboxFiles files_;
  FakePrompts prompts_;
};

TEST_F(ProtocolsTest, MaintenanceSectionsOverwriteUntilTheFirstOff) {
  const std::string long100(100, 'u'), long300(300, 'p'), long50(50, '5');
  const struct {
    const char* name;
    std::vector<std::string_view> lines;
    int result;
    std::string config;
  } cases[] = {
      {"full",
       {"[OS]", "!OS_WINDOWS_NT", "[MAINTENANCE]", "!MAINTENANCE_FULL", " 2", "1x", "service",
        "velmar", "1", "5550100,1", "2", "5550199,", "5550142,7", "[COMPFILES]"},
       1,
       "1 2 1 service velmar [5550100,1] [5550199,|5550142,7]"},
      {"the later section wins, its lists counted afresh",
       {"[MAINTENANCE]",
        "!MAINTENANCE_DEFAULT",
        "2",
        "0",
        "a",
        "b",
        "1",
        "c1",
        "2",
        "g1",
        "g2",
        "[MAINTENANCE]",
        "!MAINTENANCE_DEFAULT_INVISIBLE",
        "7",
        "3",
        "x",
        "y",
        "0",
        "1",
        "h1"},
       1,
       "3 7 3 x y [] [h1]"},
      {"off first keeps every other field",
       {"[MAINTENANCE]", "!MAINTENANCE_OFF", "[MAINTENANCE]", "!MAINTENANCE_FULL", "9", "9", "n",
        "p", "0", "0"},
       1,
       "0 4 4 old old [o1] [o1|o2]"},
      {"off later ends the reading with what came before",
       {"[MAINTENANCE]", "!MAINTENANCE_FULL", "2", "1", "a", "b", "0", "1", "g1", "[MAINTENANCE]",
        "!MAINTENANCE_OFF", "[MAINTENANCE]", "!MAINTENANCE_DEFAULT", "5", "5", "n", "p", "0", "0"},
       1,
       "0 2 1 a b [] [g1]"},
      {"an unknown keyword is off, its section still read",
       {"[MAINTENANCE]", "!maintenance_full", "2", "1", "a", "b", "1", "c1", "0"},
       1,
       "0 2 1 a b [c1] []"},
      // The lists take what they hold; the line after the taken entries is the next count.
      {"counts bounded by the lists",
       {"[MAINTENANCE]", "!MAINTENANCE_FULL", "0", "0", "u", "p", "3", "c1", "12", "1", "2", "3",
        "4", "5", "6", "7", "8", "9"},
       1,
       "1 0 0 u p [c1] [1|2|3|4|5|6|7|8]"},
      {"a negative count is a huge one",
       {"[MAINTENANCE]", "!MAINTENANCE_FULL", "0", "0", "u", "p", "-1", "c1", "-1", "g1", "g2"},
       1,
       "1 0 0 u p [c1] [g1|g2]"},
      {"texts cut to their fields, whole lines consumed",
       {"[MAINTENANCE]", "!MAINTENANCE_FULL", "0", "0", long100, long300, "1", long50, "1", "g"},
       1,
       "1 0 0 " + std::string(78, 'u') + " " + std::string(78, 'p') + " [" + std::string(39, '5') +
           "] [g]"},
      {"no section",
       {"[OS]", "!OS_WINDOWS_NT", "[maintenance]", "!MAINTENANCE_FULL"},
       0,
       "4 4 4 old old [o1] [o1|o2]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Script(c.lines);
    MaintenanceConfig config;
    config.Mode = config.cipValue = config.Controller = 4;
    config.username.Assign("old");
    config.password.Assign("old");
    config.Cdpn[0].Assign("o1");
    config.Cgpn[0].Assign("o1");
    config.Cgpn[1].Assign("o2");
    config.CdpnCount = 1;
    config.CgpnCount = 2;
    EXPECT_EQ(ReadMaintenanceSection(files_, kMedium, config), c.result);
    EXPECT_EQ(Describe(config), c.config);
  }
  MaintenanceConfig untouched;
  EXPECT_EQ(ReadMaintenanceSection(files_, {"C:\\NONE", "SETUP.KVX"}, untouched), 0);
  EXPECT_EQ(Describe(untouched), "0 0 0   [] []");
  EXPECT_TRUE(prompts_.shown().empty());
}

TEST_F(ProtocolsTest, EachLookupMatchesByItsOwnRule) {
  const std::string edge(230, 'e'), tooLong(231, 't');
  // One entry fewer than counted: the file's end ends the entries.
  Script({"[DEFPROTOCOL]", "DSS1 (Euro-ISDN)", "[PROTOCOL]", "6", "DSS1 (Euro-ISDN)", "vmdss1.sys",
          "2", "1TR6", "VM1TR6.SYS", "10", "NI-1", "vmni1.sys", "1", "Edge", edge, "3", "Long",
          tooLong, "0x3"});
  const std::string before = kDrivers + "before.sys";
  const struct {
    std::string argument;
    std::uint32_t index;
    std::uint32_t flags;
    std::string imagePath;  // after GetScriptNewImagePath; `before` when it gives 0
  } cases[] = {
      {kDrivers + "VMDSS1.SYS", 0, 2, before},
      {"DSS1 (Euro-ISDN)", kNoProtocol, 2, kDrivers + "vmdss1.sys"},
      {"dss1 (EURO-isdn)", kNoProtocol, 2, before},
      // The prefix is skipped, not compared.
      {"X:\\Some\\Other\\Place\\Of\\Files\\vm1tr6.sys", 1, 0x10, before},
      {"1TR6", kNoProtocol, 0x10, kDrivers + "VM1TR6.SYS"},
      {"NI-1", kNoProtocol, 1, kDrivers + "vmni1.sys"},
      {kDrivers + "vmni1.SYS", 2, 1, before},
      {"Edge", kNoProtocol, 3, kDrivers + edge},
      {"Long", kNoProtocol, 3, before},
      // No file part: no entry past the end of the file may match it.
      {kDrivers, kNoProtocol, 0, before},
      {"vmdss1.sys", kNoProtocol, 0, before},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    EXPECT_EQ(FindProtocolIndex(files_, prompts_, kMedium, c.argument), c.index);
    EXPECT_EQ(GetProtocolFlags(files_, prompts_, kMedium, c.argument), c.flags);
    PathText imagePath(before);
    EXPECT_EQ(GetScriptNewImagePath(files_, prompts_, kMedium, c.argument, imagePath),
              c.imagePath != before ? 1 : 0);
    EXPECT_EQ(imagePath.view(), c.imagePath);
  }

  LineText protocol("stale");
  EXPECT_EQ(ReadDefaultProtocol(files_, prompts_, kMedium, protocol), 1);
  EXPECT_EQ(protocol, "DSS1 (Euro-ISDN)");
  EXPECT_EQ(AnyProtocolNeedsSpid(files_, prompts_, kMedium), 1);
  FakeDialogView view("DLG_cfg_adapter", kNoWindow, kNoWindow);
  EXPECT_EQ(AddProtocolNames(OpenScript(files_, kMedium), view, 39), 1);
  EXPECT_EQ(view.control(39).items, (Texts{"DSS1 (Euro-ISDN)", "1TR6", "NI-1", "Edge", "Long"}));
  EXPECT_TRUE(files_.Delete(kScript)) << "the script was left open";
  EXPECT_TRUE(prompts_.shown().empty());
}

TEST_F(ProtocolsTest, CountBoundsTheProtocolsAndMissingSectionsAreNoError) {
  const struct {
    const char* name;
    std::vector<std::string_view> lines;
    Texts names;
    int needsSpid;
  } cases[] = {
      // Hexadecimal: 10 has no SPID bit; the third entry lies beyond the count.
      {"count",
       {"[PROTOCOL]", "2", "A", "a.sys", "10", "B", "b.sys", "2", "C", "c.sys", "1"},
       {"A", "B"},
       0},
      {"negative", {"[PROTOCOL]", "-1", "A", "a.sys", "1"}, {}, 0},
      {"past the end", {"[PROTOCOL]", "4", "A", "a.sys", "2", "B"}, {"A", "B"}, 0},
      {"no section", {"[protocol]", "1", "A", "a.sys", "1"}, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Script(c.lines);
    FakeDialogView view("DLG_cfg_adapter", kNoWindow, kNoWindow);
    AddProtocolNames(OpenScript(files_, kMedium), view, 39);
    EXPECT_EQ(view.control(39).items, c.names);
    EXPECT_EQ(AnyProtocolNeedsSpid(files_, prompts_, kMedium), c.needsSpid);
    EXPECT_EQ(FindProtocolIndex(files_, prompts_, kMedium, kDrivers + "c.sys"), kNoProtocol);
    EXPECT_EQ(GetProtocolFlags(files_, prompts_, kMedium, "C"), 0u);
    LineText protocol("stale");
    EXPECT_EQ(ReadDefaultProtocol(files_, prompts_, kMedium, protocol), 0);
    EXPECT_EQ(protocol, "stale");
  }
  EXPECT_TRUE(prompts_.shown().empty());
}

TEST_F(ProtocolsTest, MissingScriptShowsTheLiteralMessages) {
  LineText protocol("stale");
  PathText imagePath("kept");
  EXPECT_EQ(ReadDefaultProtocol(files_, prompts_, kMedium, protocol), 0);
  EXPECT_EQ(AnyProtocolNeedsSpid(files_, prompts_, kMedium), 0);
  EXPECT_EQ(FindProtocolIndex(files_, prompts_, kMedium, kDrivers + "vmdss1.sys"), kNoProtocol);
  EXPECT_EQ(GetScriptNewImagePath(files_, prompts_, kMedium, "DSS1", imagePath), 0);
  EXPECT_EQ(GetProtocolFlags(files_, prompts_, kMedium, "DSS1"), 0u);
  EXPECT_EQ(protocol, "stale");
  EXPECT_EQ(imagePath, "kept");
  EXPECT_EQ(
      prompts_.Texts(FakePrompts::Kind::Message),
      (Texts{"Can't find SETUPINFOFILE! at C:\\SETUP.KVX",
             "Can't find SETUPINFOFILE! at C:\\SETUP.KVX", "Can't find SETUPINFOFILE!",
             "Can't find SETUPINFOFILE\n[GetScriptNewImagePath]", "Can't find SETUPINFOFILE!"}));
  EXPECT_EQ(prompts_.shown().size(), 5u);
}

}  // namespace
}  // namespace setup
