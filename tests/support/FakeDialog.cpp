#include "support/FakeDialog.h"

#include <gtest/gtest.h>

#include "script/CaseFold.h"

namespace setup {

const FakeDialogView::Control* FakeDialogView::Find(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : &it->second;
}

FakeDialogView::Control* FakeDialogView::Existing(int id) {
  if (templateControls_ && !templateControls_->count(id)) return nullptr;
  return &controls_[id];
}

void FakeDialogView::SetText(int id, std::string_view text) {
  if (Control* c = Existing(id)) c->text = std::string(text);
}

void FakeDialogView::SetTextLimit(int id, int characters) {
  if (Control* c = Existing(id)) c->textLimit = characters;
}

int FakeDialogView::TextLimit(int id) const {
  const Control* c = Find(id);
  return c ? c->textLimit : 0;
}

std::string FakeDialogView::Text(int id) const {
  const Control* c = Find(id);
  return c ? c->text : std::string();
}

void FakeDialogView::ShowWindow(bool visible) {
  if (!visible) ++hidden_;
  visible_ = visible;
}

void FakeDialogView::Centre() {
  ++centred_;
  visible_ = true;
}

void FakeDialogView::ComboClear(int id) {
  if (Control* c = Existing(id)) {
    c->items.clear();
    c->selection = -1;
  }
}

int FakeDialogView::ComboAdd(int id, std::string_view text) {
  Control* c = Existing(id);
  if (!c) return -1;
  c->items.emplace_back(text);
  return static_cast<int>(c->items.size()) - 1;
}

int FakeDialogView::ComboCount(int id) const {
  const Control* c = Find(id);
  return c ? static_cast<int>(c->items.size()) : 0;
}

std::string FakeDialogView::ComboItemText(int id, int index) const {
  const Control* c = Find(id);
  if (!c || index < 0 || index >= static_cast<int>(c->items.size())) return std::string();
  return c->items[static_cast<std::size_t>(index)];
}

void FakeDialogView::ComboSelect(int id, int index) {
  if (Control* c = Existing(id))
    c->selection = (index >= 0 && index < static_cast<int>(c->items.size())) ? index : -1;
}

int FakeDialogView::ComboSelection(int id) const {
  const Control* c = Find(id);
  return c ? c->selection : -1;
}

void FakeDialogView::SetTabStops(int id, std::span<const int> stops) {
  if (Control* c = Existing(id)) c->tabStops.assign(stops.begin(), stops.end());
}

bool FakeDialogView::ListDirectory(int staticId, std::string_view directory) {
  if (!directories_) {
    ADD_FAILURE() << templateName_ << " lists a directory, but the host has no file system";
    return false;
  }
  if (!directories_->ChangeDirectory(std::string(directory))) return false;
  std::string shown = directories_->CurrentDirectory();
  for (char& c : shown) c = FoldCase(c);
  SetText(staticId, shown);
  return true;
}

bool FakeDialogView::SetFont(int id, const FontSpec& font) {
  if (fontsFail_) return false;
  if (Control* c = Existing(id)) c->font = font;
  return true;
}

void FakeDialogView::End(int result) {
  EXPECT_FALSE(ended_) << templateName_ << " ended twice";
  ended_ = true;
  result_ = result;
  visible_ = false;
  if (modelessHost_) modelessHost_->DestroyModeless(window_);
}

void FakeDialogHost::OnShow(const std::string& templateName, UserScript script) {
  scripts_[templateName].push_back(std::move(script));
}

bool FakeDialogHost::IsMissing(const std::string& templateName) const {
  for (const std::string& name : missing_)
    if (name == templateName) return true;
  return false;
}

FakeDialogView& FakeDialogHost::NewView(const char* templateName, WindowRef owner) {
  views_.push_back(std::make_unique<FakeDialogView>(templateName, nextWindow_++, owner));
  auto declared = templateControls_.find(templateName);
  if (declared != templateControls_.end()) views_.back()->templateControls_ = declared->second;
  views_.back()->directories_ = directories_;
  return *views_.back();
}

int FakeDialogHost::RunModal(const char* templateName, WindowRef owner, Dialog& dialog) {
  if (IsMissing(templateName)) return -1;
  FakeDialogView& view = NewView(templateName, owner);
  dialog.OnInit(view);
  auto& pending = scripts_[templateName];
  if (!view.ended()) {
    if (pending.empty()) {
      ADD_FAILURE() << "modal " << templateName << " opened with nothing scripted to end it";
      return -1;
    }
    UserScript script = std::move(pending.front());
    pending.erase(pending.begin());
    script(view, dialog);
  }
  if (!view.ended()) {
    ADD_FAILURE() << "modal " << templateName << " was left open by its script";
    return -1;
  }
  dialog.OnDestroy(view);
  return view.result();
}

WindowRef FakeDialogHost::CreateModeless(const char* templateName, WindowRef owner,
                                         Dialog& dialog) {
  if (IsMissing(templateName)) return kNoWindow;
  FakeDialogView& view = NewView(templateName, owner);
  view.modelessHost_ = this;
  modeless_[view.Window()] = &dialog;
  dialog.OnInit(view);
  return view.Window();
}

FakeDialogView* FakeDialogHost::Modeless(WindowRef window) {
  if (!modeless_.count(window)) return nullptr;
  for (auto& view : views_)
    if (view->Window() == window) return view.get();
  return nullptr;
}

Dialog* FakeDialogHost::ModelessDialog(WindowRef window) {
  auto it = modeless_.find(window);
  return it == modeless_.end() ? nullptr : it->second;
}

void FakeDialogHost::DestroyModeless(WindowRef window) {
  FakeDialogView* view = Modeless(window);
  if (!view) {
    ADD_FAILURE() << "destroying a window that does not exist";
    return;
  }
  Dialog* dialog = modeless_[window];
  // Gone before OnDestroy runs, as a destroyed window can no longer be destroyed again.
  modeless_.erase(window);
  view->modelessHost_ = nullptr;
  dialog->OnDestroy(*view);
}

void FakeDialogHost::CentreWindow(WindowRef window) {
  for (auto& view : views_) {
    if (view->Window() == window && !view->ended()) {
      view->Centre();
      return;
    }
  }
  ADD_FAILURE() << "centring a window that does not exist";
}

void FakeDialogHost::ElapseTimers(FakeDialogView& view, Dialog& dialog) {
  const std::map<int, unsigned> running = view.timers();
  for (const auto& [timer, period] : running)
    if (!view.ended() && view.timers().count(timer)) dialog.OnTimer(view, timer);
}

void FakeDialogHost::ElapseModelessTimers() {
  const std::map<WindowRef, Dialog*> open = modeless_;
  for (const auto& [window, dialog] : open)
    if (FakeDialogView* view = Modeless(window)) ElapseTimers(*view, *dialog);
}

BoxAnswer FakeDialogHost::SystemMessageBox(WindowRef owner, std::string_view text,
                                           std::string_view caption, BoxKind kind) {
  boxes_.push_back({owner, std::string(text), std::string(caption), kind});
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

void FakeDialogHost::PumpMessages(WindowRef) {
  if (pumpActions_.empty()) return;
  auto action = std::move(pumpActions_.front());
  pumpActions_.erase(pumpActions_.begin());
  action();
}

}  // namespace setup
