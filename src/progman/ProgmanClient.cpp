#include "progman/ProgmanClient.h"

#include <memory>
#include <optional>
#include <string>

#include "script/FileLists.h"
#include "script/SafeFormat.h"
#include "script/ScriptReader.h"

namespace setup {
namespace {

// The transactions do not wait for the shell: the pause lets it make one item before the
// next arrives.
constexpr std::uint32_t kItemPause = 100;

// `text` in quotes, each quote inside doubled, as the shell reads a quoted argument.
std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

// [Verb("group"tail)]
std::string GroupCommand(std::string_view verb, std::string_view group, std::string_view tail) {
  std::string text = "[";
  text += verb;
  text += '(';
  text += Quoted(group);
  text += tail;
  text += ")]";
  return text;
}

std::string_view CurrentLanguage(const ProgramState& state) {
  const int index = state.LanguageIndex;
  if (index < 0 || index >= state.Languages.count) return {};
  return state.Languages.displayNames[static_cast<std::size_t>(index)].view();
}

// Reads the group of the script into `list`. False when the script names no group: commands
// about a group called "" would reach whatever the shell makes of that name.
bool ReadGroup(Services& services, const ProgramState& state, std::string_view scriptDir,
               ProgmanItemList& list) {
  ReadProgmanItems(services.files, services.prompts, {scriptDir, state.ScriptFileName.view()},
                   CurrentLanguage(state), list);
  return !list.groupName.empty();
}

// Both paths go into path buffers and the command into the transaction's buffer.
bool FitsPath(std::string_view path) {
  return path.size() < kPathBytes;
}
bool FitsCommand(std::string_view command) {
  return command.size() < ProgramGroups::kCommandBytes;
}

// The shell splits arguments at commas, ends them at a parenthesis or bracket and reads a
// leading quote as the start of a quoted one; an argument holding any of these goes in
// quotes. Any other stays as it is, byte for byte.
std::string Argument(std::string_view text) {
  if (text.find_first_of(",()[]\"") == std::string_view::npos) return std::string(text);
  return Quoted(text);
}

// The add-item command of item `i`, or nothing when a path or the command does not fit.
std::optional<std::string> AddItemCommand(const ProgramState& state, const ProgmanItemList& list,
                                          std::size_t i, std::string_view installDir) {
  const std::string_view command = list.commands[i].view();
  const bool withParameter = command == kSetupFileWithCmd;
  const bool setupProgram = withParameter || command == kSetupFile;
  const std::string_view workField = list.workingDirs[i].view();
  const std::string_view iconField = list.iconFiles[i].view();
  // An empty part adds nothing, so the directory itself stands for kSetupDir.
  const std::string workingDir =
      JoinPathParts({installDir, workField == kSetupDir ? std::string_view() : workField});
  const std::string iconPath =
      JoinPathParts({installDir, iconField == kSetupIcon ? state.SetupFileName.view() : iconField});
  if (!FitsPath(workingDir) || !FitsPath(iconPath)) return std::nullopt;

  std::string commandLine(setupProgram ? state.SetupFileName.view() : command);
  commandLine += ' ';
  if (withParameter) commandLine += list.parameters[i].view();
  std::string text = "[AddItem(";
  text += Argument(commandLine);
  text += ',';
  text += Argument(list.titles[i].view());
  text += ',';
  text += Argument(iconPath);
  text += ',';
  text += std::to_string(list.iconIndices[i]);
  text += ',';
  text += std::to_string(20 + 75 * i);
  text += ",10,";
  text += Argument(workingDir);
  text += ")]";
  if (!FitsCommand(text)) return std::nullopt;
  return text;
}

std::string TooLongMessage(std::string_view title) {
  std::string text = "Can't add the program item \"";
  text += title;
  text += "\"!\nIts paths or command line are longer than 259 characters.";
  return text;
}

}  // namespace

int SendProgmanCommand(Services& services, ProgramGroups::Instance instance,
                       std::string_view command) {
  const ProgramGroups::Sent sent = services.programGroups.Execute(instance, command);
  switch (sent.outcome) {
    case ProgramGroups::Outcome::Accepted:
      return 1;
    case ProgramGroups::Outcome::Refused:
      services.prompts.ShowErrorBox(kNoWindow, FormatText("Error: %X", {sent.error}));
      return 0;
    case ProgramGroups::Outcome::NotConnected:
      break;
  }
  services.prompts.ShowErrorBox(kNoWindow, "No connection!");
  return 0;
}

void CreateProgramGroup(Services& services, const ProgramState& state, WindowRef owner,
                        std::string_view scriptDir, std::string_view installDir) {
  const ProgramGroups::Started dde = services.programGroups.Initialize();
  if (dde.error != ProgramGroups::kNoError) {
    services.prompts.ShowErrorBox(owner, "No DDE conversation!");
    return;
  }
  // Some 15 KB: kept off the stack of the install dialog that calls this.
  const auto list = std::make_unique<ProgmanItemList>();
  if (ReadGroup(services, state, scriptDir, *list)) {
    const std::string_view group = list->groupName.view();
    // Deleting first replaces a group of another language under the same name.
    for (const std::string& command :
         {GroupCommand("DeleteGroup", group, ""), GroupCommand("CreateGroup", group, ",0"),
          GroupCommand("ShowGroup", group, ",1")})
      SendProgmanCommand(services, dde.instance, command);
    for (std::size_t i = 0; i < static_cast<std::size_t>(list->count); ++i) {
      const std::optional<std::string> command = AddItemCommand(state, *list, i, installDir);
      if (!command) {
        services.prompts.ShowErrorBox(owner, TooLongMessage(list->titles[i].view()));
        continue;
      }
      SendProgmanCommand(services, dde.instance, *command);
      services.system.Sleep(kItemPause);
    }
    SendProgmanCommand(services, dde.instance, GroupCommand("ShowGroup", group, ",6"));
  }
  services.programGroups.Release(dde.instance);
  if (owner != kNoWindow) services.host.CentreWindow(owner);
}

int DeleteProgramGroup(Services& services, const ProgramState& state, WindowRef owner,
                       std::string_view scriptDir) {
  const ProgramGroups::Started dde = services.programGroups.Initialize();
  if (dde.error != ProgramGroups::kNoError) {
    services.prompts.ShowErrorBox(owner,
                                  FormatText("No DDE Conversation!\nErrorCode: 0x%x", {dde.error}));
    return 0;
  }
  const auto list = std::make_unique<ProgmanItemList>();
  int deleted = 1;
  if (ReadGroup(services, state, scriptDir, *list) &&
      !SendProgmanCommand(services, dde.instance,
                          GroupCommand("DeleteGroup", list->groupName.view(), ""))) {
    services.prompts.ShowErrorBox(owner, "Can't delete group!");
    deleted = 0;
  }
  services.programGroups.Release(dde.instance);
  return deleted;
}

}  // namespace setup
