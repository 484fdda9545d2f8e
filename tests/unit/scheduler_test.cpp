// The scheduler through the panel's fakes: its files, the dialog's checks in
// their order, and the minute check starting and ending broadcasts.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/PanelFixture.h"
#include "support/TempFolder.h"
#include "timekeeping/ScheduleFiles.h"
#include "timekeeping/Scheduler.h"
#include "timekeeping/SkedDialog.h"

namespace ondaris {
namespace {

ScheduleEntry Entry(const std::string& date, const std::string& on, const std::string& off, double kHz = 9580) {
  return ScheduleEntry{.StartDate = date, .EndDate = date, .OnTime = on, .OffTime = off, .Station = "Radio Alba",
                       .Frequency = kHz, .Mode = "USB", .Filter = 2400, .AGC = "F", .MuteSpeaker = 1,
                       .padding = {}, .reserved = {}};
}

DateTime At(int month, int day, int hour, int minute) { return DateTime{2027, month, day, hour, minute, 0}; }

class SchedulerTest : public PanelFixture {
 protected:
  SchedulerTest() {
    std::filesystem::create_directories(folder.path() / "Export");
    scheduler.ScheduleLoaded = true;
    scheduler.stopScan = [this] { ++scanStops; };
    scheduler.recorder.start = [this](std::string& name, std::string& error) {
      if (!recorderWorks) error = "no input device";
      name = "9580_052027_2330.wav";
      return recorderWorks;
    };
    scheduler.recorder.stop = [this](std::string&) {
      ++recorderStops;
      return true;
    };
  }
  std::string Log() { return ReadFileBytes(folder.dir() + "Export/SchedulerLog.txt"); }
  void Tick(const DateTime& utc) {
    clock.setUtc(utc);
    scheduler.MinuteCheck(utc);
  }

  TempFolder folder{true};
  Scheduler scheduler{ctx, receiver, controls, folder.dir()};
  SkedDialog dialog{ctx, scheduler};
  int scanStops = 0;
  int recorderStops = 0;
  bool recorderWorks = true;
};

TEST_F(SchedulerTest, EntryCrossingMidnightRunsFromItsStartToItsEndNextDay) {
  scheduler.schedule = {Entry("5/20/2027", "2330", "0030")};
  scheduler.SchedulerOff = false;
  Tick(At(5, 20, 23, 29));
  EXPECT_FALSE(scheduler.BroadcastActive());
  Tick(At(5, 20, 23, 30));
  ASSERT_TRUE(scheduler.BroadcastActive());
  EXPECT_EQ(scanStops, 1);  // a scan running stops first
  EXPECT_EQ(std::tuple(state.Freq, state.Mode, state.Bandwidth, state.AGC, state.SpkrMute),
            std::tuple(9580.0, 1, 2400, 3, 1));
  Tick(At(5, 21, 0, 10));
  EXPECT_TRUE(scheduler.BroadcastActive());
  Tick(At(5, 21, 0, 30));
  EXPECT_EQ(std::tuple(scheduler.BroadcastActive(), state.SpkrMute), std::tuple(false, 0));
  EXPECT_EQ(Log(), " 5/20/2027   2330-0030   9580        Radio Alba               \r\n");
}

TEST_F(SchedulerTest, BackToBackEntriesStartOnTheirOwnMinute) {
  scheduler.schedule = {Entry("5/20/2027", "1000", "1100", 6000), Entry("5/20/2027", "1100", "1200", 7000)};
  scheduler.SchedulerOff = false;
  Tick(At(5, 20, 10, 0));
  Tick(At(5, 20, 11, 0));
  ASSERT_TRUE(scheduler.BroadcastActive());
  EXPECT_EQ(std::tuple(state.Freq, scheduler.schedule.size(), scheduler.active->actualStartHHMM),
            std::tuple(7000.0, 1u, 1100));
}

TEST_F(SchedulerTest, PassedEntriesAreRemovedOnlyWhileArmed) {
  scheduler.schedule = {Entry("5/20/2027", "0800", "0900"), Entry("5/22/2027", "0800", "0900")};
  Tick(At(5, 21, 8, 0));
  EXPECT_EQ(scheduler.schedule.size(), 2u);
  scheduler.OnOffBtnClick();
  Tick(At(5, 21, 8, 1));
  ASSERT_EQ(scheduler.schedule.size(), 1u);
  EXPECT_EQ(scheduler.schedule[0].StartDate, "5/22/2027");
  EXPECT_EQ(ReadFileBytes(folder.sysFile("Scheduler.dat")).size(), ScheduleEntrySize);
  Tick(At(5, 23, 8, 0));
  EXPECT_EQ(std::tuple(scheduler.schedule.size(), scheduler.SchedulerOff, panel[Ctl::StatusPanel].caption),
            std::tuple(0u, true, "Scheduler Empty"));
}

// A broadcast that should be recorded tunes whether or not its recording
// can start; its log line names the file or says why there is none.
class RecordingTest : public SchedulerTest, public ::testing::WithParamInterface<bool> {};

TEST_P(RecordingTest, TunesAndLogsTheFileOrWhyNot) {
  ScheduleEntry e = Entry("5/20/2027", "2330", "2345");
  e.Record = 1;
  scheduler.schedule = {e};
  scheduler.SchedulerOff = false;
  recorderWorks = GetParam();
  Tick(At(5, 20, 23, 30));
  EXPECT_EQ(std::tuple(scheduler.BroadcastActive(), state.Freq, scheduler.RecordingBroadcast, reportedErrors.empty()),
            std::tuple(true, 9580.0, recorderWorks, recorderWorks));
  Tick(At(5, 20, 23, 45));
  EXPECT_EQ(recorderStops, recorderWorks ? 1 : 0);
  EXPECT_NE(Log().find(recorderWorks ? "9580_052027_2330.wav" : "Not recorded: no input device"), std::string::npos)
      << Log();
}

INSTANTIATE_TEST_SUITE_P(RecorderWorks, RecordingTest, ::testing::Bool());

struct FieldsCase {
  std::string date, on, off, freq, mode, filter, pbt, agc, message;
};

class ValidateTest : public SchedulerTest, public ::testing::WithParamInterface<FieldsCase> {};

TEST_P(ValidateTest, FirstRefusalInOrder) {
  const FieldsCase& c = GetParam();
  std::tie(dialog.DateEdit, dialog.OnTimeEdit, dialog.OffTimeEdit, dialog.FreqEdit, dialog.ModeCombo, dialog.FiltCombo,
           dialog.PBTEdit, dialog.AGCCombo) = std::tie(c.date, c.on, c.off, c.freq, c.mode, c.filter, c.pbt, c.agc);
  const bool valid = dialog.ValidateScheduleFields();
  EXPECT_EQ(valid, c.message.empty());
  EXPECT_EQ(messages.lastMessage(), c.message);
  // An entry over midnight gets the next day as its end date.
  if (valid) { EXPECT_EQ(dialog.DateEdit + " " + dialog.DateOffEdit, "5/20/2027 5/21/2027"); }
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ValidateTest,
    ::testing::Values(FieldsCase{"", "x", "x", "", "?", "?", "?", "?", "You must enter a start date."},
                      FieldsCase{"5-20-2027", "x", "x", "", "", "", "", "", "Invalid start date"},
                      FieldsCase{"5/20/12345", "x", "x", "", "", "", "", "", "Invalid date format"},
                      FieldsCase{"13/20/2027", "x", "x", "", "", "", "", "", "Invalid date"},
                      FieldsCase{"5/20/2027", "930", "x", "", "", "", "", "", "Invalid start time"},
                      FieldsCase{"5/20/2027", "0930", "10", "", "", "", "", "", "Invalid end time"},
                      FieldsCase{"5/20/2027", "2401", "2500", "", "", "", "", "", "Start time out of range"},
                      FieldsCase{"5/20/2027", "0930", "2500", "", "", "", "", "", "End time out of range"},
                      FieldsCase{"5/20/2027", "0930", "1000", "", "?", "", "", "", "You must enter a valid frequency"},
                      FieldsCase{"5/20/2027", "0930", "1000", "30000", "?", "", "", "",
                                 "Frequency entry must be between 10 KHz and 30 MHz"},
                      FieldsCase{"5/20/2027", "0930", "1000", "9580", "FM", "?", "", "",
                                 "Invalid Mode entry.  Choose one from the list."},
                      FieldsCase{"5/20/2027", "0930", "1000", "9580", "", "6001", "", "",
                                 "Invalid Filter entry.  Choose one from the list."},
                      FieldsCase{"5/20/2027", "0930", "1000", "9580", "", "", "2050", "?",
                                 "PBT must be between -2000 and 2000 Hz"},
                      FieldsCase{"5/20/2027", "0930", "1000", "9580", "", "", "", "Quick",
                                 "Invalid AGC entry.  Choose one from the list."},
                      FieldsCase{"05/20/27", "2330", "0030", "9580", "", "", "", "", ""}));

TEST_F(SchedulerTest, ScheduleFileRoundTripsAndSurvivesDamage) {
  std::vector<ScheduleEntry> entries{Entry("5/20/2027", "2330", "0030"), Entry("5/21/2027", "0100", "0200")};
  entries[1].reserved = std::string(175, '\0');
  entries[1].reserved[5] = 7;
  const std::string bytes = EncodeSchedule(entries);
  ASSERT_EQ(bytes.size(), 2 * ScheduleEntrySize);
  ScheduleReadResult read = DecodeSchedule(bytes, false);
  ASSERT_EQ(read.entries.size(), 2u);
  EXPECT_EQ(EncodeSchedule(read.entries), bytes);

  // A partial entry at the end is left out; values outside their tables
  // are brought into range; an entry with a bad time is refused.
  std::string damaged = bytes + std::string(100, 'x');
  damaged[304 + 1] = 'Z';                                   // mode
  damaged[308] = 1;                                         // filter
  damaged[316 + 1] = 'Q';                                   // AGC
  damaged[ScheduleEntrySize + 28 + 1] = 'a';                // off time
  read = DecodeSchedule(damaged, false);
  ASSERT_EQ(read.entries.size(), 1u);
  EXPECT_EQ(read.problems.size(), 2u);
  // 2305 Hz read: the nearest bandwidth.
  EXPECT_EQ(std::tuple(read.entries[0].Mode, read.entries[0].AGC, read.entries[0].Filter), std::tuple("AM", "M", 2250));
  EXPECT_TRUE(DecodeSchedule(std::string(10, '\xff'), false).entries.empty());
}

TEST_F(SchedulerTest, SkedColsRoundTripsAtItsSizeAndShortFilesKeepDefaults) {
  SkedColumns columns = DefaultSkedColumns(720);
  EXPECT_EQ(columns.widths[0], 59);
  columns.widths[4] = 150;
  columns.titles[4] = "Sender";
  const std::string bytes = EncodeSkedColumns(columns);
  ASSERT_EQ(bytes.size(), SkedColsFileSize);
  const SkedColumns back = DecodeSkedColumns(bytes, 720);
  EXPECT_EQ(std::tie(back.widths, back.titles), std::tie(columns.widths, columns.titles));
  EXPECT_EQ(EncodeSkedColumns(back), bytes);
  const SkedColumns shortRead = DecodeSkedColumns(bytes.substr(0, 270), 720);
  EXPECT_EQ(std::tuple(shortRead.widths[4], shortRead.titles[4]), std::tuple(59, "Station"));
}

}  // namespace
}  // namespace ondaris
