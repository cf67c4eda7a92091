#include "app/FileVersions.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "script/CatalogueKeys.h"
#include "script/FileLists.h"
#include "script/SafeFormat.h"
#include "script/ScriptReader.h"

namespace setup {
namespace {

constexpr std::array<std::uint8_t, 8> kStampSignature = {0xE8, 0x52, 0xA7, 0x04,
                                                         0x61, 0x78, 0xCA, 0x12};
constexpr std::string_view kTemporaryDirectory = "VERTMP.$$$";
constexpr std::int32_t kTab = 9;
constexpr int kListTabStops[] = {0, 130};

// A file's bytes one at a time, read from the file in blocks.
class ByteStream {
 public:
  explicit ByteStream(OpenFile& file) : file_(file) {}

  // False at the end of the file and after a read error.
  bool Next(std::uint8_t& byte) {
    if (at_ == size_) {
      const std::int32_t n = file_.files().Read(file_.handle(), block_.data(),
                                                static_cast<std::uint32_t>(block_.size()));
      if (n <= 0) return false;
      at_ = 0;
      size_ = static_cast<std::size_t>(n);
    }
    byte = block_[at_++];
    return true;
  }

  bool NextWord(std::uint32_t& word) {
    std::uint8_t low = 0, high = 0;
    if (!Next(low) || !Next(high)) return false;
    word = static_cast<std::uint32_t>(low | high << 8);
    return true;
  }

 private:
  OpenFile& file_;
  std::vector<std::uint8_t> block_ = std::vector<std::uint8_t>(4096);
  std::size_t at_ = 0, size_ = 0;
};

// Leaves the stream just after the first signature. A byte that breaks a partial match may
// start the signature itself, so it is compared with the first byte again; no signature byte
// repeats, so no longer restart can be missed.
bool SkipToSignature(ByteStream& bytes) {
  std::size_t matched = 0;
  std::uint8_t byte = 0;
  while (matched < kStampSignature.size() && bytes.Next(byte)) {
    if (byte != kStampSignature[matched]) matched = 0;
    if (byte == kStampSignature[matched]) ++matched;
  }
  return matched == kStampSignature.size();
}

std::string UnknownVersionLine(const StringCatalogue& catalogue, std::string_view shownName) {
  return FormatText("%s%c%s", {shownName, kTab, catalogue.Text(text::TEXT_UNKNOWNVERSION)});
}

// The line of one file: its stamp, or the unknown version when there is no file to read
// (an empty path) or no stamp in it.
void AddVersionLine(Services& services, const ProgramState& state, DialogView& dialog,
                    const std::string& path, std::string_view shownName) {
  LineText line;
  if (path.empty() || !FitsPath(path) || !FindVersionStamp(services.files, path, shownName, line))
    line.Assign(UnknownVersionLine(state.Catalogue, shownName));
  dialog.ListAdd(version_dialog::kList, line.view());
}

// Shows the file about to be read and lets the user cancel before it is; false once the
// user has (the progress window is then gone).
bool Announce(Services& services, const ProgramState& state, WindowRef progress,
              std::string_view shownName) {
  Prompts& prompts = services.prompts;
  prompts.SetProgressText(progress,
                          FormatText(state.Catalogue.Text(text::INFO_SCANVERSION), {shownName}));
  prompts.PumpMessages(progress);
  return !prompts.ProgressCancelled();
}

// The shown directory, "\" and a name, collapsed and cut to a path.
PathText ShownName(const PathText& shownDirectory, std::string_view name) {
  PathText shown(JoinPathParts({shownDirectory.view(), name}));
  CollapseBackslashes(shown);
  return shown;
}

// Each directory is made current to resolve it; the program's own comes back afterwards.
class CurrentDirectoryKept {
 public:
  explicit CurrentDirectoryKept(Files& files) : files_(files), kept_(files.CurrentDirectory()) {}
  ~CurrentDirectoryKept() {
    if (!kept_.empty()) files_.ChangeDirectory(kept_);
  }
  CurrentDirectoryKept(const CurrentDirectoryKept&) = delete;
  CurrentDirectoryKept& operator=(const CurrentDirectoryKept&) = delete;

 private:
  Files& files_;
  std::string kept_;
};

// Removes a file or an empty directory when it goes out of scope, however the scan ends.
class RemovedAfterwards {
 public:
  RemovedAfterwards(Files& files, std::string path, bool directory)
      : files_(files), path_(std::move(path)), directory_(directory) {}
  ~RemovedAfterwards() {
    if (directory_)
      files_.DeleteDirectory(path_);
    else
      files_.Delete(path_);
  }
  RemovedAfterwards(const RemovedAfterwards&) = delete;
  RemovedAfterwards& operator=(const RemovedAfterwards&) = delete;

 private:
  Files& files_;
  std::string path_;
  bool directory_;
};

bool Listed(const CompFileList& list, std::size_t row) {
  return list.versionSwitches[row] == kVersionOn;
}

// Each file is expanded into the temporary directory under its target name, searched and
// deleted again.
bool ScanMedium(Services& services, const ProgramState& state, DialogView& dialog,
                WindowRef progress, const CompFileList& list, const std::string& windows) {
  const std::string temporary = JoinPathParts({windows, kTemporaryDirectory});
  if (FitsPath(temporary)) services.files.MakeDirectory(temporary);  // an existing one is fine
  const RemovedAfterwards temporaryRemoved(services.files, temporary, true);
  const std::string_view sourceDir = state.SourceDir.view();
  for (std::size_t i = 0; i < static_cast<std::size_t>(list.count); ++i) {
    if (!Listed(list, i)) continue;
    const std::string directory = JoinPathParts({sourceDir, list.sourceSubdirs[i].view()});
    PathText shownDirectory;
    ResolveDirectory(dialog, directory, shownDirectory);
    const PathText shown = ShownName(shownDirectory, list.sourceNames[i].view());
    if (!Announce(services, state, progress, shown.view())) return false;

    const std::string source = JoinPathParts({directory, list.sourceNames[i].view()});
    const std::string expanded = JoinPathParts({temporary, list.targetNames[i].view()});
    const RemovedAfterwards expandedRemoved(services.files, expanded, false);
    // A failed expansion is not reported: the file's line says its version is unknown.
    const bool whole = FitsPath(source) && FitsPath(expanded) &&
                       services.expander.Expand(source, expanded) == Expander::Result::Done;
    AddVersionLine(services, state, dialog, whole ? expanded : std::string(), shown.view());
  }
  return true;
}

// A file installed below the Windows directory is looked for there, else in the setup
// directory: below InstallDestDir when this run installed it, below SourceDir when the
// program runs from the installed copy.
bool ScanInstalled(Services& services, const ProgramState& state, DialogView& dialog,
                   WindowRef progress, const CompFileList& list, const std::string& windows) {
  const std::string_view setupDir =
      state.InitialStartMode == 0 ? state.InstallDestDir.view() : state.SourceDir.view();
  for (std::size_t i = 0; i < static_cast<std::size_t>(list.count); ++i) {
    if (!Listed(list, i)) continue;
    const std::string_view name = list.targetNames[i].view();
    std::string directory;
    if (list.setupSubdirs[i] != kNoSetupDir)
      directory = JoinPathParts({setupDir, list.setupSubdirs[i].view()});
    if (list.windowsSubdirs[i] != kNoWinSystem)
      directory = JoinPathParts({windows, list.windowsSubdirs[i].view()});
    // An entry installed nowhere has no copy to read: it shows by name, version unknown.
    PathText shown(name);
    if (!directory.empty()) {
      PathText shownDirectory;
      ResolveDirectory(dialog, directory, shownDirectory);
      shown = ShownName(shownDirectory, name);
    }
    if (!Announce(services, state, progress, shown.view())) return false;
    AddVersionLine(services, state, dialog,
                   directory.empty() ? std::string() : JoinPathParts({directory, name}),
                   shown.view());
  }
  return true;
}

}  // namespace

int FindVersionStamp(Files& files, const std::string& path, std::string_view shownName,
                     LineText& line) {
  OpenFile file = OpenForReading(files, path);
  if (!file.valid()) return 0;
  ByteStream bytes(file);
  if (!SkipToSignature(bytes)) return 0;
  std::uint8_t ignored = 0;
  for (int i = 0; i < 4; ++i) bytes.Next(ignored);
  std::uint32_t major = 0, minor = 0, revision = 0;
  if (!bytes.NextWord(major) || !bytes.NextWord(minor) || !bytes.NextWord(revision)) return 0;
  line.Assign(FormatText("%s%cv%x.%x (rev.%02x)", {shownName, kTab, major, minor, revision}));
  return 1;
}

void ResolveDirectory(DialogView& dialog, std::string_view path, PathText& output) {
  // Failing, the listing leaves the static as it was, with the previous entry's directory.
  if (dialog.ListDirectory(version_dialog::kResolvedPath, path))
    output.Assign(dialog.Text(version_dialog::kResolvedPath));
  else
    output.Assign(path);
}

int FillVersionList(Services& services, const ProgramState& state, DialogView& dialog) {
  Prompts& prompts = services.prompts;
  const WindowRef progress = prompts.OpenProgressWindow(dialog.Window(), true, false);
  const std::string windows = services.system.WindowsDirectory();
  // On the heap: the list is tens of kilobytes.
  const auto list = std::make_unique<CompFileList>();
  if (!ReadCompFiles(services.files, prompts, state.Script(), *list)) {
    prompts.CloseProgressWindow(progress);
    return 0;
  }
  bool done = false;
  {
    const CurrentDirectoryKept kept(services.files);
    done = state.StartMode == 0 ? ScanMedium(services, state, dialog, progress, *list, windows)
                                : ScanInstalled(services, state, dialog, progress, *list, windows);
  }
  if (!done) return 0;
  prompts.CloseProgressWindow(progress);
  return 1;
}

void FileVersionDialog::OnInit(DialogView& view) {
  using namespace version_dialog;
  const StringCatalogue& catalogue = state_.Catalogue;
  view.Centre();
  view.SetTabStops(kList, kListTabStops);
  SetCaptionText(view, catalogue, text::DLG_VER_CAPTION);
  SetItemTextFrom(view, catalogue, kOk, text::BUTTON_OK);
  SetItemText(view, catalogue, kText);
  if (!FillVersionList(services_, state_, view)) view.End(0);
}

void FileVersionDialog::OnCommand(DialogView& view, int id, int) {
  if (id == version_dialog::kOk) view.End(0);
}

void ShowFileVersions(Services& services, const ProgramState& state, WindowRef owner) {
  FileVersionDialog dialog(services, state);
  if (services.host.RunModal("DLG_fileversion", owner, dialog) == -1)
    services.prompts.ShowErrorBox(owner, "Unable to open File version dialog!");
}

}  // namespace setup
