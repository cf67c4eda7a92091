#pragma once

#include <gtest/gtest.h>

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
  void UserTypes(int id, std::string_view text) {
    Control* c = Existing(id);
    ASSERT_TRUE(c && c->enabled) << "typing into " << id;
    c->text =
        text.substr(0, c->textLimit > 0 ? static_cast<std::size_t>(c->textLimit) : text.size());
    c->modified = true;
    c->caret = static_cast<int>(c->text.size());
    Notify(id, notification::kEditChanged);
  }
  void UserChooses(int id, int index) {
    Control* c = Existing(id);
    ASSERT_TRUE(c && c->enabled && index >= 0 && index < ComboCount(id)) << "choosing in " << id;
    c->selection = index;
    Notify(id, notification::kSelectionChanged);
  }
  void UserClicks(int id) {
    Control* c = Existing(id);
    ASSERT_TRUE(c && c->enabled && c->visible) << "clicking " << id;
    if (checkBoxes_.count(id)) c->checked = !c->checked;  // a check box toggles first
    Notify(id, notification::kClicked);
  }
  bool ended() const { return ended_; }
  const std::map<int, unsigned>& timers() const { return timers_; }

  WindowRef Window() const override { return window_; }
  void SetCaption(std::string_view text) override { caption_ = std::string(text); }
  std::string Caption() const override { return caption_; }
  // Setting an edit's text from the program raises its change notification too.
  void SetText(int id, std::string_view text) override {
    Control* c = Existing(id);
    if (!c) return;
    c->text = text;
    c->modified = false;
    c->caret = 0;
    if (edits_.count(id)) Notify(id, notification::kEditChanged);
  }
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
  void ListDelete(int id, int index) override {
    Control* c = Existing(id);
    if (!c || index < 0 || index >= ListCount(id)) return;
    c->items.erase(c->items.begin() + index);
    if (c->selection >= index) c->selection = c->selection == index ? -1 : c->selection - 1;
  }
  int ListInsert(int id, int index, std::string_view text) override {
    Control* c = Existing(id);
    if (!c || index < -1 || index > ListCount(id)) return -1;
    if (index == -1) index = ListCount(id);
    c->items.insert(c->items.begin() + index, std::string(text));
    if (c->selection >= index) ++c->selection;
    return index;
  }
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
  const Control& Find(int id) const {
    static const Control none;
    const auto it = controls_.find(id);
    return it == controls_.end() ? none : it->second;
  }
  bool Present(int id) const {
    return !destroyed_.count(id) && (!templateControls_ || templateControls_->count(id));
  }
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
  void ListDirectoriesOf(Files& files) { directories_ = &files; }
  // The answer to the next question box; `meanwhile` runs while that box is up, as what
  // the user does to the program's other windows before answering.
  void AnswerBox(BoxAnswer answer, std::function<void()> meanwhile = {}) {
    boxAnswers_.push_back({answer, std::move(meanwhile)});
  }

  const std::vector<Box>& boxes() const { return boxes_; }
  // Every view made so far, in order of creation; modeless ones stay until destroyed.
  const std::vector<std::unique_ptr<FakeDialogView>>& views() const { return views_; }
  FakeDialogView* Modeless(WindowRef window) {
    for (auto& view : views_)
      if (modeless_.count(window) && view->Window() == window) return view.get();
    return nullptr;
  }
  Dialog* ModelessDialog(WindowRef window) {
    return modeless_.count(window) ? modeless_[window] : nullptr;
  }
  void OnPump(std::function<void()> action) { pumpActions_.push_back(std::move(action)); }
  // Lets every running timer of the window elapse once; for use in scripts.
  static void ElapseTimers(FakeDialogView& view, Dialog& dialog) {
    const std::map<int, unsigned> running = view.timers();
    for (const auto& [timer, period] : running)
      if (!view.ended() && view.timers().count(timer)) dialog.OnTimer(view, timer);
  }

  int RunModal(const char* templateName, WindowRef owner, Dialog& dialog) override {
    if (missing_.count(templateName)) return -1;
    FakeDialogView& view = NewView(templateName, owner, dialog);
    dialog.OnInit(view);
    auto& pending = scripts_[templateName];
    if (!view.ended() && !pending.empty()) {
      UserScript script = std::move(pending.front());
      pending.erase(pending.begin());
      script(view, dialog);
    }
    if (!view.ended()) {
      ADD_FAILURE() << "modal " << templateName << " was left open";
      return -1;
    }
    dialog.OnDestroy(view);
    return view.result_;
  }
  WindowRef CreateModeless(const char* templateName, WindowRef owner, Dialog& dialog) override {
    if (missing_.count(templateName)) return kNoWindow;
    FakeDialogView& view = NewView(templateName, owner, dialog);
    view.modelessHost_ = this;
    modeless_[view.Window()] = &dialog;
    dialog.OnInit(view);
    return view.Window();
  }
  // Gone before OnDestroy runs, as a destroyed window can no longer be destroyed again. The
  // windows it owns go after it, as the system destroys them.
  void DestroyModeless(WindowRef window) override {
    FakeDialogView* view = Modeless(window);
    ASSERT_TRUE(view) << "destroying a window that does not exist";
    Dialog* dialog = modeless_[window];
    modeless_.erase(window);
    view->modelessHost_ = nullptr;
    dialog->OnDestroy(*view);
    for (auto& owned : views_)
      if (owned->owner() == window && modeless_.count(owned->Window()))
        DestroyModeless(owned->Window());
  }
  BoxAnswer SystemMessageBox(WindowRef, std::string_view text, std::string_view,
                             BoxKind kind) override {
    boxes_.push_back({std::string(text), kind});
    if (kind == BoxKind::InformationOk) return BoxAnswer::Ok;
    if (boxAnswers_.empty()) {
      ADD_FAILURE() << "unexpected question box: " << text;
      return BoxAnswer::No;
    }
    ScriptedBox box = std::move(boxAnswers_.front());
    boxAnswers_.erase(boxAnswers_.begin());
    if (box.meanwhile) box.meanwhile();
    return box.answer;
  }
  void PumpMessages(WindowRef) override {
    if (pumpActions_.empty()) return;
    auto action = std::move(pumpActions_.front());
    pumpActions_.erase(pumpActions_.begin());
    action();
  }
  void ShowWaitCursor(bool) override {}
  // A window the host never made is a test failure.
  void CentreWindow(WindowRef window) override {
    for (auto& view : views_)
      if (view->Window() == window && !view->ended()) return view->Centre();
    ADD_FAILURE() << "centring a window that does not exist";
  }
  void PostQuit(int code) override { quitCodes.push_back(code); }
  void EnableWindow(WindowRef, bool) override {}
  std::vector<int> quitCodes;
  void StartDialogLook() override {}
  void EndDialogLook() override {}

 private:
  FakeDialogView& NewView(const char* templateName, WindowRef owner, Dialog& dialog) {
    views_.push_back(std::make_unique<FakeDialogView>(templateName, nextWindow_++, owner));
    FakeDialogView& view = *views_.back();
    if (templateControls_.count(templateName)) {
      const Template& t = templateControls_[templateName];
      view.templateControls_ = t.controls;
      view.edits_ = t.edits;
      view.checkBoxes_ = t.checkBoxes;
    }
    view.directories_ = directories_;
    view.dialog_ = &dialog;
    return view;
  }

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

inline void FakeDialogView::End(int result) {
  EXPECT_FALSE(ended_) << templateName_ << " ended twice";
  ended_ = true;
  result_ = result;
  if (modelessHost_) modelessHost_->DestroyModeless(window_);
}

}  // namespace setup
