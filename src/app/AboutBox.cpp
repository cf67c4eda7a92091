#include "app/AboutBox.h"

#include <cstdint>
#include <string>

#include "app/FileVersions.h"
#include "script/CatalogueKeys.h"
#include "script/SafeFormat.h"
#include "script/ScriptReader.h"

namespace setup {
namespace {

// Only the low words count. A minor version of 100 or more carries a two-digit revision
// (123 is 1, revision 23), a smaller one a single digit (23 is 2, revision 3). Empty for 0.0,
// which no installed driver reports.
std::string ManufacturerVersionText(std::uint32_t major, std::uint32_t minor) {
  const std::uint32_t high = major & 0xFFFF, low = minor & 0xFFFF;
  if (high == 0 && low == 0) return {};
  const std::uint32_t unit = low >= 100 ? 100 : 10;
  return FormatText("v%u.%u (rev.%02u)", {high, low / unit, low % unit});
}

}  // namespace

void ShowDriverVersion(DialogView& view, Services& services, const ProgramState& state) {
  LineText dll;
  ReadCurrentCapiDll(services.files, state.Script(), dll);
  std::string text;
  if (!dll.empty()) {
    if (const auto version = services.system.CapiDllVersion(std::string(dll.view())))
      text = ManufacturerVersionText(version->manufacturerMajor, version->manufacturerMinor);
  }
  if (text.empty()) text = state.Catalogue.Text(text::TEXT_NOCAPIINSTALLED);
  view.SetText(about_box::kDriverVersion, text);
}

void AboutBox::OnInit(DialogView& view) {
  using namespace about_box;
  const StringCatalogue& catalogue = state_.Catalogue;
  view.ShowWindow(false);
  view.Centre();
  SetCaptionText(view, catalogue, text::DLG_ABOUT_CAPTION);
  SetItemTextFrom(view, catalogue, kOk, text::BUTTON_OK);
  for (int id : {kText, kDriverLabel, kFileVersions}) SetItemText(view, catalogue, id);
  ShowDriverVersion(view, services_, state_);
  view.ShowWindow(true);
}

void AboutBox::OnCommand(DialogView& view, int id, int) {
  if (listing_) return;
  if (id == about_box::kFileVersions) {
    listing_ = true;
    ShowFileVersions(services_, state_, view.Window());
    listing_ = false;
  } else {
    view.End(0);
  }
}

void AboutBox::OnClose(DialogView& view) {
  if (!listing_) view.End(0);
}

}  // namespace setup
