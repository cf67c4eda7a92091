// The driver's registry entries beyond what the install walk and flow show: other makers'
// registrations, an unsound backup, and the helpers' cut buffers.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/RegistryWorld.h"
#include "sysconfig/CapiRegistration.h"
#include "sysconfig/IntegrityBackup.h"
#include "sysconfig/RegistryAccess.h"
#include "sysconfig/ServiceConfig.h"

namespace setup {
namespace {

using Texts = std::vector<std::string>;

struct ServiceWorld : RegistryWorld {
  ServiceWorld() {
    files.PutFile("A:\\SETUP.KVX", Piped("[PROTOCOL]|1|Plain|vmplain.sys|0"));
    PutMachine();
    state->SourceDir.Assign("A:\\");
  }
  void Register(const std::string& name, const std::string& maker, bool locked = false) {
    registry.AddKey("SOFTWARE\\CAPI20\\" + name);
    if (!maker.empty())
      registry.PutValue("SOFTWARE\\CAPI20\\" + name, "Manufacturer", Registry::kSz, maker + '\0');
    if (locked) registry.DenyAllAccess("SOFTWARE\\CAPI20\\" + name);
  }
};

TEST(ServiceConfigTest, NumberIsTheOwnRegistrationOrOneAboveEveryOther) {
  const std::string f = "Other Maker", own(kOwnManufacturer);
  const struct {
    std::vector<std::vector<std::string>> registrations;  // name, maker, "locked"
    std::uint32_t number;
    int found;
  } cases[] = {
      {{{"1", f}, {"3", f}, {"2", "kvx corvane gmbh"}}, 2, 1},
      // Unnamed or unopenable counts as foreign.
      {{{"1", ""}, {"2", own, "locked"}}, 3, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    ServiceWorld w;
    w.registry.AddKey("SOFTWARE\\CAPI20");
    for (const auto& r : c.registrations) w.Register(r[0], r[1], r.size() > 2);
    int found = -1;
    EXPECT_EQ(FindCapiControllerNumber(w.services, found), c.number);
    EXPECT_EQ(found, c.found);
    EXPECT_EQ(CapiHasOtherControllers(w.services, *w.state), c.registrations.size() > 1);
    EXPECT_TRUE(w.Messages().empty());
  }
}

// A value or a date the writer cannot have left is no backup: configuring goes on without a
// question, nothing is taken.
TEST(ServiceConfigTest, AnUnsoundBackupCountsAsNone) {
  const std::string sound =
      "D;1;G;\\SystemRoot\\System32\\drivers\\vmplain.sys;1;1;1;0;C;241;0;0;M;0;0;1;2;592;5;";
  const struct {
    std::string from, to;  // in the sound value; none for a sound value
    const char* date;
  } cases[] = {{"5;", "5", "19970314"},  // cut short by one byte
               {"D;1;", "D;;", "19970314"},
               {"D;1;", "D;1x;", "19970314"},
               {"D;1;", "D;4294967296;", "19970314"},
               {"M;0;", "M;2;", "19970314"},  // a flag is 0 or 1
               {"", "", nullptr},
               {"", "", "1997314"},
               {"", "", "19971314"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.to + (c.date ? c.date : "no date"));
    ServiceWorld w;
    std::string value = sound;
    if (!c.from.empty()) value.replace(value.rfind(c.from), c.from.size(), c.to);
    w.registry.PutValue(std::string(kIntegrityKeyPath), "RegistryBackup", Registry::kSz,
                        value + '\0');
    if (c.date)
      w.registry.PutValue(std::string(kIntegrityKeyPath), "BackupDate", Registry::kSz,
                          std::string(c.date) + '\0');
    DriverServiceConfig config;
    AdapterTable adapters{};
    EXPECT_EQ(ReadIntegrityBackup(w.services, *w.state, config, adapters), c.from.empty());
    EXPECT_EQ(config == DriverServiceConfig{}, !c.from.empty());
    EXPECT_EQ(CheckIntegrity(w.services, *w.state, kNoWindow), 1);
    EXPECT_TRUE(w.host.views().empty());
  }
}

// The backup stores ";" as ","; the maintenance settings are not in it.
TEST(ServiceConfigTest, IntegrityCheckComparesTheServiceAndAdapterValuesAsStored) {
  using C = DriverServiceConfig;
  using A = AdapterConfig;
  C stored;
  stored.ImagePath.Assign("\\D\\vm,a.sys");
  stored.NumberOfControllers = 2;
  AdapterTable storedAdapters{};
  storedAdapters[1].SPID.Assign("Ab,c");
  const struct {
    void (*change)(C&, A&);
    int withSpid, matches;
  } rows[] = {{[](C& c, A&) { c.Type = c.x31Layer2 = c.Controller = c.cipValue = 9; }, 1, 1},
              {[](C& c, A&) {
                 c.DisplayName.Assign("x"), c.Group.Assign("x"), c.DeviceName.Assign("x");
                 c.Manufacturer.Assign("x");
               },
               1, 1},
              {[](C& c, A&) { c.ImagePath.Assign("\\d\\VM;A.SYS"); }, 1, 1},
              {[](C&, A& a) { a.SPID.Assign("aB;C"); }, 1, 1},
              {[](C&, A& a) { a.SPID.Assign("x"); }, 0, 1},
              {[](C&, A& a) { a.SPID.Assign("x"); }, 1, 0},
              {[](C& c, A&) { c.ImagePath.Assign("\\D\\vmb.sys"); }, 1, 0},
              {[](C& c, A&) { c.ErrorControl = 9; }, 1, 0},
              {[](C& c, A&) { c.Start = 9; }, 1, 0},
              {[](C& c, A&) { c.DataIoMode = 9; }, 1, 0},
              {[](C& c, A&) { c.DeliveryConf = 9; }, 1, 0},
              {[](C& c, A&) { c.DosVector = 9; }, 1, 0},
              {[](C& c, A&) { c.Point2Point = 9; }, 1, 0},
              {[](C& c, A&) { c.Test = 9; }, 1, 0},
              {[](C& c, A&) { c.NumberOfControllers = 1; }, 1, 0},
              {[](C&, A& a) { a.Channels = 9; }, 1, 0},
              {[](C&, A& a) { a.BaseAddress = 9; }, 1, 0},
              {[](C&, A& a) { a.Interrupt = 9; }, 1, 0}};
  for (const auto& row : rows) {
    C live = stored;
    live.ImagePath.Assign("\\D\\vm;a.sys");
    AdapterTable liveAdapters = storedAdapters;
    liveAdapters[1].SPID.Assign("Ab;c");
    row.change(live, liveAdapters[1]);
    EXPECT_EQ(MatchesIntegrityBackup(live, stored, liveAdapters, storedAdapters, row.withSpid),
              row.matches)
        << &row - rows;
  }

  // A backup that differs: the dialog tells its date, apply keeps the live values, restore
  // takes the backup's, only Yes goes on.
  const struct {
    int button, answer, result;
  } branches[] = {{99, Prompts::kYes, 1},
                  {99, Prompts::kNo, 0},
                  {100, Prompts::kYes, 2},
                  {100, Prompts::kCancel, 0},
                  {1, 0, 0}};
  for (const auto& b : branches) {
    ServiceWorld w;
    w.state->Catalogue.SetText(text::DLG_CCI_INFOTXT, "%u.%u.%u");
    InitServiceConfigDefaults(w.services, *w.state, 1, w.state->ServiceConfig);
    WriteIntegrityBackup(w.services, *w.state);
    w.state->ServiceConfig.Start = 4;
    std::string date;
    w.host.OnShow("DLG_chkintegrity", [&](FakeDialogView& v, Dialog&) {
      date = v.Text(95);
      v.UserClicks(b.button);
    });
    if (b.button != 1) w.prompts.Answer(b.answer);
    EXPECT_EQ(CheckIntegrity(w.services, *w.state, kNoWindow), b.result) << b.button;
    EXPECT_EQ(date, "14.3.1997");
    EXPECT_EQ(w.state->ServiceConfig.Start, b.result == 2 ? 1u : 4u);
  }
}

TEST(ServiceConfigTest, RegistryHelpersWritePastAFailedRowAndNeverOverrunABuffer) {
  RegistryWorld w;
  const std::string kKey = "SOFTWARE\\Test";
  RegistryValueTable table;
  table[0] = TextRow("Failing", Registry::kSz, "x");
  table[1] = TextRow("ImagePath", Registry::kExpandSz, std::string(259, 'd'));
  table[2] = NumberRow("DosVector", 0xF1);
  table[3] = NumberRow("Behind", 1);
  const CreatedKey key(w.registry, kKey);
  w.registry.FailChange(1);
  EXPECT_EQ(WriteValueTable(w.registry, key.key(), table, 2), 0);
  EXPECT_FALSE(w.registry.ValueOf(kKey, "Failing"));
  EXPECT_EQ(w.registry.ValueOf(kKey, "ImagePath")->bytes, std::string(259, 'd') + '\0');
  EXPECT_EQ(w.registry.ValueOf(kKey, "DosVector")->bytes, std::string("\xF1\0\0\0", 4));
  EXPECT_FALSE(w.registry.ValueOf(kKey, "Behind"));

  for (const auto& [stored, result, text] :
       {std::tuple<std::string, int, std::string>{std::string("1234567\0", 8), 1, "1234567"},
        {"abc", 1, "abc"},  // stored without its terminator
        {"12345678", 0, ""}}) {
    w.registry.PutValue(kKey, "SPID", Registry::kSz, stored);
    std::string buffer(12, 'x');  // eight bytes and four guard bytes
    EXPECT_EQ(QueryStringValue(w.registry, key.key(), buffer.data(), "SPID", 8), result);
    EXPECT_EQ(buffer, text + std::string(8 - text.size(), '\0') + "xxxx");
  }

  ReportNoKey(w.services, *w.state, std::string(1500, 'k'));  // a message holds 1023 bytes
  EXPECT_EQ(w.Messages(), Texts{"no key " + std::string(1016, 'k')});
}

}  // namespace
}  // namespace setup
