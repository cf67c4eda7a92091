// The configuration dialog on the doubles: stored values kept, the adapter page's conflicts,
// party numbers, odd registry values, a failed OK and a restored backup.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ConfigDialog.h"
#include "support/RegistryWorld.h"
#include "sysconfig/IntegrityBackup.h"
#include "sysconfig/RegistryAccess.h"
#include "sysconfig/ServiceConfig.h"

namespace setup {
namespace {

constexpr WindowRef kMain = 0x77;
using Adjust = RegistryWorld::Adjust;

class ConfigDialogTest : public ::testing::Test {
 protected:
  ConfigDialogTest() {
    w_.PutMachine();
    w_.state->SourceDir.Assign("A:\\");
  }

  // The medium's script with maintenance `mode`, and the driver installed by it with
  // `adapters` adapters, changed by `adjust` before it was written and backed up.
  void Install(const std::string& mode, std::uint32_t adapters, const Adjust& adjust = {}) {
    w_.files.PutFile("A:\\SETUP.KVX",
                     Piped("[DEFPROTOCOL]|Euro|[PROTOCOL]|3|Euro|vmdss1.sys|2|Spid|vmni1.sys|1|"
                           "Plain|vmplain.sys|0|[MAINTENANCE]|" +
                           mode + "|2|0|service|velmar|1|5550100,1|1|5550199,"));
    w_.PutDriver(adapters, [&adjust](DriverServiceConfig& c, AdapterTable& a) {
      c.ImagePath.Assign("\\SystemRoot\\System32\\drivers\\vmdss1.sys");
      if (adjust) adjust(c, a);
    });
    WriteIntegrityBackup(w_.services, *w_.state);
  }

  void Open() { OpenConfigDialog(w_.services, *w_.state, kMain, w_.state->SourceDir.view()); }
  // The open window made from `name`; a test failure when there is none.
  FakeDialogView& View(const std::string& name) {
    for (auto& view : w_.host.views())
      if (view->templateName() == name && w_.host.Modeless(view->Window())) return *view;
    ADD_FAILURE() << name << " is not open";
    return *w_.host.views().front();
  }
  std::string Shown(const std::string& name, int id) {
    FakeDialogView& v = View(name);
    return v.ComboItemText(id, v.ComboSelection(id));
  }
  bool FrameOpen() const { return w_.state->ConfigDialog && w_.state->ConfigDialog->IsOpen(); }
  void Press(int id) { View("DLG_cfg_main").UserClicks(id); }
  // The configuration as the registry now holds it, its adapters into a_.
  DriverServiceConfig Stored() {
    DriverServiceConfig config;
    ReadServiceConfig(w_.services, *w_.state, config);
    for (std::uint32_t i = 0; i < kMaxAdapters; ++i)
      ReadAdapterConfig(w_.services, *w_.state, a_[i], static_cast<int>(i), 1);
    return config;
  }

  RegistryWorld w_;
  AdapterTable a_{};  // as Stored() read them
};

// Also an adapter count above four, bounded, and a driver image of no protocol the script
// knows, kept.
TEST_F(ConfigDialogTest, ListsShowEveryStoredValueAndKeepTheUnlistedOnes) {
  const std::string image = "\\SystemRoot\\System32\\drivers\\vmother.sys";
  Install("!MAINTENANCE_FULL", 4, [&image](DriverServiceConfig& c, AdapterTable& a) {
    c.Start = 7, c.Test = 2, c.DeliveryConf = 5, c.cipValue = 40, c.DosVector = 0x1F4;
    c.NumberOfControllers = 7;
    c.ImagePath.Assign(image);
    a[0].Interrupt = 10, a[0].BaseAddress = 0x300;
  });
  const int before = w_.registry.changesTried;
  Open();
  ASSERT_TRUE(FrameOpen());
  Press(config_frame::kOk);
  EXPECT_FALSE(FrameOpen());
  EXPECT_EQ(w_.registry.changesTried, before);

  Open();
  const struct {
    const char* page;
    int id;
    const char* shown;
  } rows[] = {{"DLG_cfg_adapter", 47, "7 (!)"},        {"DLG_cfg_adapter", 51, "2 (!)"},
              {"DLG_cfg_adapter", 56, "A (!)"},        {"DLG_cfg_adapter", 53, "300 (!)"},
              {"DLG_cfg_advanced_mntsw", 62, "5 (!)"}, {"DLG_cfg_advanced_mntsw", 48, "1F4 (!)"},
              {"DLG_cfg_maintenance", 69, "28 (!)"}};
  for (const auto& row : rows) EXPECT_EQ(Shown(row.page, row.id), row.shown) << row.id;
  EXPECT_EQ(View("DLG_cfg_adapter").ComboCount(adapter_page::kAdapters), 4);
  EXPECT_EQ(Shown("DLG_cfg_adapter", adapter_page::kProtocol),
            LanguageText("EN", text::TEXT_UNKNOWN_PROTO));
  View("DLG_cfg_advanced_mntsw").UserClicks(advanced_page::kPointToPoint);
  View("DLG_cfg_advanced_mntsw").UserChooses(advanced_page::kDataIo, 0);
  Press(config_frame::kOk);
  const DriverServiceConfig c = Stored();
  EXPECT_EQ(
      std::vector<std::uint32_t>({c.Start, c.Test, c.DeliveryConf, c.cipValue, c.DosVector,
                                  c.Point2Point, c.DataIoMode, a_[0].Interrupt, a_[0].BaseAddress}),
      std::vector<std::uint32_t>({7, 2, 5, 40, 0x1F4, 1, 0, 10, 0x300}));
  EXPECT_EQ(c.NumberOfControllers, 4u);
  EXPECT_EQ(c.ImagePath, image);
  EXPECT_EQ(w_.state->RestartRequired, 1);
}

TEST_F(ConfigDialogTest, AdaptersStayFreeOfConflictsAndTheSpidFreeOfTheBackupsSeparator) {
  Install("!MAINTENANCE_FULL", 2, [](DriverServiceConfig& c, AdapterTable& a) {
    c.ImagePath.Assign("\\SystemRoot\\System32\\drivers\\vmni1.sys");
    a[1].Interrupt = 11;
  });
  Open();
  FakeDialogView& page = View("DLG_cfg_adapter");
  EXPECT_EQ(page.control(56).items, (std::vector<std::string>{"3", "5", "(11)", "12", "15"}));
  page.UserChooses(adapter_page::kInterrupt, 2);
  EXPECT_EQ(Shown("DLG_cfg_adapter", 56), "5");
  EXPECT_EQ(w_.state->Adapters[0].Interrupt, 5u);
  EXPECT_TRUE(w_.state->ConfigDialog->Changed());

  // A protocol change keeps the SPID typed but not yet stored; the backup's ";" is refused.
  page.UserTypes(adapter_page::kSpid, "01;23456789ABCDEFG");
  for (int protocol : {2, 0, 1}) page.UserChooses(adapter_page::kProtocol, protocol);
  EXPECT_EQ(page.Text(adapter_page::kSpid), "0123456789ABCD");

  Press(config_frame::kOk);
  Stored();
  EXPECT_EQ(a_[0].SPID, "0123456789ABCD");
}

// A typed party number loses its separators and tabs; the list ends at eight numbers.
TEST_F(ConfigDialogTest, PartyNumbersAreSanitisedAndBounded) {
  Install("!MAINTENANCE_FULL", 1);
  Open();
  w_.host.OnShow("DLG_partynumber", [](FakeDialogView& v, Dialog&) {
    v.UserTypes(party_dialog::kNumber, "12,3\t4");
    v.UserTypes(party_dialog::kSubaddress, "9");
    v.UserClicks(party_dialog::kOk);
  });
  View("DLG_cfg_maintenance").UserClicks(maintenance_page::kAdd);
  Press(config_frame::kOk);
  const DriverServiceConfig c = Stored();
  EXPECT_EQ(c.CgpnCount, 2u);
  EXPECT_EQ(c.Cgpn[1], "1234,9");

  Open();
  for (int i = 2; i < 8; ++i) {
    w_.host.OnShow("DLG_partynumber", [](FakeDialogView& v, Dialog&) { v.UserClicks(0); });
    View("DLG_cfg_maintenance").UserClicks(maintenance_page::kAdd);
  }
  EXPECT_FALSE(View("DLG_cfg_maintenance").IsEnabled(maintenance_page::kAdd));
}

// A stored called number longer than the fields goes back whole.
TEST_F(ConfigDialogTest, CalledNumberLongerThanTheFieldsIsKept) {
  const std::string longer = "1234567890123456789012345,6789";
  Install("!MAINTENANCE_FULL", 1, [&longer](DriverServiceConfig& c, AdapterTable&) {
    c.CdpnCount = 1;
    c.Cdpn[0].Assign(longer);
  });
  Open();
  View("DLG_cfg_advanced_mntsw").UserClicks(advanced_page::kPointToPoint);
  Press(config_frame::kOk);
  EXPECT_EQ(Stored().Cdpn[0], longer);
}

TEST_F(ConfigDialogTest, AFailedOkWritesNothingAndRestoringTheBackupCountsAsAnEdit) {
  Install("!MAINTENANCE_OFF", 3);
  Open();
  View("DLG_cfg_advanced").UserClicks(advanced_page::kPointToPoint);
  const int before = w_.registry.changesTried;
  // Registrations that cannot be listed: OK writes nothing and leaves the dialog open.
  w_.registry.FailListing(1);
  Press(config_frame::kOk);
  ASSERT_TRUE(FrameOpen());
  EXPECT_EQ(w_.Messages(), std::vector<std::string>{"no key SOFTWARE\\CAPI20"});
  w_.host.AnswerBox(BoxAnswer::Yes);
  Press(config_frame::kCancel);
  EXPECT_FALSE(FrameOpen());
  EXPECT_EQ(w_.registry.changesTried, before);

  w_.registry.PutValue(std::string(kServiceKeyPath), "Start", Registry::kDword,
                       std::string("\x04\0\0\0", 4));
  w_.host.OnShow("DLG_chkintegrity", [](FakeDialogView& v, Dialog& d) { d.OnCommand(v, 100, 0); });
  w_.prompts.Answer(Prompts::kYes);
  Open();
  Press(config_frame::kOk);
  EXPECT_EQ(Stored().Start, 1u);
  EXPECT_EQ(Stored().NumberOfControllers, 3u);
}

}  // namespace
}  // namespace setup
