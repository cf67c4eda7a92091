#pragma once

// What the parts of the dialog look share: the program-wide state under its lock, the
// property atoms and the subclassing of one window.

#include <windows.h>

#include <array>
#include <optional>

#include "look3d/Look3dRules.h"

namespace setup::look3d {

enum Atom { kC3d, kC3dNew, kC3dL, kC3dH, kC3dLNew, kC3dHNew, kC3dD, kAtomCount };

struct Look3dState {
  bool enabled = false;
  int registrations = 0;
  HINSTANCE instance = nullptr;
  std::uint16_t winVersion = 0;
  HookMode hookMode = HookMode::AtCreation;
  FrameMetrics metrics{};
  char mnemonicPrefix = 0;
  ThreadHookTable hooks;
  std::array<ATOM, kAtomCount> atoms{};
  Look3dColours colours{};
  HBRUSH highlightBrush = nullptr, faceBrush = nullptr, shadowBrush = nullptr;
  HBITMAP checkBoxBitmap = nullptr;
  // The window procedures the system registered, by row of kControlClassTable.
  std::array<WNDPROC, kControlClassTable.size()> classProcedures{};
  WNDPROC dialogClassProcedure = nullptr;
};

// Read by the window procedures without the lock: it changes only while the program's one
// thread registers or unregisters.
Look3dState& State();

// The one critical section of the look, made once for the life of the program.
class Look3dLock {
 public:
  Look3dLock();
  ~Look3dLock();
  Look3dLock(const Look3dLock&) = delete;
  Look3dLock& operator=(const Look3dLock&) = delete;
};

HANDLE Property(HWND window, Atom atom);
void SetProperty(HWND window, Atom atom, HANDLE value);
void RemoveProperty(HWND window, Atom atom);

COLORREF ColourOf(Role role);
void FillRoles(HDC dc, const Fills& fills);
Rect ToRect(const RECT& r);

bool IsDialogClass(HWND window);
bool HasClass(HWND window, const char* className);

// The procedure a replacement passes messages on to.
WNDPROC PreviousProcedure(HWND window, WNDPROC classProcedure);
// Replaces the window procedure, once: never a window that carries a property of the look.
bool Subclass(HWND window, WNDPROC replacement);

// A message to a subclassed window, with the procedure it goes on to.
struct Message {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  WNDPROC previous;

  LRESULT Pass() const { return CallWindowProcA(previous, window, message, wParam, lParam); }
};
// Handles what a replacement procedure handles; nothing means "pass it on".
using Handler = std::optional<LRESULT> (*)(const Message&);
// What every replacement procedure does: the queries, the end of the window, windows marked
// as not to be touched, and passing on what `handler` leaves.
LRESULT Dispatch(const Message& message, int queryAnswer, Handler handler);
WNDPROC ClassProcedure(ControlClass kind);

// The replacement procedures, by control class, and the dialog's.
WNDPROC ReplacementFor(ControlClass kind);
LRESULT CALLBACK DialogProcedure(HWND, UINT, WPARAM, LPARAM);
bool IsReplacement(WNDPROC procedure);

// Watches the creation of windows by the threads in the hook table.
LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);

// Sends `query` with a flag preset to 1 that the window may clear; whether it stayed set.
bool FlagStaysSet(HWND window, UINT query);
// Asks a dialog whether it wants the look and, when it does, subclasses it.
void OfferLookToDialog(HWND dialog);
void SubclassDialogControls(HWND dialog, unsigned classBits);
void UnsubclassTree(HWND window);

}  // namespace setup::look3d
