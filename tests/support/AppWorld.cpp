#include "support/AppWorld.h"

#include <utility>

#include "script/CatalogueKeys.h"

namespace setup {

AppWorld::AppWorld() {
  registry.AddKey("SOFTWARE");
  files.MakeDirectories(system.SystemDirectory());
  files.MakeDirectories(kMedium);
  files.ChangeDirectory(kMedium);
  system.modulePath = std::string(kMedium) + "SETUP.EXE";
  host.ListDirectoriesOf(files);
}

void AppWorld::PutMedium(std::string_view platform) {
  std::string script = CrLfLines({"[OS]", platform, "[LANGUAGE]", "2", "English", "ENG.TXT",
                                  "Deutsch", "GER.TXT", "[PROGMAN]", "Velmar"});
  for (auto [language, title] :
       {std::pair{"English", "Configure"}, std::pair{"Deutsch", "Konfigurieren"}})
    script +=
        CrLfLines({language, "1", title, "!SETUPFILE+CMD", "/c", "!SETUPDIR", "!SETUPICON", "1"});
  files.PutFile("A:\\SETUP.KVX", script);
  files.PutFile("A:\\ENG.TXT", LanguageFile("EN"));
  files.PutFile("A:\\GER.TXT", LanguageFile("DE"));
}

void AppWorld::SkipIntro() {
  host.OnShow("WND_intro", [](FakeDialogView& view, Dialog& intro) { intro.OnTimer(view, 1); });
}

std::string CrLfLines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::string Piped(std::string_view lines) {
  std::string text;
  for (char c : lines) text += c == '|' ? std::string("\r\n") : std::string(1, c);
  return text + "\r\n";
}

std::string LanguageFile(std::string_view tag, std::size_t keys) {
  std::string text = "Language file for tests\r\n";
  for (std::size_t i = 0; i < keys; ++i) {
    const std::string key = kCatalogueKeys[i].key;
    text += "; comment\r\n" + key + "\r\n" + std::string(tag) + " " + key + "\r\n";
  }
  return text + "trailer\r\n";
}

std::string LanguageText(std::string_view tag, int slot) {
  for (const CatalogueKey& key : kCatalogueKeys)
    if (key.slot == slot) return std::string(tag) + " " + key.key;
  return std::string();
}

std::string Szdd(std::string_view data) {
  std::string file(
      "SZDD\x88\xF0\x27\x33"
      "A_",
      10);
  for (int shift = 0; shift < 32; shift += 8) file += char((data.size() >> shift) & 0xFF);
  for (std::size_t i = 0; i < data.size(); i += 8) file += '\xFF' + std::string(data.substr(i, 8));
  return file;
}

void FillCatalogue(StringCatalogue& catalogue, std::string_view tag) {
  for (const CatalogueKey& key : kCatalogueKeys)
    catalogue.SetText(key.slot, std::string(tag) + " " + key.key);
}

}  // namespace setup
