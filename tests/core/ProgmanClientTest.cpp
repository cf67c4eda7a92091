// The program group client on the doubles: command texts the shell must not misread, and
// what the user sees when the shell or DDE fails.
#include <gtest/gtest.h>

#include <functional>
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
    "Trace (full), raw|vmtrace.exe /a,b|x(1)|tools\\vmtrace.exe|8");

Texts GroupCommands(const Texts& items, const std::string& group = "Velmar CAPI 2.0") {
  Texts commands = {"[DeleteGroup(\"" + group + "\")]", "[CreateGroup(\"" + group + "\",0)]",
                    "[ShowGroup(\"" + group + "\",1)]"};
  commands.insert(commands.end(), items.begin(), items.end());
  commands.push_back("[ShowGroup(\"" + group + "\",6)]");
  return commands;
}

// The languages of kScript, `script` in C:\MEDIUM, and an install dialog that owns what the client
// shows.
struct ClientWorld : AppWorld {
  ClientWorld(const std::string& script = kScript) {
    files.PutFile("C:\\MEDIUM\\SETUP.KVX", kScript);
    state->SetupFileName.Assign("VSETUP.EXE");
    ReadLanguageTable(files, prompts, {"C:\\MEDIUM", "SETUP.KVX"}, state->Languages);
    files.PutFile("C:\\MEDIUM\\SETUP.KVX", script);
    owner = host.CreateModeless("DLG_install", kNoWindow, idle);
  }
  void Run(bool create, const char* installDir = "C:\\Velmar") {
    if (create)
      CreateProgramGroup(services, *state, owner, "C:\\MEDIUM", installDir);
    else
      DeleteProgramGroup(services, *state, owner, "C:\\MEDIUM");
  }
  int OwnerCentred() { return host.Modeless(owner)->centredCount(); }
  // Every text shown, with "owner: " in front of those the install dialog owns.
  Texts Shown() const {
    Texts shown;
    for (const FakePrompts::Shown& s : prompts.shown())
      shown.push_back((s.owner == owner ? "owner: " : "") + s.text);
    return shown;
  }

  struct Idle : Dialog {
    void OnInit(DialogView&) override {}
  } idle;
  WindowRef owner = kNoWindow;
};

TEST(ProgmanClient, QuotesWhatWouldSplitACommandAndAddsNoSecondBackslash) {
  ClientWorld w;
  w.state->LanguageIndex = 1;
  w.Run(true, "D:\\");
  EXPECT_EQ(w.programGroups.commands,
            GroupCommands({"[AddItem(VSETUP.EXE ,Setup,D:\\VSETUP.EXE,65535,20,10,D:\\)]",
                           "[AddItem(\"vmtrace.exe /a,b \",\"Trace (full), raw\","
                           "D:\\tools\\vmtrace.exe,8,95,10,\"D:\\x(1)\")]"}));
  w.Run(false);
  EXPECT_EQ(w.programGroups.commands.back(), "[DeleteGroup(\"Velmar CAPI 2.0\")]");
  EXPECT_TRUE(w.Shown().empty());
  EXPECT_EQ(w.OwnerCentred(), 1);
  EXPECT_EQ(w.programGroups.liveInstances(), 0u);
}

// Every failure is shown where it happens, and whatever can still be sent is; only a group
// made with a DDE instance brings its owner back to the front.
TEST(ProgmanClient, FailuresAreShownAndTheRemainingCommandsStillSent) {
  const std::string tooLong = "[PROGMAN]|G|English|2|Long|" + std::string(250, 'x') +
                              "|!SETUPDIR|!SETUPICON|0|Short|a.exe|!SETUPDIR|a.exe|0";
  const struct {
    std::function<void(RecordingProgramGroups&)> arrange;
    std::string script;
    bool create;
    Texts shown, sent;
    bool centred;
  } cases[] = {
      {[](auto& g) { g.BeUnreachable(); },
       kScript,
       false,
       {"No connection!", "owner: Can't delete group!"},
       {},
       false},
      {[](auto& g) { g.Refuse("[AddItem", 0x400c); },
       kScript,
       true,
       {"Error: 400C"},
       GroupCommands({}),
       true},
      // Refused whole rather than sent with a cut path; the item after it keeps its place.
      {nullptr,
       Piped(tooLong),
       true,
       {"owner: Can't add the program item \"Long\"!\nIts paths or command line are longer "
        "than 259 characters."},
       GroupCommands({"[AddItem(a.exe ,Short,C:\\Velmar\\a.exe,0,95,10,C:\\Velmar)]"}, "G"),
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    ClientWorld w(c.script);
    if (c.arrange) c.arrange(w.programGroups);
    w.Run(c.create);
    EXPECT_EQ(w.Shown(), c.shown);
    EXPECT_EQ(w.programGroups.commands, c.sent);
    EXPECT_EQ(w.OwnerCentred(), c.centred ? 1 : 0);
    EXPECT_EQ(w.programGroups.liveInstances(), 0u);
  }
}

}  // namespace
}  // namespace setup
