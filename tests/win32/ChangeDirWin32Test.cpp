// The change-directory dialog in its own template over the real file system.
#include "Win32World.h"
#include "install/ChangeDirDialog.h"
#include "script/CaseFold.h"
#include "ui/DialogPrompts.h"

namespace setup {
namespace {

using namespace change_dir_dialog;

// Records the path, the list and the selected drive as the dialog opens, then presses OK.
struct Probe : ChangeDirDialog {
  using ChangeDirDialog::ChangeDirDialog;
  std::vector<std::string> shown;
  void OnInit(DialogView& view) override {
    ChangeDirDialog::OnInit(view);
    shown.push_back(view.Text(kPath));
    for (int i = 0; i < view.ListCount(kDirectories); ++i)
      shown.push_back(view.ListItemText(kDirectories, i));
    shown.push_back(view.ComboItemText(kDrives, view.ComboSelection(kDrives)));
    OnCommand(view, kOk, 0);
  }
};

struct ChangeDirWin32 : Win32World<DialogPrompts> {
  ChangeDirWin32() : Win32World("change-dir") {}
};

TEST_F(ChangeDirWin32, ListsTheParentEntryAndTheSubdirectoriesAndSelectsTheDrive) {
  const std::string dir = scratch_.path();
  for (const char* name : {"\\Beta", "\\alpha", "\\alpha\\deep"})
    ASSERT_TRUE(CreateDirectoryA((dir + name).c_str(), nullptr)) << name;
  Probe probe(services_, *state_, dir + "\\alpha\\..");
  EXPECT_EQ(host_.RunModal("DLG_changedir", kNoWindow, probe), 1);
  const std::string drive = {'[', '-', FoldCase(dir[0]), '-', ']'};
  EXPECT_EQ(probe.shown, (std::vector<std::string>{dir, "[..]", "[alpha]", "[Beta]", drive}));
  EXPECT_EQ(state_->ChosenDirectory.view(), dir);
}

}  // namespace
}  // namespace setup
