// Back Up Data: the four copies in the Backup folder, the messages that
// begin each step, a missing band-scan list or log skipped, and failures
// that end the backup with the files written before it kept.

#include "freqfiles/Backup.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "memories/Scratchpad.h"
#include "scan/LimitRanges.h"
#include "support/ScriptedMessageBoxes.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Put(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

class BackupTest : public ::testing::Test {
 protected:
  BackupTest() {
    std::string pattern = (fs::temp_directory_path() / "ondaris-backup-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root = pattern;
    for (const char* dir : {"SysFiles", "LogFiles", "Backup"}) fs::create_directory(root / dir);

    pad.CurrentBank = 3;
    pad.bankTag(2) = "Utility";
    pad.setBankEnabled(2, true);
    ScratchpadChannel& c = pad.channel(2, 5);
    c.Frequency = 5000.0;
    c.Tag = "WWV";
    c.Mode = 0;
    c.FilterIndex = 1;
    c.StepIndex = 4;
    c.AGC = 2;
    limits.fill(DefaultLimitRange());
    limits[0].Name = "5900-6200";
    limits[0].Low = 5900;
    limits[0].High = 6200;
  }
  ~BackupTest() override {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }

  BackupOutcome Run() { return BackUpData(root.string() + "/", pad, limits, messages); }

  fs::path root;
  Scratchpad pad;
  LimitRangeList limits;
  ScriptedMessageBoxes messages;
};

// Odd line ends and no final line end: the copies are byte for byte.
const std::string BandBytes = "\"49 m band\",5900,6200,\"AM\",8000,1,5000,0,3,\"evening\",0,0\n\"x\",1,2\r\nlast";
const std::string LogBytes = std::string("Date\tTime\r\n2024-01-01\t1200\xE9\r\n");

TEST_F(BackupTest, CopiesAllFourFilesWithAMessageBeforeEach) {
  Put(root / "SysFiles/BandScan.dat", BandBytes);
  Put(root / "LogFiles/OndarisLog.txt", LogBytes);
  const BackupOutcome outcome = Run();
  EXPECT_EQ(outcome.filesWritten, 4);
  EXPECT_TRUE(outcome.completed);
  EXPECT_EQ(messages.messages(),
            (std::vector<std::string>{"Writing Backup\\Scratchpad.dat", "Writing Backup\\Limits1.dat",
                                      "Writing Backup\\BandScan.dat", "Writing Backup\\OndarisLog.txt"}));
  EXPECT_EQ(Slurp(root / "Backup/Scratchpad.dat"), EncodeScratchpad(pad));
  EXPECT_EQ(Slurp(root / "Backup/Scratchpad.dat").size(), ScratchpadFileSize);
  EXPECT_EQ(Slurp(root / "Backup/Limits1.dat"), EncodeLimitRanges(limits));
  EXPECT_EQ(Slurp(root / "Backup/Limits1.dat").size(), LimitsFileSize);
  EXPECT_EQ(Slurp(root / "Backup/BandScan.dat"), BandBytes);
  EXPECT_EQ(Slurp(root / "Backup/OndarisLog.txt"), LogBytes);
}

TEST_F(BackupTest, WithoutALogThreeFilesAndThreeMessages) {
  Put(root / "SysFiles/BandScan.dat", BandBytes);
  const BackupOutcome outcome = Run();
  EXPECT_EQ(outcome.filesWritten, 3);
  EXPECT_TRUE(outcome.completed);
  EXPECT_EQ(messages.messages(),
            (std::vector<std::string>{"Writing Backup\\Scratchpad.dat", "Writing Backup\\Limits1.dat",
                                      "Writing Backup\\BandScan.dat"}));
  EXPECT_FALSE(fs::exists(root / "Backup/OndarisLog.txt"));
}

TEST_F(BackupTest, AMissingBandScanListIsSkippedWithAMessageAndTheBackupGoesOn) {
  Put(root / "LogFiles/OndarisLog.txt", LogBytes);
  const BackupOutcome outcome = Run();
  EXPECT_EQ(outcome.filesWritten, 3);
  EXPECT_TRUE(outcome.completed);
  EXPECT_EQ(messages.messages(),
            (std::vector<std::string>{"Writing Backup\\Scratchpad.dat", "Writing Backup\\Limits1.dat",
                                      BackupBandScanMissingMessage, "Writing Backup\\OndarisLog.txt"}));
  EXPECT_FALSE(fs::exists(root / "Backup/BandScan.dat"));
  EXPECT_EQ(Slurp(root / "Backup/OndarisLog.txt"), LogBytes);
}

TEST_F(BackupTest, ReplacesOlderCopies) {
  Put(root / "SysFiles/BandScan.dat", BandBytes);
  for (const char* name : {"Scratchpad.dat", "Limits1.dat", "BandScan.dat"})
    Put(root / "Backup" / name, std::string(50000, 'o'));
  EXPECT_TRUE(Run().completed);
  EXPECT_EQ(Slurp(root / "Backup/Scratchpad.dat"), EncodeScratchpad(pad));
  EXPECT_EQ(Slurp(root / "Backup/Limits1.dat"), EncodeLimitRanges(limits));
  EXPECT_EQ(Slurp(root / "Backup/BandScan.dat"), BandBytes);
}

TEST_F(BackupTest, AMissingBackupFolderIsMadeAgain) {
  fs::remove_all(root / "Backup");
  Put(root / "SysFiles/BandScan.dat", BandBytes);
  EXPECT_EQ(Run().filesWritten, 3);
  EXPECT_EQ(Slurp(root / "Backup/BandScan.dat"), BandBytes);
}

// A folder standing where a copy must go makes that copy fail.
TEST_F(BackupTest, AScratchpadCopyThatFailsEndsTheBackup) {
  Put(root / "SysFiles/BandScan.dat", BandBytes);
  fs::create_directory(root / "Backup/Scratchpad.dat");
  const BackupOutcome outcome = Run();
  EXPECT_EQ(outcome.filesWritten, 0);
  EXPECT_FALSE(outcome.completed);
  EXPECT_EQ(messages.messages(),
            (std::vector<std::string>{"Writing Backup\\Scratchpad.dat",
                                      "Could not save Scratchpad backup file.  Aborting save operation"}));
  EXPECT_FALSE(fs::exists(root / "Backup/Limits1.dat"));
  EXPECT_FALSE(fs::exists(root / "Backup/BandScan.dat"));
}

TEST_F(BackupTest, ALimitsCopyThatFailsEndsTheBackupAndKeepsTheScratchpad) {
  Put(root / "SysFiles/BandScan.dat", BandBytes);
  fs::create_directory(root / "Backup/Limits1.dat");
  const BackupOutcome outcome = Run();
  EXPECT_EQ(outcome.filesWritten, 1);
  EXPECT_FALSE(outcome.completed);
  EXPECT_EQ(messages.messages(),
            (std::vector<std::string>{"Writing Backup\\Scratchpad.dat", "Writing Backup\\Limits1.dat",
                                      "Could not save the backup limits file to disk."}));
  EXPECT_EQ(Slurp(root / "Backup/Scratchpad.dat"), EncodeScratchpad(pad));
  EXPECT_FALSE(fs::exists(root / "Backup/BandScan.dat"));
}

TEST_F(BackupTest, ABandScanCopyThatFailsSaysWhyAndEndsTheBackup) {
  Put(root / "SysFiles/BandScan.dat", BandBytes);
  Put(root / "LogFiles/OndarisLog.txt", LogBytes);
  fs::create_directory(root / "Backup/BandScan.dat");
  const BackupOutcome outcome = Run();
  EXPECT_EQ(outcome.filesWritten, 2);
  EXPECT_FALSE(outcome.completed);
  const std::vector<std::string> shown = messages.messages();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[2], "Writing Backup\\BandScan.dat");
  EXPECT_EQ(shown[3].rfind(std::string(BackupBandScanFailedMessage) + "\n", 0), 0u) << shown[3];
  EXPECT_FALSE(fs::exists(root / "Backup/OndarisLog.txt"));
}

TEST_F(BackupTest, ALogCopyThatFailsSaysWhy) {
  Put(root / "SysFiles/BandScan.dat", BandBytes);
  Put(root / "LogFiles/OndarisLog.txt", LogBytes);
  fs::create_directory(root / "Backup/OndarisLog.txt");
  const BackupOutcome outcome = Run();
  EXPECT_EQ(outcome.filesWritten, 3);
  EXPECT_FALSE(outcome.completed);
  EXPECT_EQ(messages.messages().back().rfind(std::string(BackupLogFailedMessage) + "\n", 0), 0u);
}

TEST_F(BackupTest, AnEmptyBandScanListIsCopiedEmpty) {
  Put(root / "SysFiles/BandScan.dat", "");
  EXPECT_EQ(Run().filesWritten, 3);
  ASSERT_TRUE(fs::exists(root / "Backup/BandScan.dat"));
  EXPECT_EQ(Slurp(root / "Backup/BandScan.dat"), "");
}

}  // namespace
}  // namespace ondaris
