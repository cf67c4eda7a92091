#pragma once

#include <string_view>

#include "platform/Dialog.h"
#include "script/StringCatalogue.h"

namespace setup {

// The static that shows what a long operation is doing.
inline constexpr int kProgressTextId = 603;

// The one modeless progress window of the program and the flags that belong to it.
class ProgressDialog : public Dialog {
 public:
  static constexpr int kCancelId = 1;
  static constexpr int kTimer = 1;

  ProgressDialog(DialogHost& host, const StringCatalogue& catalogue)
      : host_(host), catalogue_(catalogue) {}

  WindowRef Open(WindowRef owner, bool withCancel, bool confirmCancel);
  // Both do nothing unless `window` is the progress window still open.
  void SetText(WindowRef window, std::string_view text);
  void Close(WindowRef window);

  bool Cancelled() const { return cancelled_; }

  void OnInit(DialogView& view) override;
  void OnCommand(DialogView& view, int id, int code) override;
  void OnDestroy(DialogView& view) override;

 private:
  DialogView* OpenView(WindowRef window) const;

  DialogHost& host_;
  const StringCatalogue& catalogue_;
  // The open window's view, from its opening to its destruction.
  DialogView* view_ = nullptr;
  bool requestedConfirm_ = false;
  bool cancelled_ = false;
  bool confirmCancel_ = false;
  bool asking_ = false;
};

}  // namespace setup
