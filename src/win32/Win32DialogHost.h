#pragma once

#include <windows.h>

#include "platform/Dialog.h"

namespace setup {

// Runs the program's dialogs from the templates of its own module.
class Win32DialogHost : public DialogHost {
 public:
  explicit Win32DialogHost(HINSTANCE instance) : instance_(instance) {}

  int RunModal(const char* templateName, WindowRef owner, Dialog& dialog) override;
  WindowRef CreateModeless(const char* templateName, WindowRef owner, Dialog& dialog) override;
  void DestroyModeless(WindowRef window) override;
  BoxAnswer SystemMessageBox(WindowRef owner, std::string_view text, std::string_view caption,
                             BoxKind kind) override;
  void PumpMessages(WindowRef dialog) override;
  void ShowWaitCursor(bool wait) override;
  void CentreWindow(WindowRef window) override;
  void EnableWindow(WindowRef window, bool enabled) override;
  void PostQuit(int code) override;
  void StartDialogLook() override;
  void EndDialogLook() override;

 private:
  HINSTANCE instance_;
};

}  // namespace setup
