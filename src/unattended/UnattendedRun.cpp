#include "unattended/UnattendedRun.h"

#include <optional>
#include <string>

#include "app/CommandLine.h"
#include "app/Startup.h"
#include "config/ConfigDialog.h"
#include "deinstall/DeinstallFlow.h"
#include "install/InstallFlow.h"
#include "script/CaseFold.h"
#include "state/ExitCodes.h"
#include "sysconfig/CapiRegistration.h"
#include "sysconfig/ServiceConfig.h"
#include "unattended/AnswerFile.h"
#include "unattended/ChangeLog.h"
#include "unattended/Policy.h"

namespace setup {
namespace {

constexpr const char* kModeNames[] = {"install", "configure", "deinstall"};

// A relative name is taken from the directory the program runs in: the profile functions
// would look for it in the Windows directory.
std::string FullPath(const ProgramState& state, std::string_view name) {
  return IsFullPath(name) ? std::string(name) : JoinPathParts({state.SourceDir.view(), name});
}

class UnattendedRun {
 public:
  UnattendedRun(Services& services, AdminPorts& admin, ProgramState& state, ChangeLog& log,
                Policy& policy, PolicyPrompts& prompts)
      : services_(services),
        admin_(admin),
        state_(state),
        log_(log),
        policy_(policy),
        prompts_(prompts) {}

  int Run();

 private:
  // The answer file named by /a, else the one beside the script if there is one; nothing
  // read when there is none. False after a refusal (logged).
  bool ReadAnswerFile();
  void PlaceLog();
  bool Refuse(const std::optional<Refusal>& refusal);
  int Install();
  int Configure();
  int Deinstall();
  int Outcome(int code);

  Services& services_;
  AdminPorts& admin_;
  ProgramState& state_;
  ChangeLog& log_;
  Policy& policy_;
  PolicyPrompts& prompts_;
  Answers answers_;
  RunAnswers run_;
};

bool UnattendedRun::ReadAnswerFile() {
  const bool named = !state_.AnswerFileName.empty();
  const std::string path = FullPath(state_, named ? state_.AnswerFileName.view() : kAnswerFileName);
  if (!services_.files.Attributes(path)) {
    if (named) Refuse(Refusal{path, "no such file"});
    return !named;
  }
  log_.Write("answer file " + path);
  Refusal refusal;
  std::optional<Answers> answers = Answers::Read(admin_.profiles, path, refusal);
  if (!answers) {
    Refuse(refusal);
    return false;
  }
  answers_ = std::move(*answers);
  return !Refuse(ReadRunAnswers(answers_, state_, run_));
}

bool UnattendedRun::Refuse(const std::optional<Refusal>& refusal) {
  if (refusal) log_.Write("answer file refused: " + refusal->key + ": " + refusal->reason);
  return refusal.has_value();
}

// Beside the installed copy: the destination of an install, else the directory the
// installed copy runs in.
void UnattendedRun::PlaceLog() {
  if (!state_.LogFileName.empty()) return log_.SetPath(FullPath(state_, state_.LogFileName.view()));
  const std::string directory = state_.StartMode != 0      ? std::string(state_.SourceDir.view())
                                : run_.destination.empty() ? DefaultDestination(services_, state_)
                                                           : run_.destination;
  log_.SetPath(JoinPathParts({directory, kLogFileName}));
}

int UnattendedRun::Run() {
  const bool answered = !state_.UnknownSwitch && ReadAnswerFile();
  PlaceLog();
  if (state_.UnknownSwitch) {
    log_.Write("bad command line: a switch no mode knows");
    return Outcome(kExitBadCommandLine);
  }
  if (!answered) return Outcome(kExitBadAnswerFile);
  policy_ = run_.policy;
  if (state_.LanguageName.empty()) state_.LanguageName.Assign(run_.language);
  FindLanguage(state_);
  LoadStringCatalogue(services_.files, prompts_, state_.SourceDir.view(), state_.Languages,
                      state_.LanguageIndex, state_.Catalogue);
  if (ReadTargetPlatform(services_.files, state_.Script()) !=
      static_cast<int>(services_.system.PlatformId())) {
    log_.Write("wrong platform: the setup script is for another Windows");
    return Outcome(kExitWrongPlatform);
  }
  if (!CheckAdminRights(services_, state_, kNoWindow)) return Outcome(kExitNoRights);
  switch (state_.StartMode) {
    case 0:
      return Outcome(Install());
    case 1:
      return Outcome(Configure());
    default:
      return Outcome(Deinstall());
  }
}

int UnattendedRun::Install() {
  // Checked against the fresh configuration before anything changes.
  int found = 0;
  const std::uint32_t n = FindCapiControllerNumber(services_, state_, found);
  InitFreshConfiguration(services_, state_, n);
  if (Refuse(ApplyConfigurationAnswers(services_, state_, answers_))) return kExitBadAnswerFile;
  const std::string destination =
      run_.destination.empty() ? DefaultDestination(services_, state_) : run_.destination;
  const int fresh =
      RunInstall(services_, state_, kNoWindow, state_.SourceDir.view(), destination, [] {});
  // Only an install that got past its files turns to configuring.
  if (state_.StartMode != 1) return kExitFailed;
  if (!answers_.ConfiguresDriver()) return kExitSuccess;
  // The dialogs open the configuration for a fresh one only.
  if (!fresh) {
    log_.Write("the configuration there is stays: the answer file's values are not applied");
    return kExitSuccess;
  }
  return Configure();
}

int UnattendedRun::Configure() {
  const int integrity = LoadCheckedConfiguration(services_, state_, kNoWindow);
  if (integrity == 0) return kExitFailed;
  if (Refuse(ApplyConfigurationAnswers(services_, state_, answers_))) return kExitBadAnswerFile;
  // As the dialog's OK: nothing is written without a change, but restored values are one.
  if (!answers_.ConfiguresDriver() && integrity != 2) return kExitSuccess;
  int found = 0;
  const std::uint32_t n = FindCapiControllerNumber(services_, state_, found);
  if (n == 0) return kExitFailed;
  const std::uint32_t flags = GetProtocolFlags(services_.files, prompts_, state_.Script(),
                                               state_.ServiceConfig.ImagePath.view());
  return WriteConfiguration(services_, state_, n, (flags & kProtocolNeedsSpid) ? 1 : 0)
             ? kExitSuccess
             : kExitFailed;
}

int UnattendedRun::Deinstall() {
  if (RunDeinstall(services_, state_, kNoWindow)) {
    prompts_.ShowMessage(kNoWindow, state_.Catalogue.Text(text::INFO_DEI_DONE));
    return kExitSuccess;
  }
  log_.Write("the removal log stays: the same command finishes the deinstallation");
  return kExitFailed;
}

int UnattendedRun::Outcome(int code) {
  // A failure the flows reported and went on from leaves the run unfinished too.
  if (code == kExitSuccess && prompts_.Problems() > 0) code = kExitFailed;
  if (code == kExitSuccess && state_.RestartRequired) code = kExitRestartNeeded;
  static constexpr const char* kOutcomes[] = {
      "success",          "success, restart needed", "cancelled", "failed",
      "bad command line", "bad answer file",         "no rights", "wrong platform"};
  log_.Write(std::string("outcome: ") + kOutcomes[code] + " (exit code " + std::to_string(code) +
             ")");
  return code;
}

}  // namespace

int RunUnattended(Services& system, AdminPorts& admin, ProgramState& state,
                  std::string_view commandLine) {
  ChangeLog log(admin.logWriter);
  Policy policy;
  PolicyPrompts prompts(policy, state.Catalogue, log);
  LoggedFiles files(system.files, log);
  LoggedExpander expander(system.expander, files);
  LoggedRegistry registry(system.registry, log);
  LoggedProgramGroups groups(system.programGroups, log);
  Services services{files, expander, system.system, registry, prompts, prompts, groups};
  FixStartupSettings(services, state, commandLine);
  log.Write(std::string("SETUP.EXE ") + std::string(commandLine) + ": unattended " +
            kModeNames[state.StartMode]);
  const int code = UnattendedRun(services, admin, state, log, policy, prompts).Run();
  if (log.Pending())
    log.SetPath(JoinPathParts({system.system.WindowsDirectory(), kFallbackLogName}));
  return code;
}

}  // namespace setup
