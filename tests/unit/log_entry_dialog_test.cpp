// The log entry dialog through the fakes: its pre-fill from the tuning and
// the clock, the pick lists and their files, and the line it writes.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "logbook/LogDisplay.h"
#include "logbook/LogEntryDialog.h"
#include "platform/Shell.h"
#include "support/PanelFixture.h"
#include "support/ScriptedFileDialogs.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

struct EntryFixture : PanelFixture {
  TempFolder folder;
  LogbookSettings settings;
  LogEntryDialog dialog{ctx, folder.dir(), settings};
  int shown = 0;

  EntryFixture() {
    std::filesystem::create_directory(folder.path() / "LogFiles");
    dialog.show = [this](LogEntryDialog&) { ++shown; };
    state.Freq = 9580.0;
    state.Mode = 0;
    clock.setUtc(DateTime{2001, 1, 5, 0, 5, 0});
  }
  std::string file(const std::string& name) const { return folder.dir() + "LogFiles/" + name; }
};

struct PrefillCase {
  const char* name;
  double freq;
  int mode;
  bool euro;
  const char *expectFreq, *expectMode, *expectDate;
};

class EntryPrefill : public EntryFixture, public ::testing::WithParamInterface<PrefillCase> {};

TEST_P(EntryPrefill, FromTuningAndClock) {
  const auto& c = GetParam();
  state.Freq = c.freq;
  state.Mode = static_cast<std::uint8_t>(c.mode);
  settings.UseEuroDate = c.euro;
  dialog.IDEdit = dialog.NotesMemo = dialog.OffEdit = "old";
  dialog.LogEntryBtnClick();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(dialog.FreqText, c.expectFreq);
  EXPECT_EQ(dialog.ModeCombo, c.expectMode);
  EXPECT_EQ(dialog.TimeText, "5");
  EXPECT_EQ(dialog.DateText, c.expectDate);
  EXPECT_EQ(dialog.IDEdit + dialog.NotesMemo + dialog.OffEdit, "");
  dialog.ClkPanelClick();
  EXPECT_EQ(dialog.TimeText, "0005");
  EXPECT_EQ(dialog.DateText, c.expectDate);
}

INSTANTIATE_TEST_SUITE_P(EntryTunings, EntryPrefill,
                         ::testing::Values(PrefillCase{"am", 9580.0, 0, false, "9580", "AM", "1/5/2001"},
                                           PrefillCase{"euroCw", 9580.5, 3, true, "9580.5", "CW", "5/1/2001"},
                                           PrefillCase{"oddMode", 6000.25, 7, false, "6000.25", "", "1/5/2001"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EntryFixture, PickListsSortedAndRememberedIgnoringCase) {
  WriteFileBytes(file("LogCodes.dat"), "ute\r\nab\r\nBC\r\nAa\r\n\xe9t\r\n");
  dialog.LogEntryBtnClick();
  EXPECT_EQ(dialog.list(LogPickList::Code), (std::vector<std::string>{"Aa", "ab", "BC", "ute", "\xe9t"}));
  EXPECT_TRUE(dialog.list(LogPickList::ID).empty());

  // No frequency: the message, no line, yet the new mode is remembered.
  dialog.CodeCombo = "Ab";
  dialog.ModeCombo = "Fax";
  dialog.FreqText.clear();
  EXPECT_TRUE(dialog.WriteBtnClick());
  EXPECT_EQ(messages.lastMessage(), LogEntryMissingMessage);
  EXPECT_FALSE(std::filesystem::exists(file("OndarisLog.txt")));
  EXPECT_EQ(ReadFileBytes(file("LogModes.dat")), "Fax\r\n");
  EXPECT_EQ(ReadFileBytes(file("LogCodes.dat")), "ute\r\nab\r\nBC\r\nAa\r\n\xe9t\r\n");

  dialog.IDEdit = "";
  dialog.AddBtnClick();
  EXPECT_FALSE(std::filesystem::exists(file("LogID.dat")));
  dialog.IDEdit = "BBC";
  dialog.AddBtnClick();
  dialog.IDEdit = "bbc";
  dialog.AddBtnClick();
  EXPECT_EQ(ReadFileBytes(file("LogID.dat")), "BBC\r\n");
}

TEST_F(EntryFixture, WritesOneLineTidiedAndDayFirstStoredMonthFirst) {
  settings.UseEuroDate = true;
  dialog.LogEntryBtnClick();
  dialog.CodeCombo = "Code\"Longer\tthan ten";
  dialog.NotesMemo = "two\r\nlines\tand \"quotes\"";
  dialog.IDEdit = std::string(90, 'i');
  dialog.UserCombo = "Peru";
  EXPECT_TRUE(dialog.WriteBtnClick());
  const std::string first = "Code'Longe\t9580\tAM\t5\t1/5/2001\t" + std::string(78, 'i') +
                            "\ttwo lines and 'quotes'\t\t\t\t\t\tPeru\t\t\r\n";
  EXPECT_EQ(ReadFileBytes(file("OndarisLog.txt")), first);
  // A date typed without two slashes is stored empty under the day-first option.
  dialog.LogEntryBtnClick();
  dialog.DateText = "5-1-2001";
  EXPECT_TRUE(dialog.WriteBtnClick());
  EXPECT_EQ(ReadFileBytes(file("OndarisLog.txt")), first + "\t9580\tAM\t5\t\t\t\t\t\t\t\t\t\t\t\r\n");
}

class NoShell : public Shell {
 public:
  bool open(const std::string&, std::string&) override { return false; }
};

// With the display open and holding an edit, the entry reaches the file and
// the display's table, and the edit stays unsaved in the table.
TEST_F(EntryFixture, EntryWhileTheDisplayHoldsEditsGoesToBoth) {
  WriteFileBytes(file("OndarisLog.txt"), "A\t6000\tAM\t1\t1/1/2001\tX\t\t\t\t\t\t\t\t\t\t\r\n");
  ScriptedFileDialogs dialogs;
  NoShell shell;
  LogDisplay display(messages, dialogs, shell, folder.dir(), '.', settings);
  dialog.display = &display;
  display.LogDispBtnClick();
  display.boxes.IDEdit = "EDITED";
  display.ReplBtnClick();
  dialog.LogEntryBtnClick();
  EXPECT_TRUE(dialog.WriteBtnClick());
  EXPECT_EQ(ReadFileBytes(file("OndarisLog.txt")),
            "A\t6000\tAM\t1\t1/1/2001\tX\t\t\t\t\t\t\t\t\t\t\r\n\t9580\tAM\t5\t1/5/2001\t\t\t\t\t\t\t\t\t\t\r\n");
  ASSERT_EQ(display.table.RecordCount(), 2);
  EXPECT_EQ(display.table.Cell(1, LogField::ID), "EDITED");
  EXPECT_TRUE(display.table.Changed);
  messages.answerNext(true);
  display.ExitBtnClick();
  const std::string saved = ReadFileBytes(file("OndarisLog.txt"));
  EXPECT_NE(saved.find("EDITED"), std::string::npos);
  EXPECT_NE(saved.find("9580"), std::string::npos);
}

}  // namespace
}  // namespace ondaris
