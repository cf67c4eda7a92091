#include <windows.h>
// After <windows.h>: CSIDL_PROGRAMS.
#include <shlobj.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "RecordingDdeServer.h"
#include "Scratch.h"
#include "progman/ProgmanClient.h"
#include "support/FakeDialog.h"
#include "support/FakePrompts.h"
#include "support/MemoryRegistry.h"
#include "support/RecordingProgramGroups.h"
#include "support/contracts/ProgramGroupsContract.h"
#include "win32/Win32Expander.h"
#include "win32/Win32Files.h"
#include "win32/Win32ProgramGroups.h"
#include "win32/Win32SystemInfo.h"

namespace setup {
namespace {

// Names no shell offers, so that a stray command never reaches the real one.
constexpr const char* kTestService = "KVXTESTPROGMAN";
constexpr const char* kNobody = "KVXNOBODY";

std::vector<std::string> Texts(const std::vector<std::string>& data) {
  std::vector<std::string> texts;
  for (const std::string& bytes : data) texts.push_back(CommandText(bytes));
  return texts;
}

class DdemlEnv {
 public:
  ProgramGroups& groups() { return groups_; }
  ProgramGroups& nowhere() { return nowhere_; }
  std::vector<std::string> Received(std::size_t count) { return Texts(server_.WaitForData(count)); }

 private:
  RecordingDdeServer server_{kTestService};
  Win32ProgramGroups groups_{kTestService};
  Win32ProgramGroups nowhere_{kNobody};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Ddeml, ProgramGroupsContract, DdemlEnv);

// The client on the real files, system and DDEML; only the shell is given by the test.
class ProgmanClientWin32 : public ::testing::Test {
 protected:
  explicit ProgmanClientWin32(const char* service = kTestService) : programGroups_(service) {
    state_->SourceDir.Assign(BesideThisProgram("medium"));
    ReadLanguageTable(files_, prompts_, state_->Script(), state_->Languages);
  }

  // The client's commands for the current language, as the recording double takes them.
  std::vector<std::string> AsRecorded(const std::string& installDir) {
    RecordingProgramGroups recorder;
    Services services{files_, expander_, system_, registry_, prompts_, host_, recorder};
    CreateProgramGroup(services, *state_, kNoWindow, state_->SourceDir.view(), installDir);
    return recorder.commands;
  }

  Win32Files files_;
  Win32Expander expander_;
  Win32SystemInfo system_;
  MemoryRegistry registry_;
  FakePrompts prompts_;
  FakeDialogHost host_;
  Win32ProgramGroups programGroups_;
  Services services_{files_, expander_, system_, registry_, prompts_, host_, programGroups_};
  std::unique_ptr<ProgramState> state_ = std::make_unique<ProgramState>();
};

// Each command in a conversation of its own, the whole 260-byte buffer with zeros after the
// text, the texts those the double records.
TEST_F(ProgmanClientWin32, SampleGroupReachesTheServerAsTheDoubleRecordsIt) {
  RecordingDdeServer server(kTestService);
  std::vector<std::string> expected;
  for (int language = 0; language < state_->Languages.count; ++language) {
    state_->LanguageIndex = language;
    const std::vector<std::string> commands = AsRecorded("C:\\Velmar");
    EXPECT_EQ(commands.size(), 8u) << "three group commands, four items, the final show";
    expected.insert(expected.end(), commands.begin(), commands.end());
    CreateProgramGroup(services_, *state_, kNoWindow, state_->SourceDir.view(), "C:\\Velmar");
  }
  const std::vector<std::string> data = server.WaitForData(expected.size());
  EXPECT_EQ(Texts(data), expected);
  EXPECT_EQ(server.conversations(), static_cast<int>(expected.size()));
  for (const std::string& bytes : data) {
    EXPECT_EQ(bytes.size(), ProgramGroups::kCommandBytes) << CommandText(bytes);
    EXPECT_EQ(bytes.find_first_not_of('\0', CommandText(bytes).size()), std::string::npos);
  }
  ASSERT_EQ(expected.size(), 16u);
  EXPECT_EQ(
      expected[14],
      "[AddItem(notepad.exe VMTRACE.INI ,Einstellungen f\xFCr Velmar-Trace,C:\\Velmar\\tools\\"
      "trace\\vmtrace.exe,0,245,10,C:\\Velmar\\tools\\trace)]");
  EXPECT_TRUE(prompts_.shown().empty());
}

// The shell of the Wine desktop makes a group a folder under the Start Menu's Programs. It
// refuses items that carry arguments, so the group is made from a block without items.
class ShellGroupWin32 : public ProgmanClientWin32 {
 protected:
  ShellGroupWin32() : ProgmanClientWin32("PROGMAN") {}

  // The desktop, and with it the shell's DDE service, starts with the first window of the
  // session and takes a while to offer the service. Deleting the group first is what the
  // client does anyway.
  bool ShellServing() {
    GetDesktopWindow();
    const ProgramGroups::Started dde = programGroups_.Initialize();
    bool serving = false;
    for (int waited = 0; !serving && waited < 30000; waited += 250, Sleep(250))
      serving =
          programGroups_.Execute(dde.instance, "[DeleteGroup(\"Velmar CAPI 2.0\")]").outcome ==
          ProgramGroups::Outcome::Accepted;
    programGroups_.Release(dde.instance);
    return serving;
  }

  static bool WaitUntil(bool exists, const std::string& folder) {
    for (int waited = 0; waited < 20000; waited += 100, Sleep(100)) {
      const DWORD attributes = GetFileAttributesA(folder.c_str());
      if ((attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) ==
          exists)
        return true;
    }
    return false;
  }

  ScratchFolder scratch_{"shell-group"};
};

TEST_F(ShellGroupWin32, AppearsUnderProgramsAndGoesAwayAgain) {
  ASSERT_TRUE(ShellServing()) << "the shell offers no PROGMAN service";
  char programs[MAX_PATH] = {};
  ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs), S_OK);
  const std::string folder = std::string(programs) + "\\Velmar CAPI 2.0";
  std::ofstream(scratch_.path() + "\\SETUP.KVX", std::ios::binary)
      << "[PROGMAN]\r\nVelmar CAPI 2.0\r\nEnglish\r\n0\r\n";

  CreateProgramGroup(services_, *state_, kNoWindow, scratch_.path(), scratch_.path());
  EXPECT_TRUE(WaitUntil(true, folder)) << folder;
  DeleteProgramGroup(services_, *state_, kNoWindow, scratch_.path());
  EXPECT_TRUE(WaitUntil(false, folder)) << folder;
  EXPECT_TRUE(prompts_.shown().empty());
}

}  // namespace
}  // namespace setup
