#pragma once

#include <cctype>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Dialog.h"
#include "platform/Files.h"

namespace setup {

class FakeDialogHost;

// The controls of a dialog as plain data, so that dialog logic can be driven and inspected
// without windows.
class FakeDialogView : public DialogView {
 public:
  struct Control {
    std::string text;
    std::vector<std::string> items;
    int selection = -1;
    int textLimit = 0;
    int caret = 0;  // typing puts it at the end, setting the text at the start
    bool enabled = true, visible = true, checked = false, pushed = false, modified = false;
  };

  FakeDialogView(std::string templateName, WindowRef window, WindowRef owner)
      : templateName_(std::move(templateName)), window_(window), owner_(owner) {}

  const std::string& templateName() const { return templateName_; }
  WindowRef owner() const { return owner_; }
  Control& control(int id) { return controls_[id]; }
  Dialog& dialog() { return *dialog_; }
  // What a user does, with the notification the control sends.
  void UserTypes(int id, std::string_view text);
  void UserChooses(int id, int index);
  void UserClicks(int id);  // a check box toggles first
  bool ended() const { return ended_; }
  const std::map<int, unsigned>& timers() const { return timers_; }

  WindowRef Window() const override { return window_; }
  void SetCaption(std::string_view text) override { caption_ = std::string(text); }
  std::string Caption() const override { return caption_; }
  // Setting an edit's text from the program raises its change notification too.
  void SetText(int id, std::string_view text) override;
  std::string Text(int id) const override { return Find(id).text; }
  void Enable(int id, bool enabled) override { Set(id, &Control::enabled, enabled); }
  bool IsEnabled(int id) const override { return Present(id) && Find(id).enabled; }
  void ShowControl(int id, bool visible) override { Set(id, &Control::visible, visible); }
  void DestroyControl(int id) override {
    controls_.erase(id);
    destroyed_.insert(id);
  }
  bool IsModified(int id) const override { return Find(id).modified; }
  int Caret(int id) const override { return Find(id).caret; }
  void SetCaret(int id, int at) override { Set(id, &Control::caret, at); }
  void SetCheck(int id, bool checked) override { Set(id, &Control::checked, checked); }
  bool IsChecked(int id) const override { return Find(id).checked; }
  void SetPushed(int id, bool pushed) override { Set(id, &Control::pushed, pushed); }
  void SetFocus(int) override {}
  void SetTextLimit(int id, int characters) override { Set(id, &Control::textLimit, characters); }
  bool visible() const { return visible_; }
  void ShowWindow(bool visible) override { visible_ = visible; }
  // Centring shows nothing: a dialog hidden while it is filled stays hidden.
  void Centre() override {}
  void BringToFront() override {}
  void ComboClear(int id) override {
    if (Control* c = Existing(id)) {
      c->items.clear();
      c->selection = -1;
    }
  }
  int ComboAdd(int id, std::string_view text) override {
    Control* c = Existing(id);
    if (c) c->items.emplace_back(text);
    return c ? static_cast<int>(c->items.size()) - 1 : -1;
  }
  int ComboCount(int id) const override { return static_cast<int>(Find(id).items.size()); }
  std::string ComboItemText(int id, int index) const override {
    return index >= 0 && index < ComboCount(id) ? Find(id).items[index] : std::string();
  }
  void ComboSelect(int id, int index) override {
    if (Control* c = Existing(id)) c->selection = index >= 0 && index < ComboCount(id) ? index : -1;
  }
  int ComboSelection(int id) const override { return Find(id).selection; }
  void ListClear(int id) override { ComboClear(id); }
  int ListAdd(int id, std::string_view text) override { return ComboAdd(id, text); }
  int ListCount(int id) const override { return ComboCount(id); }
  std::string ListItemText(int id, int index) const override { return ComboItemText(id, index); }
  int ListSelection(int id) const override { return ComboSelection(id); }
  void ListSelect(int id, int index) override { ComboSelect(id, index); }
  void ListDelete(int id, int index) override;
  int ListInsert(int id, int index, std::string_view text) override;
  void SetTabStops(int, std::span<const int>) override {}
  // As the system does it, in the file system the host was given; the path shows in lower
  // case.
  bool ListDirectory(int staticId, std::string_view directory) override {
    if (!directories_->ChangeDirectory(std::string(directory))) return false;
    std::string shown = directories_->CurrentDirectory();
    for (char& c : shown) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    SetText(staticId, shown);
    return true;
  }
  void StartTimer(int timer, unsigned milliseconds) override { timers_[timer] = milliseconds; }
  void StopTimer(int timer) override { timers_.erase(timer); }
  bool SetFont(int, const FontSpec&) override { return true; }
  BackgroundResult SetPatternBackground(const char*) override { return BackgroundResult::Painted; }
  void SetClassIcon(const char*) override {}
  void End(int result) override;

 private:
  friend class FakeDialogHost;
  // The control, or an empty one when there is none.
  const Control& Find(int id) const {
    static const Control none;
    const auto it = controls_.find(id);
    return it == controls_.end() ? none : it->second;
  }
  bool Present(int id) const {
    return !destroyed_.count(id) && (!templateControls_ || templateControls_->count(id));
  }
  // The control, or null when the window lacks it.
  Control* Existing(int id) { return Present(id) ? &controls_[id] : nullptr; }
  template <class T>
  void Set(int id, T Control::*field, T value) {
    if (Control* c = Existing(id)) c->*field = value;
  }
  void Notify(int id, int code) {
    if (dialog_ && !ended_) dialog_->OnCommand(*this, id, code);
  }

  std::string templateName_;
  // The template's controls when the test declared them; then no other id exists.
  std::optional<std::set<int>> templateControls_;
  std::set<int> edits_, checkBoxes_, destroyed_;
  Dialog* dialog_ = nullptr;
  // Set for a modeless window, which End destroys as DestroyWindow would.
  FakeDialogHost* modelessHost_ = nullptr;
  Files* directories_ = nullptr;
  WindowRef window_;
  bool visible_ = true;
  WindowRef owner_;
  std::string caption_;
  std::map<int, Control> controls_;
  std::map<int, unsigned> timers_;
  bool ended_ = false;
  int result_ = 0;
};

// Runs dialogs against fake views. What the user does in a dialog is scripted per template:
// the script runs after OnInit and must end the dialog (a modal dialog left open is a test
// failure, since nobody could ever close it).
class FakeDialogHost : public DialogHost {
 public:
  using UserScript = std::function<void(FakeDialogView&, Dialog&)>;
  struct Box {
    std::string text;
    BoxKind kind;
  };

  // Scripts are used once each, in the order given for their template.
  void OnShow(const std::string& templateName, UserScript script) {
    scripts_[templateName].push_back(std::move(script));
  }
  void MissingTemplate(const std::string& templateName) { missing_.insert(templateName); }
  // Declares the controls of a template: its views then ignore every other id, as windows
  // do. Views of undeclared templates take any id and have no edits or check boxes.
  struct Template {
    std::set<int> controls, edits, checkBoxes;
  };
  void TemplateControls(const std::string& templateName, Template controls) {
    templateControls_[templateName] = std::move(controls);
  }
  // The file system whose directories the views list.
  void ListDirectoriesOf(Files& files) { directories_ = &files; }
  // The answer to the next question box; `meanwhile` runs while that box is up, as what
  // the user does to the program's other windows before answering.
  void AnswerBox(BoxAnswer answer, std::function<void()> meanwhile = {}) {
    boxAnswers_.push_back({answer, std::move(meanwhile)});
  }

  const std::vector<Box>& boxes() const { return boxes_; }
  // Every view made so far, in order of creation; modeless ones stay until destroyed.
  const std::vector<std::unique_ptr<FakeDialogView>>& views() const { return views_; }
  FakeDialogView* Modeless(WindowRef window);
  Dialog* ModelessDialog(WindowRef window) {
    return modeless_.count(window) ? modeless_[window] : nullptr;
  }
  // Runs a script against a modeless window on the next pump.
  void OnPump(std::function<void()> action) { pumpActions_.push_back(std::move(action)); }
  // Lets every running timer of the window elapse once; for use in scripts.
  static void ElapseTimers(FakeDialogView& view, Dialog& dialog);

  int RunModal(const char* templateName, WindowRef owner, Dialog& dialog) override;
  WindowRef CreateModeless(const char* templateName, WindowRef owner, Dialog& dialog) override;
  void DestroyModeless(WindowRef window) override;
  BoxAnswer SystemMessageBox(WindowRef owner, std::string_view text, std::string_view caption,
                             BoxKind kind) override;
  void PumpMessages(WindowRef dialog) override;
  void ShowWaitCursor(bool) override {}
  // Centres the view of that window; a window the host never made is a test failure.
  void CentreWindow(WindowRef window) override;
  void PostQuit(int code) override { quitCodes.push_back(code); }
  void EnableWindow(WindowRef window, bool enabled) override {
    if (enabled)
      disabledWindows.erase(window);
    else
      disabledWindows.insert(window);
  }
  std::set<WindowRef> disabledWindows;
  // Every quit request posted, in order.
  std::vector<int> quitCodes;
  void StartDialogLook() override { lookOn = true; }
  void EndDialogLook() override { lookOn = false; }
  bool lookOn = false;

 private:
  FakeDialogView& NewView(const char* templateName, WindowRef owner, Dialog& dialog);

  std::map<std::string, std::vector<UserScript>> scripts_;
  std::set<std::string> missing_;
  std::map<std::string, Template> templateControls_;
  Files* directories_ = nullptr;
  struct ScriptedBox {
    BoxAnswer answer;
    std::function<void()> meanwhile;
  };
  std::vector<ScriptedBox> boxAnswers_;
  std::vector<Box> boxes_;
  std::vector<std::unique_ptr<FakeDialogView>> views_;
  std::map<WindowRef, Dialog*> modeless_;
  std::vector<std::function<void()>> pumpActions_;
  WindowRef nextWindow_ = 0x1000;
};

}  // namespace setup
