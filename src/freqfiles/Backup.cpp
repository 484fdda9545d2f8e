#include "freqfiles/Backup.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "common/ProgramDir.h"
#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "platform/MessageBoxes.h"

namespace ondaris {

namespace {

// Copies `from` to `to` unchanged. False when `from` does not exist; throws
// FileError when it cannot be read or `to` cannot be written.
bool CopyWhole(const std::string& from, const std::string& to) {
  const std::optional<std::string> bytes = ReadWholeFile(from);
  if (!bytes) return false;
  WriteFileAtomically(to, *bytes);
  return true;
}

}  // namespace

BackupOutcome BackUpData(const std::string& programDir, const Scratchpad& pad, const LimitRangeList& limits,
                         MessageBoxes& messages) {
  BackupOutcome outcome;
  const std::string dir = WithTrailingSlash(programDir);
  const std::string backup = dir + "Backup/";
  // The folder is made at start-up; one removed since then is made again.
  std::error_code ignored;
  std::filesystem::create_directory(dir + "Backup", ignored);

  messages.showMessage(BackupScratchpadMessage);
  try {
    WriteScratchpadFile(backup + "Scratchpad.dat", pad);
  } catch (const FileError&) {
    messages.showMessage(BackupScratchpadFailedMessage);
    return outcome;
  }
  ++outcome.filesWritten;

  messages.showMessage(BackupLimitsMessage);
  try {
    WriteLimitRangesFile(backup + "Limits1.dat", limits);
  } catch (const FileError&) {
    messages.showMessage(BackupLimitsFailedMessage);
    return outcome;
  }
  ++outcome.filesWritten;

  const std::string bandScan = dir + "SysFiles/BandScan.dat";
  if (!FileExists(bandScan)) {
    messages.showMessage(BackupBandScanMissingMessage);
  } else {
    messages.showMessage(BackupBandScanMessage);
    try {
      if (CopyWhole(bandScan, backup + "BandScan.dat")) ++outcome.filesWritten;
    } catch (const FileError& error) {
      messages.showMessage(std::string(BackupBandScanFailedMessage) + "\n" + error.what());
      return outcome;
    }
  }

  const std::string log = dir + "LogFiles/OndarisLog.txt";
  if (FileExists(log)) {
    messages.showMessage(BackupLogMessage);
    try {
      if (CopyWhole(log, backup + "OndarisLog.txt")) ++outcome.filesWritten;
    } catch (const FileError& error) {
      messages.showMessage(std::string(BackupLogFailedMessage) + "\n" + error.what());
      return outcome;
    }
  }

  outcome.completed = true;
  return outcome;
}

}  // namespace ondaris
