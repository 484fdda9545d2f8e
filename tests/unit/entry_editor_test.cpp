// TAddEditDlg as a dialog model: the boxes it is filled with, the checks of
// OK with their messages, and what adding, editing and Update Tuning do to
// the loaded list.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

// Boxes that pass every check.
EntryFields GoodFields() {
  return EntryFields{"Radio Alba", "9580", 0, 1, 7, "5000", "0", 1, "0800", "1200", "Mountains", "English",
                     "Evening news"};
}

// ---- The checks alone ----------------------------------------------------------

TEST(EntryChecksTest, EveryFailedBoxShowsItsMessageInOrder) {
  const std::string freq = "Frequency entry error.", range = "Frequency must be between 100 kHz and 30 MHz.";
  const std::string step = "Tuning step entry error.", pbt = "PBT entry error - must be -2000 to 2000.";
  const std::string start = "Start time entry error.";
  const struct {
    const char* label;
    std::function<void(EntryFields&)> change;
    std::vector<std::string> messages;
  } cases[] = {
      {"blank freq", [](EntryFields& f) { f.freq = "  "; }, {freq}},
      {"text freq", [](EntryFields& f) { f.freq = "95x0"; }, {freq}},
      {"low freq", [](EntryFields& f) { f.freq = "99.999"; }, {range}},
      {"high freq", [](EntryFields& f) { f.freq = "30000.001"; }, {range}},
      {"lowest freq, PBT and end limits", [](EntryFields& f) { f.freq = "100", f.pbt = "-2000", f.end = "2400"; }, {}},
      {"highest freq", [](EntryFields& f) { f.freq = "30000", f.pbt = "2000"; }, {}},
      {"mode past CW, filter past 300 Hz, step past the table",
       [](EntryFields& f) { f.mode = 4, f.filter = 24, f.step = 9, f.stepText = "7"; },
       {"Mode entry error.", "Filter entry error.", step}},
      {"PBT too low", [](EntryFields& f) { f.pbt = "-2001"; }, {pbt}},
      {"PBT too high", [](EntryFields& f) { f.pbt = "2050"; }, {pbt}},
      {"PBT text", [](EntryFields& f) { f.pbt = "50Hz"; }, {pbt}},
      {"start empty", [](EntryFields& f) { f.start = ""; }, {start}},
      {"start negative", [](EntryFields& f) { f.start = "-1"; }, {start}},
      {"start too long", [](EntryFields& f) { f.start = "00800"; }, {start}},
      {"everything wrong",
       [](EntryFields& f) {
         f.freq = "abc", f.mode = f.filter = f.step = -1, f.stepText = "", f.pbt = "x", f.start = "2401", f.end = "x";
       },
       {freq, "Mode entry error.", "Filter entry error.", step, pbt, start, "End time entry error."}},
  };
  for (const auto& c : cases) {
    EntryFields f = GoodFields();
    c.change(f);
    EXPECT_EQ(CheckEntryFields(f, '.').messages, c.messages) << c.label;
  }
}

TEST(EntryChecksTest, GoodBoxesMakeTheRecordWithTextsCutQuotesMadeSingleAndNotesDefaulted) {
  EXPECT_EQ(CheckEntryFields(GoodFields(), '.').record,
            (FrequencyRecord{"Radio Alba", "9580", "AM", "6000", "2", "5000", "0", "Mountains", "English", "0800",
                             "1200", "Evening news", "0", "0", 1, 7}));
  EntryFields f = GoodFields();
  f.name = "A \"station\" name longer than twenty";
  f.location = "A place with a long name";
  f.language = "Portuguese and Spanish";
  f.notes = "say \"hi\"" + std::string(40, 'n');
  EntryCheck check = CheckEntryFields(f, '.');
  ASSERT_TRUE(check.ok());
  EXPECT_EQ(check.record.Name + "|" + check.record.Location + "|" + check.record.Language + "|" + check.record.Notes,
            "A 'station' name lon|A place with a |Portuguese|say 'hi'" + std::string(24, 'n'));
  f.notes = "";
  EXPECT_EQ(CheckEntryFields(f, '.').record.Notes, "Notes");
}

TEST(EntryChecksTest, FrequencyStepPBTAndAGCAreStoredAsTheFileWritesThem) {
  EntryFields f = GoodFields();
  const auto record = [&](char separator = '.') { return CheckEntryFields(f, separator).record; };
  f.freq = "9580.500";
  EXPECT_EQ(record().Freq, "9580.5");
  f.freq = "9580,25";
  EXPECT_EQ(record(',').Freq, "9580,25");
  f.freq = "9580.25";  // a point is no number where the locale writes a comma
  EXPECT_EQ(CheckEntryFields(f, ',').messages, std::vector<std::string>{"Frequency entry error."});
  // The top step keeps its text; a typed "9000" counts wherever the list
  // stands; otherwise the position decides. No PBT is 0, no AGC medium.
  const struct {
    int step;
    const char *text, *pbt;
    int agc;
    const char* stored;  // Step/StepIndex/PBT/AGC
  } cases[] = {{8, "9000", "", -1, "9000/8/0/2"},
               {8, "10000", "-350", 0, "10000/8/-350/3"},
               {2, "9000", "0", 2, "9000/8/0/1"},
               {3, "whatever", "0", 1, "100/3/0/2"}};
  for (const auto& c : cases) {
    f.step = c.step, f.stepText = c.text, f.pbt = c.pbt, f.agc = c.agc;
    const FrequencyRecord r = record();
    EXPECT_EQ(r.Step + "/" + std::to_string(r.StepIndex) + "/" + r.PBT + "/" + r.AGC, c.stored);
  }
}

TEST(EntryChecksTest, TheStepAndFilterListsFollowTheReceiversTables) {
  EXPECT_THAT(EntryStepItems(false), ElementsAre("1", "10", "50", "100", "500", "1000", "3000", "5000", "10000"));
  const std::vector<std::string> filters = EntryFilterItems();
  ASSERT_EQ(filters.size(), 24u);
  EXPECT_EQ(filters.front() + filters[17] + filters.back(), "80001800300");
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

// In the on-air view the entry is listed although it is not on the air.
TEST_F(EntryEditorTest, AddAppendsTheEntryBehindBothViewsInTheirRowOrder) {
  Load({StationLine("B", "6.020000"), StationLine("A", "6.010000")});
  stations.SortByFreq();
  ASSERT_EQ(stations.list.RowOrder, (std::vector<int>{1, 0}));
  clock.setUtc(DateTime{2024, 1, 1, 9, 0, 0});
  onAir.NowBtnClick();
  ASSERT_TRUE(stations.list.OnAirView);
  ASSERT_EQ(stations.list.OnAirRowOrder, (std::vector<int>{1, 0}));
  OnDialog([&](EntryEditor::Dialog& d) {
    d.fields.name = "New One", d.fields.start = "2330", d.fields.end = "0030", d.fields.notes = "";
    EXPECT_TRUE(editor.OKBtnClick());
  });
  editor.OpenAddDialog();
  EXPECT_EQ(stations.list.RowOrder, (std::vector<int>{1, 0, 2}));
  EXPECT_EQ(stations.list.OnAirRowOrder, (std::vector<int>{1, 0, 2}));
  EXPECT_EQ(stations.CellText(3, 2), "New One");
  EXPECT_TRUE(stations.list.Changed && !stations.FreqSorted);
  EXPECT_EQ(state.FreqFileRecordCount, 3);
  EXPECT_EQ(panel[Ctl::FileOpBtn1].colour, Colour::Maroon);
  EXPECT_TRUE(!editor.dialog().open && editor.dialog().accepted);
  // Saved, the entry is the last line.
  files.SaveFrequencyFile();
  const std::optional<std::string> bytes = ReadWholeFile(dir + "FreqFiles/list.320");
  ASSERT_TRUE(bytes);
  const std::vector<std::string_view> lines = SplitFileLines(*bytes);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2], "\"New One\",15.000000,AM,6000,2,500,0,\"\",\"\",\"2330\",\"0030\",\"Notes\",0,0");
}

TEST_F(EntryEditorTest, AddWithoutAFileStartsAListAndIsFilledFromThePresentTuning) {
  stations.StartupGridSetUp();
  ASSERT_FALSE(panel[Ctl::SaveFileItem].enabled);
  OnDialog([&](EntryEditor::Dialog& d) {
    d.fields.name = "First", d.fields.start = "2500";
    EXPECT_FALSE(editor.OKBtnClick() || !d.open);
    EXPECT_THAT(messages.messages(), ElementsAre("Start time entry error."));
    EXPECT_EQ(stations.list.RecordCount(), 0);
    d.fields.start = "2330";  // put right, OK stores and closes
    EXPECT_TRUE(editor.OKBtnClick() && !d.open);
  });
  editor.OpenAddDialog();
  EXPECT_EQ(stations.list.RowOrder, (std::vector<int>{0}));
  EXPECT_TRUE(panel[Ctl::SaveFileItem].enabled && panel[Ctl::Grid].enabled);
  EXPECT_EQ(stations.CellText(1, 2) + " " + stations.CellText(1, 3), "First 2330");

  // The boxes come from the receiver; the step list follows the 9 kHz option.
  state.Freq = 9580.5;
  controls.ModeBtnClick(1);  // USB
  controls.SelectFilter(13);
  tuning.SetTuningStep(1000);
  state.PBT = -150;
  controls.ShowAGCFast();
  std::string lastSteps;
  OnDialog([&](EntryEditor::Dialog& d) {
    EXPECT_FALSE(d.updateEnabled);
    EXPECT_EQ(d.purpose, EntryEditor::Purpose::Add);
    lastSteps += d.stepItems.back() + " ";
    editor.UpdateBtnClick();  // not part of adding
    editor.CanBtnClick();
  });
  stations.list.Changed = false;
  for (int nine : {0, 1}) {
    state.NineKHzSteps = nine;
    editor.OpenAddDialog();
  }
  EXPECT_EQ(lastSteps, "10000 9000 ");
  EXPECT_EQ(shownCaption, "Add Frequency File Entry");
  EXPECT_EQ(shownFields, (EntryFields{"", "9580.5", 1, 13, 5, "1000", "-150", 0, "0000", "2400", "", "", "Notes"}));
  // Cancelled: nothing added.
  EXPECT_EQ(stations.list.RecordCount(), 1);
  EXPECT_FALSE(stations.list.Changed);
}

TEST_F(EntryEditorTest, EditNeedsARecordInTheRowOverwritesAllButSpareAndLockoutAndUpdateTakesTheTuning) {
  OnDialog([&](EntryEditor::Dialog&) { ADD_FAILURE() << "no dialog expected"; });
  editor.EditEntryItemClick();
  Load({StationLine("Zulu", "6.010000"),
        "\"Radio Alba\",9.580000,USB,2400,3,9000,-100,\"Hills\",\"English\",\"0800\",\"1200\",\"Talk\",5,1"});
  stations.grid.Row = 3;
  editor.EditEntryItemClick();
  EXPECT_EQ(dialogsShown, 0);

  stations.SortByName();
  stations.SetRow(1);  // Radio Alba, record 1
  const FrequencyRecord zulu = stations.list.Record(0), before = stations.list.Record(1);
  OnDialog([&](EntryEditor::Dialog& d) {
    EXPECT_TRUE(d.updateEnabled);
    d.fields.notes = "edited";
    editor.CanBtnClick();
  });
  editor.EditEntryItemClick();
  EXPECT_EQ(shownCaption, "Edit Frequency File Entry");
  EXPECT_EQ(shownFields,
            (EntryFields{"Radio Alba", "9580", 1, 14, 8, "9000", "-100", 0, "0800", "1200", "Hills", "English", "Talk"}));
  EXPECT_EQ(stations.list.Record(1), before);
  EXPECT_FALSE(stations.list.Changed || editor.dialog().accepted);

  stations.GridTunePermit = true;
  OnDialog([&](EntryEditor::Dialog& d) {
    d.fields.name = "Radio Alba 2", d.fields.freq = "9585", d.fields.mode = 3;  // CW
    EXPECT_TRUE(editor.OKBtnClick());
  });
  editor.EditEntryItemClick();
  EXPECT_EQ(editor.editRecord(), 1);
  // The step is kept although the list offers 10000.
  EXPECT_EQ(stations.list.Record(1), (FrequencyRecord{"Radio Alba 2", "9585", "CW", "2400", "3", "9000", "-100", "Hills",
                                                      "English", "0800", "1200", "Talk", "5", "1", 14, 8}));
  EXPECT_EQ(stations.list.Record(0), zulu);
  EXPECT_TRUE(stations.list.Changed);
  // The row was tuned.
  EXPECT_DOUBLE_EQ(state.Freq, 9585.0);
  EXPECT_EQ(state.Mode, 3);

  // Update Tuning takes the receiver's settings, elsewhere now, but not its
  // frequency; the boxes follow, OK keeps them and the row is tuned.
  state.Freq = 7100;
  controls.ModeBtnClick(2);  // LSB
  controls.SelectFilter(16);
  tuning.SetTuningStep(100);
  state.PBT = 250;
  controls.ShowAGCSlow();
  const FrequencyRecord updated{"Radio Alba 2", "9585", "LSB", "2100", "1", "100", "250", "Hills",
                                "English", "0800", "1200", "Talk", "5", "1", 16, 3};
  OnDialog([&](EntryEditor::Dialog& d) {
    stations.list.Changed = false;
    editor.UpdateBtnClick();
    EXPECT_EQ(stations.list.Record(1), updated);
    EXPECT_TRUE(stations.list.Changed);
    EXPECT_EQ(d.fields, (EntryFields{"Radio Alba 2", "9585", 2, 16, 3, "100", "250", 2, "0800", "1200", "Hills",
                                     "English", "Talk"}));
    EXPECT_TRUE(editor.OKBtnClick());
  });
  stations.GridTunePermit = true;
  editor.EditEntryItemClick();
  EXPECT_EQ(stations.list.Record(1), updated);
  // Back on 9585 kHz with the new settings.
  EXPECT_DOUBLE_EQ(state.Freq, 9585.0);
  EXPECT_EQ(state.Mode, 2);
}

}  // namespace
}  // namespace ondaris
