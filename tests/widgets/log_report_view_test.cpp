// The report setup window opened from the log display's Report button: marks
// clicked, a column dragged, a heading typed, Generate writing the report to
// Export/ and showing it in the preview.

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <string>
#include <tuple>

#include "logbook/LogDisplay.h"
#include "logbook/LogExportRun.h"
#include "logbook/LogReportDialog.h"
#include "support/FrontPanelRig.h"
#include "support/TempFolder.h"
#include "ui/ListGrid.h"
#include "ui/LogDisplayView.h"
#include "ui/LogPreviewView.h"
#include "ui/LogReportView.h"

namespace ondaris {
namespace {

void ClickMark(QTableWidget* grid, int column) {
  const QPoint centre = grid->visualRect(grid->model()->index(0, column)).center();
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
}

TEST(LogReportWindow, GeneratesTheReportOfTheOpenLogFromTheReportButton) {
  TempFolder folder;
  std::filesystem::create_directory(folder.path() / "LogFiles");
  std::filesystem::create_directory(folder.path() / "Export");
  // Code Freq Mode Time Date ID Notes Sent Rcvd Rpt1 Rpt2 Off Country Misc Attach
  WriteFileBytes(folder.dir() + "LogFiles/OndarisLog.txt",
                 "SW\t9580.5\tAM\t1400\t1/5/2001\tRadio A\tnews\t2/1/2001\t\t\t\t1457\tUtopia\t\t\t\r\n"
                 "UT\t4625\tUSB\t0200\t1/6/2001\tThe Buzzer\t\t\t\t\t\t\t\t\t\r\n"
                 "\t6000\tAM\t0300\t1/7/2001\tRadio C\t\t\t\t\t\t\tNowhere\t\t\t\r\n");

  FrontPanelRig rig;
  ScriptedMessageBoxes& messages = rig.messages;
  LogbookSettings settings;
  // A decimal comma: the report still writes the frequency with a point.
  LogDisplay display(messages, rig.fileDialogs, rig.shell, folder.dir(), ',', settings);
  LogReportDialog report(messages, rig.fileDialogs, folder.dir(), ',');
  LogDisplayView displayView(display);
  LogPreviewView previewView(display.preview, &displayView);
  LogReportView reportView(report, &displayView);
  ConnectLogReport(display, report);
  display.FormCreate();
  report.FormCreate();
  display.LogDispBtnClick();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&displayView));

  bool reportShown = false, previewShown = false;
  QString previewText;
  QTimer::singleShot(0, &reportView, [&] {
    reportShown = reportView.isVisible();
    auto* grid = reportView.findChild<QTableWidget*>(QStringLiteral("Grid"));
    for (int column : {0, 1, 6, 9, 15}) ClickMark(grid, column);  // Code Freq ID Cntry S(Y)
    ClickMark(grid, 6);                                              // and ID off again
    // The clicked mark alone is drawn selected, bold at size 9, the others
    // regular at size 10, as in the log grid; the headings black.
    EXPECT_NE(dynamic_cast<ListGridDelegate*>(grid->itemDelegate()), nullptr);
    const auto font = [grid](int column) {
      QStyleOptionViewItem option;
      option.font = grid->font();
      if (grid->selectionModel()->isSelected(grid->model()->index(0, column))) option.state |= QStyle::State_Selected;
      return ListGridDelegate::cellFont(option);
    };
    EXPECT_TRUE(font(6).bold() && font(6).pointSize() == 9);
    EXPECT_TRUE(!font(0).bold() && font(0).pointSize() == 10);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->foreground().color(), QColor(Qt::black));
    grid->horizontalHeader()->moveSection(1, 0);                     // Freq dragged before Code
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text() + "|" + grid->item(0, 1)->text() + "|" + grid->item(0, 6)->text(),
              QStringLiteral("Freq|  Y|  N"));
    reportView.findChild<QLineEdit*>(QStringLiteral("HeaderEdit"))->setText(QStringLiteral("My Log"));
    reportView.findChild<QRadioButton*>(QStringLiteral("AllCheckbox"))->setChecked(true);
    QTimer::singleShot(0, &previewView, [&] {
      previewShown = previewView.isVisible();
      previewText = previewView.findChild<QPlainTextEdit*>(QStringLiteral("PreviewMemo"))->toPlainText();
      previewView.accept();
    });
    QTest::mouseClick(reportView.findChild<QPushButton*>(QStringLiteral("OKBtn")), Qt::LeftButton);
  });
  QTest::mouseClick(displayView.findChild<QPushButton*>(QStringLiteral("ReportBtn")), Qt::LeftButton);

  const std::string expected =
      "My Log\r\n\r\n"
      "Freq\tCode\tCntry\tS(Y)\r\n\r\n"
      "9580.5\tSW\tUtopia\tY\r\n"
      "4625\tUT\t\t\r\n"
      "6000\t\tNowhere\t\r\n";
  EXPECT_EQ(std::tuple(reportShown, reportView.isVisible(), previewShown), std::tuple(true, false, true));
  EXPECT_EQ(ReadFileBytes(folder.dir() + "Export/Report.txt"), expected);
  EXPECT_TRUE(previewText.startsWith(QStringLiteral("My Log"))) << previewText.toStdString();
  EXPECT_TRUE(previewText.contains(QStringLiteral("6000\t\tNowhere"))) << previewText.toStdString();
  EXPECT_EQ(display.preview.text, expected);
  EXPECT_EQ(messages.messages(), std::vector<std::string>{ReportGeneratedMessage("Report.txt")});
  EXPECT_FALSE(display.table.Changed);
}

}  // namespace
}  // namespace ondaris
