#include "install/ChangeDirDialog.h"

#include <algorithm>
#include <string_view>

#include "script/CaseFold.h"
#include "script/CatalogueKeys.h"

namespace setup {
namespace {

using notification::kDoubleClicked;
using notification::kSelectionChanged;
// Escape in a dialog whose controls have the focus.
constexpr int kEscape = 2;

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool HasDrive(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// The full path that `path` names from the current directory, with "." and ".." worked out
// as the system does, so that what the user picks can serve as an install destination as it
// stands. Empty for what lies on no drive: a network path, an empty field.
std::string FullPath(std::string_view path, std::string_view current) {
  std::string whole;
  if (HasDrive(path) && path.size() > 2 && IsSeparator(path[2])) {
    whole = path;
  } else if (HasDrive(path)) {
    // "D:name" continues from the current directory only when that lies on drive D.
    if (HasDrive(current) && FoldCase(current[0]) == FoldCase(path[0]))
      whole = current;
    else
      whole = path.substr(0, 2);
    whole += '\\';
    whole += path.substr(2);
  } else if (path.size() > 1 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    return {};
  } else if (!path.empty()) {
    whole = current.substr(0, IsSeparator(path[0]) ? 2 : current.size());
    whole += '\\';
    whole += path;
  }
  if (!HasDrive(whole)) return {};

  std::vector<std::string_view> parts;
  std::string_view rest = std::string_view(whole).substr(2);
  while (!rest.empty()) {
    std::size_t end = 0;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    const std::string_view part = rest.substr(0, end);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();  // a root's parent is the root
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  std::string full = whole.substr(0, 2);
  full += '\\';
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) full += '\\';
    full += parts[i];
  }
  return full;
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(FoldCase(x)) < static_cast<unsigned char>(FoldCase(y));
  });
}

}  // namespace

void ChangeDirDialog::Fill(DialogView& view, std::string_view path) {
  using namespace change_dir_dialog;
  Files& files = services_.files;
  current_ = FullPath(path, files.CurrentDirectory());
  if (current_.empty() || current_.size() >= kPathBytes || !IsDirectory(files, current_))
    current_ = services_.system.WindowsDirectory().substr(0, 3);
  view.SetText(kPath, current_);

  view.ListClear(kDirectories);
  entries_.clear();
  const auto add = [&](std::string_view name, std::string target) {
    std::string item = "[";
    item += name;
    item += ']';
    view.ListAdd(kDirectories, item);
    entries_.push_back(std::move(target));
  };
  // A root has no parent entry, as in the system's own listings.
  if (current_.size() > 3)
    add("..", current_.substr(0, std::max<std::size_t>(current_.rfind('\\'), 3)));
  std::vector<std::string> names = files.Subdirectories(current_);
  std::sort(names.begin(), names.end(), LessIgnoringCase);
  for (const std::string& name : names) {
    std::string target = current_;
    if (target.back() != '\\') target += '\\';
    target += name;
    // A path the install fields could not hold is no choice.
    if (target.size() < kPathBytes) add(name, std::move(target));
  }

  view.ComboClear(kDrives);
  drives_ = files.DriveLetters();
  for (char letter : drives_) {
    std::string item = "[-";
    item += FoldCase(letter);
    item += "-]";
    const int index = view.ComboAdd(kDrives, item);
    if (FoldCase(letter) == FoldCase(current_[0])) view.ComboSelect(kDrives, index);
  }
}

void ChangeDirDialog::Cancel(DialogView& view) {
  state_.ChosenDirectory.Assign("");
  view.End(0);
}

void ChangeDirDialog::OnInit(DialogView& view) {
  using namespace change_dir_dialog;
  view.ShowWindow(false);
  SetCaptionText(view, state_.Catalogue, text::DLG_CHP_CAPTION);
  SetItemTextFrom(view, state_.Catalogue, kOk, text::BUTTON_OK);
  SetItemTextFrom(view, state_.Catalogue, kCancel, text::BUTTON_CANCEL);
  for (int id : {kPathLabel, kHelp, kDriveLabel}) SetItemText(view, state_.Catalogue, id);
  view.Centre();
  Fill(view, start_);
  view.ShowWindow(true);
}

void ChangeDirDialog::OnCommand(DialogView& view, int id, int code) {
  using namespace change_dir_dialog;
  if (id == kDirectories && code == kDoubleClicked) {
    const int selected = view.ListSelection(kDirectories);
    if (selected >= 0 && static_cast<std::size_t>(selected) < entries_.size())
      Fill(view, std::string(entries_[static_cast<std::size_t>(selected)]));
  } else if (id == kDrives && code == kSelectionChanged) {
    const int selected = view.ComboSelection(kDrives);
    if (selected < 0 || static_cast<std::size_t>(selected) >= drives_.size()) return;
    std::string root(1, drives_[static_cast<std::size_t>(selected)]);
    root += ":\\";
    Fill(view, root);
  } else if (code == 0 && id == kOk) {
    state_.ChosenDirectory.Assign(current_);
    view.End(1);
  } else if (code == 0 && (id == kCancel || id == kEscape)) {
    Cancel(view);
  }
}

void ChangeDirDialog::OnClose(DialogView& view) {
  Cancel(view);
}

int RunChangeDirDialog(Services& services, ProgramState& state, DialogView& installView,
                       int field) {
  const PathText start(installView.Text(field));
  ChangeDirDialog dialog(services, state, std::string(start.view()));
  return services.host.RunModal("DLG_changedir", installView.Window(), dialog) == 1 ? 1 : 0;
}

}  // namespace setup
