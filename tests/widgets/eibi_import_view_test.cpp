// File > Import EiBi Schedule... in the window, on the shipped schedule: the
// menu item, the file dialog, the options window with its check boxes and
// edits, and the grid showing the new entries; the import itself is timed.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/FrontPanel.h"
#include "platform/CompanionTransport.h"
#include "platform/Shell.h"
#include "support/FakeClock.h"
#include "support/FakeSerialPort.h"
#include "support/FakeTimeline.h"
#include "support/FakeTimer.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedMessageBoxes.h"
#include "ui/FrequencyGridView.h"
#include "ui/FrequencyGridModel.h"
#include "ui/FrontPanelActions.h"
#include "ui/MainWindow.h"
#include "ui/PanelDialogs.h"

namespace ondaris {
namespace {

class QuietCompanion : public CompanionTransport {
 public:
  bool listen(std::string&) override { return true; }
  void close() override {}
  void send(const std::string&) override {}
};

class QuietShell : public Shell {
 public:
  bool open(const std::string&, std::string&) override { return true; }
};

class EibiImportViewTest : public ::testing::Test {
 protected:
  EibiImportViewTest()
      : panel(PanelPlatform{port, clock, messages, companion, shell, tuningTimer, meterTimer, scanTimer, clockTimer,
                            debounceTimer, pumpTimer, fileDialogs},
              dir.path().toStdString() + "/", '.'),
        actions(panel) {}

  void SetUp() override {
    ASSERT_TRUE(QDir(dir.path()).mkpath("FreqFiles"));
    panel.link().open("COM1");
    window = std::make_unique<MainWindow>(panel.panel, actions);
    window->setStationGrid(panel.stations);
    dialogs = std::make_unique<PanelDialogs>(panel, window.get());
    panel.stations.StartupGridSetUp();
    window->show();
  }
  void TearDown() override {
    dialogs.reset();
    window.reset();
  }

  QTemporaryDir dir;
  FakeTimeline timeline;
  FakeClock clock{timeline};
  FakeSerialPort port{&timeline};
  FakeTimer tuningTimer{timeline, "TuningTimer"}, meterTimer{timeline, "MeterTimer"},
      scanTimer{timeline, "ScanTimer"}, clockTimer{timeline, "ClockTimer"}, debounceTimer{timeline, "Debounce"},
      pumpTimer{timeline, "LinkPump"};
  ScriptedMessageBoxes messages;
  QuietCompanion companion;
  QuietShell shell;
  ScriptedFileDialogs fileDialogs;
  FrontPanel panel;
  FrontPanelActions actions;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<PanelDialogs> dialogs;
};

TEST_F(EibiImportViewTest, MenuItemImportsTheShippedScheduleIntoTheGrid) {
  const std::string schedule = std::string(ONDARIS_DATA_DIR) + "/eibi-sked-b25.csv";
  ASSERT_TRUE(QFile::exists(QString::fromStdString(schedule))) << schedule;
  QAction* item = window->menuAction(Ctl::ImportEibiItem);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text(), "&Import EiBi Schedule...");
  EXPECT_TRUE(item->isEnabled());

  // First a refused range (the window stays open), then the whole schedule.
  bool seen = false, stayedOpen = false, editsFollowTheBox = false;
  qint64 importMs = -1;
  // The options window is modal: it is worked from the event loop it runs.
  QTimer poll;
  int tries = 0;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!d || d->objectName() != "TEibiImportDlg") {
      if (++tries > 400) poll.stop();
      return;
    }
    poll.stop();
    seen = true;
    auto* range = d->findChild<QCheckBox*>("RangeOnlyCheck");
    auto* from = d->findChild<QLineEdit*>("FromKHzEdit");
    editsFollowTheBox = !from->isEnabled();
    range->setChecked(true);
    editsFollowTheBox = editsFollowTheBox && from->isEnabled();
    from->setText("9000");
    d->findChild<QLineEdit*>("ToKHzEdit")->setText("abc");
    QTest::mouseClick(d->findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
    stayedOpen = d->isVisible();
    range->setChecked(false);
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(d->findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
    importMs = timer.elapsed();
    if (d->isVisible()) d->reject();
  });
  poll.start(5);
  fileDialogs.chooseNext(schedule);
  item->trigger();

  ASSERT_TRUE(seen);
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(editsFollowTheBox);
  EXPECT_EQ(messages.messages(), (std::vector<std::string>{EibiRangeRefusedMessage}));
  std::printf("import of the shipped schedule through the window: %lld ms\n", static_cast<long long>(importMs));
  // Well under a second even on a busy machine.
  EXPECT_GE(importMs, 0);
  EXPECT_LT(importMs, 1000);

  auto* grid = qobject_cast<FrequencyGridView*>(window->controlWidget(Ctl::Grid));
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->gridModel()->rowCount(), 10060);
  EXPECT_TRUE(grid->isEnabled());
  // 16.3;0000-2400;;IND;VTX1 Indian Navy;;SAs;v;1;;
  EXPECT_EQ(grid->gridModel()->index(0, 1).data().toString(), "16.3");
  EXPECT_EQ(grid->gridModel()->index(0, 2).data().toString(), "VTX1 Indian Navy");
  EXPECT_EQ(grid->gridModel()->index(0, 6).data().toString(), "IND to SAs");
  EXPECT_TRUE(panel.stations.list.Changed);
  EXPECT_TRUE(window->menuAction(Ctl::SaveFileItem)->isEnabled());
}

}  // namespace
}  // namespace ondaris
