// The CAPI 2.0 DLL of the sample package: it answers only the version query, with numbers
// chosen so that the about box's formatting of the manufacturer version has work to do.
#include <windows.h>

namespace {

constexpr DWORD kCapiMajor = 2;
constexpr DWORD kCapiMinor = 0;
constexpr DWORD kManufacturerMajor = 2;
// 100 or more: shown as minor / 100 and a two-digit revision, "v2.1 (rev.05)".
constexpr DWORD kManufacturerMinor = 105;

}  // namespace

// The version stamp the file-version display looks for: signature, four bytes it skips, then
// major, minor and revision as little-endian 16-bit numbers. It matches the version above.
// `used` keeps it in the image although no code reads it.
extern "C" [[gnu::used]] const unsigned char kVersionStamp[] = {
    0xE8, 0x52, 0xA7, 0x04, 0x61, 0x78, 0xCA, 0x12,  // signature
    'D',  'L',  'L',  0,                             // not interpreted
    0x02, 0x00, 0x01, 0x00, 0x05, 0x00};             // v2.1, revision 05

extern "C" __declspec(dllexport) DWORD WINAPI
    CAPI_GET_VERSION(DWORD* capiMajor, DWORD* capiMinor, DWORD* manufacturerMajor,
                     DWORD* manufacturerMinor) {
  *capiMajor = kCapiMajor;
  *capiMinor = kCapiMinor;
  *manufacturerMajor = kManufacturerMajor;
  *manufacturerMinor = kManufacturerMinor;
  return 0;
}

// Takes the place of the C runtime's DLL start-up: without the runtime the DLL imports
// nothing, so it loads on every Windows NT whatever its C library.
extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE, DWORD, LPVOID) {
  return TRUE;
}
