// The program group client on the doubles: command texts the shell must not misread and
// items too long to send.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "progman/ProgmanClient.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

using Texts = std::vector<std::string>;

// The second block is what the sample does not use; reaching it means skipping the first.
const std::string kScript = Piped(
    "[LANGUAGE]|2|English|ENG.TXT|Extra|EXT.TXT|[PROGMAN]|Velmar CAPI 2.0|English|1|"
    "Readme|notepad.exe README.TXT|!SETUPDIR|SETUP.EXE|0|"
    "Extra|2|Setup|!SETUPFILE|!SETUPDIR|!SETUPICON|65535|"
    "Trace \"full\", raw|vmtrace.exe /a]b|x(1)|tools\\vmtrace.exe|8");

Texts GroupCommands(const Texts& items, const std::string& group = "Velmar CAPI 2.0") {
  Texts commands = {"[DeleteGroup(\"" + group + "\")]", "[CreateGroup(\"" + group + "\",0)]",
                    "[ShowGroup(\"" + group + "\",1)]"};
  commands.insert(commands.end(), items.begin(), items.end());
  commands.push_back("[ShowGroup(\"" + group + "\",6)]");
  return commands;
}

// The languages of kScript, and `script` in C:\MEDIUM.
struct ClientWorld : AppWorld {
  ClientWorld(const std::string& script = kScript) {
    files.PutFile("C:\\MEDIUM\\SETUP.KVX", kScript);
    state->SetupFileName.Assign("VSETUP.EXE");
    ReadLanguageTable(files, prompts, {"C:\\MEDIUM", "SETUP.KVX"}, state->Languages);
    files.PutFile("C:\\MEDIUM\\SETUP.KVX", script);
  }
  void Create(const char* installDir) {
    CreateProgramGroup(services, *state, kNoWindow, "C:\\MEDIUM", installDir);
  }
};

TEST(ProgmanClient, QuotesWhatWouldSplitACommandAndAddsNoSecondBackslash) {
  ClientWorld w;
  w.state->LanguageIndex = 1;
  w.Create("D:\\");
  EXPECT_EQ(w.programGroups.commands,
            GroupCommands({"[AddItem(VSETUP.EXE ,Setup,D:\\VSETUP.EXE,65535,20,10,D:\\)]",
                           "[AddItem(\"vmtrace.exe /a]b \",\"Trace \"\"full\"\", raw\","
                           "D:\\tools\\vmtrace.exe,8,95,10,\"D:\\x(1)\")]"}));
  DeleteProgramGroup(w.services, *w.state, kNoWindow, "C:\\MEDIUM");
  EXPECT_EQ(w.programGroups.commands.back(), "[DeleteGroup(\"Velmar CAPI 2.0\")]");
  EXPECT_TRUE(w.prompts.shown().empty());
  EXPECT_EQ(w.programGroups.liveInstances(), 0u);
}

// Refused whole rather than sent cut, also when only its doubled quotes make it too long; the
// item after it keeps its place. The group's own quotes are doubled too.
TEST(ProgmanClient, AnOverlongItemIsRefusedAndTheRestStillSent) {
  ClientWorld w(Piped("[PROGMAN]|\"G\"|English|2|Long|" + std::string(125, '"') +
                      "|!SETUPDIR|!SETUPICON|0|Short|a.exe|!SETUPDIR|a.exe|0"));
  w.Create("C:\\Velmar");
  ASSERT_EQ(w.prompts.shown().size(), 1u);
  EXPECT_EQ(
      w.programGroups.commands,
      GroupCommands({"[AddItem(a.exe ,Short,C:\\Velmar\\a.exe,0,95,10,C:\\Velmar)]"}, "\"\"G\"\""));
  EXPECT_EQ(w.programGroups.liveInstances(), 0u);
}

}  // namespace
}  // namespace setup
