// The program group client on the doubles: the command texts for the sample's [PROGMAN]
// block, and what the user sees when the shell or DDE fails.
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

// One text per part between the '|'s.
Texts Split(std::string_view joined) {
  Texts parts(1);
  for (char c : joined)
    if (c == '|')
      parts.emplace_back();
    else
      parts.back() += c;
  return parts;
}

// Script lines, '|' between them within a row; every line ends in CR/LF.
std::string Rows(std::initializer_list<std::string_view> rows) {
  std::string text;
  for (std::string_view row : rows) text += Piped(row);
  return text;
}

// The sample's [PROGMAN] section, and a third block for what the sample does not use; the
// client must skip the second to reach it.
const std::string kScript = Rows({
    "[LANGUAGE]|3|English|ENG.TXT|Deutsch|GER.TXT|Extra|EXT.TXT",
    "[PROGMAN]|Velmar CAPI 2.0|English|4",
    "Configure Velmar CAPI 2.0|!SETUPFILE+CMD|/c /lEnglish|!SETUPDIR|!SETUPICON|1",
    "Deinstall Velmar CAPI 2.0|!SETUPFILE+CMD|/d /lEnglish|!SETUPDIR|!SETUPICON|2",
    "Velmar CAPI 2.0 readme|notepad.exe README.TXT|!SETUPDIR|SETUP.EXE|0",
    "Velmar trace settings|notepad.exe VMTRACE.INI|tools\\trace|tools\\trace\\vmtrace.exe|0",
    "Deutsch|4",
    "Velmar CAPI 2.0 konfigurieren|!SETUPFILE+CMD|/c /lDeutsch|!SETUPDIR|!SETUPICON|1",
    "Velmar CAPI 2.0 entfernen|!SETUPFILE+CMD|/d /lDeutsch|!SETUPDIR|!SETUPICON|2",
    "Liesmich zu Velmar CAPI 2.0|notepad.exe LIESMICH.TXT|!SETUPDIR|SETUP.EXE|0",
    "Einstellungen f\xFCr Velmar-Trace|notepad.exe VMTRACE.INI|tools\\trace|"
    "tools\\trace\\vmtrace.exe|0",
    "Extra|3|Setup|!SETUPFILE|!SETUPDIR|!SETUPICON|65535",
    "Trace|vmtrace.exe||tools\\vmtrace.exe|7",
    "Trace (full), raw|vmtrace.exe /a,b|x(1)|tools\\vmtrace.exe|8",
});

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
      // A drive root's own backslash and an empty working directory add no second one.
      {2,
       "D:\\",
       {"[AddItem(VSETUP.EXE ,Setup,D:\\VSETUP.EXE,65535,20,10,D:\\)]",
        "[AddItem(vmtrace.exe ,Trace,D:\\tools\\vmtrace.exe,7,95,10,D:\\)]",
        // Commas and parentheses would split or end the command: those arguments are quoted.
        "[AddItem(\"vmtrace.exe /a,b \",\"Trace (full), raw\",D:\\tools\\vmtrace.exe,8,170,10,"
        "\"D:\\x(1)\")]"}},
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
  EXPECT_EQ(client.world.programGroups.liveInstances(), 0u);

  client.Delete();
  EXPECT_EQ(client.Sent().back(), "[DeleteGroup(\"Velmar CAPI 2.0\")]");
  EXPECT_TRUE(client.Shown().empty());
  EXPECT_EQ(client.world.programGroups.liveInstances(), 0u);
}

using Arrange = std::function<void(AppWorld&)>;
Arrange FailInitialize() {
  return [](AppWorld& w) { w.programGroups.FailInitialize(0x400a); };
}
Arrange Unreachable() {
  return [](AppWorld& w) { w.programGroups.BeUnreachable(); };
}
Arrange Refusing(const char* prefix, std::uint32_t error) {
  return [=](AppWorld& w) { w.programGroups.Refuse(prefix, error); };
}
Arrange Script(std::initializer_list<std::string_view> rows) {
  return [text = Rows(rows)](AppWorld& w) { w.files.PutFile("C:\\MEDIUM\\SETUP.KVX", text); };
}

// Every failure is shown where it happens, and whatever can still be sent is.
TEST(ProgmanClient, FailuresAreShownAndTheRemainingCommandsStillSent) {
  struct Case {
    const char* what;
    Arrange arrange;
    bool create;
    Texts shown;
    Texts sent;  // what the shell took
    // Only a group made with a DDE instance brings its owner back to the front.
    bool centred;
  };
  const Texts none;
  const Case cases[] = {
      {"no DDE when creating", FailInitialize(), true, Split("owner: No DDE conversation!"), none,
       false},
      {"no DDE when deleting", FailInitialize(), false,
       Split("owner: No DDE Conversation!\nErrorCode: 0x400a"), none, false},
      {"no shell when creating", Unreachable(), true, Texts(8, "No connection!"), none, true},
      {"no shell when deleting", Unreachable(), false,
       Split("No connection!|owner: Can't delete group!"), none, false},
      {"items refused", Refusing("[AddItem", 0x400c), true, Texts(4, "Error: 400C"),
       GroupCommands(none), true},
      {"delete refused", Refusing("", 0x4009), false,
       Split("Error: 4009|owner: Can't delete group!"), none, false},
      {"no group in the script", Script({"[OS]|!OS_WINDOWS_NT"}), true, none, none, true},
      {"no block for the language", Script({"[PROGMAN]|G|Deutsch|1"}), true, none,
       GroupCommands(none, "G"), true},
      // Refused whole rather than sent with a cut path; the item after it keeps its place.
      {"item too long",
       Script({"[PROGMAN]|G|English|2|Long|" + std::string(250, 'x') + "|!SETUPDIR|!SETUPICON|0",
               "Short|a.exe|!SETUPDIR|a.exe|0"}),
       true,
       Split("owner: Can't add the program item \"Long\"!\nIts paths or command line are longer "
             "than 259 characters."),
       GroupCommands({"[AddItem(a.exe ,Short,C:\\Velmar\\a.exe,0,95,10,C:\\Velmar)]"}, "G"), true},
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
    EXPECT_EQ(client.Sent(), c.sent);
    EXPECT_EQ(client.OwnerCentred(), c.centred ? 1 : 0);
    EXPECT_EQ(client.world.programGroups.liveInstances(), 0u);
  }
}

}  // namespace
}  // namespace setup
