#include "win32/Win32DialogHost.h"

#include <set>
#include <string>

#include "look3d/Look3d.h"
#include "win32/Win32DialogView.h"

namespace setup {
namespace {

// What DialogBoxParamA / CreateDialogParamA hand to WM_INITDIALOG.
struct Launch {
  Dialog& dialog;
  HINSTANCE instance;
  Win32DialogView::Mode mode;
};

// Ties a window to its logic from WM_INITDIALOG to WM_NCDESTROY. A handler may destroy its
// own window (a modeless dialog ending itself), so the binding is freed only when the
// outermost message of the window has returned.
struct Binding {
  Dialog& dialog;
  Win32DialogView view;
  int depth = 0;
  bool destroyed = false;
};

Binding* BindingOf(HWND window) {
  return reinterpret_cast<Binding*>(GetWindowLongPtrA(window, DWLP_USER));
}

INT_PTR Reply(HWND window, LRESULT result) {
  SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
  return TRUE;
}

// A modal dialog's loop gives the keys of a modeless dialog to no dialog manager, so Tab,
// Enter and Escape would do nothing there. A message filter on that loop hands them to the
// modeless dialog they belong to.
struct ModelessKeyboard {
  std::set<HWND> dialogs;
  HHOOK hook = nullptr;
};

ModelessKeyboard modelessKeyboard;

HWND TopLevelOf(HWND window) {
  while (window && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) window = GetParent(window);
  return window;
}

LRESULT CALLBACK FilterModelessKeys(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_DIALOGBOX) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    HWND top = TopLevelOf(msg->hwnd);
    if (modelessKeyboard.dialogs.count(top) && IsDialogMessageA(top, msg)) return TRUE;
  }
  return CallNextHookEx(modelessKeyboard.hook, code, wParam, lParam);
}

void ServeModelessKeys(HWND dialog) {
  if (GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD) return;  // its top-level dialog serves it
  modelessKeyboard.dialogs.insert(dialog);
  if (!modelessKeyboard.hook)
    modelessKeyboard.hook =
        SetWindowsHookExA(WH_MSGFILTER, FilterModelessKeys, nullptr, GetCurrentThreadId());
}

void StopServingModelessKeys(HWND dialog) {
  if (!modelessKeyboard.dialogs.erase(dialog) || !modelessKeyboard.dialogs.empty()) return;
  if (modelessKeyboard.hook) UnhookWindowsHookEx(modelessKeyboard.hook);
  modelessKeyboard.hook = nullptr;
}

INT_PTR Handle(Binding& b, HWND window, UINT message, WPARAM wParam) {
  switch (message) {
    case WM_COMMAND:
      b.dialog.OnCommand(b.view, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_TIMER:
      b.dialog.OnTimer(b.view, static_cast<int>(wParam));
      return TRUE;
    case WM_CLOSE:
      b.dialog.OnClose(b.view);
      return TRUE;
    case WM_GETDLGCODE:
      // The dialog manager asks the window itself only about keys sent to it, which happens
      // when no control has the focus: then every key, Enter and Escape included, is a key
      // pressed in the window rather than a default or cancel command.
      return Reply(window, DLGC_WANTALLKEYS);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
      // WM_CHAR is left out: it follows the WM_KEYDOWN of the same key press.
      b.dialog.OnClickOrKey(b.view);
      return TRUE;
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(b.view.Background());
    case WM_ERASEBKGND:
      if (HBRUSH brush = b.view.Background()) {
        RECT area{};
        GetClientRect(window, &area);
        FillRect(reinterpret_cast<HDC>(wParam), &area, brush);
        return Reply(window, TRUE);
      }
      return FALSE;
    case WM_DESTROY:
      b.dialog.OnDestroy(b.view);
      return FALSE;
    case WM_NCDESTROY:
      StopServingModelessKeys(window);
      SetWindowLongPtrA(window, DWLP_USER, 0);
      b.destroyed = true;
      return FALSE;
    default:
      return FALSE;
  }
}

// Counts the messages of one window being handled, nested ones included.
class Entry {
 public:
  explicit Entry(Binding* b) : b_(b) {
    if (b_) ++b_->depth;
  }
  ~Entry() {
    if (b_ && --b_->depth == 0 && b_->destroyed) delete b_;
  }
  Entry(const Entry&) = delete;
  Entry& operator=(const Entry&) = delete;

 private:
  Binding* b_;
};

// A quit request taken from the queue by a pump inside a handler. Re-posting it at once
// would make every later pump take it again before any timer or input, so a progress window
// would freeze; it is posted once when the outermost handler returns to the loop that owns
// the thread.
struct QuitHandOver {
  int handlersRunning = 0;
  bool pending = false;
  int code = 0;

  void PostWhenOutermost() {
    if (handlersRunning > 0 || !pending) return;
    pending = false;
    PostQuitMessage(code);
  }
};

QuitHandOver quitHandOver;

// Marks the time a dialog handler runs, for the hand-over of a quit request.
class HandlerRunning {
 public:
  HandlerRunning() { ++quitHandOver.handlersRunning; }
  ~HandlerRunning() {
    --quitHandOver.handlersRunning;
    quitHandOver.PostWhenOutermost();
  }
  HandlerRunning(const HandlerRunning&) = delete;
  HandlerRunning& operator=(const HandlerRunning&) = delete;
};

// Logic that failed half-way leaves its window in no known state: a modal dialog ends as if
// it could not be run, a modeless one goes away.
void Abandon(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_DESTROY || message == WM_NCDESTROY) return;
  if (Binding* b = BindingOf(window)) {
    if (!b->destroyed) b->view.End(-1);
  } else if (message == WM_INITDIALOG) {
    if (reinterpret_cast<const Launch*>(lParam)->mode == Win32DialogView::Mode::Modal)
      EndDialog(window, -1);
    else
      DestroyWindow(window);
  }
}

INT_PTR CALLBACK Trampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HandlerRunning running;
  try {
    if (message == WM_INITDIALOG) {
      const auto& launch = *reinterpret_cast<const Launch*>(lParam);
      auto* b = new Binding{launch.dialog, Win32DialogView(window, launch.instance, launch.mode)};
      SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(b));
      Entry entry(b);
      b->dialog.OnInit(b->view);
      return b->view.FocusChosen() ? FALSE : TRUE;
    }
    Binding* b = BindingOf(window);
    if (!b) return FALSE;
    Entry entry(b);
    return Handle(*b, window, message, wParam);
  } catch (...) {
    // An exception must never unwind through user32.
    Abandon(window, message, lParam);
    return FALSE;
  }
}

}  // namespace

int Win32DialogHost::RunModal(const char* templateName, WindowRef owner, Dialog& dialog) {
  Launch launch{dialog, instance_, Win32DialogView::Mode::Modal};
  return static_cast<int>(DialogBoxParamA(instance_, templateName, HwndOf(owner), Trampoline,
                                          reinterpret_cast<LPARAM>(&launch)));
}

WindowRef Win32DialogHost::CreateModeless(const char* templateName, WindowRef owner,
                                          Dialog& dialog) {
  Launch launch{dialog, instance_, Win32DialogView::Mode::Modeless};
  HWND window = CreateDialogParamA(instance_, templateName, HwndOf(owner), Trampoline,
                                   reinterpret_cast<LPARAM>(&launch));
  // A dialog that ended itself while opening is gone already, though its handle comes back.
  if (!window || !IsWindow(window)) return kNoWindow;
  ServeModelessKeys(window);
  return RefOf(window);
}

// The system may hand the activation of a window that goes to whatever lies next in the
// z-order, a shell window of another program among them; the owner takes it back.
void Win32DialogHost::DestroyModeless(WindowRef window) {
  HWND hwnd = HwndOf(window);
  HWND owner = GetWindow(hwnd, GW_OWNER);
  const bool wasActive = GetActiveWindow() == hwnd;
  DestroyWindow(hwnd);
  if (wasActive && owner && IsWindowEnabled(owner)) SetForegroundWindow(owner);
}

BoxAnswer Win32DialogHost::SystemMessageBox(WindowRef owner, std::string_view text,
                                            std::string_view caption, BoxKind kind) {
  const UINT style = kind == BoxKind::InformationOk ? MB_ICONINFORMATION | MB_OK
                     : kind == BoxKind::WarningYesNoDefaultNo
                         ? MB_ICONEXCLAMATION | MB_YESNO | MB_DEFBUTTON2
                         : MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2;
  const int answer =
      MessageBoxA(HwndOf(owner), std::string(text).c_str(), std::string(caption).c_str(), style);
  if (kind == BoxKind::InformationOk) return BoxAnswer::Ok;
  return answer == IDYES ? BoxAnswer::Yes : BoxAnswer::No;
}

void Win32DialogHost::PumpMessages(WindowRef dialog) {
  WaitMessage();
  HWND keyboardDialog = HwndOf(dialog);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quitHandOver.pending = true;
      quitHandOver.code = static_cast<int>(msg.wParam);
      continue;
    }
    if (keyboardDialog && IsWindow(keyboardDialog) && IsDialogMessageA(keyboardDialog, &msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  // Called from no handler, the caller is the loop that owns the thread.
  quitHandOver.PostWhenOutermost();
}

void Win32DialogHost::ShowWaitCursor(bool wait) {
  SetCursor(LoadCursorA(nullptr, wait ? IDC_WAIT : IDC_ARROW));
}

void Win32DialogHost::CentreWindow(WindowRef window) {
  CentreOnDesktop(HwndOf(window));
}

void Win32DialogHost::EnableWindow(WindowRef window, bool enabled) {
  ::EnableWindow(HwndOf(window), enabled);
}

// Each modal loop still running ends on it and posts it again for the one outside; a pump
// inside a handler that takes it hands it over as above.
void Win32DialogHost::PostQuit(int code) {
  PostQuitMessage(code);
}

void Win32DialogHost::StartDialogLook() {
  RegisterLook3d(instance_);
  AutoSubclassLook3d(instance_, 0);
}

void Win32DialogHost::EndDialogLook() {
  UnregisterLook3d(instance_);
}

}  // namespace setup
