// The record clipboard of the Edit menu: copy, cut and paste of the selected
// grid rows, in their order, against a loaded frequency file.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "freqfiles/EntryEditor.h"
#include "freqfiles/OnAirView.h"
#include "freqfiles/RecordClipboard.h"
#include "support/StationListRig.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

class RecordClipboardTest : public StationListFixture {
 protected:
  // Eight stations S1..S8 at 6 MHz + 10 kHz each, S2 locked out.
  void LoadEight() {
    std::vector<std::string> lines;
    for (int i = 1; i <= 8; ++i)
      lines.push_back(StationLine("S" + std::to_string(i), "6.0" + std::to_string(i) + "0000", "0000", "2400",
                                  i == 2 ? "1" : "0"));
    Load(lines);
  }
  void Select(int top, int bottom) { stations.GridCursorMoved(top, top, bottom); }
  std::vector<std::string> RecordNames() const { return stations.list.Column(FreqColumn::Name); }
  std::vector<std::string> ClipboardNames() const {
    std::vector<std::string> names;
    for (const FrequencyRecord& r : clipboard.Records()) names.push_back(r.Name);
    return names;
  }

  OnAirViewController onAir{ctx, stations};
  RecordClipboard clipboard{ctx, stations, onAir};
};

TEST_F(RecordClipboardTest, CopyTakesTheSelectedRowsInRowOrderAndPasteRestoresRecordOrder) {
  clipboard.ClearAtStartup();
  EXPECT_EQ(panel[Ctl::PasteItem].caption, "&Paste Records (0)          (Ctrl+V)");
  EXPECT_FALSE(clipboard.Full());
  LoadEight();
  // Name order reversed by hand: row r shows record 8 - r.
  stations.list.RowOrder = {7, 6, 5, 4, 3, 2, 1, 0};
  Select(2, 4);
  clipboard.CopyItemClick();
  EXPECT_THAT(ClipboardNames(), ElementsAre("S7", "S6", "S5"));
  EXPECT_EQ(panel[Ctl::PasteItem].caption, "&Paste Records (3)          (Ctrl+V)");
  EXPECT_TRUE(clipboard.Full() && panel[Ctl::PasteItem].enabled && !stations.list.Changed);
  // Enabling the file commands shows the clipboard's count.
  panel.setCaption(Ctl::PasteItem, "");
  stations.DisableFileCommands();
  EXPECT_EQ(panel[Ctl::PasteItem].caption, "&Paste Records (3)          (Ctrl+V)");
  // A selection past the last row is clipped (a top row of 0 counts as row 1).
  stations.grid.SelectionTop = 0;
  stations.grid.SelectionBottom = 40;
  clipboard.CopyItemClick();
  EXPECT_EQ(std::to_string(clipboard.Count()) + ClipboardNames().front(), "8S8");
  // During a file scan Paste stays disabled.
  panel.setEnabled(Ctl::PasteItem, false);
  ctx.scan.ScanState = 1;
  Select(1, 2);
  clipboard.CopyItemClick();
  EXPECT_EQ(panel[Ctl::PasteItem].caption, "&Paste Records (2)          (Ctrl+V)");
  EXPECT_FALSE(panel[Ctl::PasteItem].enabled);
  // Paste in that order goes before the record shown and puts the list back in record order.
  stations.SetRow(3);  // shows S6 (record 5)
  clipboard.PasteItemClick();
  EXPECT_THAT(RecordNames(), ElementsAre("S1", "S2", "S3", "S4", "S5", "S8", "S7", "S6", "S7", "S8"));
  EXPECT_THAT(RowNames(), ElementsAreArray(RecordNames()));
}

TEST_F(RecordClipboardTest, PasteGoesBeforeTheRecordOfTheCurrentRowInCopiedOrderAsOftenAsAskedOrIsRefused) {
  LoadEight();
  clipboard.PasteItemClick();  // nothing copied
  EXPECT_EQ(stations.list.RecordCount(), 8);
  Select(1, 3);
  clipboard.CopyItemClick();
  stations.SetRow(5);
  clipboard.PasteItemClick();
  EXPECT_THAT(RecordNames(), ElementsAre("S1", "S2", "S3", "S4", "S1", "S2", "S3", "S5", "S6", "S7", "S8"));
  // Every field comes along, the lockout mark too.
  EXPECT_EQ(stations.list.Record(5), stations.list.Record(1));
  EXPECT_EQ(stations.CellText(6, 0), "L");
  EXPECT_TRUE(stations.list.Changed);
  EXPECT_EQ(state.FreqFileRecordCount, 11);
  EXPECT_EQ(panel[Ctl::FileOpBtn1].colour, Colour::Maroon);
  stations.grid.Row = 12;  // the row after the last record appends
  clipboard.PasteItemClick();
  EXPECT_EQ(std::to_string(stations.list.RecordCount()) + RecordNames().back(), "14S3");
  EXPECT_EQ(panel[Ctl::PasteItem].caption, "&Paste Records (3)          (Ctrl+V)");
  // Refused beyond the row after the last and while a file scan is chosen.
  stations.grid.Row = 16;
  clipboard.PasteItemClick();
  stations.grid.Row = 1;
  ctx.scan.ScanKind = 1;
  clipboard.PasteItemClick();
  EXPECT_EQ(stations.list.RecordCount(), 14);
  ctx.scan.ScanKind = 2;
  clipboard.PasteItemClick();
  EXPECT_EQ(stations.list.RecordCount(), 17);
}

TEST_F(RecordClipboardTest, CutAsksThenRemovesTheRowsAndCuttingEveryRecordForgetsTheFile) {
  LoadEight();
  Select(4, 4);
  messages.answerNext(false);
  clipboard.DeleteEntryItemClick();  // No keeps the list but fills the clipboard
  EXPECT_THAT(messages.questions(), ElementsAre("Are you sure you want to delete this record?"));
  EXPECT_EQ(stations.list.RecordCount(), 8);
  EXPECT_FALSE(stations.list.Changed);
  EXPECT_THAT(ClipboardNames(), ElementsAre("S4"));

  stations.list.RowOrder = {7, 6, 5, 4, 3, 2, 1, 0};
  Select(2, 4);  // S7, S6, S5
  stations.grid.Row = 3;
  messages.answerNext(true);
  clipboard.DeleteEntryItemClick();
  EXPECT_EQ(messages.questions().back(), "Are you sure you want to delete these records?");
  EXPECT_THAT(RecordNames(), ElementsAre("S1", "S2", "S3", "S4", "S8"));
  EXPECT_TRUE(stations.list.Changed);
  EXPECT_EQ(std::make_pair(stations.grid.Row, state.FreqFileRecordCount), std::make_pair(1, 5));
  // Cut then paste moves the records, in the order they were shown.
  stations.SetRow(5);
  clipboard.PasteItemClick();
  EXPECT_THAT(RecordNames(), ElementsAre("S1", "S2", "S3", "S4", "S7", "S6", "S5", "S8"));

  // Cutting every record forgets the file, unsaved; Paste brings them back.
  Select(1, 8);
  messages.answerNext(true);
  clipboard.DeleteEntryItemClick();
  EXPECT_EQ(std::make_pair(stations.list.RecordCount(), state.FreqFileRecordCount), std::make_pair(0, 0));
  EXPECT_EQ(state.LastFreqFile, "");
  EXPECT_TRUE(stations.list.FileLines.empty());
  for (Ctl c : {Ctl::SaveFileItem, Ctl::FileOpBtn1, Ctl::CopyItem, Ctl::NowBtn, Ctl::Grid})
    EXPECT_FALSE(panel[c].enabled) << ControlName(c);
  EXPECT_TRUE(panel[Ctl::AddEntryItem].enabled && panel[Ctl::PasteItem].enabled);
  // The file on disk is untouched.
  EXPECT_EQ(fs::file_size(freqFile("list.320")), 8u * (StationLine("S1", "6.010000").size() + 2));
  clipboard.PasteItemClick();
  EXPECT_THAT(RecordNames(), ElementsAre("S1", "S2", "S3", "S4", "S7", "S6", "S5", "S8"));
  EXPECT_TRUE(panel[Ctl::SaveFileItem].enabled && panel[Ctl::Grid].enabled && stations.list.Changed);
}

TEST_F(RecordClipboardTest, TheEditKeysMenuAndButtonsReachTheirCommands) {
  EntryEditor editor{ctx, stations};
  std::vector<EntryEditor::Purpose> dialogsShown;
  editor.showDialog = [&](EntryEditor::Dialog& d) {
    dialogsShown.push_back(d.purpose);
    editor.CanBtnClick();
  };
  LoadEight();
  Select(1, 2);
  stations.SetRow(8);
  messages.answerNext({true, false, true});
  // Ctrl keys act only while their items are enabled, in either case; Add needs none.
  const struct {
    char key;
    Ctl item;
    bool enabled, handled;
    int clipboard, records;
  } keys[] = {{'C', Ctl::CopyItem, false, true, 0, 8},     {'c', Ctl::CopyItem, true, true, 1, 8},
              {'V', Ctl::PasteItem, false, true, 1, 8},    {'v', Ctl::PasteItem, true, true, 1, 9},
              {'=', Ctl::AddEntryItem, false, true, 1, 9}, {'+', Ctl::AddEntryItem, false, true, 1, 9},
              {'E', Ctl::EditEntryItem, true, true, 1, 9}, {'X', Ctl::DeleteEntryItem, true, true, 1, 8},
              {'S', Ctl::SaveFileItem, true, false, 1, 8}};
  for (const auto& k : keys) {
    panel.setEnabled(k.item, k.enabled);
    EXPECT_EQ(EditCommandCtrlKeyUp(k.key, panel, editor, clipboard), k.handled) << k.key;
    EXPECT_EQ(std::make_pair(clipboard.Count(), stations.list.RecordCount()), std::make_pair(k.clipboard, k.records))
        << k.key;
  }
  // The menu items and the file buttons; Delete asks first.
  const struct {
    Ctl control;
    bool handled;
    int records;
  } clicks[] = {{Ctl::CopyItem, true, 8},        {Ctl::PasteItem, true, 9},   {Ctl::AddEntryItem, true, 9},
                {Ctl::FileOpBtn2, true, 9},      {Ctl::EditEntryItem, true, 9}, {Ctl::FileOpBtn3, true, 9},
                {Ctl::DeleteEntryItem, true, 9}, {Ctl::FileOpBtn5, true, 8},  {Ctl::NowBtn, false, 8}};
  for (const auto& c : clicks) {
    EXPECT_EQ(EditCommandClick(c.control, editor, clipboard), c.handled) << ControlName(c.control);
    EXPECT_EQ(stations.list.RecordCount(), c.records) << ControlName(c.control);
  }
  using P = EntryEditor::Purpose;
  EXPECT_THAT(dialogsShown, ElementsAre(P::Add, P::Add, P::Edit, P::Add, P::Add, P::Edit, P::Edit));
}

class RecordClipboardOnAirTest : public RecordClipboardTest {
 protected:
  void SetUp() override {
    clock.setUtc(DateTime{2024, 3, 10, 9, 0, 0});
    Load({StationLine("Delta", "6.010000", "0800", "1000"), StationLine("Off", "6.020000", "1000", "1100"),
          StationLine("Alpha", "6.030000", "0000", "2400"), StationLine("Charlie", "6.040000", "0900", "0901"),
          StationLine("Bravo", "6.050000", "2300", "1000")});
    onAir.NowBtnClick();
    ASSERT_TRUE(stations.list.OnAirView);
    ASSERT_THAT(RowNames(), ElementsAre("Alpha", "Bravo", "Charlie", "Delta"));
  }
};

TEST_F(RecordClipboardOnAirTest, CopyTakesTheOnAirRowsAndCutAndPasteRebuildTheViewAtThePresentTime) {
  Select(2, 3);
  clipboard.CopyItemClick();
  EXPECT_THAT(ClipboardNames(), ElementsAre("Bravo", "Charlie"));
  Select(1, 1);  // Alpha
  messages.answerNext(true);
  clipboard.DeleteEntryItemClick();
  EXPECT_THAT(RecordNames(), ElementsAre("Delta", "Off", "Charlie", "Bravo"));
  EXPECT_TRUE(stations.list.OnAirView);
  EXPECT_THAT(RowNames(), ElementsAre("Bravo", "Charlie", "Delta"));
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "On the air now: 3 broadcasts");
  clock.setUtc(DateTime{2024, 3, 10, 9, 30, 0});  // Charlie has gone off
  stations.SetRow(1);                             // Bravo, record 3
  clipboard.PasteItemClick();
  EXPECT_THAT(RecordNames(), ElementsAre("Delta", "Off", "Charlie", "Alpha", "Bravo"));
  EXPECT_TRUE(stations.list.OnAirView);
  EXPECT_THAT(RowNames(), ElementsAre("Alpha", "Bravo", "Delta"));
}

TEST_F(RecordClipboardOnAirTest, CuttingEveryRecordLeavesTheOnAirView) {
  stations.list.OnAirRowOrder = {0, 1, 2, 3, 4};  // every record in view
  Select(1, 5);
  messages.answerNext(true);
  clipboard.DeleteEntryItemClick();
  EXPECT_FALSE(stations.list.OnAirView);
  EXPECT_EQ(panel[Ctl::NowBtn].colour, Colour::Black);
  EXPECT_THAT(messages.messages(), ::testing::IsEmpty());
}

}  // namespace
}  // namespace ondaris
