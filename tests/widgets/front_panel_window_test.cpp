// The window over a real front panel: its buttons, menus, keys and dialogs reach the program behind it.

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
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "app/FrontPanel.h"
#include "scan/BandScanDialog.h"
#include "support/FrontPanelRig.h"
#include "support/TempFolder.h"
#include "ui/FrequencyGridModel.h"
#include "ui/FrequencyGridView.h"
#include "ui/FrequencyLayout.h"
#include "ui/FrontPanelActions.h"
#include "ui/MeterBar.h"
#include "ui/PanelDialogs.h"

#include "WindowAccess.h"

namespace ondaris {
namespace {

// ---- The window over a real front panel --------------------------------------------

class FrontPanelWindowTest : public ::testing::Test, public FrontPanelRig, public WindowAccess {
 protected:
  FrontPanelWindowTest() : panel(platform(), dir.path().toStdString() + "/", '.'), actions(panel) {}

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath("SysFiles"));
    panel.link().open("COM1");
    window = std::make_unique<MainWindow>(panel.panel, actions);
    window->show();
  }
  void TearDown() override { window.reset(); }

  void tuneTo(double freq) {
    panel.state.Freq = freq;
    panel.receiver.TuneRadio();
  }
  bool exists(const QString& path) const { return QFileInfo::exists(dir.filePath(path)); }
  qint64 size(const QString& path) const { return QFileInfo(dir.filePath(path)).size(); }

  QTemporaryDir dir;
  FrontPanel panel;
  FrontPanelActions actions;
};

TEST_F(FrontPanelWindowTest, ButtonsTrackbarsAndMenusReachTheReceiverControls) {
  click(Ctl::FiltBtn5);
  EXPECT_EQ(panel.state.FilterIndex, 5);
  click(Ctl::ModeBtnCW);
  EXPECT_EQ(std::tuple(int(panel.state.Mode), button(Ctl::ModeBtnCW)->isChecked()), std::tuple(3, true));
  click(Ctl::Meter);
  EXPECT_EQ(widget<MeterBar>(Ctl::Meter)->maximum(), 2500);
  widget<QSlider>(Ctl::SpkrTrackbar)->setValue(40);  // as a drag would
  EXPECT_EQ(panel.state.SpkrVolume, 53);
  const bool mute = panel.state.MuteOnExit;
  trigger(Ctl::MuteOnExitItem);
  EXPECT_EQ(std::tuple(panel.state.MuteOnExit != 0, window->menuAction(Ctl::MuteOnExitItem)->isChecked()),
            std::tuple(!mute, !mute));
}

// A click on any drawn digit tunes by that digit's place value: up in the
// upper half, down in the lower half; the point does nothing.
TEST_F(FrontPanelWindowTest, ClickingADrawnDigitTunesByItsPlace) {
  const std::pair<double, std::string> cases[] = {
      {15000.0, "15000.000"}, {9575.0, "9575.000"}, {512.25, "512.250"}, {55.0, "55.000"}, {9.5, "9.500"}};
  QWidget* freq = window->controlWidget(Ctl::FreqDispPanel);
  for (const auto& [start, text] : cases) {
    tuneTo(start);
    ASSERT_EQ(display().toStdString(), text);
    const auto cells = FrequencyGlyphCells(text, freq->width());
    ASSERT_EQ(cells.size(), text.size());
    const std::size_t point = text.find('.');
    for (std::size_t i = 0; i < cells.size(); ++i) {
      double place = 0.0;  // the point
      if (i < point) place = std::pow(10.0, static_cast<double>(point - 1 - i));
      if (i > point) place = std::pow(10.0, -static_cast<double>(i - point));
      const int x = static_cast<int>((cells[i].left + cells[i].right) / 2);
      for (const bool upper : {true, false}) {
        tuneTo(start);
        const double expected = start + (upper ? place : -place);
        if (expected < 9.999 || expected > 29999.999) continue;  // outside the digit-click limits
        QTest::mouseClick(freq, Qt::LeftButton, {}, QPoint(x, upper ? 10 : freq->height() - 10));
        EXPECT_NEAR(panel.state.Freq, expected, 1e-9) << text << " digit " << i << (upper ? " upper" : " lower");
      }
    }
  }
}

// ---- The whole program behind the window ----------------------------------------------

// Runs `act` on the modal dialog called `objectName` once it is shown (a
// dialog shown with exec() returns only when it is closed). Gives up after
// about two seconds, closing whatever modal window is open then.
void WhenModalShown(const QString& objectName, std::function<void(QDialog*)> act, bool* seen = nullptr) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, objectName, act, seen, tries] {
    QWidget* modal = QApplication::activeModalWidget();
    const bool found = modal && modal->objectName() == objectName;
    if (!found && ++*tries < 400) return;
    timer->stop();
    timer->deleteLater();
    if (!found) {
      if (modal) modal->close();
      return;
    }
    if (seen) *seen = true;
    act(qobject_cast<QDialog*>(modal));
  });
  timer->start(5);
}

// Fills the named line edits of a dialog, then clicks the named button.
void FillAndPress(QDialog* d, std::vector<std::pair<const char*, const char*>> edits, const char* buttonName) {
  for (const auto& [name, text] : edits) d->findChild<QLineEdit*>(name)->setText(text);
  QTest::mouseClick(d->findChild<QPushButton*>(buttonName), Qt::LeftButton);
}
QString EditText(QDialog* d, const char* name) { return d->findChild<QLineEdit*>(name)->text(); }

class WiredWindowTest : public FrontPanelWindowTest {
 protected:
  void SetUp() override {
    FrontPanelWindowTest::SetUp();
    clock.setUtc({2026, 3, 7, 12, 30, 0});
    window->setStationGrid(panel.stations);
    actions.setDialogParent(window.get());
    dialogs = std::make_unique<PanelDialogs>(panel, window.get());
    panel.FormCreate();
    messages.clear();
  }
  void TearDown() override {
    dialogs.reset();
    FrontPanelWindowTest::TearDown();
  }

  // Ctrl keys are the window's while the grid (or nothing) has the focus.
  void ctrlKey(Qt::Key key, Qt::KeyboardModifiers extra = {}) {
    QTest::keyClick(focusGrid(), key, Qt::ControlModifier | extra);
  }
  FrequencyGridModel& gridModel() {
    return *qobject_cast<FrequencyGridView*>(window->controlWidget(Ctl::Grid))->gridModel();
  }

  std::unique_ptr<PanelDialogs> dialogs;
};

// Each route (buttons of either mouse button, menus, Ctrl keys, dialogs) is
// shown to reach its controller once; what the controllers then do is theirs.
TEST_F(WiredWindowTest, ScratchpadButtonsMenusAndKeysReachTheScratchpad) {
  ScratchpadController& scratch = panel.scratch;
  tuneTo(9575.0);
  click(Ctl::ScpdBtn2);
  EXPECT_TRUE(button(Ctl::ScpdBtn2)->isChecked());

  // Pgm stores the tuning and asks for the tag at once.
  WhenModalShown("TTagEntryDlg", [](QDialog* d) { FillAndPress(d, {{"TagEdit", "News"}}, "OKBtn"); });
  click(Ctl::TagBtn);
  EXPECT_EQ(std::tuple(scratch.pad.channel(1, 2).Tag, button(Ctl::ScpdBtn2)->text()), std::tuple("News", "9575"));

  // The middle button selects a memory without tuning it.
  tuneTo(7000.0);
  click(Ctl::ScpdBtn5, Qt::MiddleButton);
  EXPECT_EQ(std::tuple(scratch.pad.CurrentChannel, panel.state.Freq), std::tuple(5, 7000.0));

  // The right button tunes the memory and offers its tag; Cancel keeps it.
  QString offered;
  WhenModalShown("TTagEntryDlg", [&offered](QDialog* d) {
    offered = EditText(d, "TagEdit");
    FillAndPress(d, {{"TagEdit", "Changed"}}, "CancelBtn");
  });
  click(Ctl::ScpdBtn2, Qt::RightButton);
  EXPECT_EQ(std::tuple(offered.toStdString(), scratch.pad.channel(1, 2).Tag, panel.state.Freq),
            std::tuple("News", "News", 9575.0));

  // Banks: the buttons, the menu and Ctrl with a digit, exactly Ctrl held.
  click(Ctl::BankUpBtn);
  trigger(Ctl::Bank4);
  EXPECT_EQ(label(Ctl::BankDispPanel), "4");
  ctrlKey(Qt::Key_0);
  ctrlKey(Qt::Key_1, Qt::ShiftModifier);
  EXPECT_EQ(label(Ctl::BankDispPanel), "10");
  click(Ctl::BankDnBtn);
  WhenModalShown("TBankTagDlg", [](QDialog* d) { FillAndPress(d, {{"BankTagEdit", "Utility"}}, "OKBtn"); });
  trigger(Ctl::BankTagItem);
  EXPECT_EQ(window->menuAction(Ctl::Bank9)->text(), "Bank &9:  Utility");

  // Ctrl+P saves the scratchpad; Ctrl+Alt+P does not.
  ctrlKey(Qt::Key_P, Qt::AltModifier);
  EXPECT_FALSE(exists("SysFiles/Scratchpad.dat"));
  ctrlKey(Qt::Key_P);
  EXPECT_EQ(size("SysFiles/Scratchpad.dat"), 11864);
}

TEST_F(WiredWindowTest, LimitScanDialogAndTheLimitsMenu) {
  WhenModalShown("TLimitScanDlg", [](QDialog* d) {
    FillAndPress(d, {{"LoLimitEdit", "5900"}, {"HiLimitEdit", "6200"}}, "OKBtn");
  });
  click(Ctl::LimitScanBtn);
  EXPECT_EQ(std::tuple(panel.scanSettings.LimitHigh, button(Ctl::LimitScanBtn)->isChecked()), std::tuple(6200.0, true));

  // A limit that is no number keeps the dialog open; Cancel then closes it.
  QString offeredLow;
  bool stayedOpen = false;
  WhenModalShown("TLimitScanDlg", [&](QDialog* d) {
    offeredLow = EditText(d, "LoLimitEdit");
    FillAndPress(d, {{"LoLimitEdit", "59x0"}}, "OKBtn");
    stayedOpen = d->isVisible();
    FillAndPress(d, {}, "CancelBtn");
  });
  click(Ctl::LimitScanBtn);
  EXPECT_EQ(std::tuple(offeredLow.toStdString(), stayedOpen, button(Ctl::LimitScanBtn)->isChecked()),
            std::tuple("5900", true, false));
  EXPECT_NE(panel.lastError.find("59x0"), std::string::npos) << panel.lastError;

  // A remembered range appears in the Limits menu and starts from there.
  panel.limits.RememberLimitRange(7100, 7300);
  QAction* range = window->menuAction(Ctl::LimRange1);
  EXPECT_EQ(std::tuple(range->text(), window->menuAction(Ctl::LimRange2)->isEnabled()),
            std::tuple(QString("7100-7300"), false));
  std::vector<double> started;
  panel.limits.startRangeScan = [&started](double low, double high) { started = {low, high}; };
  range->trigger();
  EXPECT_EQ(started, (std::vector<double>{7100, 7300}));
}

TEST_F(WiredWindowTest, StationListFileEditAndToolCommands) {
  StationGrid& stations = panel.stations;
  ASSERT_TRUE(QDir(dir.path()).mkpath("FreqFiles"));
  const QString path = dir.filePath("FreqFiles/A.320");
  WriteFileBytes(path.toStdString(),
                 "\"Radio Alba\",9.580000,AM,6000,2,5000,0,\"Mountains\",\"English\",\"0000\",\"2400\","
                 "\"Notes\",0,0\r\n"
                 "\"Coast\",14.230500,USB,2550,2,100,0,\"Seaside\",\"English\",\"0800\",\"1200\","
                 "\"Notes\",0,0\r\n");

  // Ctrl+O opens a list and enters it in the Reopen menu.
  fileDialogs.chooseNext(path.toStdString());
  ctrlKey(Qt::Key_O);
  ASSERT_EQ(stations.list.RecordCount(), 2);
  EXPECT_EQ(std::tuple(window->menuAction(Ctl::Reopen1Item)->text(), gridModel().rowCount()), std::tuple(path, 2));

  // Ctrl with =/+ adds the present tuning through the add dialog, once.
  tuneTo(6070.0);
  int addDialogs = 0;
  auto previous = panel.editor.showDialog;
  panel.editor.showDialog = [previous, &addDialogs](EntryEditor::Dialog& d) {
    ++addDialogs;
    previous(d);
  };
  WhenModalShown("TAddEditDlg", [](QDialog* d) { FillAndPress(d, {{"NameBox", "Added"}}, "OKBtn"); });
  ctrlKey(Qt::Key_Equal);
  EXPECT_EQ(addDialogs, 1);  // one key, one dialog, wherever the focus went
  ASSERT_EQ(stations.list.RecordCount(), 3);
  EXPECT_EQ(stations.list.Cell(2, FreqColumn::Name), "Added");

  // Edit (FileOpBtn3) shows the current row.
  stations.SetRow(1);
  QString editedName;
  WhenModalShown("TAddEditDlg", [&editedName](QDialog* d) {
    editedName = EditText(d, "NameBox");
    FillAndPress(d, {}, "CanBtn");
  });
  click(Ctl::FileOpBtn3);
  EXPECT_EQ(editedName, "Radio Alba");

  // Ctrl+C copies the selected row, Ctrl+A asks for a name; Enter in the grid tunes the current row.
  ctrlKey(Qt::Key_C);
  EXPECT_TRUE(window->menuAction(Ctl::PasteItem)->isEnabled());
  fileDialogs.cancelNext();
  ctrlKey(Qt::Key_A);
  EXPECT_EQ(fileDialogs.count(ScriptedFileDialogs::Kind::Save), 1u);
  timeline.advanceBy(150);
  QTest::keyClick(focusGrid(), Qt::Key_Return);
  EXPECT_DOUBLE_EQ(panel.state.Freq, 9580.0);

  // The master list: generated from the list's folder, then viewed.
  messages.clear();
  trigger(Ctl::MFLGenItem);
  EXPECT_EQ(std::tuple(exists("Export/Master320FrequencyList.txt"), messages.messages().size()), std::tuple(true, 2u));
  bool viewerShown = false;
  WhenModalShown("TMFLViewDlg", [](QDialog* d) { d->reject(); }, &viewerShown);
  trigger(Ctl::MFLViewItem);
  EXPECT_TRUE(viewerShown);
}

// File > Import EiBi Schedule... on the shipped schedule: a refused range
// keeps the options window open, then the whole schedule fills the grid.
TEST_F(WiredWindowTest, ImportEibiScheduleFillsTheGridFromTheOptionsWindow) {
  const std::string schedule = std::string(ONDARIS_DATA_DIR) + "/eibi-sked-b25.csv";
  ASSERT_TRUE(QFile::exists(QString::fromStdString(schedule))) << schedule;
  EXPECT_EQ(window->menuAction(Ctl::ImportEibiItem)->text(), "&Import EiBi Schedule...");
  bool seen = false, stayedOpen = false, editsFollowTheBox = false;
  qint64 importMs = -1;
  WhenModalShown("TEibiImportDlg", [&](QDialog* d) {
    auto* range = d->findChild<QCheckBox*>("RangeOnlyCheck");
    editsFollowTheBox = !d->findChild<QLineEdit*>("FromKHzEdit")->isEnabled();
    range->setChecked(true);
    editsFollowTheBox = editsFollowTheBox && d->findChild<QLineEdit*>("FromKHzEdit")->isEnabled();
    FillAndPress(d, {{"FromKHzEdit", "9000"}, {"ToKHzEdit", "abc"}}, "OKBtn");
    stayedOpen = d->isVisible();
    range->setChecked(false);
    QElapsedTimer timer;
    timer.start();
    FillAndPress(d, {}, "OKBtn");
    importMs = timer.elapsed();
    if (d->isVisible()) d->reject();
  }, &seen);
  fileDialogs.chooseNext(schedule);
  trigger(Ctl::ImportEibiItem);

  ASSERT_TRUE(seen);
  EXPECT_EQ(std::tuple(stayedOpen, editsFollowTheBox), std::tuple(true, true));
  EXPECT_EQ(messages.messages(), (Strings{EibiRangeRefusedMessage}));
  EXPECT_LT(importMs, 1000) << "ms";  // well under a second even on a busy machine
  EXPECT_EQ(gridModel().rowCount(), 10060);
  // 16.3;0000-2400;;IND;VTX1 Indian Navy;;SAs;v;1;;
  const auto cell = [this](int column) { return gridModel().index(0, column).data().toString(); };
  EXPECT_EQ(cell(1) + "|" + cell(2) + "|" + cell(6), "16.3|VTX1 Indian Navy|IND to SAs");
  EXPECT_TRUE(window->menuAction(Ctl::SaveFileItem)->isEnabled());
}

TEST_F(WiredWindowTest, ScanButtonsReachTheScanEngine) {
  click(Ctl::MemScanBtn);
  EXPECT_EQ(panel.context.scan.ScanKind, 2);
  // With memory scan chosen a bank item takes the bank into the scan.
  trigger(Ctl::Bank3);
  EXPECT_TRUE(window->menuAction(Ctl::Bank3)->isChecked());
  panel.scratch.pad.channel(3, 0).Frequency = 6070.0;
  panel.scratch.pad.channel(3, 0).AGC = 2;
  click(Ctl::ScanBtn);
  EXPECT_EQ(std::tuple(int(panel.context.scan.ScanState), button(Ctl::ScanBtn)->isChecked()), std::tuple(2, true));
  click(Ctl::StopBtn);
  EXPECT_EQ(std::tuple(int(panel.context.scan.ScanState), button(Ctl::ScanBtn)->isChecked()), std::tuple(0, false));

  // Band Scan opens the band dialog: Add takes the typed band into the list, and
  // Cancel, the list not saved, forgets the chosen kind.
  bool shown = false;
  messages.clear();
  messages.answerNext(false);
  WhenModalShown(
      "TBandScanDlg",
      [](QDialog* d) {
        FillAndPress(d, {{"bsNameEdit", "49m"}, {"bsLoFreqEdit", "5900"}, {"bsHiFreqEdit", "6200"}},
                     "BandScanAddBtn");
        FillAndPress(d, {}, "CanBtn");
      },
      &shown);
  click(Ctl::BandScanBtn);
  EXPECT_EQ(std::tuple(shown, button(Ctl::BandScanBtn)->isChecked()), std::tuple(true, false));
  EXPECT_EQ(messages.lastMessage(), BandScanAddedMessage);
  EXPECT_EQ(messages.questions(), (Strings{BandScanChangedQuestion}));
}

TEST_F(WiredWindowTest, DataModeProgrammingCancelKeepsTheModeAndOkStoresIt) {
  // A right click opens the programming window for the shown mode; Cancel leaves the mode as it was.
  bool shown = false;
  WhenModalShown("TDataPgmDlg", [](QDialog* d) { FillAndPress(d, {{"TitleEdit", "RTTY"}}, "CancelBtn"); }, &shown);
  click(Ctl::DataModeBtn, Qt::RightButton);
  EXPECT_EQ(std::tuple(shown, panel.dataModes.modes[0].Title), std::tuple(true, std::string()));
  // Get Tuning fills the fields from the present tuning; OK programs the mode under the typed title.
  WhenModalShown("TDataPgmDlg", [](QDialog* d) {
    FillAndPress(d, {}, "GetBtn");
    FillAndPress(d, {{"TitleEdit", "RTTY"}}, "OKBtn");
  });
  click(Ctl::DataModeBtn, Qt::RightButton);
  EXPECT_EQ(panel.dataModes.modes[0].Title, "RTTY");
}

TEST_F(WiredWindowTest, BackupHelpAndExitThroughTheMenus) {
  trigger(Ctl::BackupItem);
  EXPECT_EQ(size("Backup/Scratchpad.dat"), 11864);

  // The help page of the program folder, else the copy shipped beside the executable.
  ASSERT_TRUE(QDir(dir.path()).mkpath("help"));
  WriteFileBytes(dir.filePath("help/OndarisHelp.html").toStdString(), "");
  trigger(Ctl::HelpItem);
  trigger(Ctl::LogHelpItem);
  const QString shipped = QCoreApplication::applicationDirPath() + "/LogHelp/B-LogHelp.html";
  ASSERT_TRUE(QFileInfo::exists(shipped));
  EXPECT_EQ(shell.opened, (Strings{QFileInfo(dir.filePath("help/OndarisHelp.html")).absoluteFilePath().toStdString(),
                                   QFileInfo(shipped).absoluteFilePath().toStdString()}));

  trigger(Ctl::ExitItem);  // writes every data file
  EXPECT_FALSE(window->isVisible());
  for (const char* name :
       {"Limits1.dat", "Reopen.dat", "Scratchpad.dat", "Tuning.dat", "Ondaris.dat", "OndarisGrid.dat"})
    EXPECT_TRUE(exists(QString("SysFiles/") + name)) << name;
}

}  // namespace
}  // namespace ondaris
