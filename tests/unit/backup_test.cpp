// Back Up Data: the four copies in the Backup folder, the messages that
// begin each step, a missing band-scan list or log skipped, and failures
// that end the backup with the files written before it kept.

#include "freqfiles/Backup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "memories/Scratchpad.h"
#include "scan/LimitRanges.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

// Odd line ends and no final line end: the copies are byte for byte.
const std::string BandBytes = "\"49 m band\",5900,6200,\"AM\",8000,1,5000,0,3,\"evening\",0,0\n\"x\",1,2\r\nlast";
const std::string LogBytes = std::string("Date\tTime\r\n2024-01-01\t1200\xE9\r\n");
const std::string Pad = "Writing Backup\\Scratchpad.dat", Lim = "Writing Backup\\Limits1.dat",
                  Band = "Writing Backup\\BandScan.dat", Log = "Writing Backup\\OndarisLog.txt";
const char* const Names[] = {"Scratchpad.dat", "Limits1.dat", "BandScan.dat", "OndarisLog.txt"};

TEST(BackupTest, CopiesWhatThereIsAndStopsAtTheFirstFailure) {
  const struct {
    const char* label;
    const char* bandScan;     // nullptr: no BandScan.dat; else its bytes
    bool log;                 // LogFiles/OndarisLog.txt present
    const char* blocked;      // a folder standing where this copy must go (it fails), or nullptr
    bool removeBackupFolder;  // the Backup folder is made again
    int written;
    bool completed;
    Texts messages;           // "!" + text: a message that starts with text and a line end
  } cases[] = {
      {"all four", BandBytes.c_str(), true, nullptr, false, 4, true, {Pad, Lim, Band, Log}},
      {"no band scan list", nullptr, true, nullptr, false, 3, true, {Pad, Lim, BackupBandScanMissingMessage, Log}},
      {"empty band scan list, no log", "", false, nullptr, false, 3, true, {Pad, Lim, Band}},
      {"no backup folder", BandBytes.c_str(), false, nullptr, true, 3, true, {Pad, Lim, Band}},
      {"scratchpad fails", BandBytes.c_str(), false, "Scratchpad.dat", false, 0, false,
       {Pad, "Could not save Scratchpad backup file.  Aborting save operation"}},
      {"limits fail", BandBytes.c_str(), false, "Limits1.dat", false, 1, false,
       {Pad, Lim, "Could not save the backup limits file to disk."}},
      {"band scan fails", BandBytes.c_str(), true, "BandScan.dat", false, 2, false,
       {Pad, Lim, Band, std::string("!") + BackupBandScanFailedMessage}},
      {"log fails", BandBytes.c_str(), true, "OndarisLog.txt", false, 3, false,
       {Pad, Lim, Band, Log, std::string("!") + BackupLogFailedMessage}},
  };
  Scratchpad pad;
  pad.CurrentBank = 3, pad.bankTag(2) = "Utility";
  pad.setBankEnabled(2, true);
  pad.channel(2, 5).Frequency = 5000.0, pad.channel(2, 5).Tag = "WWV";
  LimitRangeList limits;
  limits.fill(DefaultLimitRange());
  limits[0].Name = "5900-6200", limits[0].Low = 5900, limits[0].High = 6200;

  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    TempFolder root{true};
    auto copy = [&](const std::string& name) { return ReadFileBytes(root.file("Backup/" + name)); };
    fs::create_directory(root.path() / "LogFiles");
    if (c.bandScan) WriteFileBytes(root.sysFile("BandScan.dat"), c.bandScan);
    if (c.log) WriteFileBytes(root.file("LogFiles/OndarisLog.txt"), LogBytes);
    if (!c.removeBackupFolder) {
      // Older copies are replaced.
      fs::create_directory(root.path() / "Backup");
      for (int i = 0; i < 3; ++i) WriteFileBytes(root.file(std::string("Backup/") + Names[i]), std::string(50000, 'o'));
    }
    if (c.blocked) {
      fs::remove(root.path() / "Backup" / c.blocked);
      fs::create_directory(root.path() / "Backup" / c.blocked);
    }

    ScriptedMessageBoxes messages;
    const BackupOutcome outcome = BackUpData(root.dir(), pad, limits, messages);
    EXPECT_EQ(std::pair(outcome.filesWritten, outcome.completed), std::pair(c.written, c.completed));
    Texts shown = messages.messages();
    for (std::size_t i = 0; i < shown.size() && i < c.messages.size(); ++i)
      if (c.messages[i][0] == '!' && shown[i].rfind(c.messages[i].substr(1) + "\n", 0) == 0) shown[i] = c.messages[i];
    EXPECT_EQ(shown, c.messages);
    // Each copy written is exact; none after a failure.
    const std::string expected[] = {EncodeScratchpad(pad), EncodeLimitRanges(limits), c.bandScan ? c.bandScan : "",
                                    LogBytes};
    int copied = 0;
    for (int i = 0; i < 4; ++i) {
      if ((i == 2 && !c.bandScan) || (i == 3 && !c.log)) continue;
      if (copied++ < c.written) {
        EXPECT_EQ(copy(Names[i]), expected[i]) << Names[i];
      } else if (!c.blocked || std::string(c.blocked) != Names[i]) {
        EXPECT_NE(copy(Names[i]), expected[i]) << Names[i];
      }
    }
    if (c.written >= 2) {
      EXPECT_EQ(std::pair(copy("Scratchpad.dat").size(), copy("Limits1.dat").size()),
                std::pair(ScratchpadFileSize, LimitsFileSize));
    }
  }
}

}  // namespace
}  // namespace ondaris
