#include "support/AppWorld.h"

#include <set>
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
  // The configuration dialog's templates, whose destroyed and missing controls matter.
  using T = FakeDialogHost::Template;
  host.TemplateControls("DLG_cfg_main", T{{0, 1, 174, 41, 43, 44}, {}, {}});
  host.TemplateControls(
      "DLG_cfg_adapter",
      T{{34, 35, 39, 40, 46, 47, 50, 51, 52, 53, 54, 55, 56, 57, 58, 64}, {57}, {}});
  const std::set<int> advanced = {37, 48, 49, 59, 60, 61, 62, 63, 65, 66};
  host.TemplateControls("DLG_cfg_advanced", T{advanced, {}, {61}});
  std::set<int> mntsw = advanced;
  mntsw.insert(67);
  host.TemplateControls("DLG_cfg_advanced_mntsw", T{mntsw, {}, {61, 67}});
  host.TemplateControls("DLG_cfg_maintenance", T{{34, 38, 52, 68, 69, 70, 71, 72, 73, 74,
                                                  75, 76, 77, 78, 79, 80, 81, 82, 91, 92},
                                                 {72, 74, 76, 78},
                                                 {}});
  host.TemplateControls("DLG_partynumber", T{{0, 1, 85, 86, 87, 88}, {86, 88}, {}});
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
  for (const OwnCatalogueKey& own : kOwnCatalogueKeys)
    text += std::string(own.key.key) + "\r\n" + std::string(tag) + " " + own.key.key + "\r\n";
  return text + "trailer\r\n";
}

std::string LanguageText(std::string_view tag, int slot) {
  for (const CatalogueKey& key : kCatalogueKeys)
    if (key.slot == slot) return std::string(tag) + " " + key.key;
  for (const OwnCatalogueKey& own : kOwnCatalogueKeys)
    if (own.key.slot == slot) return std::string(tag) + " " + own.key.key;
  return std::string();
}

std::string Szdd(std::string_view data) {
  std::string file = std::string("SZDD\x88\xF0\x27\x33", 8) + "A_";
  for (int shift = 0; shift < 32; shift += 8) file += char((data.size() >> shift) & 0xFF);
  for (std::size_t i = 0; i < data.size(); i += 8) file += '\xFF' + std::string(data.substr(i, 8));
  return file;
}

void FillCatalogue(StringCatalogue& catalogue, std::string_view tag) {
  for (const CatalogueKey& key : kCatalogueKeys)
    catalogue.SetText(key.slot, std::string(tag) + " " + key.key);
}

}  // namespace setup
