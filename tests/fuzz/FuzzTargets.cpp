// libFuzzer targets, one per reader of what others wrote. Each binary is this file built with
// SETUP_FUZZ_TARGET naming one of the functions below. Where a simple model of the result
// exists, the target checks it and aborts on a mismatch, so that the fuzzer reports it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandLine.h"
#include "script/CaseFold.h"
#include "script/FileLists.h"
#include "script/Protocols.h"
#include "script/SafeFormat.h"
#include "support/AppWorld.h"
#include "support/SandboxProfiles.h"
#include "sysconfig/AutoexecNt.h"
#include "sysconfig/IntegrityBackup.h"
#include "sysconfig/RegistryAccess.h"
#include "sysconfig/RemovalLog.h"
#include "sysconfig/ServiceConfig.h"
#include "sysconfig/ServiceGroupOrder.h"
#include "unattended/AnswerFile.h"

namespace setup {
namespace {

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "model broken: %s\n", what);
  std::abort();
}

std::vector<std::string> NonEmptyPieces(std::string_view list, char separator) {
  std::vector<std::string> pieces;
  while (!list.empty()) {
    const std::size_t end = std::min(list.find(separator), list.size());
    if (end > 0) pieces.emplace_back(list.substr(0, end));
    list.remove_prefix(std::min(end + 1, list.size()));
  }
  return pieces;
}

// The input cut in two at its first byte 0x01: a hostile file and what is done to it.
std::pair<std::string_view, std::string_view> Split(std::string_view input) {
  const std::size_t cut = input.find('\x01');
  if (cut == std::string_view::npos) return {input, {}};
  return {input.substr(0, cut), input.substr(cut + 1)};
}

// A world whose script on the medium is `script`; every question is given up on.
struct FuzzWorld : AppWorld {
  explicit FuzzWorld(std::string_view script = {}) {
    files.PutFile(std::string(kMedium) + "SETUP.KVX", script);
    state->SourceDir.Assign(kMedium);
    state->Catalogue.SetText(text::ERR_CFG_NOVALMODIFY, "%s %s");
    for (int i = 0; i < 64; ++i) prompts.Answer(Prompts::kAbort);
  }
  ScriptLocation Script() const { return state->Script(); }
};

[[maybe_unused]] void FuzzScriptSections(std::string_view input) {
  FuzzWorld w(input);
  auto comp = std::make_unique<CompFileList>();
  auto add = std::make_unique<AddFileList>();
  auto del = std::make_unique<DeleteFileList>();
  auto items = std::make_unique<ProgmanItemList>();
  LanguageTable languages;
  MaintenanceConfig maintenance;
  LineText line;
  PathText image("\\SystemRoot\\System32\\drivers\\vmdss1.sys");
  ReadCompFiles(w.files, w.prompts, w.Script(), *comp);
  ReadAddFiles(w.files, w.prompts, w.Script(), *add);
  ReadDeleteAddFiles(w.files, w.prompts, w.Script(), *del);
  ReadProgmanItems(w.files, w.prompts, w.Script(), "English", *items);
  ReadLanguageTable(w.files, w.prompts, w.Script(), languages);
  ReadMaintenanceSection(w.files, w.Script(), maintenance);
  ReadTargetPlatform(w.files, w.Script());
  ReadCurrentCapiDll(w.files, w.Script(), line);
  ReadScriptVersion(w.files, w.Script());
  if (ReadDefaultProtocol(w.files, w.prompts, w.Script(), line))
    GetScriptNewImagePath(w.files, w.prompts, w.Script(), line.view(), image);
  AnyProtocolNeedsSpid(w.files, w.prompts, w.Script());
  FindProtocolIndex(w.files, w.prompts, w.Script(), image.view());
  GetProtocolFlags(w.files, w.prompts, w.Script(), image.view());
  Require(comp->count >= 0 && comp->count <= kMaxFileRows, "comp count");
  Require(add->count >= 0 && add->count <= kMaxFileRows, "add count");
  Require(del->count >= 0 && del->count <= kMaxFileRows, "delete count");
  Require(items->count >= 0 && items->count <= kMaxProgmanItems, "item count");
  Require(languages.count >= 0 && languages.count <= kMaxLanguages, "language count");
  Require(w.files.openFiles() == 0, "a reader left the script open");
}

[[maybe_unused]] void FuzzLanguageFile(std::string_view input) {
  FuzzWorld w;
  w.files.PutFile(std::string(AppWorld::kMedium) + "ENG.TXT", input);
  LanguageTable table;
  table.count = 1;
  table.fileNames[0].Assign("ENG.TXT");
  auto catalogue = std::make_unique<StringCatalogue>();
  Require(LoadStringCatalogue(w.files, w.prompts, AppWorld::kMedium, table, 0, *catalogue) == 1,
          "language file not opened");
  // Every text the file gave is then used as a format, as the dialogs do.
  for (int slot = 0; slot < kCatalogueSlotCount; ++slot)
    Require(FormatText(catalogue->Text(slot), {"C:\\VELMAR", 42u, -1}).size() <= 259,
            "format result longer than its limit");
}

[[maybe_unused]] void FuzzSafeFormat(std::string_view input) {
  const auto [format, argument] = Split(input);
  const std::size_t limit = input.size() % 300;
  Require(FormatText(format, {argument, std::uint32_t(input.size()), -7, argument}, limit).size() <=
              limit,
          "format result longer than its limit");
}

[[maybe_unused]] void FuzzCommandLine(std::string_view input) {
  const auto [commandLine, paths] = Split(input);
  ProgramState state;
  ParseCommandLine(state, commandLine);
  FindLanguage(state);
  Require(state.StartMode >= 0 && state.StartMode <= 2, "start mode");
  const auto [current, module] = Split(paths);
  PathText name("SETUP.EXE");
  DeriveSetupFileName(current, module, name);
}

// A backup read back after being written from what it gave compares equal to it.
[[maybe_unused]] void FuzzBackupString(std::string_view input) {
  FuzzWorld w;
  const std::string value(input.substr(0, input.find('\0')));
  w.registry.PutValue(std::string(kIntegrityKeyPath), "RegistryBackup", Registry::kSz,
                      value + '\0');
  ProgramState& state = *w.state;
  if (!ReadIntegrityBackup(w.services, state, state.ServiceConfig, state.Adapters)) return;
  const DriverServiceConfig first = state.ServiceConfig;
  const AdapterTable firstAdapters = state.Adapters;
  Require(MatchesIntegrityBackup(first, first, firstAdapters, firstAdapters, 1) == 1,
          "a backup differs from itself");
  WriteIntegrityBackup(w.services, state);
  DriverServiceConfig again{};
  AdapterTable againAdapters{};
  Require(ReadIntegrityBackup(w.services, state, again, againAdapters) == 1,
          "a written backup is not read back");
  Require(MatchesIntegrityBackup(first, again, firstAdapters, againAdapters, 0) == 1,
          "a written backup reads back different");
}

// An object just logged is found again, and so is every object found before.
[[maybe_unused]] void FuzzRemovalLog(std::string_view input) {
  const auto [existing, objects] = Split(input);
  FuzzWorld w;
  w.files.PutFile(std::string(AppWorld::kMedium) + "removed.kvx", existing);
  std::vector<std::string> logged;
  for (const std::string& object : NonEmptyPieces(objects, '\x01')) {
    // Logged names are paths and key names: no line ends, no NUL.
    if (object.find_first_of(std::string("\r\n\0\xAF", 4)) != std::string::npos) continue;
    if (!LogRemovedObject(w.services, *w.state, object)) return;
    logged.push_back(object);
    for (const std::string& earlier : logged)
      Require(IsLoggedAsRemoved(w.services, *w.state, earlier) == 1, "a logged object is lost");
  }
}

// Every line of `file` that is no line of the block, with its own line end: lines end at a
// CR, and an LF right after it belongs to that end.
std::string WithoutBlockLines(std::string_view file) {
  std::string kept;
  while (!file.empty()) {
    std::size_t end = std::min(file.find('\r'), file.size());
    const std::string_view text = file.substr(0, end);
    if (end < file.size()) end += file.substr(end, 2) == "\r\n" ? 2 : 1;
    bool block = false;
    for (std::string_view line : kAutoexecBlock) block = block || EqualIgnoringCase(text, line);
    if (!block) kept += file.substr(0, end);
    file.remove_prefix(end);
  }
  return kept;
}

// The removal takes the block's lines out and leaves every other byte as it was.
[[maybe_unused]] void FuzzAutoexec(std::string_view input) {
  FuzzWorld w;
  const std::string path = w.system.SystemDirectory() + "\\AutoExec.NT";
  w.files.PutFile(path, input);
  const std::string expected = WithoutBlockLines(input);
  const bool hasBlock = expected.size() != input.size();
  Require(RemoveAutoexecBlock(w.services, *w.state) == 1, "removal failed");
  const std::string removed = *w.files.FileBytes(path);
  // The block counts as there by its first two lines; a lone third line stays.
  if (hasBlock && removed != input) Require(removed == expected, "removal changed other bytes");
  Require(InsertAutoexecBlock(w.services, *w.state) == 1, "insertion failed");
  Require(RemoveAutoexecBlock(w.services, *w.state) == 1, "second removal failed");
  Require(WithoutBlockLines(*w.files.FileBytes(path)) == *w.files.FileBytes(path),
          "a block line stayed after the removal");
}

// Inserting the group and taking it out again gives back every name of the list.
[[maybe_unused]] void FuzzGroupList(std::string_view input) {
  FuzzWorld w;
  const std::string key(kServiceGroupOrderKeyPath);
  w.registry.PutValue(key, "List", Registry::kMultiSz, std::string(input));
  const std::vector<std::string> before = NonEmptyPieces(input, '\0');
  for (const std::string& name : before)
    if (EqualIgnoringCase(name, "CAPI20")) return;  // the removal would take that one out
  const auto list = [&] { return NonEmptyPieces(w.registry.ValueOf(key, "List")->bytes, '\0'); };
  if (!InsertGroupIntoServiceOrder(w.services, *w.state)) {
    Require(list() == before, "a failed insertion changed the list");
    return;
  }
  Require(RemoveGroupFromServiceOrder(w.services, *w.state) == 1, "the removal failed");
  Require(list() == before, "insertion and removal changed the list");
}

// A script, then an answer file. One refused changes nothing; one taken leaves a
// configuration the dialogs could have made: adapters that share no interrupt or address.
[[maybe_unused]] void FuzzAnswerFile(std::string_view input) {
  const auto [script, answerFile] = Split(input);
  FuzzWorld w(script);
  w.files.PutFile("A:\\UNATTEND.INI", answerFile);
  SandboxProfiles profiles(w.files);
  Refusal refusal;
  const std::optional<Answers> answers = Answers::Read(profiles, "A:\\UNATTEND.INI", refusal);
  if (!answers) return;
  RunAnswers run;
  ReadRunAnswers(*answers, *w.state, run);
  DriverServiceConfig& config = w.state->ServiceConfig;
  InitServiceConfigDefaults(w.services, *w.state, 1, config);
  const DriverServiceConfig before = config;
  if (ApplyConfigurationAnswers(w.services, *w.state, *answers)) {
    Require(config == before, "a refused answer file changes nothing");
    return;
  }
  const AdapterTable& adapters = w.state->Adapters;
  Require(config.NumberOfControllers >= 1 && config.NumberOfControllers <= kMaxAdapters,
          "one to four adapters");
  for (std::uint32_t i = 0; i < config.NumberOfControllers; ++i)
    for (std::uint32_t j = 0; j < i; ++j)
      Require(adapters[i].Interrupt != adapters[j].Interrupt &&
                  adapters[i].BaseAddress != adapters[j].BaseAddress,
              "adapters share no interrupt or address");
}

}  // namespace
}  // namespace setup

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  setup::SETUP_FUZZ_TARGET(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
