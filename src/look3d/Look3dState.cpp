#include "look3d/Look3dState.h"

#include <cstring>
#include <vector>

#include "look3d/Gdi.h"
#include "look3d/Look3d.h"

namespace setup::look3d {
namespace {

constexpr const char* kAtomNames[kAtomCount] = {"C3d",     "C3dNew",  "C3dL", "C3dH",
                                                "C3dLNew", "C3dHNew", "C3dD"};
constexpr int kCheckBoxBitmap = 26567;
constexpr ATOM kDialogClassAtom = 32770;

// Made before WinMain runs and never again: a second initialisation of a critical section
// that is in use would break it.
struct CriticalSection {
  CriticalSection() { InitializeCriticalSection(&section); }
  ~CriticalSection() { DeleteCriticalSection(&section); }
  CRITICAL_SECTION section;
};
CriticalSection theLock;
Look3dState theState;

void TakeSystemValues(Look3dState& s) {
  const DWORD version = GetVersion();
  s.winVersion = WinVersionOf(version);
  s.hookMode = HookModeOf(version);
  s.metrics = {GetSystemMetrics(SM_CXDLGFRAME) - 1, GetSystemMetrics(SM_CYDLGFRAME) - 1,
               GetSystemMetrics(SM_CYCAPTION)};
  char kanji[16] = {}, hangeul[16] = {};
  GetProfileStringA("windows", "kanjimenu", "roman", kanji, sizeof kanji);
  GetProfileStringA("windows", "hangeulmenu", "english", hangeul, sizeof hangeul);
  s.mnemonicPrefix = MnemonicPrefix(GetSystemMetrics(SM_DBCSENABLED), kanji, hangeul);
}

bool DisplayAllowsLook() {
  WindowDc screen(nullptr);
  return screen.get() &&
         DisplayTakesLook(GetDeviceCaps(screen.get(), BITSPIXEL),
                          GetDeviceCaps(screen.get(), PLANES), GetSystemMetrics(SM_CXSCREEN),
                          GetSystemMetrics(SM_CYSCREEN));
}

bool AddAtoms(Look3dState& s) {
  for (int i = 0; i < kAtomCount; ++i)
    if (!(s.atoms[i] = GlobalAddAtomA(kAtomNames[i]))) return false;
  return true;
}

void DeleteAtoms(Look3dState& s) {
  for (ATOM& atom : s.atoms) {
    if (atom) GlobalDeleteAtom(atom);
    atom = 0;
  }
}

Look3dColours SystemColours(std::uint16_t winVersion) {
  return FixColours(
      {GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW),
       GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT),
       GetSysColor(COLOR_GRAYTEXT), GetSysColor(COLOR_WINDOWFRAME)},
      winVersion);
}

// The resource is read-only: its colour table is replaced in a copy.
HBITMAP MakeCheckBoxBitmap(HINSTANCE instance, const Look3dColours& colours) {
  HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(kCheckBoxBitmap), MAKEINTRESOURCEA(2));
  HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
  const auto* resource = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
  if (!resource || SizeofResource(instance, found) < sizeof(BITMAPINFOHEADER)) return nullptr;
  std::vector<BYTE> copy(resource, resource + SizeofResource(instance, found));
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(copy.data());
  constexpr std::size_t kTableBytes = 16 * sizeof(RGBQUAD);
  if (header->biBitCount != 4 || copy.size() < header->biSize + kTableBytes) return nullptr;
  std::array<std::uint32_t, 16> table;
  std::memcpy(table.data(), copy.data() + header->biSize, kTableBytes);
  ReplaceBitmapColours(table, colours);
  std::memcpy(copy.data() + header->biSize, table.data(), kTableBytes);
  WindowDc screen(nullptr);
  return CreateDIBitmap(screen.get(), header, CBM_INIT, copy.data() + header->biSize + kTableBytes,
                        reinterpret_cast<BITMAPINFO*>(header), DIB_RGB_COLORS);
}

bool MakeColoursAndBitmap(Look3dState& s) {
  s.colours = SystemColours(s.winVersion);
  s.highlightBrush = CreateSolidBrush(s.colours.highlight);
  s.faceBrush = CreateSolidBrush(s.colours.face);
  s.shadowBrush = CreateSolidBrush(s.colours.shadow);
  s.checkBoxBitmap = MakeCheckBoxBitmap(s.instance, s.colours);
  return s.highlightBrush && s.faceBrush && s.shadowBrush && s.checkBoxBitmap;
}

template <typename Object>
void DeleteGdiObject(Object& object) {
  if (object) DeleteObject(object);
  object = nullptr;
}

void RecordClassProcedures(Look3dState& s) {
  WNDCLASSA wc;
  for (std::size_t i = 0; i < kControlClassTable.size(); ++i)
    s.classProcedures[i] =
        GetClassInfoA(nullptr, kControlClassTable[i].name, &wc) ? wc.lpfnWndProc : nullptr;
  s.dialogClassProcedure = GetClassInfoA(nullptr, MAKEINTRESOURCEA(kDialogClassAtom), &wc)
                               ? wc.lpfnWndProc
                               : DefDlgProcA;
}

void Initialise(Look3dState& s, HINSTANCE instance) {
  DisableThreadLibraryCalls(instance);
  s.instance = instance;
  TakeSystemValues(s);
  s.enabled = DisplayAllowsLook() && AddAtoms(s) && MakeColoursAndBitmap(s);
  RecordClassProcedures(s);
}

void Release(Look3dState& s) {
  DeleteGdiObject(s.highlightBrush);
  DeleteGdiObject(s.faceBrush);
  DeleteGdiObject(s.shadowBrush);
  DeleteGdiObject(s.checkBoxBitmap);
  DeleteAtoms(s);
  s.enabled = false;
}

}  // namespace

Look3dState& State() {
  return theState;
}

Look3dLock::Look3dLock() {
  EnterCriticalSection(&theLock.section);
}

Look3dLock::~Look3dLock() {
  LeaveCriticalSection(&theLock.section);
}

HANDLE Property(HWND window, Atom atom) {
  const ATOM a = theState.atoms[atom];
  return a ? GetPropA(window, MAKEINTATOM(a)) : nullptr;
}

void SetProperty(HWND window, Atom atom, HANDLE value) {
  SetPropA(window, MAKEINTATOM(theState.atoms[atom]), value);
}

void RemoveProperty(HWND window, Atom atom) {
  RemovePropA(window, MAKEINTATOM(theState.atoms[atom]));
}

COLORREF ColourOf(Role role) {
  const Look3dColours& c = theState.colours;
  switch (role) {
    case Role::Highlight:
      return c.highlight;
    case Role::Face:
      return c.face;
    case Role::Shadow:
      return c.shadow;
    case Role::Frame:
      return c.frame;
  }
  return c.face;
}

// An opaque empty text fills a rectangle with a colour without making a brush.
void FillRoles(HDC dc, const Fills& fills) {
  SavedDc saved(dc);
  for (const Fill& f : fills) {
    if (f.rect.left >= f.rect.right || f.rect.top >= f.rect.bottom) continue;
    const RECT r{f.rect.left, f.rect.top, f.rect.right, f.rect.bottom};
    SetBkColor(dc, ColourOf(f.role));
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  }
}

Rect ToRect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

bool IsDialogClass(HWND window) {
  return GetClassLongA(window, GCW_ATOM) == kDialogClassAtom;
}

bool HasClass(HWND window, const char* className) {
  char name[32] = {};
  return window && GetClassNameA(window, name, sizeof name) && lstrcmpiA(name, className) == 0;
}

WNDPROC PreviousProcedure(HWND window, WNDPROC classProcedure) {
  if (auto previous = reinterpret_cast<WNDPROC>(Property(window, kC3dNew))) return previous;
  SetProperty(window, kC3dNew, reinterpret_cast<HANDLE>(classProcedure));
  return classProcedure;
}

bool Subclass(HWND window, WNDPROC replacement) {
  if (!window) return false;
  for (Atom atom : {kC3d, kC3dNew, kC3dL, kC3dH, kC3dLNew, kC3dHNew})
    if (Property(window, atom)) return false;
  const auto previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replacement)));
  if (!previous) return false;
  SetProperty(window, kC3dNew, reinterpret_cast<HANDLE>(previous));
  return true;
}

bool FlagStaysSet(HWND window, UINT query) {
  std::uint32_t flag = 1;
  SendMessageA(window, query, 0, reinterpret_cast<LPARAM>(&flag));
  return flag != 0;
}

void OfferLookToDialog(HWND dialog) {
  if (DialogGetsLook(theState.winVersion, GetWindowLongA(dialog, GWL_STYLE)) &&
      FlagStaysSet(dialog, kQueryLook))
    Subclass(dialog, DialogProcedure);
}

}  // namespace setup::look3d

namespace setup {

using namespace look3d;

BOOL RegisterLook3d(HINSTANCE instance) {
  Look3dLock lock;
  Look3dState& s = State();
  if (s.registrations++ == 0) Initialise(s, instance);
  if (HookEntry* entry = s.hooks.Find(GetCurrentThreadId())) ++entry->count;
  return s.enabled;
}

BOOL AutoSubclassLook3d(HINSTANCE instance, DWORD flags) {
  Look3dLock lock;
  Look3dState& s = State();
  if (!s.enabled || s.winVersion < kVersion30A) return FALSE;
  const DWORD thread = GetCurrentThreadId();
  if (HookEntry* entry = s.hooks.Find(thread)) {
    ++entry->count;
    return TRUE;
  }
  if (s.hooks.size() == ThreadHookTable::kCapacity) return FALSE;
  HHOOK hook = SetWindowsHookExA(WH_CBT, CreationHook, nullptr, thread);
  if (!hook) return FALSE;
  s.hooks.Add({reinterpret_cast<std::uintptr_t>(instance), thread,
               reinterpret_cast<std::uintptr_t>(hook), 1, AutoSubclassFlags(flags)});
  return TRUE;
}

BOOL UnregisterLook3d(HINSTANCE instance) {
  Look3dLock lock;
  Look3dState& s = State();
  if (auto hook = s.hooks.Release(GetCurrentThreadId(), reinterpret_cast<std::uintptr_t>(instance)))
    UnhookWindowsHookEx(reinterpret_cast<HHOOK>(*hook));
  if (s.registrations > 0 && --s.registrations == 0) Release(s);
  return TRUE;
}

}  // namespace setup
