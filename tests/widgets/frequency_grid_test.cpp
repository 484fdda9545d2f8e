// The frequency grid on screen: it reads only the rows it shows, follows the
// list's cursor and scrolling both ways, sorts on header clicks inside the
// hot zones, tunes on clicks and the K/M keys, and draws rows on white.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "freqfiles/StationGrid.h"
#include "support/PanelFixture.h"
#include "ui/FrequencyGridModel.h"
#include "ui/FrequencyGridView.h"

namespace ondaris {
namespace {

// Names sort like the numbers; odd ones are on the air from 0000, every third is locked out.
FrequencyRecord Station(int i) {
  return FrequencyRecord{.Name = "Station " + std::to_string(100000 + i),
                         .Freq = std::to_string(30000 - (i % 29000)), .Mode = "AM", .Filter = "6000",
                         .AGC = "2", .Step = "5000", .PBT = "0", .Location = "Here", .Language = "English",
                         .OnAir = i % 2 ? "0000" : "1200", .OffAir = "1300", .Notes = "Notes", .Spare = "0",
                         .Lockout = i % 3 == 0 ? "1" : "0", .FilterIndex = 1, .StepIndex = 7};
}

class FrequencyGridTest : public ::testing::Test, public PanelRig {
 protected:
  FrequencyGridTest() : stations(ctx, receiver, controls, tuning, dir.path().toStdString() + "/") {}

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath("SysFiles"));
    clock.setUtc({2026, 3, 7, 9, 0, 0});
    view = std::make_unique<FrequencyGridView>();
    view->resize(729, 157);
    view->onError = [this](const std::string& text) { errors.push_back(text); };
    view->setController(&stations);
    stations.StartupGridSetUp();
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
  }
  void TearDown() override {
    view.reset();
    EXPECT_TRUE(errors.empty()) << errors.front();
  }

  // A named list of `count` stations, shown from row 1.
  void Fill(int count) {
    for (int i = 0; i < count; ++i) stations.list.AppendRecord(Station(i));
    stations.list.ResetRowOrders();
    state.LastFreqFile = "Big.320";
    stations.EnableFileCommands();
    panel.setEnabled(Ctl::Grid, true);
    stations.SetUpFrequencyGrid();
    stations.SetRow(1, 1);
    stations.RefreshFrequencyGrid();
    QApplication::processEvents();
  }
  void Paint() {
    view->viewport()->repaint();
    QApplication::processEvents();
  }
  FrequencyGridModel& model() { return *view->gridModel(); }
  int visibleRows() const { return view->viewport()->height() / view->verticalHeader()->defaultSectionSize() + 1; }
  // The centre of a row's cell in the viewport.
  QPoint cellCentre(int row, int column) {
    return view->visualRect(model().index(row - 1, column)).center();
  }

  QTemporaryDir dir;
  StationGrid stations;
  std::unique_ptr<FrequencyGridView> view;
  std::vector<std::string> errors;
};

TEST_F(FrequencyGridTest, ShowsNineColumnsAndTheHeaders) {
  EXPECT_EQ(model().columnCount(), 9);
  const QStringList headers{"Lk", "Freq", "Name", "On Air", "Off Air", "Language", "Location", "Mode", "Filt"};
  for (int c = 0; c < 9; ++c) EXPECT_EQ(model().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), headers[c]);
  for (int c = 0; c < 9; ++c) EXPECT_EQ(view->columnWidth(c), stations.grid.ColWidths[static_cast<std::size_t>(c)]);
  EXPECT_EQ(model().rowCount(), 6);  // the empty grid: seven rows with the header
  EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST_F(FrequencyGridTest, ScrollingAHundredThousandRowsReadsOnlyTheRowsInView) {
  Fill(100000);
  ASSERT_EQ(model().rowCount(), 100000);
  const int visible = visibleRows();

  model().resetFetchCounters();
  Paint();
  EXPECT_GT(model().fetchCount(), 0);
  EXPECT_EQ(model().lowestRowFetched(), 1);
  EXPECT_LE(model().highestRowFetched(), visible);

  for (int top : {2, 500, 50000, 99990, 100000}) {
    model().resetFetchCounters();
    view->verticalScrollBar()->setValue(top - 1);
    Paint();
    EXPECT_EQ(stations.grid.TopRow, view->verticalScrollBar()->value() + 1);
    // The rows drawn, a partly shown one at either edge included.
    const int first = view->rowAt(0) + 1;
    const int lastIndex = view->rowAt(view->viewport()->height() - 1);
    const int last = lastIndex < 0 ? model().rowCount() : lastIndex + 1;
    EXPECT_GE(model().lowestRowFetched(), first) << "top " << top;
    EXPECT_LE(model().highestRowFetched(), last) << "top " << top;
    EXPECT_LE(static_cast<int>(model().rowsFetched().size()), visible) << "top " << top;
    // Nine cells per row, text and colour: nothing beyond what is drawn.
    EXPECT_LE(model().fetchCount(), static_cast<long long>(visible) * 9 * 2 * 2) << "top " << top;
  }
}

TEST_F(FrequencyGridTest, TheViewFollowsTheListsCursor) {
  Fill(200);
  stations.SetRow(120, 120);
  QApplication::processEvents();
  EXPECT_EQ(std::tuple(view->currentIndex().row(), view->verticalScrollBar()->value(),
                       view->selectionModel()->isRowSelected(119, {})),
            std::tuple(119, 119, true));
  // Past the end the view stops at the last page and says so.
  stations.SetRow(200, 200);
  QApplication::processEvents();
  EXPECT_EQ(stations.grid.TopRow, view->verticalScrollBar()->value() + 1);
  EXPECT_LT(stations.grid.TopRow, 200);
}

TEST_F(FrequencyGridTest, AHeaderClickInsideTheZoneSortsThatColumn) {
  Fill(50);
  QHeaderView* header = view->horizontalHeader();
  const int nameLeft = header->sectionViewportPosition(2);
  const auto clickAt = [header](int x) {
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
  };

  // Within 5 pixels of a border: nothing.
  clickAt(nameLeft + 3);
  EXPECT_EQ(stations.CellText(1, 2), "Station 100000");
  EXPECT_EQ(view->headerGridX(nameLeft + 3), GridColumnLeft(stations.grid.ColWidths, 2) + 3);

  // The Freq column: ascending frequencies from row 1.
  clickAt(header->sectionViewportPosition(1) + header->sectionSize(1) / 2);
  EXPECT_EQ(stations.CellText(1, 1) + " " + stations.CellText(50, 1), "29951 30000");
  Paint();
  EXPECT_EQ(model().index(0, 1).data().toString(), "29951");
}

TEST_F(FrequencyGridTest, ResizingAColumnIsWhatExitWillWrite) {
  view->horizontalHeader()->resizeSection(3, 97);
  EXPECT_EQ(stations.grid.ColWidths[3], 97);
  stations.SaveGridWidths();
  EXPECT_EQ(ReadGridWidths(dir.path().toStdString() + "/")->at(3), 97);
  // Setting the grid up again takes the file's widths back.
  stations.GridColumnResized(3, 40);
  stations.SetUpFrequencyGrid();
  EXPECT_EQ(view->columnWidth(3), 97);
}

// Clicks and the K/M keys reach the list, which tunes; the arrows only move,
// and the view follows the list's cursor.
TEST_F(FrequencyGridTest, ClicksAndKeysReachTheList) {
  Fill(10);
  const auto rowAndFreq = [this] { return std::tuple(stations.grid.Row, state.Freq); };
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cellCentre(3, 2));
  EXPECT_EQ(rowAndFreq(), std::tuple(3, 29998.0));
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Big.320:  Line 3");
  stations.ClockTick();
  view->setFocus();
  QTest::keyClick(view.get(), Qt::Key_K);
  EXPECT_EQ(rowAndFreq(), std::tuple(2, 29999.0));
  EXPECT_EQ(view->currentIndex().row(), 1);
  stations.ClockTick();
  QTest::keyClick(view.get(), Qt::Key_Down);
  EXPECT_EQ(rowAndFreq(), std::tuple(3, 29999.0));
  stations.ClockTick();
  QTest::keyClick(view.get(), Qt::Key_S);  // a letter is no search: the cursor stays
  EXPECT_EQ(stations.grid.Row, 3);
  QTest::keyClick(view.get(), Qt::Key_M);
  EXPECT_EQ(rowAndFreq(), std::tuple(4, 29997.0));
}

TEST_F(FrequencyGridTest, RowsAreDrawnOnWhiteInTheirColours) {
  Fill(10);
  // Odd stations are on the air at 0900 (0000-1300), even ones not (1200-1300).
  const auto colour = [this](int row) { return model().index(row, 2).data(Qt::ForegroundRole).value<QColor>(); };
  EXPECT_EQ(std::tuple(colour(1), colour(0)), std::tuple(QColor(128, 0, 0), QColor(0, 0, 128)));
  EXPECT_EQ(model().index(0, 0).data().toString() + "|" + model().index(1, 0).data().toString(), "L|");

  stations.SetRow(1, 1);
  Paint();
  const QImage image = view->viewport()->grab().toImage();
  const QRect selected = view->visualRect(model().index(0, 8));
  const QRect plain = view->visualRect(model().index(1, 8));
  // The far right of the last column holds no text: the background shows.
  for (const QRect& cell : {selected, plain})
    EXPECT_EQ(image.pixelColor(cell.right() - 2, cell.center().y()), QColor(Qt::white)) << cell.y();
  EXPECT_EQ(std::tuple(FrequencyGridView::HeaderFontSize(745), FrequencyGridView::SelectedFontSize(745),
                       FrequencyGridView::PlainFontSize(500)),
            std::tuple(11, 10, 9));
}

}  // namespace
}  // namespace ondaris
