// The Win32 adapters against the contracts their test doubles pass too.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "RecordingDdeServer.h"
#include "Scratch.h"
#include "ScriptedUser.h"
#include "support/AppWorld.h"
#include "support/PortContracts.h"
#include "ui/DialogPrompts.h"
#include "win32/Win32DialogHost.h"
#include "win32/Win32DialogView.h"
#include "win32/Win32Expander.h"
#include "win32/Win32Files.h"
#include "win32/Win32ProgramGroups.h"
#include "win32/Win32Registry.h"
#include "win32/Win32SystemInfo.h"

namespace setup {
namespace {

// The real files around a scratch folder, LZ32 on the SZDD files the build puts beside this
// program, the system and the program's own dialogs, answered by a scripted user.
class Win32Env {
 public:
  Win32Env() { FillCatalogue(catalogue_, "EN"); }

  Files& files() { return files_; }
  const std::string& scratch() const { return scratch_.path(); }
  void SetLastWriteTime(const std::string& path, std::uint64_t time) {
    const HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    const FILETIME fileTime{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &fileTime)) << path;
    CloseHandle(file);
  }

  Expander& expander() { return expander_; }
  std::string fixtures() const { return BesideThisProgram("szdd"); }

  SystemInfo& system() { return system_; }
  // The build puts the sample's DLL beside this program, where the system looks first.
  std::string capiDll() const { return "CAPI2032.DLL"; }
  std::string otherDll() const { return "lz32.dll"; }

  DialogHost& host() { return host_; }
  void Press(const char*, int id) { user_.Press(id); }
  void Close(const char*) { user_.Post(WM_CLOSE); }
  void Click(const char*) { user_.Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }
  void Escape(const char*) { user_.Post(WM_KEYDOWN, VK_ESCAPE, 1); }
  void Wait(const char*) {}
  void Missing(const char* name) { ASSERT_EQ(FindResourceA(nullptr, name, RT_DIALOG), nullptr); }
  void PumpUntil(WindowRef window, const std::function<bool()>& done) {
    for (int i = 0; i < 50 && !done(); ++i) host_.PumpMessages(window);
  }
  bool Visible(WindowRef window) const { return IsWindowVisible(HwndOf(window)); }

  Prompts& prompts() { return prompts_; }
  void WillAnswer(Asked asked, int result) {
    static const std::map<int, int> buttons = {{Prompts::kYes, 111},   {Prompts::kAll, 113},
                                               {Prompts::kNo, 112},    {Prompts::kCancel, 1},
                                               {Prompts::kRetry, 114}, {Prompts::kIgnore, 115}};
    user_.Press(asked == Asked::Message ? 0 : buttons.at(result));
  }
  void WillClose(Asked) { user_.Post(WM_CLOSE); }
  void WillCancelProgress(Confirm confirm) {
    user_.Press(1);
    if (confirm != Confirm::NotAsked) user_.Press(confirm == Confirm::Yes ? IDYES : IDNO);
  }
  bool UserDone() const { return user_.Done(); }
  std::string ShownText() const { return user_.LastText(109); }
  bool OfferedAll() const { return user_.LastHad(113); }

 private:
  ScratchFolder scratch_{"contract"};
  Win32Files files_;
  Win32Expander expander_;
  Win32SystemInfo system_;
  StringCatalogue catalogue_;
  Win32DialogHost host_{GetModuleHandleA(nullptr)};
  DialogPrompts prompts_{host_, catalogue_};
  ScriptedUser user_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FilesContract, Win32Env);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ExpanderContract, Win32Env);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, SystemInfoContract, Win32Env);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, DialogHostContract, Win32Env);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, PromptsContract, Win32Env);

// The DLL belongs to the installed driver: the query must not keep it loaded (or in use).
TEST(Win32SystemInfo, CapiQueryFreesTheDll) {
  ASSERT_EQ(GetModuleHandleA("CAPI2032.DLL"), nullptr);
  ASSERT_TRUE(Win32SystemInfo().CapiDllVersion("CAPI2032.DLL"));
  EXPECT_EQ(GetModuleHandleA("CAPI2032.DLL"), nullptr);
}

class AdvapiEnv {
 public:
  Registry& registry() { return registry_; }
  // Two test programs at once never share a tree.
  std::string scratch() const {
    return "SOFTWARE\\KVXContract" + std::to_string(GetCurrentProcessId());
  }
  std::string ClassOf(const std::string& path) {
    const OpenKey key(registry_, path, Registry::Access::Read);
    char keyClass[64] = {};
    DWORD length = sizeof keyClass;
    const LONG status =
        RegQueryInfoKeyA(reinterpret_cast<HKEY>(key.key()), keyClass, &length, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    return status == ERROR_SUCCESS ? std::string(keyClass, length) : "(no class)";
  }

 private:
  Win32Registry registry_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryContract, AdvapiEnv);

// Names no shell offers, so that a stray command never reaches the real one.
class DdemlEnv {
 public:
  ProgramGroups& groups() { return groups_; }
  ProgramGroups& nowhere() { return nowhere_; }
  // Each command in a conversation of its own, the whole buffer with zeros after the text.
  std::vector<std::string> Received(std::size_t count) {
    int conversations = 0;
    std::vector<std::string> texts;
    for (const std::string& data : server_.WaitForData(count, &conversations)) {
      texts.push_back(CommandText(data));
      EXPECT_EQ(data.size(), ProgramGroups::kCommandBytes) << texts.back();
      EXPECT_EQ(data.find_first_not_of('\0', texts.back().size()), std::string::npos);
    }
    EXPECT_EQ(conversations, static_cast<int>(texts.size()));
    return texts;
  }

 private:
  RecordingDdeServer server_{"KVXTESTPROGMAN"};
  Win32ProgramGroups groups_{"KVXTESTPROGMAN"};
  Win32ProgramGroups nowhere_{"KVXNOBODY"};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Ddeml, ProgramGroupsContract, DdemlEnv);

}  // namespace
}  // namespace setup
