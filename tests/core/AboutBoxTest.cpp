#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/AboutBox.h"
#include "app/Startup.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

TEST(ShowDriverVersion, ShowsTheManufacturersLowWordsOrThatNoCapiIsInstalled) {
  const char* none = "EN [TEXT_NOCAPIINSTALLED]";
  const std::pair<std::optional<CapiVersion>, const char*> cases[] = {
      {CapiVersion{2, 0, 2, 123}, "v2.1 (rev.23)"},
      {CapiVersion{2, 0, 2, 23}, "v2.2 (rev.03)"},
      {CapiVersion{2, 0, 2, 100}, "v2.1 (rev.00)"},
      {CapiVersion{2, 0, 0, 5}, "v0.0 (rev.05)"},
      {CapiVersion{2, 0, 0x10003, 0xFFFF0009}, "v3.0 (rev.09)"},
      {CapiVersion{2, 0, 0x10000, 0x20000}, none},
      {std::nullopt, none},  // missing, not loadable or without the export
  };
  for (const auto& [dll, shown] : cases) {
    for (const char* script : {"[CURRENTCAPIDLL]\r\nCAPI2032.DLL\r\n", "[OS]\r\n"}) {
      AppWorld world;
      FillCatalogue(world.state->Catalogue, "EN");
      world.state->SourceDir.Assign("A:\\");
      world.files.PutFile("A:\\SETUP.KVX", script);
      if (dll) world.system.capiDlls["capi2032.dll"] = *dll;
      FakeDialogView view("DLG_about", 0x30, 0x10);
      ShowDriverVersion(view, world.services, *world.state);
      // A script that names no DLL has none to ask.
      const bool named = script[1] == 'C';
      EXPECT_EQ(view.Text(17), named ? shown : none);
      EXPECT_EQ(world.system.capiQueries.size(), named ? 1u : 0u);
    }
  }
}

// From the main dialog, labelled; its button 170 opens the version list, owned by the box,
// and any other command ends the box.
TEST(AboutBox, OpensFromTheMainDialogAndOpensTheVersionList) {
  AppWorld world;
  world.PutMedium();
  world.SkipIntro();
  world.host.OnShow("DLG_main", [](FakeDialogView& view, Dialog& dialog) {
    dialog.OnCommand(view, 7, 0);
    dialog.OnCommand(view, 8, 0);
  });
  world.host.OnShow("DLG_about", [](FakeDialogView& view, Dialog& dialog) {
    dialog.OnCommand(view, 170, 0);
    EXPECT_FALSE(view.ended());
    dialog.OnCommand(view, 2, 0);
  });
  world.host.OnShow("DLG_fileversion",
                    [](FakeDialogView& view, Dialog& dialog) { dialog.OnClose(view); });
  EXPECT_EQ(RunSetup(world.services, *world.state, ""), 0);

  const auto& views = world.host.views();
  ASSERT_EQ(views.size(), 4u);  // main, intro, about, version list
  FakeDialogView &main = *views[0], &about = *views[2];
  EXPECT_EQ(about.owner(), main.Window());
  EXPECT_EQ(views[3]->owner(), about.Window());
  EXPECT_EQ(about.Caption(), "EN [DLG_ABOUT_CAPTION]");
  for (auto [id, key] : {std::pair{0, "[BUTTON_OK]"},
                         {15, "[DLG_ABOUT_TEXT]"},
                         {16, "[DLG_ABOUT_DRIVERVERSION]"},
                         {170, "[DLG_ABOUT_FILEVERSION]"}})
    EXPECT_EQ(about.Text(id), std::string("EN ") + key) << id;
}

}  // namespace
}  // namespace setup
