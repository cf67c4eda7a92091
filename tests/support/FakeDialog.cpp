#include "support/FakeDialog.h"

#include <gtest/gtest.h>

namespace setup {

void FakeDialogView::End(int result) {
  EXPECT_FALSE(ended_) << templateName_ << " ended twice";
  ended_ = true;
  result_ = result;
  visible_ = false;
  if (modelessHost_) modelessHost_->DestroyModeless(window_);
}

FakeDialogView& FakeDialogHost::NewView(const char* templateName, WindowRef owner) {
  views_.push_back(std::make_unique<FakeDialogView>(templateName, nextWindow_++, owner));
  if (templateControls_.count(templateName))
    views_.back()->templateControls_ = templateControls_[templateName];
  views_.back()->directories_ = directories_;
  return *views_.back();
}

int FakeDialogHost::RunModal(const char* templateName, WindowRef owner, Dialog& dialog) {
  if (missing_.count(templateName)) return -1;
  FakeDialogView& view = NewView(templateName, owner);
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

// Gone before OnDestroy runs, as a destroyed window can no longer be destroyed again.
void FakeDialogHost::DestroyModeless(WindowRef window) {
  FakeDialogView* view = Modeless(window);
  ASSERT_TRUE(view) << "destroying a window that does not exist";
  Dialog* dialog = modeless_[window];
  modeless_.erase(window);
  view->modelessHost_ = nullptr;
  dialog->OnDestroy(*view);
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
