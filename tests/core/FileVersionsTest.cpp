#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FileVersions.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

const std::string kSignature("\xE8\x52\xA7\x04\x61\x78\xCA\x12", 8);

// Signature, four bytes nobody reads, then major, minor and revision as 16-bit words.
std::string Stamp(unsigned major, unsigned minor, unsigned revision) {
  std::string stamp = kSignature + "SKIP";
  for (unsigned word : {major, minor, revision}) stamp += {char(word & 0xFF), char(word >> 8)};
  return stamp;
}

TEST(FindVersionStamp, ReadsTheFirstCompleteStampInHexadecimal) {
  const std::pair<std::string, const char*> cases[] = {
      {"MZ" + Stamp(2, 0x10, 7), "F\tv2.10 (rev.07)"},
      {kSignature.substr(0, 5) + Stamp(2, 1, 5), "F\tv2.1 (rev.05)"},
      {kSignature.substr(0, 3) + "\xE8" + Stamp(3, 0, 0x1B), "F\tv3.0 (rev.1b)"},
      {Stamp(1, 2, 3) + Stamp(4, 5, 6), "F\tv1.2 (rev.03)"},
      {std::string(4093, 'x') + Stamp(2, 2, 0x123), "F\tv2.2 (rev.123)"},  // across blocks
      {Stamp(1, 1, 2).substr(0, 17), nullptr},  // nine bytes after the signature
      {"MZ" + kSignature.substr(0, 7), nullptr},
  };
  AppWorld world;
  for (const auto& [bytes, expected] : cases) {
    world.files.PutFile("C:\\F.SYS", bytes);
    LineText line("none");
    EXPECT_EQ(FindVersionStamp(world.files, "C:\\F.SYS", "F", line), expected ? 1 : 0);
    EXPECT_EQ(line.view(), expected ? expected : "none");
    EXPECT_EQ(world.files.openFiles(), 0u);
  }
  LineText line;
  EXPECT_EQ(FindVersionStamp(world.files, "C:\\MISSING.SYS", "F", line), 0);
  // A line longer than its buffer is cut, never overflows it.
  world.files.PutFile("C:\\F.SYS", Stamp(2, 1, 5));
  EXPECT_EQ(FindVersionStamp(world.files, "C:\\F.SYS", std::string(300, 'n'), line), 1);
  EXPECT_EQ(line.view(), std::string(259, 'n'));
}

// [COMPFILES] with a group in a subdirectory, a file in the root installed into the Windows
// and the setup directory, one only into the setup directory, one not listed (the switch is
// case-sensitive) and one installed nowhere.
std::string Script() {
  return Piped(
      "[COMPFILES]|5|2|drivers|VMDSS1.SY_|vmdss1.sys|VMNI1.SY_|vmni1.sys|!NOSETUPDIR|"
      "system32\\drivers|!VERSION_ON|1||CAPI.DL_|CAPI.DLL||system32|!VERSION_ON|"
      "1|tools|TRACE.EX_|trace.exe|tools|!NOWINSYSTEM|!VERSION_ON|"
      "1|dos|TSR.EX_|tsr.exe|dos|system|!Version_On|"
      "1||NOWHERE.EX_|nowhere.exe|!NOSETUPDIR|!NOWINSYSTEM|!VERSION_ON");
}

class VersionList : public ::testing::Test {
 protected:
  VersionList() {
    FillCatalogue(state().Catalogue, "EN");
    state().Catalogue.SetText(text::INFO_SCANVERSION, "Scan %s %s");
    state().SourceDir.Assign("A:\\");
    world_.files.PutFile("A:\\SETUP.KVX", Script());
    // VMNI1.SY_ and the tools folder are missing.
    world_.files.PutFile("A:\\drivers\\VMDSS1.SY_", Szdd("MZ" + Stamp(2, 0x10, 7)));
    world_.files.PutFile("A:\\CAPI.DL_", Szdd(Stamp(2, 1, 5)));
  }

  ProgramState& state() { return *world_.state; }

  // The list as the about box shows it; the user presses OK if it gets that far. Whatever
  // happened, nothing of the scan is left behind.
  std::vector<std::string> Show(bool reachesTheUser = true) {
    if (reachesTheUser)
      world_.host.OnShow("DLG_fileversion", [](FakeDialogView& view, Dialog& dialog) {
        dialog.OnCommand(view, 0, 0);
      });
    ShowFileVersions(world_.services, state(), 0x20);
    FakeDialogView& view = *world_.host.views().back();
    EXPECT_TRUE(view.ended());
    EXPECT_EQ(view.control(173).tabStops, (std::vector<int>{0, 130}));
    EXPECT_FALSE(world_.prompts.progressOpen());
    EXPECT_EQ(world_.files.CurrentDirectory(), "A:\\");
    EXPECT_EQ(world_.files.openFiles(), 0u);
    EXPECT_FALSE(world_.files.Attributes("C:\\WINNT\\VERTMP.$$$"));
    return view.control(173).items;
  }

  AppWorld world_;
  const std::string unknown_ = "\tEN [TEXT_UNKNOWNVERSION]";
};

// A directory the listing cannot resolve shows as asked for, not as the entry before it.
TEST_F(VersionList, FromTheMediumEachListedFileIsExpandedAndSearched) {
  EXPECT_EQ(Show(), (std::vector<std::string>{
                        "a:\\drivers\\VMDSS1.SY_\tv2.10 (rev.07)",
                        "a:\\drivers\\VMNI1.SY_" + unknown_, "a:\\CAPI.DL_\tv2.1 (rev.05)",
                        "A:\\tools\\TRACE.EX_" + unknown_, "a:\\NOWHERE.EX_" + unknown_}));
  // The catalogue's format gets the one argument there is.
  EXPECT_EQ(world_.prompts.Texts(FakePrompts::Kind::Progress).at(1),
            "Scan a:\\drivers\\VMDSS1.SY_ ");
}

TEST_F(VersionList, CancelUnreadableScriptOrNothingListedEndWithoutLines) {
  world_.files.MakeDirectories("C:\\WINNT\\VERTMP.$$$");  // left by an earlier run
  for (int pumps : {0, 3}) {
    world_.prompts.CancelProgressAfter(pumps);
    EXPECT_EQ(Show(false).size(), static_cast<std::size_t>(pumps));
  }
  world_.files.Delete("A:\\SETUP.KVX");
  Show(false);
  EXPECT_EQ(world_.prompts.Texts(FakePrompts::Kind::ErrorBox),
            std::vector<std::string>{"Can't find SETUPINFOFILE!"});
  world_.files.PutFile("A:\\SETUP.KVX", CrLfLines({"[COMPFILES]", "0"}));
  EXPECT_TRUE(Show().empty());
}

// Started with /c from the installed copy, or installed in this run into InstallDestDir.
TEST_F(VersionList, InstalledCopiesAreReadInTheWindowsTreeElseInTheSetupDirectory) {
  world_.files.PutFile("C:\\WINNT\\system32\\drivers\\vmdss1.sys", Stamp(2, 0x10, 7));
  world_.files.PutFile("C:\\WINNT\\system32\\CAPI.DLL", Stamp(2, 1, 5));
  world_.files.PutFile("C:\\VELMAR\\CAPI.DLL", Stamp(9, 9, 9));
  world_.files.PutFile("C:\\VELMAR\\tools\\trace.exe", Stamp(1, 1, 2));
  world_.files.PutFile("D:\\KVX\\tools\\trace.exe", Stamp(1, 1, 3));
  for (auto [initialMode, sourceDir, trace] :
       {std::tuple{1, "C:\\VELMAR", "c:\\velmar\\tools\\trace.exe\tv1.1 (rev.02)"},
        {0, "A:\\", "d:\\kvx\\tools\\trace.exe\tv1.1 (rev.03)"}}) {
    state().StartMode = 1;
    state().InitialStartMode = initialMode;
    state().SourceDir.Assign(sourceDir);
    state().InstallDestDir.Assign("D:\\KVX");
    world_.files.PutFile(std::string(sourceDir) + "\\SETUP.KVX", Script());
    EXPECT_EQ(Show(),
              (std::vector<std::string>{"c:\\winnt\\system32\\drivers\\vmdss1.sys\tv2.10 (rev.07)",
                                        "c:\\winnt\\system32\\drivers\\vmni1.sys" + unknown_,
                                        "c:\\winnt\\system32\\CAPI.DLL\tv2.1 (rev.05)", trace,
                                        "nowhere.exe" + unknown_}));
  }
}

}  // namespace
}  // namespace setup
