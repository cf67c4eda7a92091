#include <windows.h>

#include "look3d/Look3dState.h"

namespace setup::look3d {
namespace {

// A window waiting for its first message before it is subclassed (hook mode 16); null
// `replacement` means a dialog that is still to be asked.
struct Pending {
  HWND window = nullptr;
  WNDPROC replacement = nullptr;
  HHOOK hook = nullptr;
};
Pending pending;

void Apply(HWND window, WNDPROC replacement) {
  if (replacement)
    Subclass(window, replacement);
  else
    OfferLookToDialog(window);
}

LRESULT CALLBACK FirstMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
  HHOOK hook = pending.hook;
  if (code >= 0 && message->hwnd == pending.window) {
    const Pending due = pending;
    pending = {};
    UnhookWindowsHookEx(due.hook);
    Apply(due.window, due.replacement);
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

void ApplyInHookMode(HWND window, WNDPROC replacement) {
  if (State().hookMode == HookMode::AtCreation || pending.window) {
    Apply(window, replacement);
    return;
  }
  pending = {window, replacement, nullptr};
  pending.hook = SetWindowsHookExA(WH_CALLWNDPROC, FirstMessageHook, nullptr, GetCurrentThreadId());
  if (!pending.hook) {
    pending = {};
    Apply(window, replacement);
  }
}

bool HasLook(HWND window) {
  return window && Property(window, kC3dNew) &&
         DialogGetsLook(State().winVersion, GetWindowLongA(window, GWL_STYLE));
}

Candidate CandidateFor(const ControlClassRow& row, HWND window, HWND parent, unsigned classBits,
                       bool creating) {
  const auto style = static_cast<std::uint32_t>(GetWindowLongA(window, GWL_STYLE));
  const bool parentIsCombo = HasClass(parent, "ComboBox");
  return {row.kind,
          style,
          State().winVersion,
          classBits,
          creating,
          parentIsCombo,
          parentIsCombo ? static_cast<std::uint32_t>(GetWindowLongA(parent, GWL_STYLE)) : 0u};
}

const ControlClassRow* RowOf(HWND window) {
  char name[32] = {};
  return GetClassNameA(window, name, sizeof name) ? FindControlClass(name) : nullptr;
}

void OnWindowCreated(HWND window, HWND parent, std::uint32_t flags) {
  if (IsDialogClass(window)) {
    ApplyInHookMode(window, nullptr);
    return;
  }
  if (!(flags & kAutoSubclass) ||
      !(HasLook(parent) || HasLook(parent ? GetParent(parent) : nullptr)))
    return;
  const ControlClassRow* row = RowOf(window);
  if (row && IsEligible(CandidateFor(*row, window, parent, kAllClassBits, true)))
    ApplyInHookMode(window, ReplacementFor(row->kind));
}

void SubclassCombo(HWND combo, std::uint32_t style) {
  HWND first = GetWindow(combo, GW_CHILD);
  switch (ComboChildrenOf(style)) {
    case ComboChildren::FirstAsEdit:
      Subclass(first, ReplacementFor(ControlClass::Edit));
      break;
    case ComboChildren::FirstAsListNextAsEdit:
      if (first) {
        Subclass(first, ReplacementFor(ControlClass::ListBox));
        Subclass(GetWindow(first, GW_HWNDNEXT), ReplacementFor(ControlClass::Edit));
      }
      break;
    case ComboChildren::None:
      break;
  }
  if (first || !ComboNeedsChild(style)) Subclass(combo, ReplacementFor(ControlClass::ComboBox));
}

// A window another module subclassed after us still carries our property but no longer
// answers our queries: it is taken over anew.
bool StillOurs(HWND window) {
  if (Property(window, kC3dD)) return true;
  for (UINT query : {kQuerySubclassedToo, kQuerySubclassed}) {
    std::uint32_t value = kQueryUnanswered;
    SendMessageA(window, query, 0, reinterpret_cast<LPARAM>(&value));
    if (value != kQueryUnanswered) return true;
  }
  RemoveProperty(window, kC3dNew);
  return false;
}

void SubclassControl(HWND window, HWND parent, unsigned classBits) {
  if (Property(window, kC3dNew) && StillOurs(window)) return;
  const ControlClassRow* row = RowOf(window);
  if (!row || !IsEligible(CandidateFor(*row, window, parent, classBits, false))) return;
  if (row->kind == ControlClass::ComboBox)
    SubclassCombo(window, GetWindowLongA(window, GWL_STYLE));
  else
    Subclass(window, ReplacementFor(row->kind));
}

void UnsubclassOne(HWND window) {
  const auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  if (IsReplacement(procedure)) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Property(window, kC3dNew)));
    RemoveProperty(window, kC3dNew);
  } else if (Property(window, kC3dNew) || Property(window, kC3dLNew) ||
             Property(window, kC3dHNew)) {
    SetProperty(window, kC3dD, reinterpret_cast<HANDLE>(1));
  }
}

BOOL CALLBACK UnsubclassChild(HWND window, LPARAM) {
  UnsubclassOne(window);
  return TRUE;
}

}  // namespace

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  HookEntry entry{};
  {
    Look3dLock lock;
    HookEntry* found = State().hooks.Find(GetCurrentThreadId());
    if (!found) return CallNextHookEx(nullptr, code, wParam, lParam);
    entry = *found;
  }
  if (code == HCBT_CREATEWND) {
    const auto* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
    OnWindowCreated(reinterpret_cast<HWND>(wParam), create->lpcs->hwndParent, entry.flags);
  }
  return CallNextHookEx(reinterpret_cast<HHOOK>(entry.hook), code, wParam, lParam);
}

void SubclassDialogControls(HWND dialog, unsigned classBits) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    SubclassControl(child, dialog, classBits);
    for (HWND grandchild = GetWindow(child, GW_CHILD); grandchild;
         grandchild = GetWindow(grandchild, GW_HWNDNEXT))
      SubclassControl(grandchild, child, classBits);
  }
}

void UnsubclassTree(HWND window) {
  UnsubclassOne(window);
  EnumChildWindows(window, UnsubclassChild, 0);
}

}  // namespace setup::look3d
