#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AboutBox.h"
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
      {kSignature.substr(0, 3) + "\xE8" + Stamp(3, 0, 0x1B), "F\tv3.0 (rev.1b)"},
      {std::string(4093, 'x') + Stamp(2, 0x10, 0x123), "F\tv2.10 (rev.123)"},  // across blocks
      {Stamp(1, 1, 2).substr(0, 17), nullptr},  // nine bytes after the signature
  };
  AppWorld world;
  for (const auto& [bytes, expected] : cases) {
    world.files.PutFile("C:\\F.SYS", bytes);
    LineText line("none");
    EXPECT_EQ(FindVersionStamp(world.files, "C:\\F.SYS", "F", line), expected ? 1 : 0);
    EXPECT_EQ(line.view(), expected ? expected : "none");
    EXPECT_EQ(world.files.openFiles(), 0u);
  }
  // A line longer than its buffer is cut, never overflows it.
  LineText line;
  world.files.PutFile("C:\\F.SYS", Stamp(2, 1, 5));
  EXPECT_EQ(FindVersionStamp(world.files, "C:\\F.SYS", std::string(300, 'n'), line), 1);
  EXPECT_EQ(line.view(), std::string(259, 'n'));
}

// The manufacturer's version from the low words of what the script's CAPI DLL reports.
TEST(ShowDriverVersion, ShowsTheManufacturersVersionOrNoDriver) {
  AppWorld w;
  FillCatalogue(w.state->Catalogue, "EN");
  w.state->SourceDir.Assign("A:\\");
  w.files.PutFile("A:\\SETUP.KVX", Piped("[CURRENTCAPIDLL]|CAPI2032.DLL"));
  const std::string none = LanguageText("EN", text::TEXT_NOCAPIINSTALLED);
  const struct {
    const char* dll;  // the one that loads and answers
    std::uint32_t major, minor;
    std::string shown;
  } rows[] = {{"capi2032.dll", 2, 105, "v2.1 (rev.05)"},
              {"CAPI2032.DLL", 2, 23, "v2.2 (rev.03)"},
              {"CAPI2032.DLL", 0x10002, 0xF0069, "v2.1 (rev.05)"},
              {"CAPI2032.DLL", 0x10000, 0x20000, none},  // 0.0
              {"OTHER.DLL", 2, 105, none}};  // the script's does not load or lacks the export
  for (const auto& row : rows) {
    w.system.capiDlls = {{row.dll, CapiVersion{2, 0, row.major, row.minor}}};
    FakeDialogView view("DLG_about", 1, kNoWindow);
    ShowDriverVersion(view, w.services, *w.state);
    EXPECT_EQ(view.Text(about_box::kDriverVersion), row.shown) << row.minor;
  }
}

// On the medium the compressed files, else the installed copies: below the Windows directory
// when there is one, else in the setup directory, of this run's install or of the program.
TEST(FillVersionList, ReadsEachListedFileWhereItIsAndLeavesNothingBehind) {
  AppWorld w;
  FillCatalogue(w.state->Catalogue, "EN");
  w.host.ListDirectoriesOf(w.files);
  const std::string script = Piped(
      "[COMPFILES]|3|1|tools|A.SY_|A.SYS|tools|!NOWINSYSTEM|!VERSION_ON|1||B.SY_|B.SYS|x|"
      "system32|!VERSION_ON|1||C.SY_|C.SYS|tools|!NOWINSYSTEM|!version_on");
  w.files.PutFile("A:\\SETUP.KVX", script);
  w.files.PutFile("C:\\SRC\\SETUP.KVX", script);
  for (const auto& [path, bytes] :
       {std::pair<std::string, std::string>{"A:\\tools\\A.SY_", Szdd(Stamp(1, 1, 0))},
        {"A:\\B.SY_", Szdd(Stamp(3, 3, 0))},
        {"C:\\DEST\\tools\\A.SYS", Stamp(1, 2, 0)},
        {"C:\\SRC\\tools\\A.SYS", Stamp(1, 3, 0)},
        {"C:\\DEST\\x\\B.SYS", Stamp(9, 9, 0)},
        {"C:\\WINNT\\system32\\B.SYS", Stamp(3, 4, 0)}})
    w.files.PutFile(path, bytes);
  w.state->InstallDestDir.Assign("C:\\DEST");
  const std::string b = "c:\\winnt\\system32\\B.SYS\tv3.4 (rev.00)";
  const struct {
    int startMode, initialStartMode;
    const char* sourceDir;
    std::vector<std::string> lines;
  } rows[] = {{0, 0, "A:\\", {"a:\\tools\\A.SY_\tv1.1 (rev.00)", "a:\\B.SY_\tv3.3 (rev.00)"}},
              {1, 0, "A:\\", {"c:\\dest\\tools\\A.SYS\tv1.2 (rev.00)", b}},
              {1, 1, "C:\\SRC", {"c:\\src\\tools\\A.SYS\tv1.3 (rev.00)", b}}};
  for (const auto& row : rows) {
    w.state->StartMode = row.startMode;
    w.state->InitialStartMode = row.initialStartMode;
    w.state->SourceDir.Assign(row.sourceDir);
    const std::string before = w.files.CurrentDirectory();
    std::vector<std::string> lines;
    w.host.OnShow("DLG_fileversion", [&lines](FakeDialogView& v, Dialog&) {
      lines = v.control(version_dialog::kList).items;
      v.End(0);
    });
    FileVersionDialog dialog(w.services, *w.state);
    w.host.RunModal("DLG_fileversion", kNoWindow, dialog);
    EXPECT_EQ(lines, row.lines);
    EXPECT_EQ(w.files.CurrentDirectory(), before);
    EXPECT_FALSE(w.files.Attributes("C:\\WINNT\\VERTMP.$$$"));
  }
}

}  // namespace
}  // namespace setup
