#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/AboutBox.h"
#include "app/Startup.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

constexpr WindowRef kMainWindow = 0x10;

TEST(ShowDriverVersion, ShowsTheManufacturersLowWordsOrThatNoCapiIsInstalled) {
  struct Case {
    std::optional<CapiVersion> dll;  // nothing: the DLL does not load or lacks the export
    const char* shown;
  };
  const std::string none = "EN [TEXT_NOCAPIINSTALLED]";
  const Case cases[] = {
      {CapiVersion{2, 0, 2, 123}, "v2.1 (rev.23)"},
      {CapiVersion{2, 0, 2, 23}, "v2.2 (rev.03)"},
      {CapiVersion{2, 0, 2, 105}, "v2.1 (rev.05)"},
      {CapiVersion{2, 0, 2, 100}, "v2.1 (rev.00)"},
      {CapiVersion{2, 0, 0, 5}, "v0.0 (rev.05)"},
      {CapiVersion{2, 0, 0x10003, 0xFFFF0009}, "v3.0 (rev.09)"},
      {CapiVersion{2, 0, 0x10000, 0x20000}, none.c_str()},
      {CapiVersion{2, 0, 0, 0}, none.c_str()},
      {std::nullopt, none.c_str()},
  };
  for (const Case& c : cases) {
    AppWorld world;
    FillCatalogue(world.state->Catalogue, "EN");
    world.state->SourceDir.Assign("A:\\");
    world.files.PutFile("A:\\SETUP.KVX", CrLfLines({"[CURRENTCAPIDLL]", "CAPI2032.DLL"}));
    if (c.dll) world.system.capiDlls["capi2032.dll"] = *c.dll;
    FakeDialogView view("DLG_about", 0x30, kMainWindow);
    ShowDriverVersion(view, world.services, *world.state);
    EXPECT_EQ(view.Text(17), c.shown);
    EXPECT_EQ(world.system.capiQueries, std::vector<std::string>{"CAPI2032.DLL"});
  }
  // A script that names no DLL has none to ask.
  AppWorld world;
  FillCatalogue(world.state->Catalogue, "EN");
  world.files.PutFile("A:\\SETUP.KVX", CrLfLines({"[OS]", "!OS_WINDOWS_NT"}));
  world.state->SourceDir.Assign("A:\\");
  FakeDialogView view("DLG_about", 0x30, kMainWindow);
  ShowDriverVersion(view, world.services, *world.state);
  EXPECT_EQ(view.Text(17), none);
  EXPECT_TRUE(world.system.capiQueries.empty());
}

// The main dialog's About button opens the box; its button 170 the version list, owned by
// the box; anything else ends the box.
TEST(AboutBox, OpensFromTheMainDialogLabelledAndEndsOnAnyCommandButTheVersionList) {
  AppWorld world;
  world.PutMedium();
  world.SkipIntro();
  world.host.TemplateControls("DLG_about", {0, 15, 16, 17, 170});
  world.files.PutFile("A:\\SETUP.KVX", world.files.FileBytes("A:\\SETUP.KVX").value() +
                                           CrLfLines({"[COMPFILES]", "0"}));
  int commands = 0;
  world.host.OnShow("DLG_main", [&](FakeDialogView& view, Dialog& dialog) {
    for (int command : {0, 2, 12}) {
      commands = command;
      dialog.OnCommand(view, 7, 0);
    }
    dialog.OnCommand(view, 8, 0);
  });
  for (int i = 0; i < 3; ++i) {
    world.host.OnShow("DLG_about", [&commands](FakeDialogView& view, Dialog& dialog) {
      dialog.OnCommand(view, 170, 0);
      EXPECT_FALSE(view.ended());
      dialog.OnCommand(view, commands, 0);
    });
    world.host.OnShow("DLG_fileversion",
                      [](FakeDialogView& view, Dialog& dialog) { dialog.OnClose(view); });
  }
  EXPECT_EQ(RunSetup(world.services, *world.state, ""), 0);

  std::vector<FakeDialogView*> about, versions;
  for (const auto& view : world.host.views()) {
    if (view->templateName() == "DLG_about") about.push_back(view.get());
    if (view->templateName() == "DLG_fileversion") versions.push_back(view.get());
  }
  ASSERT_EQ(about.size(), 3u);
  ASSERT_EQ(versions.size(), 3u);
  const FakeDialogView& main = *world.host.views().at(0);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(about[i]->owner(), main.Window());
    EXPECT_EQ(about[i]->result(), 0);
    EXPECT_EQ(versions[i]->owner(), about[i]->Window());
  }
  const FakeDialogView& box = *about[0];
  EXPECT_EQ(box.Caption(), "EN [DLG_ABOUT_CAPTION]");
  for (auto [id, key] : {std::pair{0, "[BUTTON_OK]"},
                         {15, "[DLG_ABOUT_TEXT]"},
                         {16, "[DLG_ABOUT_DRIVERVERSION]"},
                         {170, "[DLG_ABOUT_FILEVERSION]"},
                         {17, "[TEXT_NOCAPIINSTALLED]"}})
    EXPECT_EQ(box.Text(id), std::string("EN ") + key) << id;
}

}  // namespace
}  // namespace setup
