// The program group client on the doubles: the command texts for the sample's [PROGMAN]
// block, and what the user sees when the shell or DDE fails.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "progman/ProgmanClient.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

using Kind = FakePrompts::Kind;
using Texts = std::vector<std::string>;

// The sample's [PROGMAN] section, and a third block for what the sample does not use.
const std::string kScript = CrLfLines({"[LANGUAGE]",
                                       "3",
                                       "English",
                                       "ENG.TXT",
                                       "Deutsch",
                                       "GER.TXT",
                                       "Extra",
                                       "EXT.TXT",
                                       "[PROGMAN]",
                                       "Velmar CAPI 2.0",
                                       "English",
                                       "4",
                                       "Configure Velmar CAPI 2.0",
                                       "!SETUPFILE+CMD",
                                       "/c /lEnglish",
                                       "!SETUPDIR",
                                       "!SETUPICON",
                                       "1",
                                       "Deinstall Velmar CAPI 2.0",
                                       "!SETUPFILE+CMD",
                                       "/d /lEnglish",
                                       "!SETUPDIR",
                                       "!SETUPICON",
                                       "2",
                                       "Velmar CAPI 2.0 readme",
                                       "notepad.exe README.TXT",
                                       "!SETUPDIR",
                                       "SETUP.EXE",
                                       "0",
                                       "Velmar trace settings",
                                       "notepad.exe VMTRACE.INI",
                                       "tools\\trace",
                                       "tools\\trace\\vmtrace.exe",
                                       "0",
                                       "Deutsch",
                                       "4",
                                       "Velmar CAPI 2.0 konfigurieren",
                                       "!SETUPFILE+CMD",
                                       "/c /lDeutsch",
                                       "!SETUPDIR",
                                       "!SETUPICON",
                                       "1",
                                       "Velmar CAPI 2.0 entfernen",
                                       "!SETUPFILE+CMD",
                                       "/d /lDeutsch",
                                       "!SETUPDIR",
                                       "!SETUPICON",
                                       "2",
                                       "Liesmich zu Velmar CAPI 2.0",
                                       "notepad.exe LIESMICH.TXT",
                                       "!SETUPDIR",
                                       "SETUP.EXE",
                                       "0",
                                       "Einstellungen f\xFCr Velmar-Trace",
                                       "notepad.exe VMTRACE.INI",
                                       "tools\\trace",
                                       "tools\\trace\\vmtrace.exe",
                                       "0",
                                       "Extra",
                                       "2",
                                       "Setup",
                                       "!SETUPFILE",
                                       "!SETUPDIR",
                                       "!SETUPICON",
                                       "65535",
                                       "Trace",
                                       "vmtrace.exe",
                                       "",
                                       "tools\\vmtrace.exe",
                                       "7"});

Texts GroupCommands(const Texts& items, const std::string& group = "Velmar CAPI 2.0") {
  Texts commands = {"[DeleteGroup(\"" + group + "\")]", "[CreateGroup(\"" + group + "\",0)]",
                    "[ShowGroup(\"" + group + "\",1)]"};
  commands.insert(commands.end(), items.begin(), items.end());
  commands.push_back("[ShowGroup(\"" + group + "\",6)]");
  return commands;
}

// The script in C:\MEDIUM, and an install dialog that owns what the client shows.
class ClientWorld {
 public:
  ClientWorld() {
    world.files.PutFile("C:\\MEDIUM\\SETUP.KVX", kScript);
    state.SetupFileName.Assign("VSETUP.EXE");
    ReadLanguageTable(world.files, world.prompts, {"C:\\MEDIUM", "SETUP.KVX"}, state.Languages);
    owner_ = world.host.CreateModeless("DLG_install", kNoWindow, idle_);
  }

  void Create(const char* installDir = "C:\\Velmar") {
    CreateProgramGroup(world.services, state, owner_, "C:\\MEDIUM", installDir);
  }
  void Delete() { DeleteProgramGroup(world.services, state, owner_, "C:\\MEDIUM"); }
  const Texts& Sent() const { return world.programGroups.commands; }
  int OwnerCentred() { return world.host.Modeless(owner_)->centredCount(); }
  // Every text shown, with "owner: " in front of those the install dialog owns.
  Texts Shown() const {
    Texts shown;
    for (const FakePrompts::Shown& s : world.prompts.shown())
      shown.push_back((s.owner == owner_ ? "owner: " : "") + s.text);
    return shown;
  }

  AppWorld world;
  ProgramState& state = *world.state;

 private:
  struct Idle : Dialog {
    void OnInit(DialogView&) override {}
  } idle_;
  WindowRef owner_ = kNoWindow;
};

TEST(ProgmanClient, BuildsTheGroupOfTheChosenLanguageOnTheInstallationDirectory) {
  struct Case {
    int language;
    const char* installDir;
    Texts items;
  };
  const Case cases[] = {
      {0,
       "C:\\Velmar",
       {"[AddItem(VSETUP.EXE /c /lEnglish,Configure Velmar CAPI 2.0,C:\\Velmar\\VSETUP.EXE,1,20,"
        "10,C:\\Velmar)]",
        "[AddItem(VSETUP.EXE /d /lEnglish,Deinstall Velmar CAPI 2.0,C:\\Velmar\\VSETUP.EXE,2,95,"
        "10,C:\\Velmar)]",
        "[AddItem(notepad.exe README.TXT ,Velmar CAPI 2.0 readme,C:\\Velmar\\SETUP.EXE,0,170,10,"
        "C:\\Velmar)]",
        "[AddItem(notepad.exe VMTRACE.INI ,Velmar trace settings,C:\\Velmar\\tools\\trace\\"
        "vmtrace.exe,0,245,10,C:\\Velmar\\tools\\trace)]"}},
      {1,
       "C:\\Velmar",
       {"[AddItem(VSETUP.EXE /c /lDeutsch,Velmar CAPI 2.0 konfigurieren,C:\\Velmar\\VSETUP.EXE,1,"
        "20,10,C:\\Velmar)]",
        "[AddItem(VSETUP.EXE /d /lDeutsch,Velmar CAPI 2.0 entfernen,C:\\Velmar\\VSETUP.EXE,2,95,"
        "10,C:\\Velmar)]",
        "[AddItem(notepad.exe LIESMICH.TXT ,Liesmich zu Velmar CAPI 2.0,C:\\Velmar\\SETUP.EXE,0,"
        "170,10,C:\\Velmar)]",
        "[AddItem(notepad.exe VMTRACE.INI ,Einstellungen f\xFCr Velmar-Trace,C:\\Velmar\\tools\\"
        "trace\\vmtrace.exe,0,245,10,C:\\Velmar\\tools\\trace)]"}},
      // A drive root's own backslash and an empty working directory add no second one.
      {2,
       "D:\\",
       {"[AddItem(VSETUP.EXE ,Setup,D:\\VSETUP.EXE,65535,20,10,D:\\)]",
        "[AddItem(vmtrace.exe ,Trace,D:\\tools\\vmtrace.exe,7,95,10,D:\\)]"}},
  };
  ClientWorld client;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    client.world.programGroups.commands.clear();
    client.world.system.sleeps.clear();
    client.state.LanguageIndex = c.language;
    const int centred = client.OwnerCentred();
    client.Create(c.installDir);
    EXPECT_EQ(client.Sent(), GroupCommands(c.items));
    EXPECT_EQ(client.world.system.sleeps, std::vector<std::uint32_t>(c.items.size(), 100));
    EXPECT_EQ(client.OwnerCentred(), centred + 1);
  }
  EXPECT_TRUE(client.Shown().empty());
  EXPECT_EQ(client.world.programGroups.initialized(), 3);
  EXPECT_EQ(client.world.programGroups.liveInstances(), 0u);

  client.Delete();
  EXPECT_EQ(client.Sent().back(), "[DeleteGroup(\"Velmar CAPI 2.0\")]");
  EXPECT_TRUE(client.Shown().empty());
  EXPECT_EQ(client.world.programGroups.liveInstances(), 0u);
}

// Every failure is shown where it happens, and whatever can still be sent is.
TEST(ProgmanClient, FailuresAreShownAndTheRemainingCommandsStillSent) {
  struct Case {
    const char* what;
    std::function<void(AppWorld&)> arrange;
    bool create;
    Texts shown;
    std::size_t sent;  // commands the shell took
    const char* item;  // one of them, when it matters
    int centred;
  };
  const auto script = [](std::initializer_list<std::string_view> lines) {
    return
        [text = CrLfLines(lines)](AppWorld& w) { w.files.PutFile("C:\\MEDIUM\\SETUP.KVX", text); };
  };
  const Case cases[] = {
      {"no DDE when creating",
       [](AppWorld& w) { w.programGroups.FailInitialize(0x400a); },
       true,
       {"owner: No DDE conversation!"},
       0,
       nullptr,
       0},
      {"no DDE when deleting",
       [](AppWorld& w) { w.programGroups.FailInitialize(0x400a); },
       false,
       {"owner: No DDE Conversation!\nErrorCode: 0x400a"},
       0,
       nullptr,
       0},
      {"no shell when creating", [](AppWorld& w) { w.programGroups.BeUnreachable(); }, true,
       Texts(8, "No connection!"), 0, nullptr, 1},
      {"no shell when deleting",
       [](AppWorld& w) { w.programGroups.BeUnreachable(); },
       false,
       {"No connection!", "owner: Can't delete group!"},
       0,
       nullptr,
       0},
      {"items refused", [](AppWorld& w) { w.programGroups.Refuse("[AddItem", 0x400c); }, true,
       Texts(4, "Error: 400C"), 4, nullptr, 1},
      {"delete refused",
       [](AppWorld& w) { w.programGroups.Refuse(""); },
       false,
       {"Error: 4009", "owner: Can't delete group!"},
       0,
       nullptr,
       0},
      {"script missing",
       [](AppWorld& w) { w.files.Delete("C:\\MEDIUM\\SETUP.KVX"); },
       true,
       {"Can't find SETUPINFOFILE!"},
       0,
       nullptr,
       1},
      {"no group in the script", script({"[OS]", "!OS_WINDOWS_NT"}), false, {}, 0, nullptr, 0},
      {"no block for the language",
       script({"[PROGMAN]", "G", "Deutsch", "1"}),
       true,
       {},
       4,
       "[ShowGroup(\"G\",6)]",
       1},
      // Refused whole rather than sent with a cut path; the item after it keeps its place.
      {"item too long",
       script({"[PROGMAN]", "G", "English", "2", "Long", std::string(250, 'x'), "!SETUPDIR",
               "!SETUPICON", "0", "Short", "a.exe", "!SETUPDIR", "a.exe", "0"}),
       true,
       {"owner: Can't add the program item \"Long\"!\nIts paths or command line are longer than "
        "259 characters."},
       5,
       "[AddItem(a.exe ,Short,C:\\Velmar\\a.exe,0,95,10,C:\\Velmar)]",
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClientWorld client;
    c.arrange(client.world);
    if (c.create)
      client.Create();
    else
      client.Delete();
    EXPECT_EQ(client.Shown(), c.shown);
    EXPECT_EQ(client.Sent().size(), c.sent);
    if (c.item) {
      EXPECT_THAT(client.Sent(), ::testing::Contains(c.item));
    }
    EXPECT_EQ(client.OwnerCentred(), c.centred);
    EXPECT_EQ(client.world.programGroups.liveInstances(), 0u);
  }
}

}  // namespace
}  // namespace setup
