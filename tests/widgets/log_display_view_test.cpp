// The log display window on a long log: it opens on the last record, reads
// only the rows it shows, and a click on a row shows that record in the boxes.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>

#include "logbook/LogDisplay.h"
#include "support/FrontPanelRig.h"
#include "support/TempFolder.h"
#include "ui/LogDisplayView.h"
#include "ui/LogGridModel.h"

namespace ondaris {
namespace {

TEST(LogDisplayWindow, OpensOnALongLogAndFetchesOnlyVisibleRows) {
  TempFolder folder;
  std::filesystem::create_directory(folder.path() / "LogFiles");
  std::string log;
  for (int i = 1; i <= 5000; ++i)
    log += "SW\t" + std::to_string(5000 + i) + "\tAM\t0100\t1/5/2001\tID" + std::to_string(i) +
           "\t\t\t\t\t\t\t\t\t\t\r\n";
  WriteFileBytes(folder.dir() + "LogFiles/OndarisLog.txt", log);

  FrontPanelRig rig;
  LogbookSettings settings;
  LogDisplay display(rig.messages, rig.fileDialogs, rig.shell, folder.dir(), '.', settings);
  LogDisplayView view(display);
  display.FormCreate();
  int adifExports = 0;
  display.adifExport = [&adifExports](LogDisplay&) { ++adifExports; };
  display.LogDispBtnClick();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  QApplication::processEvents();

  auto* grid = view.findChild<QTableView*>(QStringLiteral("LogGrid"));
  auto* id = view.findChild<QLineEdit*>(QStringLiteral("IDEdit"));
  ASSERT_TRUE(grid && id);
  EXPECT_EQ(std::tuple(grid->model()->rowCount(), id->text()), std::tuple(5000, QStringLiteral("ID5000")));
  const auto& fetched = view.gridModel()->rowsFetched();
  ASSERT_FALSE(fetched.empty());
  EXPECT_LT(fetched.size(), 100u);
  EXPECT_EQ(*fetched.rbegin(), 5000);
  EXPECT_GT(*fetched.begin(), 4900);

  // A click on the first visible row shows its record.
  const QModelIndex top = grid->indexAt(QPoint(5, 5));
  ASSERT_TRUE(top.isValid());
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(top).center());
  EXPECT_EQ(std::tuple(id->text(), display.CurrentRecord),
            std::tuple("ID" + QString::number(top.row() + 1), top.row() + 1));

  // The export buttons say what they write.
  for (const auto& [name, hint] : {std::pair{"ExportPopBtn", "utility"}, std::pair{"SWLExportBtn", "SWL"},
                                   std::pair{"MWExportBtn", "MW"}}) {
    auto* exportButton = view.findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(exportButton, nullptr) << name;
    EXPECT_EQ(exportButton->toolTip(),
              QStringLiteral("Export selected records in publishable %1 format").arg(QLatin1String(hint)));
  }
  QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("ADIFExportBtn")), Qt::LeftButton);
  EXPECT_EQ(adifExports, 1);
  QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("ExitBtn")), Qt::LeftButton);
  EXPECT_EQ(std::tuple(view.isVisible(), display.isOpen(), rig.messages.questions().size()),
            std::tuple(false, false, 0u));
}

}  // namespace
}  // namespace ondaris
