// The sample package installed, and deinstalled again, with the k-th change of the file
// system, the registry or the shell refused, for every k an undisturbed run reaches; the run is
// then repeated without the fault.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "app/Startup.h"
#include "config/AdapterPage.h"
#include "config/AdvancedPages.h"
#include "config/ConfigDialog.h"
#include "config/ControllerListDialog.h"
#include "script/FileLists.h"
#include "support/RegistryWorld.h"
#include "sysconfig/RegistryAccess.h"

namespace setup {
namespace {

const std::string kInstalled = "C:\\Velmar", kAutoexec = "C:\\WINNT\\system32\\AutoExec.NT";
const std::string kOtherLines = "REM another maker's\r\nlh other.exe\r\n";
const std::string kOtherKey = "SOFTWARE\\CAPI20\\1", kGroups("Base\0NDIS\0TDI\0\0", 15);

// What a run leaves that the sweep compares, a line each, so that a mismatch shows as a diff.
using EndState = std::string;

// What a deinstall may leave by design: the running program's own file, in use on Windows,
// and its script and language files, all taken quietly, and a directory that could not be
// removed.
bool MayStay(const std::string& path) {
  return path.back() == '\\' || path.starts_with("C:\\velmar\\setup");
}

// The sample medium in drive A, with made-up payload files, on a machine where another
// maker's driver is registered and has its own AutoExec.NT lines and service groups.
struct SampleMachine : RegistryWorld {
  SampleMachine() {
    PutSampleMedium();
    files.PutFile("A:\\SETUP.EXE", "MZ");
    state->SourceDir.Assign("A:\\");
    const auto comp = std::make_unique<CompFileList>();
    const auto add = std::make_unique<AddFileList>();
    ReadCompFiles(files, prompts, state->Script(), *comp);
    ReadAddFiles(files, prompts, state->Script(), *add);
    for (int i = 0; i < comp->count; ++i)
      PutPayload({comp->sourceSubdirs[i].view(), comp->sourceNames[i].view()},
                 Szdd(comp->targetNames[i].view()));
    for (int i = 0; i < add->count; ++i)
      PutPayload({add->sourceSubdirs[i].view(), add->fileNames[i].view()}, "added");
    files.PutFile(kAutoexec, kOtherLines);
    registry.PutValue(std::string(kServiceGroupOrderKeyPath), "List", Registry::kMultiSz, kGroups);
    registry.PutValue(kOtherKey, "Manufacturer", Registry::kSz, std::string("Other\0", 6));
    registry.AddKey(kOtherKey + "\\1");
  }
  void PutPayload(std::initializer_list<std::string_view> parts, const std::string& bytes) {
    const std::string path = JoinPathParts({"A:\\", *parts.begin(), *(parts.begin() + 1)});
    if (!files.FileBytes(path)) files.PutFile(path, bytes);
  }

  // SETUP.EXE started by the user: from the medium it installs (and the configuration dialog
  // it opens is left open), from the installed copy with /d it deinstalls. Abort/Retry/Ignore
  // gets `answer`, any other question `otherwise`. The messages it showed.
  std::vector<std::string> Run(bool deinstall, int answer, int otherwise = Prompts::kCancel) {
    state = std::make_unique<ProgramState>();
    prompts = FakePrompts();
    prompts.AnswerEveryQuestion(answer, otherwise);
    files.ChangeDirectory(deinstall ? kInstalled : "A:\\");
    system.modulePath = (deinstall ? kInstalled + "\\" : "A:\\") + "SETUP.EXE";
    SkipIntro();
    host.AnswerBox(BoxAnswer::Yes);
    for (const char* name : {"DLG_install", "DLG_deinstall", "DLG_main"})
      host.OnShow(name, [](FakeDialogView& view, Dialog& dialog) {
        const bool main = view.templateName() == "DLG_main";
        dialog.OnCommand(view, main ? 3 : 0, 0);
        if (main) dialog.OnCommand(view, 8, 0);
      });
    RunSetup(services, *state, deinstall ? "/d" : "");
    return prompts.Texts(FakePrompts::Kind::Message);
  }
  // Only the package's files, without the system's AutoExec.NT, when `packageFiles`; without
  // what a deinstall may leave when `removed`.
  EndState End(bool packageFiles = false, bool removed = false) const {
    std::ostringstream end;
    for (const auto& [path, file] : files.Contents())
      if ((!packageFiles || path.find("autoexec.nt") == std::string::npos) &&
          !(removed && MayStay(path)))
        end << path << " " << file.second << " " << testing::PrintToString(file.first) << "\n";
    if (packageFiles) return end.str();
    for (const auto& [path, values] : registry.Contents())
      for (const auto& [name, value] : values)
        end << path << " " << name << " " << value.type << " "
            << testing::PrintToString(value.bytes) << "\n";
    for (const auto& [group, items] : programGroups.Groups())
      end << group << ": " << testing::PrintToString(items) << "\n";
    return end.str();
  }
  FakeDialogView& Window(const std::string& templateName) {
    for (auto& view : host.views())
      if (view->templateName().starts_with(templateName) && host.Modeless(view->Window()))
        return *view;
    throw std::runtime_error(templateName + " is not open");
  }

  // Nothing of another maker changed, and AutoExec.NT still starts with its own lines.
  void ExpectOthersKept() const {
    EXPECT_EQ(registry.ValueOf(kOtherKey, "Manufacturer")->bytes, std::string("Other\0", 6));
    EXPECT_TRUE(registry.HasKey(kOtherKey + "\\1"));
    std::string list = registry.ValueOf(std::string(kServiceGroupOrderKeyPath), "List")->bytes;
    if (const std::size_t own = list.find(std::string("CAPI20\0", 7)); own != std::string::npos)
      list.erase(own, 7);
    EXPECT_EQ(list, kGroups);
    EXPECT_EQ(files.FileBytes(kAutoexec).value_or("").substr(0, kOtherLines.size()), kOtherLines);
  }
};

enum class Faulty { Files, Registry, Shell, RegistryReads };

int ChangesOf(const SampleMachine& machine, Faulty faulty) {
  return faulty == Faulty::Files      ? machine.files.changesTried
         : faulty == Faulty::Registry ? machine.registry.changesTried
         : faulty == Faulty::Shell    ? machine.programGroups.commandsTried
                                      : machine.registry.readsTried;
}

void Refuse(SampleMachine& machine, Faulty faulty, int k) {
  if (faulty == Faulty::Files) machine.files.FailChange(k);
  if (faulty == Faulty::Registry) machine.registry.FailChange(k);
  if (faulty == Faulty::Shell) machine.programGroups.FailCommand(k);
  if (faulty == Faulty::RegistryReads) machine.registry.FailRead(k);
}

// Install, then deinstall: each with the k-th change (or registry read) refused, for every k, under
// each answer, must either say done and be done, or not say it; the next run then finishes, and
// nothing of another maker changes on the way.
TEST(FaultSweep, EveryRefusedChangeOfAnInstallOrDeinstallIsFinishedByTheNextRun) {
  SampleMachine reference;
  reference.Run(false, Prompts::kAbort);
  const EndState installed = reference.End(), packageFiles = reference.End(true);
  reference.Run(true, Prompts::kAbort);
  const EndState removed = reference.End(false, true);
  ASSERT_NE(installed, removed);

  const std::pair<Faulty, int> sweeps[] = {
      {Faulty::Files, Prompts::kAbort},    {Faulty::Files, Prompts::kIgnore},
      {Faulty::Registry, Prompts::kAbort}, {Faulty::Registry, Prompts::kIgnore},
      {Faulty::Shell, Prompts::kAbort},    {Faulty::RegistryReads, Prompts::kAbort}};
  for (const bool deinstall : {false, true}) {
    for (const auto& [faulty, answer] : sweeps) {
      int k = 1;
      for (;; ++k) {
        SampleMachine machine;
        if (deinstall) machine.Run(false, Prompts::kAbort);
        const int before = ChangesOf(machine, faulty);
        Refuse(machine, faulty, k);
        const std::vector<std::string> said = machine.Run(deinstall, answer);
        if (ChangesOf(machine, faulty) - before < k) break;  // nothing was refused
        SCOPED_TRACE(testing::Message()
                     << (deinstall ? "deinstall" : "install") << ", change " << k << " of "
                     << static_cast<int>(faulty) << " refused (" << machine.registry.refusedChange
                     << "), answer " << answer);
        // The install's "done" speaks of the files; the deinstall's of the whole driver.
        const std::string_view done =
            machine.state->Catalogue.Text(deinstall ? text::INFO_DEI_DONE : text::INFO_INS_DONE);
        if (std::find(said.begin(), said.end(), done) != said.end()) {
          EXPECT_EQ(machine.End(!deinstall, deinstall), deinstall ? removed : packageFiles);
        }
        machine.ExpectOthersKept();
        // A user who runs it again wants the package: no configuration left half-made.
        Refuse(machine, faulty, 0);
        machine.Run(deinstall, Prompts::kAbort, Prompts::kNo);
        EXPECT_EQ(machine.End(false, deinstall), deinstall ? removed : installed);
        machine.ExpectOthersKept();
      }
      EXPECT_GT(k, 1) << "nothing refused: " << deinstall << static_cast<int>(faulty);
    }
  }
}

using Edits = void (*)(SampleMachine&);

// Another protocol and start, two adapters, the second on another interrupt, another DOS vector,
// point-to-point and a user name.
void ChangeEveryPage(SampleMachine& machine) {
  FakeDialogView& adapter = machine.Window("DLG_cfg_adapter");
  adapter.UserChooses(adapter_page::kProtocol, 2);
  adapter.UserChooses(adapter_page::kStart, 3);
  machine.host.OnShow("DLG_chctl", [](FakeDialogView& view, Dialog&) {
    while (view.IsEnabled(controller_list_dialog::kRemove))
      view.UserClicks(controller_list_dialog::kRemove);
    view.UserClicks(controller_list_dialog::kAdd);
    view.UserClicks(controller_list_dialog::kOk);
  });
  adapter.UserClicks(adapter_page::kChange);
  adapter.UserChooses(adapter_page::kInterrupt, 3);
  FakeDialogView& advanced = machine.Window("DLG_cfg_advanced");
  advanced.UserChooses(advanced_page::kDosVector, 2);
  if (!advanced.IsChecked(advanced_page::kPointToPoint))
    advanced.UserClicks(advanced_page::kPointToPoint);
  machine.Window("DLG_cfg_maintenance").UserTypes(maintenance_page::kUserName, "admin");
}

void Reset(SampleMachine& machine) {
  machine.host.AnswerBox(BoxAnswer::Yes);
  machine.Window("DLG_cfg_main").UserClicks(config_frame::kReset);
}

// The configuration dialog's OK with the k-th registry change refused, for every k, after a
// change on every page and after Reset: the failure is reported once, the dialog stays, and OK
// again writes what an undisturbed OK writes. (An OK without a change writes nothing.)
TEST(FaultSweep, EveryRefusedChangeOfAConfigurationOkIsReportedOnceAndMendedByTheNextOk) {
  for (const Edits edits : {ChangeEveryPage, Reset}) {
    const auto configure = [edits](SampleMachine& machine) {
      // After an install the dialog is open already, and this brings it to the front.
      OpenConfigDialog(machine.services, *machine.state, 0x77, machine.state->SourceDir.view());
      edits(machine);
      machine.Window("DLG_cfg_main").UserClicks(config_frame::kOk);
    };
    SampleMachine reference;
    reference.Run(false, Prompts::kAbort);
    configure(reference);
    const EndState configured = reference.End();
    int k = 1;
    for (;; ++k) {
      SampleMachine machine;
      machine.Run(false, Prompts::kAbort);
      const int before = machine.registry.changesTried;
      const std::size_t shown = machine.prompts.shown().size();
      machine.registry.FailChange(k);
      configure(machine);
      if (machine.registry.changesTried - before < k) break;
      SCOPED_TRACE(testing::Message()
                   << "change " << k << " (" << machine.registry.refusedChange << ") refused");
      EXPECT_EQ(machine.prompts.shown().size() - shown, 1u);
      machine.ExpectOthersKept();
      machine.Window("DLG_cfg_main").UserClicks(config_frame::kOk);
      EXPECT_FALSE(machine.state->ConfigDialog->IsOpen());
      EXPECT_EQ(machine.End(), configured);
    }
    EXPECT_GT(k, 1) << "no configuration change refused";
  }
}

}  // namespace
}  // namespace setup
