#pragma once

#include <cstdint>

#include "platform/Dialog.h"
#include "platform/Services.h"
#include "state/ConfigRecords.h"
#include "state/ProgramState.h"

namespace setup {

// Stores the in-memory configuration as "RegistryBackup" with today's "BackupDate" in the
// integrity-check key. A ";" inside a text is stored as "," so that no field shifts. False
// after a failure, reported.
bool WriteIntegrityBackup(Services& services, const ProgramState& state);

// True only when the backup is surely not there, as after an install stopped before its
// configuration was whole; a read that fails leaves it in doubt.
bool IntegrityBackupMissing(Registry& registry);

// Parses "RegistryBackup" into the record and the table, which keep their other fields.
// 1 when a whole backup was read; 0, with both left untouched, when there is none or it is
// empty, short, overlong in a field, has a number that is not plain decimal digits within
// its range or claims more than four adapters.
int ReadIntegrityBackup(Services& services, const ProgramState& state, DriverServiceConfig& config,
                        AdapterTable& adapters);

// 1 when the live configuration equals the backup in the fields the check compares; the
// live texts are compared as the backup stores them.
int MatchesIntegrityBackup(const DriverServiceConfig& live, const DriverServiceConfig& backup,
                           const AdapterTable& liveAdapters, const AdapterTable& backupAdapters,
                           int withSpid);

// Compares the registry's configuration, already read into the state, with the backup and
// lets the user choose when they differ. 0 do not configure; 1 configure with the live
// values (also without a sound backup with its date); 2 configure with the backup, now in
// the state.
int CheckIntegrity(Services& services, ProgramState& state, WindowRef owner);

// "DLG_chkintegrity": tells the date of the last setup change (yyyymmdd as a number) and ends
// with 1 apply, 2 restore or 0 cancel.
class IntegrityDialog : public Dialog {
 public:
  IntegrityDialog(const StringCatalogue& catalogue, std::uint32_t backupDate)
      : catalogue_(catalogue), backupDate_(backupDate) {}

  void OnInit(DialogView& view) override;
  void OnCommand(DialogView& view, int id, int code) override;
  void OnClose(DialogView& view) override { view.End(0); }

 private:
  const StringCatalogue& catalogue_;
  std::uint32_t backupDate_;
};

}  // namespace setup
