#include <windows.h>

#include "look3d/Gdi.h"
#include "look3d/Look3dState.h"

namespace setup::look3d {

LRESULT CALLBACK ButtonProcedure(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ListProcedure(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditProcedure(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ComboProcedure(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK StaticProcedure(HWND, UINT, WPARAM, LPARAM);

namespace {

bool IsBrush(LRESULT answer) {
  return answer != 0 && answer != 1;
}

LRESULT LookColours(const Message& msg) {
  const auto control = reinterpret_cast<HWND>(msg.lParam);
  const bool dropDownList =
      HasClass(control, "ComboBox") && IsDropDownList(GetWindowLongA(control, GWL_STYLE));
  if (!LookAnswersColour(msg.message, State().winVersion, GetWindow(control, GW_CHILD) != nullptr,
                         dropDownList))
    return 0;
  const auto dc = reinterpret_cast<HDC>(msg.wParam);
  SetTextColor(dc, State().colours.buttonText);
  SetBkColor(dc, State().colours.face);
  return reinterpret_cast<LRESULT>(State().faceBrush);
}

// The window's own colours come first: its dialog procedure's, then those its previous
// procedure gives for the shifted message. Only then the look's.
LRESULT ColourChain(const Message& msg) {
  const UINT own = msg.message + kOwnColourOffset;
  if (!IsDialogClass(msg.window)) {
    const LRESULT answer = CallWindowProcA(msg.previous, msg.window, own, msg.wParam, msg.lParam);
    if (IsBrush(answer)) return answer;
  } else if (const auto dialogProcedure = GetWindowLongPtrA(msg.window, DWLP_DLGPROC)) {
    const bool callable =
        State().winVersion > kVersion30A || static_cast<ULONG_PTR>(dialogProcedure) <= 0xFFFF0000u;
    if (callable) {
      const LRESULT answer = CallWindowProcA(reinterpret_cast<WNDPROC>(dialogProcedure), msg.window,
                                             msg.message, msg.wParam, msg.lParam);
      if (IsBrush(answer)) return answer;
    }
    const LRESULT answer = CallWindowProcA(msg.previous, msg.window, own, msg.wParam, msg.lParam);
    if (IsBrush(answer)) return answer;
  }
  if (const LRESULT brush = LookColours(msg)) return brush;
  return msg.Pass();
}

void PaintDialogFrame(HWND dialog) {
  const auto style = static_cast<std::uint32_t>(GetWindowLongA(dialog, GWL_STYLE));
  if (!DialogFramePainted(style) || !FlagStaysSet(dialog, kQueryFramePaint)) return;
  RECT r;
  GetWindowRect(dialog, &r);
  WindowDc dc(dialog, true);
  FillRoles(dc.get(), DialogFrame(r.right - r.left, r.bottom - r.top, State().metrics,
                                  (style & WS_CAPTION) == WS_CAPTION));
}

LRESULT InitDialog(const Message& msg) {
  const std::uint16_t version = State().winVersion;
  if (!DialogGetsLook(version, GetWindowLongA(msg.window, GWL_STYLE)) ||
      !FlagStaysSet(msg.window, kQueryLook)) {
    UnsubclassTree(msg.window);
    return msg.Pass();
  }
  const LRESULT result = msg.Pass();
  // The dialog procedure may have asked for the system's own look meanwhile.
  if (DialogGetsLook(version, GetWindowLongA(msg.window, GWL_STYLE)))
    SubclassDialogControls(msg.window, kAllClassBits);
  return result;
}

std::optional<LRESULT> OnDialogMessage(const Message& msg) {
  switch (msg.message) {
    case WM_INITDIALOG:
      return InitDialog(msg);
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_SETTEXT: {
      if (State().winVersion >= kVersion35F || IsIconic(msg.window)) return std::nullopt;
      const LRESULT result = msg.Pass();
      PaintDialogFrame(msg.window);
      return result;
    }
    default:
      if (IsColourMessage(msg.message)) return ColourChain(msg);
      return std::nullopt;
  }
}

}  // namespace

LRESULT Dispatch(const Message& msg, int queryAnswer, Handler handler) {
  if (msg.message == WM_NCDESTROY) {
    const LRESULT result = msg.Pass();
    RemoveProperty(msg.window, kC3dNew);
    RemoveProperty(msg.window, kC3dD);
    return result;
  }
  if (Property(msg.window, kC3dD)) return msg.Pass();
  if (msg.message == kQuerySubclassed || msg.message == kQuerySubclassedToo) {
    if (msg.lParam) *reinterpret_cast<std::uint32_t*>(msg.lParam) = 1;
    return queryAnswer;
  }
  if (const auto handled = handler(msg)) return *handled;
  return msg.Pass();
}

WNDPROC ClassProcedure(ControlClass kind) {
  for (std::size_t i = 0; i < kControlClassTable.size(); ++i)
    if (kControlClassTable[i].kind == kind) return State().classProcedures[i];
  return nullptr;
}

LRESULT CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC previous = PreviousProcedure(window, State().dialogClassProcedure);
  return Dispatch({window, message, wParam, lParam, previous}, kAnswerDialog, OnDialogMessage);
}

WNDPROC ReplacementFor(ControlClass kind) {
  switch (kind) {
    case ControlClass::Button:
      return ButtonProcedure;
    case ControlClass::ListBox:
    case ControlClass::ComboLBox:
      return ListProcedure;
    case ControlClass::Edit:
      return EditProcedure;
    case ControlClass::ComboBox:
      return ComboProcedure;
    case ControlClass::Static:
      return StaticProcedure;
  }
  return nullptr;
}

bool IsReplacement(WNDPROC procedure) {
  for (WNDPROC own : {ButtonProcedure, ListProcedure, EditProcedure, ComboProcedure,
                      StaticProcedure, DialogProcedure})
    if (procedure == own) return true;
  return false;
}

}  // namespace setup::look3d
