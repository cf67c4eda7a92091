#include "e2e/Screenshots.h"

#include <cctype>
#include <cstdio>

#include "e2e/SetupProcess.h"
#include "e2e/TheMedium.h"
#include "e2e/WindowCapture.h"

namespace e2e {
namespace {

// Time for a window to finish painting after it became visible.
constexpr Timeout kPaintDelay{600};

bool Save(HWND window, const std::string& directory, const std::string& name) {
  Sleep(static_cast<DWORD>(kPaintDelay.count()));
  const std::string path = directory + "\\" + name + ".bmp";
  if (!SaveWindowImage(window, path)) {
    std::fprintf(stderr, "could not save %s\n", path.c_str());
    return false;
  }
  std::printf("saved %s\n", path.c_str());
  return true;
}

std::string FileTag(const std::string& displayName) {
  std::string tag;
  for (char c : displayName) {
    tag += std::isalnum(static_cast<unsigned char>(c))
               ? static_cast<char>(std::tolower(static_cast<unsigned char>(c)))
               : '-';
  }
  return tag;
}

}  // namespace

int TakeScreenshots(const Medium& medium, const std::string& directory) {
  CreateDirectoryA(directory.c_str(), nullptr);
  SetupProcess setup(medium.directory, "/l" + medium.languages.front().displayName);
  if (!setup.Started()) {
    std::fprintf(stderr, "%s\n", setup.StartError().c_str());
    return 1;
  }
  HWND intro = setup.WaitForIntro(Timeout{30000});
  if (!intro || !Save(intro, directory, "intro")) return 1;
  HWND dialog = setup.WaitForMainDialog(Timeout{10000});
  if (!dialog) {
    std::fprintf(stderr, "the main dialog did not appear\n");
    return 1;
  }
  bool saved = true;
  for (std::size_t i = 0; i < medium.languages.size(); ++i) {
    if (i > 0 && !SelectComboItem(dialog, kLanguageBox, static_cast<int>(i))) {
      std::fprintf(stderr, "could not choose %s\n", medium.languages[i].displayName.c_str());
      return 1;
    }
    saved =
        Save(dialog, directory, "main-dialog-" + FileTag(medium.languages[i].displayName)) && saved;
  }
  ClickButton(dialog, kExitButton);
  const auto code = setup.WaitForExit(Timeout{10000});
  if (!code || *code != 0) {
    std::fprintf(stderr, "the program did not end normally after Exit\n");
    return 1;
  }
  return saved ? 0 : 1;
}

}  // namespace e2e
