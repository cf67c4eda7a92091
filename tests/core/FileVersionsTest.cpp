#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FileVersions.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

using Kind = FakePrompts::Kind;
constexpr WindowRef kAboutWindow = 0x20;
const std::string kSignature("\xE8\x52\xA7\x04\x61\x78\xCA\x12", 8);

std::string Word(unsigned value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

// Signature, four bytes nobody reads, major, minor, revision.
std::string Stamp(unsigned major, unsigned minor, unsigned revision) {
  return kSignature + "SKIP" + Word(major) + Word(minor) + Word(revision);
}

TEST(FindVersionStamp, ReadsTheFirstCompleteStampInHexadecimal) {
  struct Case {
    const char* name;
    std::string bytes;
    const char* line;  // nullptr: no stamp
  };
  const Case cases[] = {
      {"after other bytes", "MZ\x90" + Stamp(2, 0x10, 7), "F\tv2.10 (rev.07)"},
      {"revision wider than two digits", Stamp(1, 0xAB, 0x1C3), "F\tv1.ab (rev.1c3)"},
      {"after a partial copy", kSignature.substr(0, 5) + Stamp(2, 1, 5), "F\tv2.1 (rev.05)"},
      {"after a partial copy ending in its first byte",
       kSignature.substr(0, 3) + "\xE8" + Stamp(3, 0, 0), "F\tv3.0 (rev.00)"},
      {"the first of two", Stamp(1, 2, 3) + Stamp(4, 5, 6), "F\tv1.2 (rev.03)"},
      {"across the reader's blocks", std::string(4093, 'x') + Stamp(2, 2, 0x1B),
       "F\tv2.2 (rev.1b)"},
      {"ten bytes after the signature", Stamp(1, 1, 2), "F\tv1.1 (rev.02)"},
      {"nine bytes after the signature", Stamp(1, 1, 2).substr(0, 17), nullptr},
      {"signature cut by the end", "MZ" + kSignature.substr(0, 7), nullptr},
      {"no signature", "MZ plain file", nullptr},
  };
  AppWorld world;
  for (const Case& c : cases) {
    world.files.PutFile("C:\\F.SYS", c.bytes);
    LineText line("before");
    EXPECT_EQ(FindVersionStamp(world.files, "C:\\F.SYS", "F", line), c.line ? 1 : 0) << c.name;
    EXPECT_EQ(line.view(), c.line ? c.line : "before") << c.name;
    EXPECT_EQ(world.files.openFiles(), 0u) << c.name;
  }
  LineText line;
  EXPECT_EQ(FindVersionStamp(world.files, "C:\\MISSING.SYS", "F", line), 0);
  // A shown name near the width of a path cuts the line, never overflows it.
  world.files.PutFile("C:\\F.SYS", Stamp(2, 1, 5));
  EXPECT_EQ(FindVersionStamp(world.files, "C:\\F.SYS", std::string(300, 'n'), line), 1);
  EXPECT_EQ(line.view(), std::string(259, 'n'));
}

// [COMPFILES] with every kind of entry: a group in a subdirectory, a file in the medium's
// root installed into the Windows and the setup directory, one installed only into the
// setup directory, one not listed (the switch is case-sensitive), and one installed nowhere.
const std::string kScript = CrLfLines({"[COMPFILES]",
                                       "5",
                                       "2",
                                       "drivers",
                                       "VMDSS1.SY_",
                                       "vmdss1.sys",
                                       "VMNI1.SY_",
                                       "vmni1.sys",
                                       "!NOSETUPDIR",
                                       "system32\\drivers",
                                       "!VERSION_ON",
                                       "1",
                                       "",
                                       "CAPI.DL_",
                                       "CAPI.DLL",
                                       "",
                                       "system32",
                                       "!VERSION_ON",
                                       "1",
                                       "tools",
                                       "TRACE.EX_",
                                       "trace.exe",
                                       "tools",
                                       "!NOWINSYSTEM",
                                       "!VERSION_ON",
                                       "1",
                                       "dos",
                                       "TSR.EX_",
                                       "tsr.exe",
                                       "dos",
                                       "system",
                                       "!Version_On",
                                       "1",
                                       "",
                                       "NOWHERE.EX_",
                                       "nowhere.exe",
                                       "!NOSETUPDIR",
                                       "!NOWINSYSTEM",
                                       "!VERSION_ON"});

class VersionList : public ::testing::Test {
 protected:
  VersionList() {
    FillCatalogue(state().Catalogue, "EN");
    state().Catalogue.SetText(text::INFO_SCANVERSION, "Scan %s %s");
    state().SourceDir.Assign("A:\\");
    world_.files.PutFile("A:\\SETUP.KVX", kScript);
    // VMNI1.SY_ is missing; so is the whole tools folder.
    world_.files.PutFile("A:\\drivers\\VMDSS1.SY_", Szdd("MZ" + Stamp(2, 0x10, 7)));
    world_.files.PutFile("A:\\CAPI.DL_", Szdd(Stamp(2, 1, 5) + "tail"));
    world_.files.PutFile("A:\\dos\\TSR.EX_", Szdd(Stamp(1, 5, 0)));
  }

  ProgramState& state() { return *world_.state; }
  std::string Unknown(std::string_view shown) {
    return std::string(shown) + "\tEN [TEXT_UNKNOWNVERSION]";
  }

  // Runs the version list as the about box does; the user presses OK if it gets that far.
  FakeDialogView& Show(bool reachesTheUser = true) {
    if (reachesTheUser) {
      world_.host.OnShow("DLG_fileversion", [](FakeDialogView& view, Dialog& dialog) {
        dialog.OnCommand(view, 2, 0);  // Escape is not a way out of this one
        EXPECT_FALSE(view.ended());
        dialog.OnCommand(view, 0, 0);
      });
    }
    ShowFileVersions(world_.services, state(), kAboutWindow);
    FakeDialogView& view = *world_.host.views().back();
    EXPECT_TRUE(view.ended());
    EXPECT_FALSE(world_.prompts.progressOpen());
    EXPECT_EQ(world_.files.CurrentDirectory(), "A:\\");
    EXPECT_EQ(world_.files.openFiles(), 0u);
    EXPECT_FALSE(world_.files.Attributes("C:\\WINNT\\VERTMP.$$$"));
    return view;
  }
  const std::vector<std::string>& Lines(FakeDialogView& view) { return view.control(173).items; }

  AppWorld world_;
};

// A directory the listing cannot resolve shows as asked for, not as the entry before it.
TEST_F(VersionList, FromTheMediumEveryListedFileIsExpandedSearchedAndDeleted) {
  FakeDialogView& view = Show();
  EXPECT_EQ(view.owner(), kAboutWindow);
  EXPECT_EQ(view.Caption(), "EN [DLG_VER_CAPTION]");
  EXPECT_EQ(view.Text(0), "EN [BUTTON_OK]");
  EXPECT_EQ(view.Text(172), "EN [DLG_VER_VERTEXT]");
  EXPECT_EQ(view.control(173).tabStops, (std::vector<int>{0, 130}));
  EXPECT_EQ(Lines(view), (std::vector<std::string>{
                             "a:\\drivers\\VMDSS1.SY_\tv2.10 (rev.07)",
                             Unknown("a:\\drivers\\VMNI1.SY_"),
                             "a:\\CAPI.DL_\tv2.1 (rev.05)",
                             Unknown("A:\\tools\\TRACE.EX_"),
                             Unknown("a:\\NOWHERE.EX_"),
                         }));
  // The format gets its one argument only; the progress window belongs to the list.
  const std::vector<std::string> progress = world_.prompts.Texts(Kind::Progress);
  ASSERT_EQ(progress.size(), 6u);
  EXPECT_EQ(progress[1], "Scan a:\\drivers\\VMDSS1.SY_ ");
  EXPECT_EQ(world_.prompts.shown().front().owner, view.Window());
}

// Each cancel comes at the pump before a file is read; nothing of the scan stays behind.
TEST_F(VersionList, CancelEndsTheDialogAtOnceAndLeavesNothingBehind) {
  world_.files.MakeDirectories("C:\\WINNT\\VERTMP.$$$");  // left by an earlier run
  for (int pumps = 0; pumps < 5; ++pumps) {
    world_.prompts.CancelProgressAfter(pumps);
    FakeDialogView& view = Show(false);
    EXPECT_EQ(Lines(view).size(), static_cast<std::size_t>(pumps)) << pumps;
    for (const char* name : {"vmdss1.sys", "vmni1.sys", "CAPI.DLL", "trace.exe"})
      EXPECT_FALSE(world_.files.Attributes(std::string("C:\\WINNT\\VERTMP.$$$\\") + name));
  }
}

TEST_F(VersionList, UnreadableScriptEndsTheDialogAndNoListedFileGivesAnEmptyList) {
  world_.files.Delete("A:\\SETUP.KVX");
  Show(false);
  EXPECT_EQ(world_.prompts.Texts(Kind::ErrorBox),
            std::vector<std::string>{"Can't find SETUPINFOFILE!"});

  world_.files.PutFile("A:\\SETUP.KVX", CrLfLines({"[COMPFILES]", "1", "1", "dos", "TSR.EX_",
                                                   "tsr.exe", "dos", "system", "!VERSION_OFF"}));
  EXPECT_TRUE(Lines(Show()).empty());
}

TEST_F(VersionList, InstalledCopiesAreReadInTheWindowsTreeElseInTheSetupDirectory) {
  world_.files.PutFile("C:\\WINNT\\system32\\drivers\\vmdss1.sys", Stamp(2, 0x10, 7));
  world_.files.PutFile("C:\\WINNT\\system32\\CAPI.DLL", Stamp(2, 1, 5));
  world_.files.PutFile("C:\\VELMAR\\CAPI.DLL", Stamp(9, 9, 9));
  world_.files.PutFile("C:\\VELMAR\\tools\\trace.exe", Stamp(1, 1, 2));
  world_.files.PutFile("D:\\KVX\\tools\\trace.exe", Stamp(1, 1, 3));
  struct Case {
    int initialStartMode;
    const char *sourceDir, *trace;
  };
  // Started with /c from the installed copy, or installed in this run into InstallDestDir.
  for (const Case& c : {Case{1, "C:\\VELMAR", "c:\\velmar\\tools\\trace.exe\tv1.1 (rev.02)"},
                        Case{0, "A:\\", "d:\\kvx\\tools\\trace.exe\tv1.1 (rev.03)"}}) {
    state().StartMode = 1;
    state().InitialStartMode = c.initialStartMode;
    state().SourceDir.Assign(c.sourceDir);
    state().InstallDestDir.Assign("D:\\KVX");
    world_.files.PutFile(std::string(c.sourceDir) + "\\SETUP.KVX", kScript);
    EXPECT_EQ(Lines(Show()), (std::vector<std::string>{
                                 "c:\\winnt\\system32\\drivers\\vmdss1.sys\tv2.10 (rev.07)",
                                 Unknown("c:\\winnt\\system32\\drivers\\vmni1.sys"),
                                 "c:\\winnt\\system32\\CAPI.DLL\tv2.1 (rev.05)",
                                 c.trace,
                                 Unknown("nowhere.exe"),
                             }))
        << c.sourceDir;
  }
}

}  // namespace
}  // namespace setup
