// The compressed payload of the medium as the setup program meets it: LZ32 expands every
// file, its version stamp reads as the file-version list shows it, and the CAPI DLL among
// them answers the version query.
#include <gtest/gtest.h>
#include <windows.h>
// After <windows.h>, which it needs.
#include <lzexpand.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "e2e/TheMedium.h"

namespace e2e {
namespace {

struct PayloadFile {
  const char* source;   // below the medium
  const char* target;   // the expanded name
  const char* version;  // as the version list formats the stamp; nullptr: none
};

constexpr PayloadFile kCapiDll = {"capi\\win32\\CAPI2032.DL_", "CAPI2032.DLL", "v2.1 (rev.05)"};

constexpr PayloadFile kPayload[] = {
    {"drivers\\VMDSS1.SY_", "vmdss1.sys", "v2.10 (rev.07)"},
    {"drivers\\VM1TR6.SY_", "vm1tr6.sys", "v2.10 (rev.05)"},
    {"drivers\\VMNI1.SY_", "vmni1.sys", "v2.2 (rev.1b)"},
    kCapiDll,
    {"capi\\dos\\ISDNTSR.EX_", "isdntsr.exe", "v1.5 (rev.00)"},
    {"VMTRACE.EX_", "vmtrace.exe", "v1.1 (rev.02)"},
    {"VMTRACE.TX_", "vmtrace.txt", nullptr},
};

constexpr std::string_view kSignature("\xE8\x52\xA7\x04\x61\x78\xCA\x12", 8);

// Signature, four skipped bytes, then major, minor and revision; empty when there is none.
std::string StampVersion(const std::string& bytes) {
  const std::size_t at = bytes.find(kSignature);
  if (at == std::string::npos || bytes.size() < at + 18) return {};
  auto number = [&](std::size_t offset) {
    return static_cast<unsigned>(static_cast<std::uint8_t>(bytes[at + offset]) |
                                 static_cast<std::uint8_t>(bytes[at + offset + 1]) << 8);
  };
  char text[32];
  std::snprintf(text, sizeof text, "v%x.%x (rev.%02x)", number(12), number(14), number(16));
  return text;
}

class PayloadTest : public ::testing::Test {
 protected:
  PayloadTest()
      : scratch_(std::filesystem::temp_directory_path() /
                 ("velmar-payload-" + std::to_string(GetCurrentProcessId()))) {
    std::filesystem::create_directory(scratch_);
  }
  ~PayloadTest() override {
    std::error_code ignored;
    std::filesystem::remove_all(scratch_, ignored);
  }

  // The expanded file's path, or empty after reporting why there is none.
  std::string Expand(const PayloadFile& file) const {
    const std::string source = TheMedium().directory + "\\" + file.source;
    const std::string target = (scratch_ / file.target).string();
    OFSTRUCT sourceInfo{}, targetInfo{};
    const INT in = LZOpenFileA(const_cast<char*>(source.c_str()), &sourceInfo, OF_READ);
    const INT out = LZOpenFileA(const_cast<char*>(target.c_str()), &targetInfo, OF_CREATE);
    const LONG copied = in >= 0 && out >= 0 ? LZCopy(in, out) : -1;
    if (in >= 0) LZClose(in);
    if (out >= 0) LZClose(out);
    if (copied <= 0) {
      ADD_FAILURE() << source << " does not expand: " << copied;
      return {};
    }
    return target;
  }

  std::filesystem::path scratch_;
};

TEST_F(PayloadTest, EveryFileExpandsAndCarriesItsStamp) {
  for (const PayloadFile& file : kPayload) {
    const std::string path = Expand(file);
    if (path.empty()) continue;
    EXPECT_EQ(StampVersion(ReadFileBytes(path)), file.version ? file.version : "") << file.target;
  }
}

// The program loads the DLL by the name [CURRENTCAPIDLL] gives; Wine's own DLL of that name
// stays out through the prefix's DLL override.
TEST_F(PayloadTest, CapiDllReportsCapi20AndTheManufacturerVersion) {
  const std::string path = Expand(kCapiDll);
  ASSERT_FALSE(path.empty());
  HMODULE dll = LoadLibraryA(path.c_str());
  ASSERT_NE(dll, nullptr) << GetLastError();
  using GetVersion = DWORD(WINAPI*)(DWORD*, DWORD*, DWORD*, DWORD*);
  auto query = reinterpret_cast<GetVersion>(
      reinterpret_cast<void*>(GetProcAddress(dll, "CAPI_GET_VERSION")));
  ASSERT_NE(query, nullptr);
  DWORD version[4] = {};
  EXPECT_EQ(query(&version[0], &version[1], &version[2], &version[3]), 0u);
  EXPECT_EQ(version[0], 2u);
  EXPECT_EQ(version[1], 0u);
  EXPECT_EQ(version[2], 2u);
  EXPECT_EQ(version[3], 105u);
  FreeLibrary(dll);
}

}  // namespace
}  // namespace e2e
