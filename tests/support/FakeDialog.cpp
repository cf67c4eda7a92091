#include "support/FakeDialog.h"

#include <gtest/gtest.h>

namespace setup {

void FakeDialogView::End(int result) {
  EXPECT_FALSE(ended_) << templateName_ << " ended twice";
  ended_ = true;
  result_ = result;
  if (modelessHost_) modelessHost_->DestroyModeless(window_);
}

void FakeDialogView::SetText(int id, std::string_view text) {
  Control* c = Existing(id);
  if (!c) return;
  c->text = text;
  c->modified = false;
  c->caret = 0;
  if (edits_.count(id)) Notify(id, notification::kEditChanged);
}

void FakeDialogView::UserTypes(int id, std::string_view text) {
  Control* c = Existing(id);
  ASSERT_TRUE(c && c->enabled) << "typing into " << id;
  c->text = text.substr(0, c->textLimit > 0 ? static_cast<std::size_t>(c->textLimit) : text.size());
  c->modified = true;
  c->caret = static_cast<int>(c->text.size());
  Notify(id, notification::kEditChanged);
}

void FakeDialogView::UserChooses(int id, int index) {
  Control* c = Existing(id);
  ASSERT_TRUE(c && c->enabled && index >= 0 && index < ComboCount(id)) << "choosing in " << id;
  c->selection = index;
  Notify(id, notification::kSelectionChanged);
}

void FakeDialogView::UserClicks(int id) {
  Control* c = Existing(id);
  ASSERT_TRUE(c && c->enabled && c->visible) << "clicking " << id;
  if (checkBoxes_.count(id)) c->checked = !c->checked;
  Notify(id, notification::kClicked);
}

void FakeDialogView::ListDelete(int id, int index) {
  Control* c = Existing(id);
  if (!c || index < 0 || index >= ListCount(id)) return;
  c->items.erase(c->items.begin() + index);
  if (c->selection == index) c->selection = -1;
  if (c->selection > index) --c->selection;
}

int FakeDialogView::ListInsert(int id, int index, std::string_view text) {
  Control* c = Existing(id);
  if (!c || index < -1 || index > ListCount(id)) return -1;
  if (index == -1) index = ListCount(id);
  c->items.insert(c->items.begin() + index, std::string(text));
  if (c->selection >= index) ++c->selection;
  return index;
}

FakeDialogView& FakeDialogHost::NewView(const char* templateName, WindowRef owner, Dialog& dialog) {
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

int FakeDialogHost::RunModal(const char* templateName, WindowRef owner, Dialog& dialog) {
  if (missing_.count(templateName)) return -1;
  FakeDialogView& view = NewView(templateName, owner, dialog);
  dialog.OnInit(view);
  auto& pending = scripts_[templateName];
  if (!view.ended() && !pending.empty()) {
    UserScript script = std::move(pending.front());
    pending.erase(pending.begin());
    script(view, dialog);
  }
  // Nobody could ever close it.
  if (!view.ended()) {
    ADD_FAILURE() << "modal " << templateName << " was left open";
    return -1;
  }
  dialog.OnDestroy(view);
  return view.result_;
}

WindowRef FakeDialogHost::CreateModeless(const char* templateName, WindowRef owner,
                                         Dialog& dialog) {
  if (missing_.count(templateName)) return kNoWindow;
  FakeDialogView& view = NewView(templateName, owner, dialog);
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

// Gone before OnDestroy runs, as a destroyed window can no longer be destroyed again. The
// windows it owns go after it, as the system destroys them.
void FakeDialogHost::DestroyModeless(WindowRef window) {
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

void FakeDialogHost::CentreWindow(WindowRef window) {
  for (auto& view : views_)
    if (view->Window() == window && !view->ended()) return view->Centre();
  ADD_FAILURE() << "centring a window that does not exist";
}

void FakeDialogHost::ElapseTimers(FakeDialogView& view, Dialog& dialog) {
  const std::map<int, unsigned> running = view.timers();
  for (const auto& [timer, period] : running)
    if (!view.ended() && view.timers().count(timer)) dialog.OnTimer(view, timer);
}

BoxAnswer FakeDialogHost::SystemMessageBox(WindowRef, std::string_view text, std::string_view,
                                           BoxKind kind) {
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

void FakeDialogHost::PumpMessages(WindowRef) {
  if (pumpActions_.empty()) return;
  auto action = std::move(pumpActions_.front());
  pumpActions_.erase(pumpActions_.begin());
  action();
}

}  // namespace setup
