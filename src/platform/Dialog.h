#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/Window.h"

namespace setup {

struct FontSpec {
  int points = 8;
  int weight = 400;  // 700 is bold
  const char* face = "MS Sans Serif";
};

enum class BackgroundResult { Painted, NoBitmap, NoBrush };

// The notification codes with which controls report to OnCommand.
namespace notification {
inline constexpr int kClicked = 0;
inline constexpr int kSelectionChanged = 1;  // list box and drop-down list alike
inline constexpr int kDoubleClicked = 2;
inline constexpr int kFocusLost = 5;
inline constexpr int kEditChanged = 0x300;
}  // namespace notification

// A dialog window seen by the portable dialog logic: its controls are addressed by the
// identifiers of the dialog template.
class DialogView {
 public:
  virtual ~DialogView() = default;

  virtual WindowRef Window() const = 0;

  virtual void SetCaption(std::string_view text) = 0;
  virtual std::string Caption() const = 0;
  virtual void SetText(int id, std::string_view text) = 0;
  virtual std::string Text(int id) const = 0;
  virtual void Enable(int id, bool enabled) = 0;
  // False for a disabled control and for one the window does not have.
  virtual bool IsEnabled(int id) const = 0;
  virtual void ShowControl(int id, bool visible) = 0;
  // The control is gone for good: later calls on it do nothing and read back empty.
  virtual void DestroyControl(int id) = 0;
  virtual void SetFocus(int id) = 0;
  // The most characters a user can type into an edit field.
  virtual void SetTextLimit(int id, int characters) = 0;
  // Whether the user has changed an edit field since the program last set its text.
  virtual bool IsModified(int id) const = 0;
  // The caret of an edit field, as the number of characters before it; and placing it.
  virtual int Caret(int id) const = 0;
  virtual void SetCaret(int id, int at) = 0;

  // Check boxes; and a push button drawn pressed or released, as the page buttons of a
  // tabbed frame are.
  virtual void SetCheck(int id, bool checked) = 0;
  virtual bool IsChecked(int id) const = 0;
  virtual void SetPushed(int id, bool pushed) = 0;

  // The whole window: hide or show it; centre it on the desktop. Centring shows and
  // activates a window the logic has not hidden; one it hid while filling it stays hidden
  // until shown, so that the user sees it only complete.
  virtual void ShowWindow(bool visible) = 0;
  virtual void Centre() = 0;
  // Brings the window in front of every other program's, as after a long operation the
  // user may have switched away.
  virtual void BringToFront() = 0;

  // Drop-down lists.
  virtual void ComboClear(int id) = 0;
  virtual int ComboAdd(int id, std::string_view text) = 0;
  virtual int ComboCount(int id) const = 0;
  virtual std::string ComboItemText(int id, int index) const = 0;
  virtual void ComboSelect(int id, int index) = 0;
  virtual int ComboSelection(int id) const = 0;  // -1 when nothing is selected

  // List boxes, not sorted: items stay in the order they were added.
  virtual void ListClear(int id) = 0;
  virtual int ListAdd(int id, std::string_view text) = 0;
  virtual int ListCount(int id) const = 0;
  virtual std::string ListItemText(int id, int index) const = 0;
  virtual int ListSelection(int id) const = 0;  // -1 when nothing is selected
  virtual void ListSelect(int id, int index) = 0;
  virtual void ListDelete(int id, int index) = 0;
  virtual int ListInsert(int id, int index, std::string_view text) = 0;
  // In dialog units.
  virtual void SetTabStops(int id, std::span<const int> stops) = 0;

  // The system's directory listing without a list: makes `directory` the process's current
  // directory and shows its full path, as the system spells it, in static `staticId`. False
  // when `directory` is no directory.
  virtual bool ListDirectory(int staticId, std::string_view directory) = 0;

  virtual void StartTimer(int timer, unsigned milliseconds) = 0;
  virtual void StopTimer(int timer) = 0;

  // GDI objects made here belong to the window and are freed when it goes.
  virtual bool SetFont(int id, const FontSpec& font) = 0;
  virtual BackgroundResult SetPatternBackground(const char* bitmap) = 0;
  // Sets the icon of the dialog window class, so that every later dialog shows it too.
  virtual void SetClassIcon(const char* icon) = 0;

  // Ends a modal dialog with its result; destroys a modeless one.
  virtual void End(int result) = 0;
};

// Portable dialog logic. The host calls these as the window receives its messages.
class Dialog {
 public:
  virtual ~Dialog() = default;

  virtual void OnInit(DialogView& view) = 0;
  virtual void OnCommand(DialogView& /*view*/, int /*id*/, int /*code*/) {}
  virtual void OnTimer(DialogView& /*view*/, int /*timer*/) {}
  // The close command of the system menu.
  virtual void OnClose(DialogView& /*view*/) {}
  // A mouse button or a key pressed in the window itself.
  virtual void OnClickOrKey(DialogView& /*view*/) {}
  virtual void OnDestroy(DialogView& /*view*/) {}
};

enum class BoxKind { InformationOk, QuestionYesNoDefaultNo, WarningYesNoDefaultNo };
enum class BoxAnswer { Ok, Yes, No };

// Runs dialogs from their resource templates and gives the few user32 services that are
// not a dialog of the program's own.
class DialogHost {
 public:
  virtual ~DialogHost() = default;

  // The dialog's result, or -1 when the template could not be loaded.
  virtual int RunModal(const char* templateName, WindowRef owner, Dialog& dialog) = 0;
  // The window, or kNoWindow when the template could not be loaded. The dialog object must
  // outlive the window.
  virtual WindowRef CreateModeless(const char* templateName, WindowRef owner, Dialog& dialog) = 0;
  virtual void DestroyModeless(WindowRef window) = 0;

  // The system message box. (Not called MessageBox: <windows.h> makes that name a macro.)
  virtual BoxAnswer SystemMessageBox(WindowRef owner, std::string_view text,
                                     std::string_view caption, BoxKind kind) = 0;
  // Waits for at least one message, then handles every queued one; messages for `dialog`
  // (when given) go through its keyboard handling.
  virtual void PumpMessages(WindowRef dialog) = 0;
  virtual void ShowWaitCursor(bool wait) = 0;
  // Centres a window of the program on the desktop, shows and activates it, as
  // DialogView::Centre does for a dialog's own window that is not hidden.
  virtual void CentreWindow(WindowRef window) = 0;
  // A disabled window takes no input; its owned windows still do.
  virtual void EnableWindow(WindowRef window, bool enabled) = 0;
  // Ends the program's message loop once the dialogs running now have ended.
  virtual void PostQuit(int code) = 0;
  // Gives every dialog the program opens from now on the three-dimensional look; the end of
  // it releases what the look holds.
  virtual void StartDialogLook() = 0;
  virtual void EndDialogLook() = 0;
};

}  // namespace setup
