#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/Protocols.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

using Texts = std::vector<std::string>;

// A drive root ends in a backslash; the messages show the collapsed path.
constexpr ScriptLocation kMedium{"C:\\", "SETUP.KVX"};
const std::string kDrivers(kDriverPrefix);

template <std::size_t N>
std::string List(const std::array<PartyNumber, N>& list, std::uint32_t count) {
  std::string text = "[";
  for (std::uint32_t i = 0; i < count; ++i) (text += i ? "|" : "") += list[i].view();
  return text + "]";
}

std::string Describe(const MaintenanceConfig& c) {
  return std::to_string(c.Mode) + " " + std::to_string(c.cipValue) + " " +
         std::to_string(c.Controller) + " " + std::string(c.username.view()) + " " +
         std::string(c.password.view()) + " " + List(c.Cdpn, c.CdpnCount) + " " +
         List(c.Cgpn, c.CgpnCount);
}

class ProtocolsTest : public ::testing::Test {
 protected:
  void Script(std::string_view pipes) { files_.PutFile("C:\\SETUP.KVX", Piped(pipes)); }

  SandboxFiles files_;
  FakePrompts prompts_;
};

TEST_F(ProtocolsTest, MaintenanceSectionsOverwriteUntilTheFirstOff) {
  const std::string u(100, 'u'), p(300, 'p'), n(50, '5');
  const struct {
    const char* name;
    std::string lines, config;
  } cases[] = {
      {"the later section wins",
       "[MAINTENANCE]|!MAINTENANCE_FULL|2|0|a|b|1|c1|2|g1|g2|[OS]|"
       "[MAINTENANCE]|!MAINTENANCE_DEFAULT_INVISIBLE| 7|3x|x|y|0|1|h1",
       "3 7 3 x y [] [h1]"},
      {"off ends the reading, keeping what came before",
       "[MAINTENANCE]|!MAINTENANCE_DEFAULT|2|1|a|b|0|1|g1|[MAINTENANCE]|!MAINTENANCE_OFF|"
       "[MAINTENANCE]|!MAINTENANCE_FULL|5|5|n|p|0|0",
       "0 2 1 a b [] [g1]"},
      // A misspelt keyword after a full section switches remote access off.
      {"an unknown keyword is off",
       "[MAINTENANCE]|!MAINTENANCE_FULL|0|0|u|p|0|0|"
       "[MAINTENANCE]|!maintenance_full|2|1|a|b|1|c1|0",
       "0 2 1 a b [c1] []"},
      // The line after the entries a list takes is the next count, as the lists are read.
      {"counts and texts bounded by the record",
       "[MAINTENANCE]|!MAINTENANCE_FULL|0|0|" + u + "|" + p + "|-1|" + n + "|12|1|2|3|4|5|6|7|8|9",
       "1 0 0 " + u.substr(0, 78) + " " + p.substr(0, 78) + " [" + n.substr(0, 39) +
           "] [1|2|3|4|5|6|7|8]"},
      {"entries end with the file", "[MAINTENANCE]|!MAINTENANCE_FULL|0|0|u|p|0|3|g1",
       "1 0 0 u p [] [g1]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Script(c.lines);
    MaintenanceConfig config;
    EXPECT_EQ(ReadMaintenanceSection(files_, kMedium, config), 1);
    EXPECT_EQ(Describe(config), c.config);
  }
  Script("[maintenance]|!MAINTENANCE_FULL");
  MaintenanceConfig untouched;
  EXPECT_EQ(ReadMaintenanceSection(files_, kMedium, untouched), 0);
  EXPECT_EQ(ReadMaintenanceSection(files_, {"C:\\NONE", "SETUP.KVX"}, untouched), 0);
  EXPECT_EQ(Describe(untouched), "0 0 0   [] []");
  EXPECT_TRUE(prompts_.shown().empty());
}

TEST_F(ProtocolsTest, EachLookupMatchesByItsOwnRule) {
  const std::string edge(230, 'e'), tooLong(231, 't');
  // One entry fewer than counted: the file's end ends the entries.
  Script(
      "[DEFPROTOCOL]|DSS1 (Euro-ISDN)|[PROTOCOL]|6|DSS1 (Euro-ISDN)|vmdss1.sys|2|1TR6|"
      "VM1TR6.SYS|10|NI-1|vmni1.sys|1|Edge|" +
      edge + "|3|Long|" + tooLong + "|0x3");
  const std::string before = kDrivers + "before.sys";
  const struct {
    std::string argument;
    std::uint32_t index;
    std::uint32_t flags;    // hexadecimal in the script
    std::string imagePath;  // after GetScriptNewImagePath; `before` when it gives 0
  } cases[] = {
      {kDrivers + "VMDSS1.SYS", 0, 2, before},
      {"DSS1 (Euro-ISDN)", kNoProtocol, 2, kDrivers + "vmdss1.sys"},
      {"dss1 (EURO-isdn)", kNoProtocol, 2, before},
      // The prefix is skipped, not compared.
      {"X:\\Some\\Other\\Place\\Of\\Files\\vm1tr6.sys", 1, 0x10, before},
      {"Edge", kNoProtocol, 3, kDrivers + edge},
      {"Long", kNoProtocol, 3, before},
      // No file part: no entry past the end of the file may match it.
      {kDrivers, kNoProtocol, 0, before},
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
  EXPECT_TRUE(files_.Delete("C:\\SETUP.KVX")) << "the script was left open";
  EXPECT_TRUE(prompts_.shown().empty());
}

TEST_F(ProtocolsTest, CountBoundsTheProtocolsAndMissingSectionsAreNoError) {
  // A header in another case is no header; 10 is hexadecimal, without the SPID bit; the
  // entry with it lies beyond the count.
  Script("[protocol]|1|C|c.sys|1|[PROTOCOL]|1|A|a.sys|10|C|c.sys|1");
  FakeDialogView view("DLG_cfg_adapter", kNoWindow, kNoWindow);
  AddProtocolNames(OpenScript(files_, kMedium), view, 39);
  EXPECT_EQ(view.control(39).items, Texts{"A"});
  EXPECT_EQ(AnyProtocolNeedsSpid(files_, prompts_, kMedium), 0);
  EXPECT_EQ(FindProtocolIndex(files_, prompts_, kMedium, kDrivers + "c.sys"), kNoProtocol);
  EXPECT_EQ(GetProtocolFlags(files_, prompts_, kMedium, "C"), 0u);
  LineText protocol("stale");
  EXPECT_EQ(ReadDefaultProtocol(files_, prompts_, kMedium, protocol), 0);
  EXPECT_EQ(protocol, "stale");
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
  const std::string at = "Can't find SETUPINFOFILE! at C:\\SETUP.KVX";
  EXPECT_EQ(
      prompts_.Texts(FakePrompts::Kind::Message),
      (Texts{at, at, "Can't find SETUPINFOFILE!",
             "Can't find SETUPINFOFILE\n[GetScriptNewImagePath]", "Can't find SETUPINFOFILE!"}));
  EXPECT_EQ(prompts_.shown().size(), 5u);
}

}  // namespace
}  // namespace setup
