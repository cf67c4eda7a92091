// The driver's registry entries beyond what the install walk and flow show: other makers'
// registrations, reading back, an unsound backup, and the helpers' cut buffers.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "script/Protocols.h"
#include "support/RegistryWorld.h"
#include "sysconfig/CapiRegistration.h"
#include "sysconfig/IntegrityBackup.h"
#include "sysconfig/RegistryAccess.h"
#include "sysconfig/ServiceConfig.h"
#include "sysconfig/SystemEntriesRemoval.h"

namespace setup {
namespace {

using Texts = std::vector<std::string>;

struct ServiceWorld : RegistryWorld {
  ServiceWorld() {
    files.PutFile("A:\\SETUP.KVX", Piped("[PROTOCOL]|2|Plain|vmplain.sys|0|X31|vmx31.sys|2"));
    PutMachine();
    state->SourceDir.Assign("A:\\");
  }
  void Register(const std::string& name, const std::string& maker, bool locked = false) {
    registry.AddKey("SOFTWARE\\CAPI20\\" + name);
    if (!maker.empty())
      registry.PutValue("SOFTWARE\\CAPI20\\" + name, "Manufacturer", Registry::kSz, maker + '\0');
    if (locked) registry.DenyAllAccess("SOFTWARE\\CAPI20\\" + name);
  }
  // Registered with one adapter, maintenance on with all eight party numbers.
  void Install() {
    PutDriver(1, [](DriverServiceConfig& c, AdapterTable&) {
      c.ImagePath.Assign(std::string(kDriverPrefix) + "vmplain.sys");
      c.MaintenanceMode = kMaintenanceFull;
      c.CgpnCount = kMaxCgpn;
    });
    WriteScriptVersion(services, *state, 1);
  }
};

TEST(ServiceConfigTest, NumberIsTheOwnRegistrationOrOneAboveEveryOther) {
  const std::string f = "Other Maker", own(kOwnManufacturer);
  const struct {
    std::vector<std::vector<std::string>> registrations;  // name, maker, "locked"; none: no key
    int failListing;
    std::uint32_t number;  // 0: the search failed
    int found;
  } cases[] = {
      {{{"1", f}, {"3", f}}, 0, 4, 0},
      {{{"1", f}, {"3", f}, {"2", "kvx corvane gmbh"}}, 0, 2, 1},
      // Unnamed, unopenable or not named by a number counts as foreign.
      {{{"1", ""}, {"2", own, "locked"}, {"Velmar", own}}, 0, 3, 0},
      // Cut short, the listing would give 2, another maker's number.
      {{{"1", f}, {"2", f}}, 2, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    ServiceWorld w;
    for (const auto& r : c.registrations) w.Register(r[0], r[1], r.size() > 2);
    w.registry.FailListing(c.failListing);
    int found = -1;
    EXPECT_EQ(FindCapiControllerNumber(w.services, *w.state, found), c.number);
    EXPECT_EQ(found, c.found);
    EXPECT_EQ(w.Messages(), c.number ? Texts{} : Texts{"no key SOFTWARE\\CAPI20"});
    EXPECT_EQ(CapiHasOtherControllers(w.services, *w.state), c.registrations.size() > 1);
  }
}

// The stored configuration with one value changed, read back over a record that holds kHeld: a
// value of another type is not taken; the party numbers end at the first gap; the controller
// is one of the adapters or all of them.
TEST(ServiceConfigTest, ReadingBackTakesOnlyWhatBelongs) {
  const std::string p(kParametersKeyPath), m = p + "\\Maintenance";
  constexpr std::uint32_t kHeld = 0x250;
  const auto stored = [](std::uint32_t type, std::string bytes) {
    return std::optional(MemoryRegistry::Value{type, std::move(bytes)});
  };
  using D = DriverServiceConfig;
  const struct {
    std::string key, name;
    std::optional<MemoryRegistry::Value> stored;  // none: deleted
    std::uint32_t D::*field;
    std::uint32_t read;
  } cases[] = {
      {p, "DosVector", stored(Registry::kSz, "5"), &D::DosVector, kHeld},
      {m, "CGPN3", {}, &D::CgpnCount, 2},
      {m, "Controller", stored(Registry::kDword, "\2"), &D::Controller, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    ServiceWorld w;
    w.Install();
    if (c.stored) {
      w.registry.PutValue(c.key, c.name, c.stored->type, c.stored->bytes);
    } else {
      const OpenKey key(w.registry, c.key, Registry::Access::All);
      w.registry.DeleteValue(key.key(), c.name);
    }
    D read;
    read.*c.field = kHeld;
    EXPECT_EQ(ReadServiceConfig(w.services, *w.state, read), 1);
    EXPECT_EQ(read.*c.field, c.read);
    EXPECT_TRUE(w.Messages().empty());
  }
}

// A count of the registrations that fails leaves the shared entries: another maker may need
// them.
TEST(ServiceConfigTest, ARemovalInDoubtKeepsTheSharedEntries) {
  ServiceWorld w;
  w.Install();
  w.registry.FailListing(3);  // the count, after the search's two listings
  EXPECT_EQ(RemoveSystemEntries(w.services, *w.state), 1);
  EXPECT_EQ(w.registry.ValueOf(std::string(kServiceGroupOrderKeyPath), "List")->bytes,
            std::string("CAPI20\0NDIS\0\0", 13));
  EXPECT_TRUE(w.registry.HasKey("SOFTWARE\\CAPI20"));
  EXPECT_FALSE(w.registry.HasKey(std::string(kServiceKeyPath)));
  EXPECT_TRUE(w.Messages().empty());
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
               {"D;1;", "D;4294967296;", "19970314"},
               {"M;0;", "M;2;", "19970314"},  // a flag is 0 or 1
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

// The backup stores ";" as ",".
TEST(ServiceConfigTest, IntegrityCheckComparesTheServiceAndAdapterValuesAsStored) {
  using C = DriverServiceConfig;
  using A = AdapterConfig;
  C stored;
  stored.ImagePath.Assign("\\D\\vm,a.sys");
  stored.NumberOfControllers = 2;
  AdapterTable storedAdapters{};
  storedAdapters[1].SPID.Assign("Ab,c");
  const auto matches = [&](const std::function<void(C&, A&)>& change, int withSpid = 1) {
    C live = stored;
    live.ImagePath.Assign("\\D\\vm;a.sys");
    AdapterTable liveAdapters = storedAdapters;
    liveAdapters[1].SPID.Assign("Ab;c");
    change(live, liveAdapters[1]);
    return MatchesIntegrityBackup(live, stored, liveAdapters, storedAdapters, withSpid);
  };
  // Compared as stored.
  EXPECT_EQ(matches([](C& c, A&) { c.ImagePath.Assign("\\d\\VM;A.SYS"); }), 1);
  EXPECT_EQ(matches([](C&, A& a) { a.SPID.Assign("x"); }, 0), 1);
  EXPECT_EQ(matches([](C&, A& a) { a.SPID.Assign("x"); }), 0);
  EXPECT_EQ(matches([](C& c, A&) { c.ImagePath.Assign("\\D\\vmb.sys"); }), 0);
  EXPECT_EQ(matches([](C& c, A&) { c.DosVector = 9; }), 0);
  EXPECT_EQ(matches([](C&, A& a) { a.Interrupt = 9; }), 0);

  // A backup that differs: apply keeps the live values, restore takes the backup's, only Yes
  // goes on.
  const struct {
    int button, answer, result;
  } branches[] = {
      {99, Prompts::kYes, 1}, {99, Prompts::kNo, 0}, {100, Prompts::kYes, 2}, {1, 0, 0}};
  for (const auto& b : branches) {
    ServiceWorld w;
    InitServiceConfigDefaults(w.services, *w.state, 1, w.state->ServiceConfig);
    WriteIntegrityBackup(w.services, *w.state);
    w.state->ServiceConfig.Start = 4;
    w.host.OnShow("DLG_chkintegrity", [&](FakeDialogView& v, Dialog&) { v.UserClicks(b.button); });
    if (b.button != 1) w.prompts.Answer(b.answer);
    EXPECT_EQ(CheckIntegrity(w.services, *w.state, kNoWindow), b.result) << b.button;
    EXPECT_EQ(w.state->ServiceConfig.Start, b.result == 2 ? 1u : 4u);
  }
}

TEST(ServiceConfigTest, RegistryHelpersNeverOverrunABuffer) {
  RegistryWorld w;
  const std::string kKey = "SOFTWARE\\Test";
  RegistryValueTable table;
  table[0] = TextRow("ImagePath", Registry::kExpandSz, std::string(259, 'd'));
  const CreatedKey key(w.registry, kKey);
  EXPECT_EQ(WriteValueTable(w.registry, key.key(), table, 0), 1);
  EXPECT_EQ(w.registry.ValueOf(kKey, "ImagePath")->bytes, std::string(259, 'd') + '\0');

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
