#pragma once
// The File menu's "&Back Up Data" (BackupItem): copies the scratchpad, the
// limit ranges, the band-scan list and the logbook into the Backup folder
// below the program folder, replacing the copies there:
//
//   Backup/Scratchpad.dat   the scratchpad in memory, in its file layout
//   Backup/Limits1.dat      the 20 limit ranges in memory, in their file layout
//   Backup/BandScan.dat     SysFiles/BandScan.dat, byte for byte
//   Backup/OndarisLog.txt   LogFiles/OndarisLog.txt, byte for byte, when it exists
//
// Each step begins with an information message naming the file it writes.
// The frequency files, the receiver state files and Reopen.dat are not part
// of the backup; there is no restore command.

#include <string>

#include "memories/Scratchpad.h"
#include "scan/LimitRanges.h"

namespace ondaris {

class MessageBoxes;

inline constexpr const char* BackupScratchpadMessage = "Writing Backup\\Scratchpad.dat";
inline constexpr const char* BackupLimitsMessage = "Writing Backup\\Limits1.dat";
inline constexpr const char* BackupBandScanMessage = "Writing Backup\\BandScan.dat";
inline constexpr const char* BackupLogMessage = "Writing Backup\\OndarisLog.txt";
inline constexpr const char* BackupScratchpadFailedMessage =
    "Could not save Scratchpad backup file.  Aborting save operation";
inline constexpr const char* BackupLimitsFailedMessage = "Could not save the backup limits file to disk.";
// A missing band-scan list is skipped; the backup goes on with the log.
inline constexpr const char* BackupBandScanMissingMessage =
    "SysFiles\\BandScan.dat was not found, so Backup\\BandScan.dat was not written.";
// A band-scan list or log that cannot be read or copied ends the backup;
// the system's reason follows on the next line.
inline constexpr const char* BackupBandScanFailedMessage =
    "Could not copy SysFiles\\BandScan.dat to Backup\\BandScan.dat.";
inline constexpr const char* BackupLogFailedMessage =
    "Could not copy LogFiles\\OndarisLog.txt to Backup\\OndarisLog.txt.";

struct BackupOutcome {
  int filesWritten = 0;    // 0..4
  bool completed = false;  // false: a failure ended the backup early
};

// BackupItemClick. Creates the Backup folder when it has gone. Files written
// before a failure remain.
BackupOutcome BackUpData(const std::string& programDir, const Scratchpad& pad, const LimitRangeList& limits,
                         MessageBoxes& messages);

}  // namespace ondaris
