// TAddEditDlg as a dialog model: the boxes it is filled with, the checks of
// OK with their messages, and what adding, editing and Update Tuning do to
// the loaded list.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "common/AtomicFile.h"
#include "freqfiles/EntryEditor.h"
#include "freqfiles/FrequencyList.h"
#include "freqfiles/OnAirView.h"
#include "support/StationListRig.h"

namespace ondaris {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Boxes that pass every check.
EntryFields GoodFields() {
  EntryFields f;
  f.name = "Radio Alba";
  f.freq = "9580";
  f.mode = 0;
  f.filter = 1;
  f.step = 7;
  f.stepText = "5000";
  f.pbt = "0";
  f.agc = 1;
  f.start = "0800";
  f.end = "1200";
  f.location = "Mountains";
  f.language = "English";
  f.notes = "Evening news";
  return f;
}

// ---- The checks alone ----------------------------------------------------------

TEST(EntryChecksTest, GoodBoxesMakeTheRecord) {
  const EntryCheck check = CheckEntryFields(GoodFields(), '.');
  ASSERT_TRUE(check.ok());
  const FrequencyRecord& r = check.record;
  EXPECT_EQ(r.Name, "Radio Alba");
  EXPECT_EQ(r.Freq, "9580");
  EXPECT_EQ(r.Mode, "AM");
  EXPECT_EQ(r.Filter, "6000");
  EXPECT_EQ(r.FilterIndex, 1);
  EXPECT_EQ(r.Step, "5000");
  EXPECT_EQ(r.StepIndex, 7);
  EXPECT_EQ(r.PBT, "0");
  EXPECT_EQ(r.AGC, "2");
  EXPECT_EQ(r.OnAir, "0800");
  EXPECT_EQ(r.OffAir, "1200");
  EXPECT_EQ(r.Location, "Mountains");
  EXPECT_EQ(r.Language, "English");
  EXPECT_EQ(r.Notes, "Evening news");
  EXPECT_EQ(r.Spare, "0");
  EXPECT_EQ(r.Lockout, "0");
  // The record writes a line that reads back to the same record.
  FrequencyRecord back;
  ASSERT_TRUE(ReadFrequencyLine(FormatFrequencyLine(r, '.'), '.', back));
  EXPECT_EQ(back, r);
}

struct CheckCase {
  const char* label;
  std::function<void(EntryFields&)> change;
  std::vector<std::string> messages;
};

class EntryCheckMessages : public ::testing::TestWithParam<CheckCase> {};

TEST_P(EntryCheckMessages, ShowTheMessagesOfEveryFailedBoxInOrder) {
  EntryFields f = GoodFields();
  GetParam().change(f);
  const EntryCheck check = CheckEntryFields(f, '.');
  EXPECT_EQ(check.messages, GetParam().messages) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, EntryCheckMessages,
    ::testing::Values(
        CheckCase{"empty freq", [](EntryFields& f) { f.freq = ""; }, {"Frequency entry error."}},
        CheckCase{"blank freq", [](EntryFields& f) { f.freq = "  "; }, {"Frequency entry error."}},
        CheckCase{"text freq", [](EntryFields& f) { f.freq = "95x0"; }, {"Frequency entry error."}},
        CheckCase{"low freq", [](EntryFields& f) { f.freq = "99.999"; },
                  {"Frequency must be between 100 kHz and 30 MHz."}},
        CheckCase{"high freq", [](EntryFields& f) { f.freq = "30000.001"; },
                  {"Frequency must be between 100 kHz and 30 MHz."}},
        CheckCase{"lowest freq", [](EntryFields& f) { f.freq = "100"; }, {}},
        CheckCase{"highest freq", [](EntryFields& f) { f.freq = "30000"; }, {}},
        CheckCase{"no mode", [](EntryFields& f) { f.mode = -1; }, {"Mode entry error."}},
        CheckCase{"mode past CW", [](EntryFields& f) { f.mode = 4; }, {"Mode entry error."}},
        CheckCase{"no filter", [](EntryFields& f) { f.filter = -1; }, {"Filter entry error."}},
        CheckCase{"filter past 300 Hz", [](EntryFields& f) { f.filter = 24; }, {"Filter entry error."}},
        CheckCase{"no step", [](EntryFields& f) { f.step = -1; f.stepText = ""; }, {"Tuning step entry error."}},
        CheckCase{"step past the table", [](EntryFields& f) { f.step = 9; f.stepText = "7"; },
                  {"Tuning step entry error."}},
        CheckCase{"PBT too low", [](EntryFields& f) { f.pbt = "-2001"; }, {"PBT entry error - must be -2000 to 2000."}},
        CheckCase{"PBT too high", [](EntryFields& f) { f.pbt = "2050"; }, {"PBT entry error - must be -2000 to 2000."}},
        CheckCase{"PBT text", [](EntryFields& f) { f.pbt = "50Hz"; }, {"PBT entry error - must be -2000 to 2000."}},
        CheckCase{"PBT limits", [](EntryFields& f) { f.pbt = "-2000"; }, {}},
        CheckCase{"start 2500", [](EntryFields& f) { f.start = "2500"; }, {"Start time entry error."}},
        CheckCase{"start empty", [](EntryFields& f) { f.start = ""; }, {"Start time entry error."}},
        CheckCase{"start negative", [](EntryFields& f) { f.start = "-1"; }, {"Start time entry error."}},
        CheckCase{"start too long", [](EntryFields& f) { f.start = "00800"; }, {"Start time entry error."}},
        CheckCase{"end text", [](EntryFields& f) { f.end = "noon"; }, {"End time entry error."}},
        CheckCase{"end 2400", [](EntryFields& f) { f.end = "2400"; }, {}},
        CheckCase{"everything wrong",
                  [](EntryFields& f) {
                    f.freq = "abc";
                    f.mode = -1;
                    f.filter = -1;
                    f.step = -1;
                    f.stepText = "";
                    f.pbt = "x";
                    f.start = "2401";
                    f.end = "x";
                  },
                  {"Frequency entry error.", "Mode entry error.", "Filter entry error.", "Tuning step entry error.",
                   "PBT entry error - must be -2000 to 2000.", "Start time entry error.", "End time entry error."}}),
    [](const ::testing::TestParamInfo<CheckCase>& info) {
      std::string name;
      for (const char* c = info.param.label; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
      return name;
    });

TEST(EntryChecksTest, TextBoxesAreCutAndNotesDefaulted) {
  EntryFields f = GoodFields();
  f.name = "A station name longer than twenty";
  f.location = "A place with a long name";
  f.language = "Portuguese and Spanish";
  f.notes = std::string(40, 'n');
  EntryCheck check = CheckEntryFields(f, '.');
  ASSERT_TRUE(check.ok());
  EXPECT_EQ(check.record.Name, "A station name longe");
  EXPECT_EQ(check.record.Location, "A place with a ");
  EXPECT_EQ(check.record.Language, "Portuguese");
  EXPECT_EQ(check.record.Notes, std::string(32, 'n'));

  f.notes = "";
  check = CheckEntryFields(f, '.');
  EXPECT_EQ(check.record.Notes, "Notes");
}

TEST(EntryChecksTest, DoubleQuotesAreStoredAsSingleQuotesSoTheLineReadsBack) {
  EntryFields f = GoodFields();
  f.name = "Radio \"Alba\"";
  f.location = "The \"Hills\"";
  f.notes = "say \"hi\"";
  const EntryCheck check = CheckEntryFields(f, '.');
  ASSERT_TRUE(check.ok());
  EXPECT_EQ(check.record.Name, "Radio 'Alba'");
  EXPECT_EQ(check.record.Location, "The 'Hills'");
  EXPECT_EQ(check.record.Notes, "say 'hi'");
  FrequencyRecord back;
  ASSERT_TRUE(ReadFrequencyLine(FormatFrequencyLine(check.record, '.'), '.', back));
  EXPECT_EQ(back, check.record);
}

TEST(EntryChecksTest, FrequencyIsStoredAsKHzTextWithTheLocaleSeparator) {
  EntryFields f = GoodFields();
  f.freq = "9580.500";
  EXPECT_EQ(CheckEntryFields(f, '.').record.Freq, "9580.5");
  f.freq = "9580,25";
  EXPECT_EQ(CheckEntryFields(f, ',').record.Freq, "9580,25");
  // A point is no number where the locale writes a comma.
  f.freq = "9580.25";
  EXPECT_THAT(CheckEntryFields(f, ',').messages, ElementsAre("Frequency entry error."));
}

TEST(EntryChecksTest, TheTopStepKeepsItsTextAndOtherStepsComeFromTheTable) {
  EntryFields f = GoodFields();
  f.step = 8;
  f.stepText = "9000";
  EntryCheck check = CheckEntryFields(f, '.');
  EXPECT_EQ(check.record.Step, "9000");
  EXPECT_EQ(check.record.StepIndex, 8);
  f.stepText = "10000";
  EXPECT_EQ(CheckEntryFields(f, '.').record.Step, "10000");
  // A typed "9000" counts wherever the list stands.
  f.step = 2;
  f.stepText = "9000";
  check = CheckEntryFields(f, '.');
  EXPECT_EQ(check.record.StepIndex, 8);
  // Otherwise the position decides.
  f.step = 3;
  f.stepText = "whatever";
  check = CheckEntryFields(f, '.');
  EXPECT_EQ(check.record.Step, "100");
  EXPECT_EQ(check.record.StepIndex, 3);
}

TEST(EntryChecksTest, PBTAndAGCDefaults) {
  EntryFields f = GoodFields();
  f.pbt = "";
  f.agc = -1;
  EntryCheck check = CheckEntryFields(f, '.');
  EXPECT_EQ(check.record.PBT, "0");
  EXPECT_EQ(check.record.AGC, "2");
  f.pbt = "-350";
  f.agc = 0;
  check = CheckEntryFields(f, '.');
  EXPECT_EQ(check.record.PBT, "-350");
  EXPECT_EQ(check.record.AGC, "3");
  f.agc = 2;
  EXPECT_EQ(CheckEntryFields(f, '.').record.AGC, "1");
}

TEST(EntryChecksTest, TheDialogsLists) {
  EXPECT_THAT(EntryModeItems(), ElementsAre("AM", "USB", "LSB", "CW"));
  EXPECT_THAT(EntryAGCItems(), ElementsAre("Fast", "Medium", "Slow"));
  EXPECT_THAT(EntryStepItems(false), ElementsAre("1", "10", "50", "100", "500", "1000", "3000", "5000", "10000"));
  EXPECT_THAT(EntryStepItems(true), ElementsAre("1", "10", "50", "100", "500", "1000", "3000", "5000", "9000"));
  const std::vector<std::string> filters = EntryFilterItems();
  ASSERT_EQ(filters.size(), 24u);
  EXPECT_EQ(filters.front(), "8000");
  EXPECT_EQ(filters[17], "1800");
  EXPECT_EQ(filters.back(), "300");
}

// ---- The dialog against a loaded list -----------------------------------------

class EntryEditorTest : public StationListFixture {
 protected:
  // The dialog, when shown, runs `script` (which presses its buttons).
  void OnDialog(std::function<void(EntryEditor::Dialog&)> script) {
    editor.showDialog = [this, script](EntryEditor::Dialog& d) {
      ++dialogsShown;
      shownCaption = d.caption;
      shownFields = d.fields;
      script(d);
    };
  }

  OnAirViewController onAir{ctx, stations};
  EntryEditor editor{ctx, stations};
  int dialogsShown = 0;
  std::string shownCaption;
  EntryFields shownFields;
};

TEST_F(EntryEditorTest, AddIsFilledFromThePresentTuning) {
  state.Freq = 9580.5;
  controls.ModeBtnClick(1);  // USB
  controls.SelectFilter(13);
  tuning.SetTuningStep(1000);
  state.PBT = -150;
  controls.ShowAGCFast();
  OnDialog([&](EntryEditor::Dialog& d) {
    EXPECT_FALSE(d.updateEnabled);
    EXPECT_EQ(d.purpose, EntryEditor::Purpose::Add);
    editor.CanBtnClick();
  });
  editor.OpenAddDialog();
  ASSERT_EQ(dialogsShown, 1);
  EXPECT_EQ(shownCaption, "Add Frequency File Entry");
  EXPECT_EQ(shownFields.name, "");
  EXPECT_EQ(shownFields.freq, "9580.5");
  EXPECT_EQ(shownFields.mode, 1);
  EXPECT_EQ(shownFields.filter, 13);
  EXPECT_EQ(shownFields.step, 5);
  EXPECT_EQ(shownFields.stepText, "1000");
  EXPECT_EQ(shownFields.pbt, "-150");
  EXPECT_EQ(shownFields.agc, 0);
  EXPECT_EQ(shownFields.start, "0000");
  EXPECT_EQ(shownFields.end, "2400");
  EXPECT_EQ(shownFields.location, "");
  EXPECT_EQ(shownFields.language, "");
  EXPECT_EQ(shownFields.notes, "Notes");
  // Cancelled: nothing added, the grid enabled all the same.
  EXPECT_EQ(stations.list.RecordCount(), 0);
  EXPECT_FALSE(stations.list.Changed);
  EXPECT_TRUE(panel[Ctl::Grid].enabled);
}

TEST_F(EntryEditorTest, AddAppendsTheEntryBehindTheListInEveryRowOrder) {
  Load({StationLine("B", "6.020000"), StationLine("A", "6.010000")});
  stations.SortByFreq();
  ASSERT_TRUE(stations.FreqSorted);
  ASSERT_EQ(stations.list.RowOrder, (std::vector<int>{1, 0}));
  OnDialog([&](EntryEditor::Dialog& d) {
    d.fields.name = "New One";
    d.fields.start = "2330";
    d.fields.end = "0030";
    d.fields.notes = "";
    EXPECT_TRUE(editor.OKBtnClick());
  });
  editor.OpenAddDialog();
  ASSERT_EQ(stations.list.RecordCount(), 3);
  EXPECT_EQ(stations.list.RowOrder, (std::vector<int>{1, 0, 2}));
  const FrequencyRecord added = stations.list.Record(2);
  EXPECT_EQ(added.Name, "New One");
  EXPECT_EQ(added.Freq, "15000");
  EXPECT_EQ(added.Mode, "AM");
  EXPECT_EQ(added.Filter, "6000");
  EXPECT_EQ(added.Step, "500");
  EXPECT_EQ(added.AGC, "2");
  EXPECT_EQ(added.OnAir, "2330");
  EXPECT_EQ(added.OffAir, "0030");
  EXPECT_EQ(added.Notes, "Notes");
  EXPECT_EQ(added.Spare, "0");
  EXPECT_EQ(added.Lockout, "0");
  EXPECT_TRUE(stations.list.Changed);
  EXPECT_FALSE(stations.FreqSorted);
  EXPECT_EQ(state.FreqFileRecordCount, 3);
  EXPECT_EQ(panel[Ctl::FileOpBtn1].colour, Colour::Maroon);
  EXPECT_TRUE(panel[Ctl::SaveFileItem].enabled);
  EXPECT_FALSE(editor.dialog().open);
  EXPECT_TRUE(editor.dialog().accepted);

  // Saved and read back, the entry is the last line.
  files.SaveFrequencyFile();
  const std::optional<std::string> bytes = ReadWholeFile(dir + "FreqFiles/list.320");
  ASSERT_TRUE(bytes);
  const std::vector<std::string_view> lines = SplitFileLines(*bytes);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2], "\"New One\",15.000000,AM,6000,2,500,0,\"\",\"\",\"2330\",\"0030\",\"Notes\",0,0");
}

TEST_F(EntryEditorTest, AddWithoutAFileStartsAListThatCanBeSaved) {
  stations.StartupGridSetUp();
  ASSERT_FALSE(panel[Ctl::SaveFileItem].enabled);
  OnDialog([&](EntryEditor::Dialog& d) {
    d.fields.name = "First";
    EXPECT_TRUE(editor.OKBtnClick());
  });
  editor.OpenAddDialog();
  EXPECT_EQ(stations.list.RecordCount(), 1);
  EXPECT_EQ(stations.list.RowOrder, (std::vector<int>{0}));
  EXPECT_TRUE(panel[Ctl::SaveFileItem].enabled);
  EXPECT_TRUE(panel[Ctl::Grid].enabled);
  EXPECT_EQ(stations.CellText(1, 2), "First");
}

TEST_F(EntryEditorTest, AddInTheOnAirViewAppendsToBothViews) {
  clock.setUtc(DateTime{2024, 1, 1, 9, 0, 0});
  Load({StationLine("On", "6.010000", "0800", "1000"), StationLine("Off", "6.020000", "1000", "1100")});
  onAir.NowBtnClick();
  ASSERT_TRUE(stations.list.OnAirView);
  ASSERT_EQ(stations.list.OnAirRowOrder, (std::vector<int>{0}));
  OnDialog([&](EntryEditor::Dialog& d) {
    d.fields.name = "Later";
    d.fields.start = "2000";
    d.fields.end = "2100";
    EXPECT_TRUE(editor.OKBtnClick());
  });
  editor.OpenAddDialog();
  EXPECT_EQ(stations.list.RowOrder, (std::vector<int>{0, 1, 2}));
  // Listed in the on-air view although it is not on the air.
  EXPECT_EQ(stations.list.OnAirRowOrder, (std::vector<int>{0, 2}));
  EXPECT_EQ(stations.CellText(2, 2), "Later");
}

TEST_F(EntryEditorTest, AFailedCheckShowsItsMessageAndKeepsTheDialogOpenWithNothingStored) {
  Load({StationLine("A", "6.010000")});
  OnDialog([&](EntryEditor::Dialog& d) {
    d.fields.name = "Late";
    d.fields.start = "2500";
    EXPECT_FALSE(editor.OKBtnClick());
    EXPECT_TRUE(d.open);
    EXPECT_THAT(messages.messages(), ElementsAre("Start time entry error."));
    EXPECT_EQ(stations.list.RecordCount(), 1);
    EXPECT_FALSE(stations.list.Changed);
    // Put right, OK stores and closes.
    d.fields.start = "2330";
    EXPECT_TRUE(editor.OKBtnClick());
    EXPECT_FALSE(d.open);
  });
  editor.OpenAddDialog();
  ASSERT_EQ(stations.list.RecordCount(), 2);
  EXPECT_EQ(stations.list.Record(1).OnAir, "2330");
  EXPECT_THAT(messages.messages(), ElementsAre("Start time entry error."));
}

TEST_F(EntryEditorTest, EditWithNoRecordInTheCurrentRowDoesNothing) {
  OnDialog([&](EntryEditor::Dialog&) { ADD_FAILURE() << "no dialog expected"; });
  editor.EditEntryItemClick();
  Load({StationLine("A", "6.010000")});
  stations.grid.Row = 2;
  editor.EditEntryItemClick();
  EXPECT_EQ(dialogsShown, 0);
}

TEST_F(EntryEditorTest, EditShowsTheRecordAndOKOverwritesAllButSpareAndLockoutThenTunes) {
  Load({StationLine("A", "6.010000"),
        "\"Radio Alba\",9.580000,USB,2400,3,9000,-100,\"Hills\",\"English\",\"0800\",\"1200\",\"Talk\",5,1"});
  stations.SetRow(2);
  stations.GridTunePermit = true;
  OnDialog([&](EntryEditor::Dialog& d) {
    EXPECT_TRUE(d.updateEnabled);
    d.fields.name = "Radio Alba 2";
    d.fields.freq = "9585";
    d.fields.mode = 3;  // CW
    EXPECT_TRUE(editor.OKBtnClick());
  });
  editor.EditEntryItemClick();
  EXPECT_EQ(shownCaption, "Edit Frequency File Entry");
  EXPECT_EQ(shownFields.name, "Radio Alba");
  EXPECT_EQ(shownFields.freq, "9580");
  EXPECT_EQ(shownFields.mode, 1);
  EXPECT_EQ(shownFields.filter, 14);
  EXPECT_EQ(shownFields.step, 8);
  EXPECT_EQ(shownFields.stepText, "9000");
  EXPECT_EQ(shownFields.pbt, "-100");
  EXPECT_EQ(shownFields.agc, 0);
  EXPECT_EQ(shownFields.start, "0800");
  EXPECT_EQ(shownFields.end, "1200");
  EXPECT_EQ(shownFields.location, "Hills");
  EXPECT_EQ(shownFields.language, "English");
  EXPECT_EQ(shownFields.notes, "Talk");
  EXPECT_EQ(editor.editRecord(), 1);

  const FrequencyRecord r = stations.list.Record(1);
  EXPECT_EQ(r.Name, "Radio Alba 2");
  EXPECT_EQ(r.Freq, "9585");
  EXPECT_EQ(r.Mode, "CW");
  EXPECT_EQ(r.Step, "9000");  // kept although the list offers 10000
  EXPECT_EQ(r.Spare, "5");
  EXPECT_EQ(r.Lockout, "1");
  EXPECT_EQ(stations.list.RecordCount(), 2);
  EXPECT_TRUE(stations.list.Changed);
  // The row was tuned.
  EXPECT_DOUBLE_EQ(state.Freq, 9585.0);
  EXPECT_EQ(state.Mode, 3);
}

TEST_F(EntryEditorTest, EditInASortedViewEditsTheRecordShownInTheRow) {
  Load({StationLine("Zulu", "6.010000"), StationLine("Alpha", "6.020000")});
  stations.SortByName();
  stations.SetRow(1);  // Alpha, record 1
  OnDialog([&](EntryEditor::Dialog& d) {
    d.fields.notes = "edited";
    EXPECT_TRUE(editor.OKBtnClick());
  });
  editor.EditEntryItemClick();
  EXPECT_EQ(shownFields.name, "Alpha");
  EXPECT_EQ(stations.list.Record(1).Notes, "edited");
  EXPECT_EQ(stations.list.Record(0).Notes, "Notes");
}

TEST_F(EntryEditorTest, CancelLeavesTheRecordAlone) {
  Load({StationLine("A", "6.010000")});
  const FrequencyRecord before = stations.list.Record(0);
  OnDialog([&](EntryEditor::Dialog& d) {
    d.fields.name = "Changed";
    editor.CanBtnClick();
  });
  editor.EditEntryItemClick();
  EXPECT_EQ(stations.list.Record(0), before);
  EXPECT_FALSE(stations.list.Changed);
  EXPECT_FALSE(editor.dialog().accepted);
}

TEST_F(EntryEditorTest, UpdateTuningTakesTheReceiversSettingsAndOKKeepsThem) {
  Load({"\"Radio Alba\",9.580000,AM,6000,2,5000,0,\"Hills\",\"English\",\"0800\",\"1200\",\"Talk\",0,0"});
  stations.SetRow(1);
  // The receiver now elsewhere, in LSB with other settings.
  state.Freq = 7100;
  controls.ModeBtnClick(2);
  controls.SelectFilter(16);
  tuning.SetTuningStep(100);
  state.PBT = 250;
  controls.ShowAGCSlow();
  OnDialog([&](EntryEditor::Dialog& d) {
    editor.UpdateBtnClick();
    const FrequencyRecord now = stations.list.Record(0);
    EXPECT_EQ(now.Mode, "LSB");
    EXPECT_EQ(now.Filter, "2100");
    EXPECT_EQ(now.FilterIndex, 16);
    EXPECT_EQ(now.Step, "100");
    EXPECT_EQ(now.StepIndex, 3);
    EXPECT_EQ(now.PBT, "250");
    EXPECT_EQ(now.AGC, "1");
    EXPECT_EQ(now.Freq, "9580");  // the frequency stays
    EXPECT_TRUE(stations.list.Changed);
    // The boxes follow the record.
    EXPECT_EQ(d.fields.mode, 2);
    EXPECT_EQ(d.fields.filter, 16);
    EXPECT_EQ(d.fields.step, 3);
    EXPECT_EQ(d.fields.pbt, "250");
    EXPECT_EQ(d.fields.agc, 2);
    EXPECT_TRUE(editor.OKBtnClick());
  });
  stations.GridTunePermit = true;
  editor.EditEntryItemClick();
  const FrequencyRecord after = stations.list.Record(0);
  EXPECT_EQ(after.Mode, "LSB");
  EXPECT_EQ(after.PBT, "250");
  EXPECT_EQ(after.Name, "Radio Alba");
  // Update tuned the row: back on 9580 kHz with the new settings.
  EXPECT_DOUBLE_EQ(state.Freq, 9580.0);
  EXPECT_EQ(state.Mode, 2);
}

TEST_F(EntryEditorTest, UpdateTuningIsNotPartOfAdding) {
  Load({StationLine("A", "6.010000")});
  OnDialog([&](EntryEditor::Dialog&) { editor.UpdateBtnClick(); });
  editor.OpenAddDialog();
  EXPECT_FALSE(stations.list.Changed);
  EXPECT_EQ(stations.list.RecordCount(), 1);
}

TEST_F(EntryEditorTest, TheStepListFollowsTheNineKHzOption) {
  state.NineKHzSteps = 1;
  OnDialog([&](EntryEditor::Dialog& d) {
    EXPECT_EQ(d.stepItems.back(), "9000");
    editor.CanBtnClick();
  });
  editor.OpenAddDialog();
  state.NineKHzSteps = 0;
  OnDialog([&](EntryEditor::Dialog& d) {
    EXPECT_EQ(d.stepItems.back(), "10000");
    editor.CanBtnClick();
  });
  editor.OpenAddDialog();
  EXPECT_EQ(dialogsShown, 2);
}

}  // namespace
}  // namespace ondaris
