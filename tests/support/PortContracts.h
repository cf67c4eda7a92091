#pragma once

// One suite per port, run natively against the test double and under Wine against the Win32
// adapter, so that the double can never drift from what Windows does. Each suite's comment
// says what its `Env` gives.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Dialog.h"
#include "platform/Expander.h"
#include "platform/Files.h"
#include "platform/ProgramGroups.h"
#include "platform/Prompts.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "script/CaseFold.h"

namespace setup {

template <class Env>
class ContractTest : public ::testing::Test {
 protected:
  Env env_;
};

// The bytes from the file's position to its end, read `piece` bytes at a time.
inline std::string ReadRest(Files& files, Files::Handle file, std::size_t piece) {
  std::string bytes, chunk(piece, '\0');
  for (std::int32_t n; (n = files.Read(file, chunk.data(), static_cast<std::uint32_t>(piece))) > 0;)
    bytes.append(chunk, 0, static_cast<std::size_t>(n));
  return bytes;
}

inline std::string ContentsOf(Files& files, const std::string& path, std::size_t piece) {
  const OpenFile file = OpenForReading(files, path);
  return file.valid() ? ReadRest(files, file.handle(), piece) : "(none)";
}

// Files, as Windows. `Env` gives `Files& files()`, `std::string scratch()`, the absolute
// Windows path of an empty folder it owns, and `SetLastWriteTime(path, fileTime)`.
template <class Env>
class FilesContract : public ContractTest<Env> {
 protected:
  Files& f() { return this->env_.files(); }
  std::string At(std::string_view name) { return this->env_.scratch() + "\\" + std::string(name); }

  void Put(std::string_view name, std::string_view bytes) {
    const OpenFile file(f(), f().Create(At(name)));
    ASSERT_TRUE(file.valid()) << name;
    EXPECT_EQ(f().Write(file.handle(), bytes.data(), static_cast<std::uint32_t>(bytes.size())),
              static_cast<std::int32_t>(bytes.size()));
  }
  // In small pieces, so that reads end within and across them.
  std::string Contents(std::string_view name) { return ContentsOf(f(), At(name), 3); }
  // The bits callers look at; Windows adds the archive bit of its own accord.
  std::optional<std::uint32_t> Watched(std::string_view name) {
    const auto attributes = f().Attributes(At(name));
    if (!attributes) return std::nullopt;
    return *attributes & (Files::kReadOnly | Files::kDirectory);
  }
};

TYPED_TEST_SUITE_P(FilesContract);

// Binary bytes come back unchanged, names match without regard to case, and an edit in place
// reads, seeks (the line reader reads ahead and seeks back) and writes over and at the end.
TYPED_TEST_P(FilesContract, BytesNamesAndPositionsBehaveAsOnWindows) {
  Files& f = this->f();
  EXPECT_EQ(f.Create(this->At("nofolder\\file.txt")), Files::kInvalid);
  const std::string bytes("A\r\nB\nC\0\xAF\xFF", 9);
  this->Put("Data.Bin", bytes);
  EXPECT_EQ(this->Contents("DATA.BIN"), bytes);
  this->Put("data.bin", "0123\r");  // the same file, truncated
  {
    const OpenFile file(f, f.OpenReadWrite(this->At("DATA.bin")));
    ASSERT_TRUE(file.valid());
    const Files::Handle h = file.handle();
    char chunk[8];
    EXPECT_EQ(f.Read(h, chunk, 2), 2);
    EXPECT_EQ(f.Seek(h, 0, Files::Origin::End), 5);
    EXPECT_EQ(f.Write(h, "\n45", 3), 3);
    EXPECT_EQ(f.Seek(h, 1, Files::Origin::Begin), 1);
    EXPECT_EQ(f.Write(h, "x", 1), 1);
    EXPECT_EQ(f.Seek(h, 1, Files::Origin::Current), 3);
    EXPECT_EQ(ReadRest(f, h, 3), "3\r\n45");
  }
  EXPECT_EQ(this->Contents("data.bin"), "0x23\r\n45");
  EXPECT_TRUE(f.Delete(this->At("dAtA.bIn")));
  EXPECT_FALSE(f.Delete(this->At("Data.Bin")));
  EXPECT_EQ(f.OpenReadWrite(this->At("Data.Bin")), Files::kInvalid);
}

// Files copied from a CD arrive read-only, and a copy keeps that and the date: the program
// has to clear the bit before it may change them, and must not find that a double let it
// through. A replace moves the source. A temporary file is new and empty, named apart from
// the others in its directory, which may end in a backslash or not.
TYPED_TEST_P(FilesContract, ReadOnlyFileRefusesEveryChangeUntilMadeNormal) {
  Files& f = this->f();
  const std::string source = this->At("new.dll"), target = this->At("old.dll");
  const std::function<bool()> changes[] = {
      [&] { return f.Delete(target); },
      [&] { return f.Copy(source, target); },
      [&] { return f.Replace(source, target); },
      [&] { return OpenFile(f, f.OpenReadWrite(target)).valid(); },
  };
  for (const auto& change : changes) {
    this->Put("new.dll", "new");
    this->Put("old.dll", "old");
    ASSERT_TRUE(f.SetAttributes(target, Files::kReadOnly));
    EXPECT_EQ(this->Watched("old.dll"), Files::kReadOnly);
    EXPECT_FALSE(change());
    EXPECT_EQ(this->Contents("old.dll"), "old");
    ASSERT_TRUE(f.SetAttributes(target, Files::kNormal));
    EXPECT_EQ(this->Watched("old.dll"), 0u);
    EXPECT_TRUE(change());
  }
  constexpr std::uint64_t k1997 = 125016912000000000;  // 1 March 1997, 12:00 UTC
  this->Put("cd.dll", "cd");
  this->env_.SetLastWriteTime(this->At("cd.dll"), k1997);
  ASSERT_TRUE(f.SetAttributes(this->At("cd.dll"), Files::kReadOnly));
  EXPECT_TRUE(f.Copy(this->At("cd.dll"), this->At("copy.dll")));
  EXPECT_EQ(this->Watched("copy.dll"), Files::kReadOnly);
  EXPECT_EQ(f.LastWriteTime(this->At("copy.dll")), k1997);
  EXPECT_TRUE(f.Replace(this->At("copy.dll"), this->At("moved.dll")));
  EXPECT_EQ(this->Contents("copy.dll") + this->Contents("moved.dll"), "(none)cd");

  const std::string scratch = this->env_.scratch();
  const auto first = f.CreateTemporaryFile(scratch), second = f.CreateTemporaryFile(scratch + "\\");
  ASSERT_TRUE(first && second);
  EXPECT_NE(*first, *second);
  for (const std::string& made : {*first, *second}) {
    EXPECT_EQ(made.rfind('\\'), scratch.size()) << made;
    EXPECT_EQ(this->Contents(made.substr(scratch.size() + 1)), "");
  }
  EXPECT_EQ(f.CreateTemporaryFile(this->At("missing")), std::nullopt);
}

// Directories are made and removed one level at a time; only a directory becomes current,
// and the version list returns to where it was; the change-directory dialog lists
// subdirectories and drives.
TYPED_TEST_P(FilesContract, DirectoriesGoOneStepAtATime) {
  Files& f = this->f();
  this->Put("file.txt", "");
  EXPECT_FALSE(f.MakeDirectory(this->At("missing\\sub")));
  EXPECT_FALSE(f.MakeDirectory(this->At("file.txt")));
  ASSERT_TRUE(f.MakeDirectory(this->At("full")));
  EXPECT_FALSE(f.MakeDirectory(this->At("full")));
  this->Put("full\\in.txt", "in");
  EXPECT_FALSE(f.DeleteDirectory(this->At("full")));
  ASSERT_TRUE(f.MakeDirectory(this->At("empty")));
  EXPECT_TRUE(f.DeleteDirectory(this->At("empty")));
  EXPECT_EQ(this->Watched("empty"), std::nullopt);
  EXPECT_EQ(this->Watched("full"), Files::kDirectory);

  const std::string current = f.CurrentDirectory(), scratch = this->env_.scratch();
  EXPECT_TRUE(f.ChangeDirectory(scratch + "\\"));
  EXPECT_EQ(f.CurrentDirectory(), scratch);
  EXPECT_FALSE(f.ChangeDirectory(this->At("file.txt")));
  EXPECT_TRUE(f.ChangeDirectory(current));
  EXPECT_EQ(f.CurrentDirectory(), current);

  EXPECT_EQ(f.Subdirectories(this->At("")), std::vector<std::string>{"full"});
  EXPECT_NE(f.DriveLetters().find(static_cast<char>(std::toupper(scratch[0]))), std::string::npos);
}

REGISTER_TYPED_TEST_SUITE_P(FilesContract, BytesNamesAndPositionsBehaveAsOnWindows,
                            ReadOnlyFileRefusesEveryChangeUntilMadeNormal,
                            DirectoriesGoOneStepAtATime);

// Expander, as LZ32 on the files tests/support/szdd makes. `Env` gives `Expander&
// expander()`, `Files& files()` on the same file system, `std::string fixtures()`, the
// Windows path of the folder holding those files, and `std::string scratch()`, the Windows
// path of an empty folder it owns.
template <class Env>
class ExpanderContract : public ContractTest<Env> {};

TYPED_TEST_SUITE_P(ExpanderContract);

TYPED_TEST_P(ExpanderContract, ExpandsEachFileToItsOriginalOrTellsWhatWentWrong) {
  using Result = Expander::Result;
  Files& files = this->env_.files();
  const std::string fixtures = this->env_.fixtures() + "\\", scratch = this->env_.scratch() + "\\";
  // Longer than the 128 characters an OFSTRUCT holds.
  const std::string longName = std::string(130, 'v');
  ASSERT_TRUE(files.Copy(fixtures + "repeat.txt_", scratch + longName + "_"));
  const struct {
    std::string source;
    const char* original;  // null: nothing to compare
    Result result = Result::Done;
    const char* target = "out.bin";
  } cases[] = {
      {fixtures + "empty.bin_", "empty.bin"},  // the compressor pads even an empty file
      {fixtures + "one.bin_", "one.bin"},      // coded by hand: the compressor garbles it
      {fixtures + "large.bin_", "large.bin"},  // 1 MiB: the window wraps, far matches
      {fixtures + "plain.txt", "plain.txt"},   // not compressed: copied unchanged
      {scratch + longName + "_", "repeat.txt", Result::Done, longName.c_str()},
      {fixtures + "missing.bin_", nullptr, Result::SourceUnreadable},
      {fixtures + "repeat.txt_", nullptr, Result::TargetUncreatable, "missing\\out.bin"},
      {fixtures + "truncated.bin_", nullptr, Result::Failed},
      {fixtures + "method-b.bin_", nullptr, Result::Failed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    const std::string target = scratch + c.target;
    EXPECT_EQ(this->env_.expander().Expand(c.source, target), c.result);
    if (!c.original) continue;
    // Not EXPECT_EQ: 1 MiB would drown the log.
    EXPECT_TRUE(ContentsOf(files, target, 65536) ==
                ContentsOf(files, fixtures + c.original, 65536));
    // The source's date goes with it, so that installing again asks about no newer file.
    EXPECT_TRUE(files.LastWriteTime(target) == files.LastWriteTime(c.source));
  }
}

REGISTER_TYPED_TEST_SUITE_P(ExpanderContract, ExpandsEachFileToItsOriginalOrTellsWhatWentWrong);

// Registry, as Windows NT. `Env` gives `Registry& registry()`, `std::string scratch()`, the
// path of a key below SOFTWARE that does not exist yet and that the test may build a tree
// under, and `std::string ClassOf(path)`, the class string of a key.
template <class Env>
class RegistryContract : public ContractTest<Env> {
 protected:
  // The scratch tree goes even when a test fails halfway.
  void TearDown() override { RemoveTree(this->env_.scratch()); }

  Registry& registry() { return this->env_.registry(); }
  std::string At(std::string name) { return name.insert(0, this->env_.scratch() + "\\"); }
  std::int32_t Probe(const std::string& path, Registry::Access access) {
    Registry::Key key = 0;
    const std::int32_t status = registry().OpenKey(path, access, key);
    if (status == Registry::kSuccess) registry().CloseKey(key);
    return status;
  }
  std::set<std::string> Subkeys(const std::string& path) {
    std::set<std::string> names;
    const OpenKey key(registry(), path, Registry::Access::Read);
    std::uint32_t count = 0;
    EXPECT_EQ(registry().CountSubkeys(key.key(), count), Registry::kSuccess) << path;
    std::string name;
    for (std::uint32_t i = 0; registry().EnumSubkey(key.key(), i, name) == Registry::kSuccess; ++i)
      names.insert(name);
    EXPECT_EQ(names.size(), count) << path;
    return names;
  }

 private:
  void RemoveTree(const std::string& path) {
    if (Probe(path, Registry::Access::Read) != Registry::kSuccess) return;
    for (const std::string& name : Subkeys(path)) RemoveTree(path + "\\" + name);
    EXPECT_EQ(registry().DeleteKey(path), Registry::kSuccess) << path;
  }
};

TYPED_TEST_SUITE_P(RegistryContract);

// The service key is made with its class in one go, parents and all, and made again by a
// second install; names ignore case and a leaf is found only below its own parent. Only a
// key opened with all access changes; a key is deleted only without subkeys.
TYPED_TEST_P(RegistryContract, KeysAreMadeFoundAndDeletedOneLevelAtATime) {
  Registry& registry = this->registry();
  for (int round = 0; round < 2; ++round) {
    const CreatedKey key(registry, this->At("CAPI\\Velmar"), "CAPI20");
    EXPECT_TRUE(key.ok()) << key.status();
  }
  EXPECT_TRUE(CreatedKey(registry, this->At("capi\\1")).ok());
  EXPECT_EQ(this->env_.ClassOf(this->At("CAPI\\Velmar")), "CAPI20");
  EXPECT_EQ(this->Subkeys(this->At("CAPI")), (std::set<std::string>{"Velmar", "1"}));
  for (const char* path : {"capi\\VELMAR", "Velmar", "CAPI\\Velmar "})
    EXPECT_EQ(this->Probe(this->At(path), Registry::Access::Read),
              path[0] == 'c' ? Registry::kSuccess : Registry::kNotFound)
        << path;

  const std::uint32_t number = 1;
  for (auto access : {Registry::Access::Read, Registry::Access::All}) {
    const OpenKey key(registry, this->At("CAPI\\1"), access);
    const std::int32_t expected =
        access == Registry::Access::All ? Registry::kSuccess : Registry::kAccessDenied;
    EXPECT_EQ(registry.SetValue(key.key(), "Test", Registry::kDword, &number, 4), expected);
    EXPECT_EQ(registry.DeleteValue(key.key(), "TEST"), expected);
  }
  EXPECT_EQ(registry.DeleteKey(this->At("CAPI")), Registry::kAccessDenied);
  EXPECT_EQ(registry.DeleteKey(this->At("CAPI\\1")), Registry::kSuccess);
  EXPECT_EQ(registry.DeleteKey(this->At("CAPI\\1")), Registry::kNotFound);
  EXPECT_EQ(this->Subkeys(this->At("CAPI")), std::set<std::string>{"Velmar"});
}

// Each kind of value the setup stores comes back with its type and exact size; a buffer one
// byte short is refused with the size it needs, and nothing is written past it.
TYPED_TEST_P(RegistryContract, ValuesComeBackWithTypeAndSizeAndNeverOverrun) {
  const std::pair<std::uint32_t, std::string> cases[] = {
      {Registry::kDword, std::string("\xF1\0\0\0", 4)},
      {Registry::kMultiSz, std::string("Base\0NDIS\0\0", 11)},
  };
  Registry& registry = this->registry();
  const CreatedKey key(registry, this->At("Values"));
  for (const auto& [storedType, bytes] : cases) {
    const std::uint32_t stored = static_cast<std::uint32_t>(bytes.size());
    ASSERT_EQ(registry.SetValue(key.key(), "Value", storedType, bytes.data(), stored),
              Registry::kSuccess);
    for (std::uint32_t capacity : {stored, stored - 1}) {
      std::string buffer(stored + 4, '#');
      std::uint32_t type = 0, size = capacity;
      EXPECT_EQ(registry.QueryValue(key.key(), "VALUE", type, buffer.data(), size),
                capacity == stored ? Registry::kSuccess : Registry::kMoreData);
      EXPECT_EQ(type, storedType);
      EXPECT_EQ(size, stored);
      EXPECT_EQ(buffer.substr(capacity == stored ? 0 : capacity),
                (capacity == stored ? bytes : "") + std::string(stored + 4 - capacity, '#'));
    }
  }
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(registry.QueryValue(key.key(), "Missing", type, nullptr, size), Registry::kNotFound);
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContract, KeysAreMadeFoundAndDeletedOneLevelAtATime,
                            ValuesComeBackWithTypeAndSizeAndNeverOverrun);

// SystemInfo, as Windows NT. `Env` gives `SystemInfo& system()`, `Files& files()`, the file
// system it describes, `capiDll()`, the name of the sample package's CAPI DLL (CAPI 2.0,
// manufacturer version 2.105) where the system finds it, and `otherDll()`, a DLL that loads
// but has no CAPI_GET_VERSION.
template <class Env>
class SystemInfoContract : public ContractTest<Env> {};

TYPED_TEST_SUITE_P(SystemInfoContract);

// The rights check creates its probe file in the system directory.
TYPED_TEST_P(SystemInfoContract, NtWithItsDirectoriesProgramAndCapiDll) {
  SystemInfo& system = this->env_.system();
  Files& files = this->env_.files();
  EXPECT_EQ(system.PlatformId(), 2u);
  const std::string windows = system.WindowsDirectory(), program = system.ModulePath();
  EXPECT_TRUE(IsDirectory(files, windows)) << windows;
  const std::string probe = system.SystemDirectory() + "\\KVXContract.$$$";
  EXPECT_TRUE(OpenFile(files, files.Create(probe)).valid()) << probe;
  EXPECT_TRUE(files.Delete(probe));
  EXPECT_TRUE(OpenForReading(files, program).valid()) << program;

  EXPECT_EQ(system.CapiDllVersion(this->env_.capiDll()), (CapiVersion{2, 0, 2, 105}));
  EXPECT_FALSE(system.CapiDllVersion("NOCAPI32.DLL"));
  EXPECT_FALSE(system.CapiDllVersion(this->env_.otherDll()));
}

REGISTER_TYPED_TEST_SUITE_P(SystemInfoContract, NtWithItsDirectoriesProgramAndCapiDll);

// ProgramGroups, as DDEML. `Env` gives `ProgramGroups& groups()`, which reaches a service
// that accepts every command, `std::vector<std::string> Received(n)`, the commands that
// service took once n have arrived (or it gave up waiting), and `ProgramGroups& nowhere()`,
// which names a service nobody offers.
template <class Env>
class ProgramGroupsContract : public ContractTest<Env> {};

TYPED_TEST_SUITE_P(ProgramGroupsContract);

// An instance is released once; Windows ANSI bytes pass unchanged; a command that
// would not fit the buffer never leaves; a name nobody serves means no conversation.
TYPED_TEST_P(ProgramGroupsContract, EachCommandArrivesWholeAndInOrder) {
  using Outcome = ProgramGroups::Outcome;
  ProgramGroups& groups = this->env_.groups();
  const ProgramGroups::Started dde = groups.Initialize();
  ASSERT_EQ(dde.error, ProgramGroups::kNoError);

  const std::string longest = "[ShowGroup(\"" + std::string(259 - 17, 'g') + "\",1)]";
  EXPECT_EQ(groups.Execute(dde.instance, longest + "x").outcome, Outcome::Refused);
  const std::vector<std::string> commands = {
      "[AddItem(notepad.exe VMTRACE.INI,Einstellungen f\xFCr Velmar-Trace,C:\\Velmar\\tools\\"
      "trace\\vmtrace.exe,0,245,10,C:\\Velmar\\tools\\trace)]",
      longest};
  for (const std::string& command : commands)
    EXPECT_EQ(groups.Execute(dde.instance, command).outcome, Outcome::Accepted) << command;
  EXPECT_EQ(this->env_.Received(commands.size()), commands);
  EXPECT_TRUE(groups.Release(dde.instance));
  EXPECT_FALSE(groups.Release(dde.instance));

  ProgramGroups& nowhere = this->env_.nowhere();
  const ProgramGroups::Started none = nowhere.Initialize();
  const ProgramGroups::Sent sent = nowhere.Execute(none.instance, "[ShowGroup(\"Velmar\",1)]");
  EXPECT_EQ(sent.outcome, Outcome::NotConnected);
  EXPECT_EQ(sent.error, ProgramGroups::kNoConversation);
  EXPECT_TRUE(nowhere.Release(none.instance));
}

REGISTER_TYPED_TEST_SUITE_P(ProgramGroupsContract, EachCommandArrivesWholeAndInOrder);

// Prompts, as the program's dialogs on Windows. `Env` gives `Prompts& prompts()` and a user
// who acts on the next dialog: `WillAnswer(Asked, result)` presses the button that stands for
// `result`, `WillClose(Asked)` closes it from its system menu, `WillCancelProgress(Confirm)`
// presses the progress window's cancel button and answers the confirmation, if one is asked;
// `UserDone()` tells whether everything scripted has happened, `ShownText()` and
// `OfferedAll()` what the last dialog acted on showed.
enum class Asked { Message, Question, QuestionWithAll, AbortRetryIgnore };
enum class Confirm { NotAsked, Yes, No };

template <class Env>
class PromptsContract : public ContractTest<Env> {};

TYPED_TEST_SUITE_P(PromptsContract);

// Only flag 1 offers All.
TYPED_TEST_P(PromptsContract, EachDialogAnswersWithTheButtonPressedOrIsClosed) {
  const struct {
    Asked asked;
    int withAll;
    std::vector<int> answers;
    int closed;
  } cases[] = {
      {Asked::Message, 0, {0}, -1},
      {Asked::Question, 2, {Prompts::kYes, Prompts::kNo}, Prompts::kCancel},
      {Asked::QuestionWithAll, 1, {Prompts::kAll, Prompts::kCancel}, Prompts::kCancel},
      {Asked::AbortRetryIgnore, 0, {Prompts::kRetry, Prompts::kIgnore}, Prompts::kAbort},
  };
  Prompts& prompts = this->env_.prompts();
  const char* text = "The file\nC:\\VELMAR\\VELMAR.SYS\nis newer. Replace it?";
  for (const auto& c : cases) {
    const auto ask = [&] {
      return c.asked == Asked::Message            ? prompts.ShowMessage(kNoWindow, text)
             : c.asked == Asked::AbortRetryIgnore ? prompts.AskAbortRetryIgnore(kNoWindow, text)
                                                  : prompts.AskQuestion(kNoWindow, c.withAll, text);
    };
    for (int answer : c.answers) {
      this->env_.WillAnswer(c.asked, answer);
      EXPECT_EQ(ask(), answer) << c.withAll;
      EXPECT_EQ(this->env_.ShownText(), text);
      if (c.asked != Asked::Message) {
        EXPECT_EQ(this->env_.OfferedAll(), c.asked == Asked::QuestionWithAll) << c.withAll;
      }
    }
    this->env_.WillClose(c.asked);
    EXPECT_EQ(ask(), c.closed) << c.withAll;
  }
}

// A cancelled window is gone already; closed either way, later calls on it do nothing.
TYPED_TEST_P(PromptsContract, CancelStopsUnlessTheConfirmationIsAnsweredNo) {
  Prompts& prompts = this->env_.prompts();
  for (Confirm confirm : {Confirm::NotAsked, Confirm::No, Confirm::Yes}) {
    SCOPED_TRACE(static_cast<int>(confirm));
    const WindowRef window =
        prompts.OpenProgressWindow(kNoWindow, true, confirm != Confirm::NotAsked);
    ASSERT_NE(window, kNoWindow);
    prompts.SetProgressText(window, "Copying SETUP.EXE");
    this->env_.WillCancelProgress(confirm);
    for (int round = 0; round < 100 && !this->env_.UserDone(); ++round)
      prompts.PumpMessages(window);
    ASSERT_TRUE(this->env_.UserDone());
    prompts.PumpMessages(window);
    EXPECT_EQ(prompts.ProgressCancelled(), confirm != Confirm::No);
    prompts.CloseProgressWindow(window);
    prompts.CloseProgressWindow(window);
    prompts.SetProgressText(window, "Deleting SETUP.EXE");
  }
}

REGISTER_TYPED_TEST_SUITE_P(PromptsContract, EachDialogAnswersWithTheButtonPressedOrIsClosed,
                            CancelStopsUnlessTheConfirmationIsAnsweredNo);

// Ends with a value that tells which event ended it.
class ProbeDialog : public Dialog {
 public:
  static constexpr int kCommand = 1000, kTimer = 2000, kClose = 3000, kClickOrKey = 4000;

  std::function<void(DialogView&)> init;
  WindowRef window = kNoWindow;
  int destroyed = 0;
  std::vector<int> editsChanged;

  void OnInit(DialogView& view) override {
    window = view.Window();
    if (init) init(view);
  }
  // Only clicks end it: a combo box also reports focus changes as commands.
  void OnCommand(DialogView& view, int id, int notification) override {
    if (notification == 0) view.End(kCommand + id);
    if (notification == 0x300) editsChanged.push_back(id);
  }
  void OnTimer(DialogView& view, int timer) override {
    view.StopTimer(timer);
    view.End(kTimer + timer);
  }
  void OnClose(DialogView& view) override { view.End(kClose); }
  void OnClickOrKey(DialogView& view) override { view.End(kClickOrKey); }
  void OnDestroy(DialogView&) override { ++destroyed; }
};

// DialogHost and its views, as the Win32 dialog manager. `Env` gives `DialogHost& host()`;
// lets a user act on the next dialog shown from a template once it is up: `Press(name, id)`,
// `Close(name)` (system menu), `Click(name)`, `Escape(name)` (the key pressed in the window
// itself), `Wait(name)` (only time passes); makes sure a template does not exist
// (`Missing(name)`); serves a modeless window with `PumpUntil(window, condition)`;
// `Visible(window)` tells whether a window is shown; `files()` is the file system the host's
// views see and `scratch()` the absolute path of a directory in it. Template "DLG_yesno" has
// static 109 and buttons 111, 112 and 1, "DLG_test_combo" the drop-down list 9, "DLG_info"
// static 603, "DLG_fileversion" the list box 173 and static 104, "DLG_partynumber" the edits
// 86 and 88, "DLG_cfg_advanced_mntsw" the drop-down list 48 and the check boxes 61 and 67.
template <class Env>
class DialogHostContract : public ContractTest<Env> {
 protected:
  // Runs template `name` with `init` as its opening; its result.
  int Run(const char* name, std::function<void(DialogView&)> init) {
    probe_.init = std::move(init);
    return this->env_.host().RunModal(name, kNoWindow, probe_);
  }

  ProbeDialog probe_;
};

TYPED_TEST_SUITE_P(DialogHostContract);

// Buttons are commands; the system menu's Close is not; clicks and keys in the window itself,
// Escape too, reach it as such (the intro closes on them); only running timers elapse. A
// modeless window lives until destroyed or ended.
TYPED_TEST_P(DialogHostContract, EachWayOfEndingGivesItsResultAndDestroysOnce) {
  TypeParam& env = this->env_;
  const std::pair<void (TypeParam::*)(const char*), int> cases[] = {
      {&TypeParam::Close, ProbeDialog::kClose},
      {&TypeParam::Click, ProbeDialog::kClickOrKey},
      {&TypeParam::Escape, ProbeDialog::kClickOrKey},
      {&TypeParam::Wait, ProbeDialog::kTimer + 7},
  };
  const auto timers = [](DialogView& v) {
    v.StartTimer(3, 10);
    v.StartTimer(7, 40);
    v.StopTimer(3);
  };
  for (const auto& [act, result] : cases) {
    this->probe_ = ProbeDialog();
    (env.*act)("DLG_yesno");
    const bool wait = act == &TypeParam::Wait;
    EXPECT_EQ(this->Run("DLG_yesno", wait ? std::function<void(DialogView&)>(timers) : nullptr),
              result);
    EXPECT_EQ(this->probe_.destroyed, 1) << result;
  }
  env.Press("DLG_yesno", 112);
  EXPECT_EQ(this->Run("DLG_yesno", nullptr), ProbeDialog::kCommand + 112);
  EXPECT_EQ(this->Run("DLG_yesno", [](DialogView& v) { v.End(-3); }), -3);
  env.Missing("DLG_nonexistent");
  EXPECT_EQ(this->Run("DLG_nonexistent", nullptr), -1);
  EXPECT_EQ(env.host().CreateModeless("DLG_nonexistent", kNoWindow, this->probe_), kNoWindow);

  ProbeDialog ending;
  ending.init = [](DialogView& view) { view.StartTimer(5, 20); };
  const WindowRef second = env.host().CreateModeless("DLG_info", kNoWindow, ending);
  ASSERT_EQ(ending.window, second);
  env.PumpUntil(second, [&ending] { return ending.destroyed > 0; });
  EXPECT_EQ(ending.destroyed, 1);
}

// The language box relies on an unsorted list whose indexes are the language table's; the
// version list keeps lines in order, and a directory is resolved through the system's
// directory listing, which makes it current.
TYPED_TEST_P(DialogHostContract, ListsKeepTheirOrderAndDirectoryListingMakesItCurrent) {
  Files& files = this->env_.files();
  const std::string directory = this->env_.scratch(), previous = files.CurrentDirectory();
  std::vector<std::string> seen;
  std::vector<int> numbers;
  this->Run("DLG_test_combo", [&](DialogView& view) {
    for (const char* name : {"Deutsch", "English", "Arabic"}) view.ComboAdd(9, name);
    seen.push_back(view.ComboItemText(9, 0) + view.ComboItemText(9, 2));
    view.ComboSelect(9, 1);
    numbers = {view.ComboCount(9), view.ComboSelection(9)};
    view.ComboClear(9);
    numbers.push_back(view.ComboCount(9));
    view.End(0);
  });
  this->Run("DLG_fileversion", [&](DialogView& view) {
    for (const char* line : {"z.sys\tv2.1", "a.sys\tunknown"}) view.ListAdd(173, line);
    seen.push_back(view.ListItemText(173, 0) + view.ListItemText(173, 1));
    numbers.push_back(view.ListSelection(173));
    EXPECT_TRUE(view.ListDirectory(104, directory));
    seen.push_back(view.Text(104));
    seen.push_back(files.CurrentDirectory());
    EXPECT_FALSE(view.ListDirectory(104, directory + "\\MISSING"));
    files.ChangeDirectory(previous);
    view.End(0);
  });
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0], "DeutschArabic");
  EXPECT_EQ(seen[1], "z.sys\tv2.1a.sys\tunknown");
  for (const std::string& shown : {seen[2], seen[3]})
    EXPECT_TRUE(EqualIgnoringCase(shown, directory)) << shown;
  EXPECT_EQ(numbers, (std::vector<int>{3, 1, 0, -1}));
}

// The configuration pages tell the user's edits from their own by the modified state; a
// control they destroyed, or one the template lacks, must read back as nothing at all.
// Centring shows a window, unless the dialog hid it to fill it first.
TYPED_TEST_P(DialogHostContract, ControlsAnswerAsTheDialogManagerHasThem) {
  std::vector<std::string> seen;
  std::vector<bool> states;
  this->Run("DLG_partynumber", [&](DialogView& v) {
    v.SetText(86, "123");
    v.Enable(88, false);
    states = {v.IsModified(86), v.IsEnabled(86), v.IsEnabled(88), v.IsEnabled(4711)};
    v.DestroyControl(86);
    states.push_back(v.IsEnabled(86));
    for (bool hide : {false, true}) {
      if (hide) v.ShowWindow(false);
      v.Centre();
      states.push_back(this->env_.Visible(v.Window()));
    }
    seen.push_back(v.Text(86));
    v.End(0);
  });
  // A page lives on a frame, and goes with it.
  ProbeDialog frame, page;
  page.init = [&](DialogView& v) {
    v.SetCheck(67, true);
    v.ComboAdd(48, "00");
    v.ComboSelect(48, 0);
    states.insert(states.end(), {v.IsChecked(67), v.IsChecked(61)});
    v.DestroyControl(67);
    v.DestroyControl(48);
    states.push_back(v.IsChecked(67));
    seen.push_back(std::to_string(v.ComboSelection(48)));
  };
  DialogHost& host = this->env_.host();
  const WindowRef parent = host.CreateModeless("DLG_info", kNoWindow, frame);
  host.CreateModeless("DLG_cfg_advanced_mntsw", parent, page);
  host.DestroyModeless(parent);
  EXPECT_EQ(page.destroyed, 1);
  this->Run("DLG_fileversion", [&](DialogView& v) {
    for (const char* line : {"a", "c"}) v.ListAdd(173, line);
    v.ListInsert(173, 1, "b");
    v.ListDelete(173, 0);
    v.ListSelect(173, 1);
    seen.push_back(v.ListItemText(173, 0) + v.ListItemText(173, 1) +
                   std::to_string(v.ListSelection(173)));
    v.End(0);
  });
  EXPECT_EQ(this->probe_.editsChanged, std::vector<int>{86});
  EXPECT_EQ(states,
            (std::vector<bool>{false, true, false, false, false, true, false, true, false, false}));
  EXPECT_EQ(seen, (std::vector<std::string>{"", "-1", "bc1"}));
}

REGISTER_TYPED_TEST_SUITE_P(DialogHostContract, EachWayOfEndingGivesItsResultAndDestroysOnce,
                            ListsKeepTheirOrderAndDirectoryListingMakesItCurrent,
                            ControlsAnswerAsTheDialogManagerHasThem);

}  // namespace setup
