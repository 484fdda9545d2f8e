// LookupBtn: the companion's request, the tuned frequency in the loaded list,
// and the master-list lines near it in TMFLookupDlg with its Open File.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "freqfiles/Lookup.h"
#include "freqfiles/OnAirView.h"
#include "support/StationListRig.h"

namespace ondaris {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class LookupTest : public StationListFixture {
 protected:
  LookupTest() {
    lookup.sendToCompanion = [this](const std::string& text) { sent.push_back(text); };
    lookup.showDialog = [this](LookupController::Dialog& d) {
      ++dialogsShown;
      for (int row = 0; row < d.RowCount(); ++row)
        shownRows.push_back(d.CellText(row, 0) + "|" + d.CellText(row, 1) + "|" + d.CellText(row, 2));
      if (onDialog) onDialog(d);
    };
  }
  void WriteMasterList(const std::string& bytes) { WriteFileBytes(dir + "Export/Master320FrequencyList.txt", bytes); }
  std::string CurrentName() const { return stations.CellText(stations.grid.Row, 2); }

  OnAirViewController onAir{ctx, stations};
  LookupController lookup{ctx, stations, files, dir};
  std::vector<std::string> sent;
  int dialogsShown = 0;
  std::vector<std::string> shownRows;
  std::function<void(LookupController::Dialog&)> onDialog;
};

TEST(LookupRequestTest, IsLAndTheFrequencyWithoutTrailingZeros) {
  EXPECT_EQ(LookupRequestText(9580, '.') + LookupRequestText(9580.5, '.') + LookupRequestText(14230.25, ','),
            "L9580L9580.5L14230,25");
}

// A tuned frequency not in the list is reported and the master list searched
// all the same; one in the list leaves the on-air view and shows the first
// row within 4.5 kHz in frequency order.
TEST_F(LookupTest, TheTunedFrequencyIsLookedUpInTheListInFrequencyOrder) {
  Load({StationLine("Far", "9.590000"), StationLine("Exact", "9.580000"), StationLine("Near", "9.575500"),
        StationLine("Too Low", "9.575400")});
  WriteMasterList("9581\tRadio Alba\tb.320\r\n");
  onAir.NowBtnClick();
  stations.SetRow(2);
  state.Freq = 9581;
  lookup.LookupBtnClick();
  EXPECT_THAT(messages.messages(), ElementsAre("The tuned frequency isn't in the frequency file."));
  EXPECT_TRUE(stations.list.OnAirView && !stations.FreqSorted);
  EXPECT_EQ(stations.grid.Row, 2);
  EXPECT_EQ(stations.list.RowOrder, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_THAT(sent, ElementsAre("L9581"));
  EXPECT_EQ(dialogsShown, 1);

  state.Freq = 9580;
  lookup.LookupBtnClick();
  EXPECT_EQ(messages.messages().size(), 1u);
  EXPECT_TRUE(!stations.list.OnAirView && stations.FreqSorted);
  EXPECT_EQ(stations.list.RowOrder, (std::vector<int>{3, 2, 1, 0}));
  EXPECT_EQ(std::make_pair(stations.grid.Row, stations.grid.TopRow), std::make_pair(2, 2));
  EXPECT_EQ(CurrentName(), "Near");
  // A list already in frequency order is not sorted again.
  stations.list.RowOrder = {0, 1, 2, 3};  // shuffled by hand, the mark still set
  lookup.LookupBtnClick();
  EXPECT_EQ(stations.list.RowOrder, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(CurrentName(), "Exact");
}

TEST_F(LookupTest, WithoutAListAsksTheCompanionAndListsMasterLinesWithinTwoAndAHalfKHz) {
  state.Freq = 9580;
  lookup.LookupBtnClick();  // no master list
  WriteMasterList("6000\tFar Away\ta.320\r\n");
  lookup.LookupBtnClick();  // no line near
  EXPECT_EQ(dialogsShown, 0);
  EXPECT_THAT(sent, ElementsAre("L9580", "L9580"));
  EXPECT_THAT(messages.messages(), IsEmpty());
  // Up to the first short line.
  WriteMasterList("9577.4\tToo Low\ta.320\r\n9577.5\tLow Edge\ta.320\r\n9580\tRadio Alba\tb.320\r\n"
                  "9582.5\tHigh Edge\tc.320\r\n9582.6\tToo High\tc.320\r\n\r\n9580\tAfter The Blank\td.320\r\n");
  lookup.LookupBtnClick();
  ASSERT_EQ(dialogsShown, 1);
  EXPECT_THAT(shownRows, ElementsAre("Freq|Station|Frequency File Name", "9577.5|Low Edge|a.320",
                                     "9580|Radio Alba|b.320", "9582.5|High Edge|c.320"));
  EXPECT_FALSE(lookup.dialog().open);
}

TEST_F(LookupTest, OpenFileSaysAFileIsMissingOrAsksToSaveThenLoadsTheFileOfTheCurrentRow) {
  Load({StationLine("Mine", "9.580000")});
  WriteList("b.320", {StationLine("In B", "9.580000"), StationLine("Also B", "9.600000")});
  WriteMasterList("9580\tGone\tgone.320\r\n9581\tNo File\t\r\n9582\tIn B\tb.320\r\n");
  state.Freq = 9580;
  // A missing file, an empty file name, and a dialog that OK closed (its buttons with it).
  for (int row : {1, 2, -3}) {
    onDialog = [this, row](LookupController::Dialog& d) {
      d.row = std::abs(row);
      if (row < 0) lookup.OKBtnClick();
      lookup.OpenFileBtnClick();
      EXPECT_FALSE(d.open);
    };
    lookup.LookupBtnClick();
  }
  const std::string missing = "Cannot find the specified frequency file.  Aborting load...";
  EXPECT_THAT(messages.messages(), ElementsAre(missing, missing));
  EXPECT_EQ(state.LastFreqFile, "list.320");
  stations.list.Changed = true;
  messages.answerNext(false);
  onDialog = [this](LookupController::Dialog& d) {
    d.row = 3;
    lookup.OpenFileBtnClick();
  };
  lookup.LookupBtnClick();
  EXPECT_THAT(messages.questions(), ElementsAre("Your frequency file has been changed.  Do you want to save it?"));
  EXPECT_EQ(state.LastFreqFile + "|" + stations.CellText(1, 2), "b.320|In B");
  EXPECT_EQ(stations.list.RecordCount(), 2);
  EXPECT_THAT(recentPaths, ElementsAre(freqFile("list.320"), freqFile("b.320")));
}

}  // namespace
}  // namespace ondaris
