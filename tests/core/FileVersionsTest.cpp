#include <gtest/gtest.h>

#include <string>

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
    std::uint32_t major, minor;
    std::string shown;
  } rows[] = {{2, 23, "v2.2 (rev.03)"},
              {0x10002, 0xF0069, "v2.1 (rev.05)"},
              {0x10000, 0x20000, none}};  // 0.0
  for (const auto& row : rows) {
    w.system.capiDlls = {{"CAPI2032.DLL", CapiVersion{2, 0, row.major, row.minor}}};
    FakeDialogView view("DLG_about", 1, kNoWindow);
    ShowDriverVersion(view, w.services, *w.state);
    EXPECT_EQ(view.Text(about_box::kDriverVersion), row.shown) << row.minor;
  }
}

}  // namespace
}  // namespace setup
