// The front panel's window: every control and menu item is there with its
// name, caption and place; model changes show; the listener's actions reach
// the controllers, and the frequency display's digits are where a click
// tunes them.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/FrontPanel.h"
#include "panel/PanelModel.h"
#include "common/Errors.h"
#include "platform/CompanionTransport.h"
#include "platform/Shell.h"
#include "support/FakeClock.h"
#include "support/FakeSerialPort.h"
#include "support/FakeTimeline.h"
#include "support/FakeTimer.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedMessageBoxes.h"
#include "ui/AboutDialog.h"
#include "ui/FrequencyDisplay.h"
#include "ui/FrequencyLayout.h"
#include "ui/FrontPanelActions.h"
#include "ui/KeyboardMap.h"
#include "ui/MainWindow.h"
#include "ui/MeterBar.h"
#include "ui/PanelDialogs.h"
#include "ui/PanelButton.h"
#include "ui/PanelLabel.h"
#include "ui/PanelLayout.h"

namespace ondaris {
namespace {

std::string Name(Ctl control) { return std::string(ControlName(control)); }
QString QName(Ctl control) { return QString::fromStdString(Name(control)); }

bool IsMenuItem(Ctl control) { return static_cast<int>(control) >= static_cast<int>(Ctl::NewFileItem); }

// Records every action the window hands on; behaviours can be plugged in.
class Recorder : public PanelActions {
 public:
  void Click(Ctl control) override {
    log.push_back("Click " + Name(control));
    if (onClick) onClick(control);
  }
  void RightClick(Ctl control) override { log.push_back("Right " + Name(control)); }
  void MiddleClick(Ctl control) override { log.push_back("Middle " + Name(control)); }
  void MouseDown(Ctl control) override { log.push_back("Down " + Name(control)); }
  void MouseUp(Ctl control) override { log.push_back("Up " + Name(control)); }
  void ValueChanged(Ctl control, int value) override {
    log.push_back("Value " + Name(control) + " " + std::to_string(value));
  }
  void DisplayClick(int x, int y, int width, int height) override {
    log.push_back("Display " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) + " " +
                  std::to_string(height));
  }
  bool KeyPress(char key) override {
    keys.push_back(key);
    if (keyThrows) throw ConversionError("'1..2' is not a valid floating point value");
    return keyResult;
  }
  void CtrlKeyUp(char key) override { ctrlKeys.push_back(key); }
  void Shutdown() override { ++shutdowns; }
  void ReportError(const std::string& text) override { errors.push_back(text); }
  std::string ProgramDir() const override { return programDir; }

  std::vector<std::string> log;
  std::function<void(Ctl)> onClick;
  std::vector<char> keys;
  bool keyResult = true;
  bool keyThrows = false;
  std::vector<char> ctrlKeys;
  std::vector<std::string> errors;
  int shutdowns = 0;
  std::string programDir = "/nonexistent-ondaris-dir/";
};

// Counts the key presses a widget itself receives (after the panel's preview).
class KeyCounter : public QObject {
 public:
  int presses = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) ++presses;
    return false;
  }
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<MainWindow>(model, recorder);
    window->openUrl = [this](const QUrl& url) {
      openedUrls.push_back(url);
      return true;
    };
    window->show();
  }
  void TearDown() override {
    window->hide();
    window.reset();
  }

  template <class T>
  T* widget(Ctl control) const {
    return qobject_cast<T*>(window->controlWidget(control));
  }
  PanelButton* button(Ctl control) const { return widget<PanelButton>(control); }

  // Keys go to the focused widget; the grid takes the focus for these tests.
  QWidget* focusGrid() {
    QWidget* grid = window->controlWidget(Ctl::Grid);
    window->activateWindow();
    grid->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    return grid;
  }

  PanelModel model;
  Recorder recorder;
  std::unique_ptr<MainWindow> window;
  std::vector<QUrl> openedUrls;
};

// ---- Controls: names, captions, places ---------------------------------------

TEST_F(MainWindowTest, EveryPanelControlExistsWithItsNameCaptionAndPlace) {
  int controls = 0;
  for (int i = 0; i < ControlCount; ++i) {
    const Ctl control = static_cast<Ctl>(i);
    if (IsMenuItem(control)) continue;
    ++controls;
    const auto geometry = PanelGeometry(control);
    ASSERT_TRUE(geometry.has_value()) << Name(control);
    QWidget* w = window->panelArea()->findChild<QWidget*>(QName(control));
    ASSERT_NE(w, nullptr) << Name(control);
    EXPECT_EQ(w, window->controlWidget(control));
    EXPECT_EQ(w->geometry(), QRect(geometry->x, geometry->y, geometry->width, geometry->height)) << Name(control);
    EXPECT_TRUE(w->isVisible()) << Name(control);

    const QString caption = QString::fromStdString(model[control].caption);
    if (auto* b = qobject_cast<PanelButton*>(w)) {
      EXPECT_EQ(b->text(), caption) << Name(control);
      EXPECT_EQ(b->focusPolicy(), Qt::NoFocus) << Name(control);
    } else if (auto* d = qobject_cast<FrequencyDisplay*>(w)) {
      EXPECT_EQ(d->text(), "12345.000");
    } else if (auto* l = qobject_cast<PanelLabel*>(w)) {
      EXPECT_EQ(l->text(), caption) << Name(control);
    }
  }
  EXPECT_EQ(controls, static_cast<int>(Ctl::NewFileItem));
  EXPECT_EQ(button(Ctl::FiltBtn0)->text(), "8000");
  EXPECT_EQ(button(Ctl::FiltBtn23)->text(), "300");
  EXPECT_EQ(button(Ctl::StepBtn10000)->text(), "10K");
  EXPECT_EQ(button(Ctl::FreqUpBtnFast)->text(), "Lock +");
  EXPECT_EQ(widget<PanelLabel>(Ctl::StatusPanel)->text(), "Ondaris");
  EXPECT_EQ(widget<PanelLabel>(Ctl::PBTDisplayPanel)->text(), "0");
  EXPECT_EQ(widget<PanelLabel>(Ctl::BankDispPanel)->text(), "1");
}

// ---- Menus -----------------------------------------------------------------

// ---- The model shows in the widgets ----------------------------------------------

TEST_F(MainWindowTest, ButtonCaptionPressedEnabledAndFontFollowTheModel) {
  model.setCaption(Ctl::VFOBtn, "VFO B");
  EXPECT_EQ(button(Ctl::VFOBtn)->text(), "VFO B");

  model.press(Ctl::ModeBtnCW);
  EXPECT_TRUE(button(Ctl::ModeBtnCW)->isChecked());
  model.press(Ctl::DataModeBtn);
  EXPECT_TRUE(button(Ctl::DataModeBtn)->isChecked());
  EXPECT_FALSE(button(Ctl::ModeBtnCW)->isChecked());

  model.setEnabled(Ctl::LogDispBtn, false);
  EXPECT_FALSE(button(Ctl::LogDispBtn)->isEnabled());
  model.setVisible(Ctl::LkBtn, false);
  EXPECT_FALSE(button(Ctl::LkBtn)->isVisible());

  EXPECT_EQ(button(Ctl::FreqUpBtnFast)->palette().color(QPalette::Active, QPalette::ButtonText), QColor(0, 0, 128));
  model.setFont(Ctl::FreqUpBtnFast, Colour::Maroon, true);
  EXPECT_EQ(button(Ctl::FreqUpBtnFast)->palette().color(QPalette::Active, QPalette::ButtonText), QColor(128, 0, 0));
  EXPECT_TRUE(button(Ctl::FreqUpBtnFast)->font().bold());
  model.setFont(Ctl::FreqUpBtnFast, Colour::Black, false);
  EXPECT_EQ(button(Ctl::FreqUpBtnFast)->palette().color(QPalette::Active, QPalette::ButtonText), QColor(0, 0, 0));
  EXPECT_FALSE(button(Ctl::FreqUpBtnFast)->font().bold());
  EXPECT_EQ(button(Ctl::ScpdBtn0)->palette().color(QPalette::Active, QPalette::ButtonText), QColor(128, 0, 0));
}

TEST_F(MainWindowTest, DisplayMeterPanelsAndTrackbarsFollowTheModel) {
  auto* display = widget<FrequencyDisplay>(Ctl::FreqDispPanel);
  model.setCaption(Ctl::FreqDispPanel, "9575.000");
  EXPECT_EQ(display->text(), "9575.000");
  EXPECT_EQ(display->textColour(), QColor(0, 255, 255));
  model.setColour(Ctl::FreqDispPanel, Colour::Red);
  EXPECT_EQ(display->textColour(), QColor(255, 0, 0));

  auto* meter = widget<MeterBar>(Ctl::Meter);
  model.setValue(Ctl::Meter, 4000);
  EXPECT_EQ(meter->value(), 4000);
  model.setRange(Ctl::Meter, 0, 2500);
  EXPECT_EQ(meter->maximum(), 2500);
  EXPECT_EQ(meter->value(), 2500);

  model.setCaption(Ctl::PBTDisplayPanel, "-150");
  EXPECT_EQ(widget<PanelLabel>(Ctl::PBTDisplayPanel)->text(), "-150");
  model.setCaption(Ctl::TimePanel, "07:05:09");
  EXPECT_EQ(widget<PanelLabel>(Ctl::TimePanel)->text(), "07:05:09");

  model.setValue(Ctl::TuningSpeedTrackbar, 30);
  model.setValue(Ctl::SpkrTrackbar, 17);
  EXPECT_EQ(widget<QSlider>(Ctl::TuningSpeedTrackbar)->value(), 30);
  EXPECT_EQ(widget<QSlider>(Ctl::SpkrTrackbar)->value(), 17);
  // What the program sets is not handed back as the listener's move.
  EXPECT_TRUE(recorder.log.empty());
}

TEST_F(MainWindowTest, HintsShowOnlyWhileShowHintsIsChecked) {
  EXPECT_FALSE(window->hintsShown());
  EXPECT_TRUE(button(Ctl::RoundBtn)->toolTip().isEmpty());
  model.setChecked(Ctl::HintItem, true);  // start-up or the options dialog
  EXPECT_TRUE(window->hintsShown());
  EXPECT_EQ(button(Ctl::RoundBtn)->toolTip(), "Rounds tuned frequency to tuning step value");
  EXPECT_EQ(window->controlWidget(Ctl::Meter)->toolTip(),
            "S-Meter:  Click toggles between normal and 4x sensitivity");
  model.setHint(Ctl::ScpdBtn0, "Radio Habana");
  EXPECT_EQ(button(Ctl::ScpdBtn0)->toolTip(), "Radio Habana");

  window->menuAction(Ctl::HintItem)->trigger();  // the listener turns them off
  EXPECT_FALSE(model[Ctl::HintItem].pressed);
  EXPECT_FALSE(window->menuAction(Ctl::HintItem)->isChecked());
  EXPECT_FALSE(window->hintsShown());
  EXPECT_TRUE(button(Ctl::RoundBtn)->toolTip().isEmpty());
  EXPECT_TRUE(button(Ctl::ScpdBtn0)->toolTip().isEmpty());
  window->menuAction(Ctl::HintItem)->trigger();
  EXPECT_TRUE(window->hintsShown());
  EXPECT_EQ(button(Ctl::ScpdBtn0)->toolTip(), "Radio Habana");
  EXPECT_TRUE(recorder.log.empty());  // the window's own business
}

TEST_F(MainWindowTest, DrawnWidgetsAreAccessible) {
  model.setCaption(Ctl::FreqDispPanel, "9575.000");
  QAccessibleInterface* display = QAccessible::queryAccessibleInterface(window->controlWidget(Ctl::FreqDispPanel));
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(display->text(QAccessible::Name), "9575.000");
  EXPECT_EQ(display->text(QAccessible::Value), "9575.000");

  model.setValue(Ctl::Meter, 1234);
  QAccessibleInterface* meter = QAccessible::queryAccessibleInterface(window->controlWidget(Ctl::Meter));
  ASSERT_NE(meter, nullptr);
  EXPECT_EQ(meter->role(), QAccessible::ProgressBar);
  ASSERT_NE(meter->valueInterface(), nullptr);
  EXPECT_EQ(meter->valueInterface()->currentValue().toInt(), 1234);
  EXPECT_EQ(meter->valueInterface()->maximumValue().toInt(), 10000);

  model.setCaption(Ctl::StatusPanel, "USB");
  QAccessibleInterface* status = QAccessible::queryAccessibleInterface(window->controlWidget(Ctl::StatusPanel));
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(status->text(QAccessible::Name), "USB");
}

// ---- The listener's actions --------------------------------------------------------

TEST_F(MainWindowTest, AClickReachesTheActionsAfterMouseDownAndUp) {
  QTest::mouseClick(button(Ctl::FiltBtn3), Qt::LeftButton);
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"Down FiltBtn3", "Up FiltBtn3", "Click FiltBtn3"}));
  // A speed button of a group goes down by itself and releases the others.
  EXPECT_TRUE(model[Ctl::FiltBtn3].pressed);
  EXPECT_TRUE(button(Ctl::FiltBtn3)->isChecked());
  QTest::mouseClick(button(Ctl::FiltBtn7), Qt::LeftButton);
  EXPECT_FALSE(model[Ctl::FiltBtn3].pressed);
  EXPECT_FALSE(button(Ctl::FiltBtn3)->isChecked());
  EXPECT_TRUE(button(Ctl::FiltBtn7)->isChecked());
}

TEST_F(MainWindowTest, GroupsThatMayBeAllUpToggle) {
  QTest::mouseClick(button(Ctl::ScanBtn), Qt::LeftButton);
  EXPECT_TRUE(button(Ctl::ScanBtn)->isChecked());
  QTest::mouseClick(button(Ctl::ScanBtn), Qt::LeftButton);
  EXPECT_FALSE(button(Ctl::ScanBtn)->isChecked());
  EXPECT_FALSE(model[Ctl::ScanBtn].pressed);

  QTest::mouseClick(button(Ctl::MemScanBtn), Qt::LeftButton);
  QTest::mouseClick(button(Ctl::MemScanBtn), Qt::LeftButton);
  EXPECT_FALSE(model[Ctl::MemScanBtn].pressed);

  // A scan speed stays down when clicked again.
  QTest::mouseClick(button(Ctl::ScanSpd2Btn), Qt::LeftButton);
  QTest::mouseClick(button(Ctl::ScanSpd2Btn), Qt::LeftButton);
  EXPECT_TRUE(model[Ctl::ScanSpd2Btn].pressed);
  EXPECT_TRUE(button(Ctl::ScanSpd2Btn)->isChecked());
}

TEST_F(MainWindowTest, TheModelDecidesWhetherAButtonStaysDown) {
  QTest::mouseClick(button(Ctl::RoundBtn), Qt::LeftButton);  // no group: does not stay down
  EXPECT_FALSE(button(Ctl::RoundBtn)->isChecked());

  // The single-step handler releases the up button again.
  recorder.onClick = [this](Ctl c) {
    if (c == Ctl::FreqUpBtn) model.release(Ctl::FreqUpBtn);
  };
  QTest::mouseClick(button(Ctl::FreqUpBtn), Qt::LeftButton);
  EXPECT_FALSE(button(Ctl::FreqUpBtn)->isChecked());

  model.press(Ctl::StopBtn);  // shown pressed by the program
  EXPECT_TRUE(button(Ctl::StopBtn)->isChecked());
}

TEST_F(MainWindowTest, PanelsAndTheMeterReportClicks) {
  QTest::mouseClick(window->controlWidget(Ctl::FreqDispPanel), Qt::LeftButton, {}, QPoint(100, 50));
  QTest::mouseClick(window->controlWidget(Ctl::Meter), Qt::LeftButton);
  QTest::mouseClick(window->controlWidget(Ctl::PBTDisplayPanel), Qt::LeftButton);
  QTest::mouseClick(window->controlWidget(Ctl::TimePanel), Qt::LeftButton);
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"Display 100 50 303 68", "Click Meter", "Click PBTDisplayPanel",
                                                    "Click TimePanel"}));
}

TEST_F(MainWindowTest, TrackbarMovesUpdateTheModelThenReachTheActions) {
  auto* speaker = widget<QSlider>(Ctl::SpkrTrackbar);
  speaker->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(model[Ctl::SpkrTrackbar].value, 5);
  auto* speed = widget<QSlider>(Ctl::TuningSpeedTrackbar);
  speed->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(model[Ctl::TuningSpeedTrackbar].value, 3);
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"Value SpkrTrackbar 5", "Value TuningSpeedTrackbar 3"}));
}

TEST_F(MainWindowTest, MenuItemsReachTheActionsAndShowTheModelsCheckMark) {
  window->menuAction(Ctl::MuteOnExitItem)->trigger();
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"Click MuteOnExitItem"}));
  // Nothing toggled the model, so no check mark appears.
  EXPECT_FALSE(window->menuAction(Ctl::MuteOnExitItem)->isChecked());

  recorder.onClick = [this](Ctl c) { model.setChecked(c, !model[c].pressed); };
  window->menuAction(Ctl::DefaultFiltItem)->trigger();
  EXPECT_TRUE(window->menuAction(Ctl::DefaultFiltItem)->isChecked());
  window->menuAction(Ctl::LimRange2)->trigger();
  window->menuAction(Ctl::SkedItem)->trigger();
  EXPECT_EQ(recorder.log.back(), "Click SkedItem");
  EXPECT_EQ(recorder.log.size(), 4u);
}

TEST_F(MainWindowTest, ErrorsOfAnActionAreReportedAndNeverEscape) {
  recorder.onClick = [](Ctl c) {
    if (c == Ctl::VFOBtn) throw SerialError("Unable to open com port (No such file or directory)");
    throw std::runtime_error("plain failure");
  };
  QTest::mouseClick(button(Ctl::VFOBtn), Qt::LeftButton);
  window->menuAction(Ctl::DefaultStepItem)->trigger();
  QTest::mouseClick(window->controlWidget(Ctl::Meter), Qt::LeftButton);
  EXPECT_EQ(recorder.errors, (std::vector<std::string>{"Unable to open com port (No such file or directory)",
                                                       "plain failure", "plain failure"}));
}

TEST_F(MainWindowTest, ClosingRunsTheExitSequenceOnce) {
  window->menuAction(Ctl::ExitItem)->trigger();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(recorder.shutdowns, 1);
  window->show();
  window->close();
  EXPECT_EQ(recorder.shutdowns, 1);
}

TEST_F(MainWindowTest, HelpPagesOpenFromTheProgramFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_TRUE(QDir(dir.path()).mkpath("help"));
  QFile page(dir.filePath("help/OndarisHelp.html"));
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.write("<html></html>");
  page.close();
  recorder.programDir = dir.path().toStdString() + "/";

  window->menuAction(Ctl::HelpItem)->trigger();
  ASSERT_EQ(openedUrls.size(), 1u);
  EXPECT_EQ(openedUrls[0], QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()));
  EXPECT_TRUE(recorder.errors.empty());

  // No log help page in the program folder: the copy shipped beside the
  // executable is opened when there is one, else the listener is told.
  window->menuAction(Ctl::LogHelpItem)->trigger();
  const QString shipped = QCoreApplication::applicationDirPath() + "/LogHelp/B-LogHelp.html";
  if (QFileInfo::exists(shipped)) {
    ASSERT_EQ(openedUrls.size(), 2u);
    EXPECT_EQ(openedUrls[1], QUrl::fromLocalFile(QFileInfo(shipped).absoluteFilePath()));
    EXPECT_TRUE(recorder.errors.empty());
  } else {
    EXPECT_EQ(openedUrls.size(), 1u);
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_NE(recorder.errors[0].find("LogHelp/B-LogHelp.html"), std::string::npos);
  }
  EXPECT_TRUE(recorder.log.empty());
}

TEST(AboutDialogTest, NamesTheProgramItsVersionAndTheReceiver) {
  AboutDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), "About Ondaris...");
  QStringList texts;
  for (QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
  const QString all = texts.join('\n');
  EXPECT_TRUE(all.contains("Ondaris"));
  EXPECT_TRUE(all.contains("Version"));
  EXPECT_TRUE(all.contains("RX-320"));
  auto* ok = dialog.findChild<QPushButton*>("OKBtn");
  ASSERT_NE(ok, nullptr);
  dialog.show();
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
}

// ---- Keyboard preview ----------------------------------------------------------------

TEST_F(MainWindowTest, TypedCharactersReachThePanelBeforeTheFocusedControl) {
  QWidget* grid = focusGrid();
  ASSERT_EQ(QApplication::focusWidget(), grid);
  KeyCounter counter;
  grid->installEventFilter(&counter);

  QTest::keyClick(grid, Qt::Key_5);
  QTest::keyClick(grid, Qt::Key_Period);
  QTest::keyClick(grid, Qt::Key_Return);
  QTest::keyClick(grid, Qt::Key_Enter, Qt::KeypadModifier);
  QTest::keyClick(grid, Qt::Key_Space);
  EXPECT_EQ(recorder.keys, (std::vector<char>{'5', '.', '\r', '\r', ' '}));
  EXPECT_EQ(counter.presses, 0);  // used by the panel, so the grid never saw them

  // A key the panel does not use goes on to the control, offered only once.
  recorder.keys.clear();
  recorder.keyResult = false;
  QTest::keyClick(grid, Qt::Key_K);
  EXPECT_EQ(recorder.keys, (std::vector<char>{'k'}));
  EXPECT_EQ(counter.presses, 1);
  grid->removeEventFilter(&counter);
}

TEST_F(MainWindowTest, AKeyHandlerErrorIsReported) {
  QWidget* grid = focusGrid();
  recorder.keyThrows = true;
  QTest::keyClick(grid, Qt::Key_Return);
  ASSERT_EQ(recorder.errors.size(), 1u);
  EXPECT_EQ(recorder.errors[0], "'1..2' is not a valid floating point value");
}

struct KeyCase {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  const char* text;
  int expected;  // -1: not a panel character
};

TEST(KeyboardMapTest, PreviewCharacters) {
  const KeyCase cases[] = {
      {Qt::Key_5, Qt::NoModifier, "5", '5'},
      {Qt::Key_0, Qt::KeypadModifier, "0", '0'},
      {Qt::Key_Comma, Qt::NoModifier, ",", ','},
      {Qt::Key_Period, Qt::KeypadModifier, ".", '.'},
      {Qt::Key_Return, Qt::NoModifier, "\r", '\r'},
      {Qt::Key_Enter, Qt::KeypadModifier, "\r", '\r'},
      {Qt::Key_Space, Qt::NoModifier, " ", ' '},
      {Qt::Key_5, Qt::ShiftModifier, "5", '5'},  // layouts with shifted digits
      {Qt::Key_A, Qt::ShiftModifier, "A", 'A'},
      {Qt::Key_5, Qt::ControlModifier, "", -1},
      {Qt::Key_5, Qt::AltModifier, "5", -1},
      {Qt::Key_Left, Qt::NoModifier, "", -1},
      {Qt::Key_Escape, Qt::NoModifier, "\x1b", -1},
      {Qt::Key_Eacute, Qt::NoModifier, "\u00e9", -1},
  };
  for (const KeyCase& c : cases) {
    QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, QString::fromUtf8(c.text));
    const auto got = PreviewCharacter(event);
    if (c.expected < 0) {
      EXPECT_FALSE(got.has_value()) << c.key;
    } else {
      ASSERT_TRUE(got.has_value()) << c.key;
      EXPECT_EQ(*got, static_cast<char>(c.expected)) << c.key;
    }
  }
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier, "5");
  EXPECT_FALSE(PreviewCharacter(release).has_value());
}

// ---- Where the digits are drawn ----------------------------------------------------

TEST(FrequencyLayoutTest, DigitsAreRightAlignedAgainstThePoint) {
  const auto five = FrequencyGlyphCells("12345.678", 303);
  ASSERT_EQ(five.size(), 9u);
  const auto four = FrequencyGlyphCells("9575.000", 303);
  ASSERT_EQ(four.size(), 8u);
  const auto typed = FrequencyGlyphCells("75", 303);  // typed so far, no point yet
  ASSERT_EQ(typed.size(), 2u);
  // The ones digit of a typed number sits where the ones digit of the
  // frequency will be.
  const auto two = FrequencyGlyphCells("10.000", 303);
  EXPECT_DOUBLE_EQ(typed[1].left, two[1].left);
  EXPECT_DOUBLE_EQ(typed[1].right, two[1].right);
  // Below 10 kHz the single digit takes the ones place.
  const auto low = FrequencyGlyphCells("9.999", 303);
  ASSERT_EQ(low.size(), 5u);
  EXPECT_DOUBLE_EQ(low[0].left, two[1].left);
  // Cells run left to right without overlapping, inside the display.
  for (const auto* cells : {&five, &four, &low}) {
    for (std::size_t i = 0; i < cells->size(); ++i) {
      EXPECT_LT((*cells)[i].left, (*cells)[i].right);
      EXPECT_GE((*cells)[i].left, 0.0);
      EXPECT_LE((*cells)[i].right, 303.0);
      if (i > 0) {
        EXPECT_LE((*cells)[i - 1].right, (*cells)[i].left + 1e-9);
      }
    }
  }
  // The clock-radio asterisk follows the last decimal.
  const auto armed = FrequencyGlyphCells("12345.000*", 303);
  ASSERT_EQ(armed.size(), 10u);
  EXPECT_EQ(armed.back().character, '*');
  EXPECT_GE(armed.back().left, armed[8].right - 1e-9);
  EXPECT_LE(armed.back().right, 303.0);
}

// ---- The window over a real front panel --------------------------------------------

class FakeCompanion : public CompanionTransport {
 public:
  bool listen(std::string&) override { return true; }
  void close() override {}
  void send(const std::string& text) override { sent.push_back(text); }
  std::vector<std::string> sent;
};

class FakeShell : public Shell {
 public:
  bool open(const std::string& target, std::string&) override {
    opened.push_back(target);
    return true;
  }
  std::vector<std::string> opened;
};

class FrontPanelWindowTest : public ::testing::Test {
 protected:
  FrontPanelWindowTest()
      : panel(PanelPlatform{port, clock, messages, companion, shell, tuningTimer, meterTimer, scanTimer, clockTimer,
                            debounceTimer, pumpTimer, fileDialogs},
              dir.path().toStdString() + "/", '.'),
        actions(panel) {}

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
  PanelButton* button(Ctl control) const { return qobject_cast<PanelButton*>(window->controlWidget(control)); }

  QTemporaryDir dir;
  FakeTimeline timeline;
  FakeClock clock{timeline};
  FakeSerialPort port{&timeline};
  FakeTimer tuningTimer{timeline, "TuningTimer"};
  FakeTimer meterTimer{timeline, "MeterTimer"};
  FakeTimer scanTimer{timeline, "ScanTimer"};
  FakeTimer clockTimer{timeline, "ClockTimer"};
  FakeTimer debounceTimer{timeline, "DebounceTimer"};
  FakeTimer pumpTimer{timeline, "LinkPump"};
  ScriptedMessageBoxes messages;
  FakeCompanion companion;
  FakeShell shell;
  ScriptedFileDialogs fileDialogs;
  FrontPanel panel;
  FrontPanelActions actions;
  std::unique_ptr<MainWindow> window;
};

TEST_F(FrontPanelWindowTest, ButtonsReachTheReceiverControls) {
  QTest::mouseClick(button(Ctl::FiltBtn5), Qt::LeftButton);
  EXPECT_EQ(panel.state.FilterIndex, 5);
  EXPECT_TRUE(button(Ctl::FiltBtn5)->isChecked());

  QTest::mouseClick(button(Ctl::ModeBtnCW), Qt::LeftButton);
  EXPECT_EQ(panel.state.Mode, 3);
  EXPECT_TRUE(button(Ctl::ModeBtnCW)->isChecked());

  QTest::mouseClick(button(Ctl::StepBtn5000), Qt::LeftButton);
  EXPECT_EQ(panel.state.StepHz, 5000);
  EXPECT_EQ(qobject_cast<QSlider*>(window->controlWidget(Ctl::TuningSpeedTrackbar))->value(), 30);

  QTest::mouseClick(button(Ctl::PBTBtnUp), Qt::LeftButton);
  EXPECT_EQ(panel.state.PBT, 50);
  EXPECT_EQ(qobject_cast<QLabel*>(window->controlWidget(Ctl::PBTDisplayPanel))->text(), "50");
  QTest::mouseClick(window->controlWidget(Ctl::PBTDisplayPanel), Qt::LeftButton);
  EXPECT_EQ(panel.state.PBT, 0);

  QTest::mouseClick(window->controlWidget(Ctl::Meter), Qt::LeftButton);
  EXPECT_TRUE(panel.context.flags.MeterHiSens);
  EXPECT_EQ(qobject_cast<MeterBar*>(window->controlWidget(Ctl::Meter))->maximum(), 2500);

  auto* speaker = qobject_cast<QSlider*>(window->controlWidget(Ctl::SpkrTrackbar));
  speaker->setValue(40);  // as a drag would
  EXPECT_EQ(panel.state.SpkrVolume, 53);

  const bool mute = panel.state.MuteOnExit;
  window->menuAction(Ctl::MuteOnExitItem)->trigger();
  EXPECT_EQ(panel.state.MuteOnExit != 0, !mute);
  EXPECT_EQ(window->menuAction(Ctl::MuteOnExitItem)->isChecked(), !mute);
}

TEST_F(FrontPanelWindowTest, TheDisplayShowsTheTunedFrequency) {
  tuneTo(9575.0);
  auto* display = qobject_cast<FrequencyDisplay*>(window->controlWidget(Ctl::FreqDispPanel));
  EXPECT_EQ(display->text(), "9575.000");
  QTest::mouseClick(button(Ctl::WWV10Btn), Qt::LeftButton);
  EXPECT_EQ(display->text(), "10000.000");
  EXPECT_EQ(display->textColour(), QColor(255, 0, 0));
  QTest::mouseClick(button(Ctl::WWVRestoreBtn), Qt::LeftButton);
  EXPECT_EQ(display->text(), "9575.000");
  EXPECT_EQ(display->textColour(), QColor(0, 255, 255));
}

struct DigitCase {
  double freq;
  const char* text;
};

// A click on any drawn digit tunes by that digit's place value: up in the
// upper half, down in the lower half; the point does nothing.
TEST_F(FrontPanelWindowTest, ClickingADrawnDigitTunesByItsPlace) {
  const DigitCase cases[] = {
      {15000.0, "15000.000"}, {9575.0, "9575.000"}, {512.25, "512.250"}, {55.0, "55.000"}, {9.5, "9.500"}};
  QWidget* display = window->controlWidget(Ctl::FreqDispPanel);
  for (const DigitCase& c : cases) {
    tuneTo(c.freq);
    ASSERT_EQ(qobject_cast<FrequencyDisplay*>(display)->text(), c.text);
    const std::string text = c.text;
    const auto cells = FrequencyGlyphCells(text, display->width());
    ASSERT_EQ(cells.size(), text.size());
    const std::size_t point = text.find('.');
    for (std::size_t i = 0; i < cells.size(); ++i) {
      double place = 0.0;  // the point
      if (i < point) place = std::pow(10.0, static_cast<double>(point - 1 - i));
      if (i > point) place = std::pow(10.0, -static_cast<double>(i - point));
      const int x = static_cast<int>((cells[i].left + cells[i].right) / 2);
      for (const bool upper : {true, false}) {
        tuneTo(c.freq);
        const double sign = upper ? 1.0 : -1.0;
        const double expected = c.freq + sign * place;
        if (expected < 9.999 || expected > 29999.999) continue;  // outside the digit-click limits
        QTest::mouseClick(display, Qt::LeftButton, {}, QPoint(x, upper ? 10 : display->height() - 10));
        EXPECT_NEAR(panel.state.Freq, expected, 1e-9)
            << c.text << " digit " << i << " '" << text[i] << "' at x " << x << (upper ? " upper" : " lower");
      }
    }
  }
}

TEST_F(FrontPanelWindowTest, TypingAFrequencyTunesIt) {
  tuneTo(9575.0);
  QWidget* grid = window->controlWidget(Ctl::Grid);
  window->activateWindow();
  grid->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), grid);
  auto* display = qobject_cast<FrequencyDisplay*>(window->controlWidget(Ctl::FreqDispPanel));
  QTest::keyClicks(grid, "7205");
  EXPECT_EQ(display->text(), "7205");
  QTest::keyClick(grid, Qt::Key_Period);
  QTest::keyClick(grid, Qt::Key_5);
  QTest::keyClick(grid, Qt::Key_Return);
  EXPECT_DOUBLE_EQ(panel.state.Freq, 7205.5);
}

TEST_F(FrontPanelWindowTest, ClosingTheWindowRunsTheExitSequence) {
  window->close();
  EXPECT_TRUE(panel.context.flags.ShuttingDown);
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(QFileInfo::exists(dir.filePath("SysFiles/Tuning.dat")));
  EXPECT_TRUE(QFileInfo::exists(dir.filePath("SysFiles/Ondaris.dat")));
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

template <class T>
T* Child(QDialog* dialog, const char* name) {
  return dialog ? dialog->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

class WiredWindowTest : public FrontPanelWindowTest {
 protected:
  void SetUp() override {
    FrontPanelWindowTest::SetUp();
    clock.setUtc({2026, 3, 7, 12, 30, 0});
    window->setFrequencyFiles(panel.files);
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
    QWidget* grid = window->controlWidget(Ctl::Grid);
    window->activateWindow();
    grid->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    QTest::keyClick(grid, key, Qt::ControlModifier | extra);
  }
  QString bankShown() const { return qobject_cast<QLabel*>(window->controlWidget(Ctl::BankDispPanel))->text(); }
  std::string sys(const char* name) const { return dir.filePath(QString("SysFiles/") + name).toStdString(); }
  std::string writeList(const char* name, const std::string& text) {
    const QString path = dir.filePath(QString("FreqFiles/") + name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
    return path.toStdString();
  }

  std::unique_ptr<PanelDialogs> dialogs;
};

TEST_F(WiredWindowTest, ScratchpadButtonsMenusAndKeysReachTheScratchpad) {
  ScratchpadController& scratch = panel.scratch;
  tuneTo(9575.0);
  QTest::mouseClick(button(Ctl::ScpdBtn2), Qt::LeftButton);
  EXPECT_EQ(scratch.pad.CurrentChannel, 2);
  EXPECT_TRUE(button(Ctl::ScpdBtn2)->isChecked());

  // Pgm stores the tuning and asks for the tag at once.
  bool shown = false;
  WhenModalShown("TTagEntryDlg", [](QDialog* d) {
    Child<QLineEdit>(d, "TagEdit")->setText("News");
    QTest::mouseClick(Child<QPushButton>(d, "OKBtn"), Qt::LeftButton);
  }, &shown);
  QTest::mouseClick(button(Ctl::TagBtn), Qt::LeftButton);
  EXPECT_TRUE(shown);
  EXPECT_EQ(scratch.pad.channel(1, 2).Frequency, 9575.0);
  EXPECT_EQ(scratch.pad.channel(1, 2).Tag, "News");
  EXPECT_EQ(button(Ctl::ScpdBtn2)->text(), "9575");
  EXPECT_EQ(panel.panel[Ctl::StatusPanel].caption, "News");

  // The middle button selects a memory without tuning it.
  tuneTo(7000.0);
  QTest::mouseClick(button(Ctl::ScpdBtn5), Qt::MiddleButton);
  EXPECT_EQ(scratch.pad.CurrentChannel, 5);
  EXPECT_EQ(panel.state.Freq, 7000.0);

  // The right button tunes the memory and offers its tag; Cancel keeps it.
  QString offered;
  WhenModalShown("TTagEntryDlg", [&offered](QDialog* d) {
    offered = Child<QLineEdit>(d, "TagEdit")->text();
    Child<QLineEdit>(d, "TagEdit")->setText("Changed");
    QTest::mouseClick(Child<QPushButton>(d, "CancelBtn"), Qt::LeftButton);
  });
  QTest::mouseClick(button(Ctl::ScpdBtn2), Qt::RightButton);
  EXPECT_EQ(offered, "News");
  EXPECT_EQ(scratch.pad.channel(1, 2).Tag, "News");
  EXPECT_EQ(panel.state.Freq, 9575.0);
  EXPECT_TRUE(button(Ctl::ScpdBtn2)->isChecked());

  QTest::mouseClick(button(Ctl::LockoutBtn), Qt::LeftButton);
  EXPECT_EQ(scratch.pad.channel(1, 2).Lockout, 1);
  EXPECT_EQ(panel.panel[Ctl::ScpdBtn2].colour, Colour::Black);

  // Banks: the buttons, the menu and Ctrl with a digit, exactly Ctrl held.
  QTest::mouseClick(button(Ctl::BankUpBtn), Qt::LeftButton);
  EXPECT_EQ(bankShown(), "2");
  window->menuAction(Ctl::Bank4)->trigger();
  EXPECT_EQ(bankShown(), "4");
  ctrlKey(Qt::Key_3);
  EXPECT_EQ(bankShown(), "3");
  ctrlKey(Qt::Key_0);
  EXPECT_EQ(bankShown(), "10");
  ctrlKey(Qt::Key_1, Qt::ShiftModifier);
  EXPECT_EQ(bankShown(), "10");
  QTest::mouseClick(button(Ctl::BankDnBtn), Qt::LeftButton);
  EXPECT_EQ(bankShown(), "9");

  WhenModalShown("TBankTagDlg", [](QDialog* d) {
    Child<QLineEdit>(d, "BankTagEdit")->setText("Utility");
    QTest::mouseClick(Child<QPushButton>(d, "OKBtn"), Qt::LeftButton);
  });
  window->menuAction(Ctl::BankTagItem)->trigger();
  EXPECT_EQ(window->menuAction(Ctl::Bank9)->text(), "Bank &9:  Utility");
  EXPECT_EQ(panel.panel[Ctl::StatusPanel].caption, "Bank 9:  Utility");

  // Ctrl+P and the File menu save the scratchpad.
  ctrlKey(Qt::Key_P);
  EXPECT_EQ(QFileInfo(QString::fromStdString(sys("Scratchpad.dat"))).size(), 11864);
  QFile::remove(QString::fromStdString(sys("Scratchpad.dat")));
  ctrlKey(Qt::Key_P, Qt::AltModifier);
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(sys("Scratchpad.dat"))));
  window->menuAction(Ctl::SaveScpdItem)->trigger();
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(sys("Scratchpad.dat"))));

  // Clearing the selected memory asks first.
  ctrlKey(Qt::Key_1);
  QTest::mouseClick(button(Ctl::ScpdBtn2), Qt::LeftButton);
  messages.answerNext(true);
  window->menuAction(Ctl::ClrMemItem)->trigger();
  EXPECT_EQ(messages.questions(), std::vector<std::string>{ClearMemoryQuestion});
  EXPECT_EQ(scratch.pad.channel(1, 2).Frequency, 0.0);
  EXPECT_EQ(button(Ctl::ScpdBtn2)->text(), "");
}

TEST_F(WiredWindowTest, LimitScanDialogAndTheLimitsMenu) {
  bool shown = false;
  WhenModalShown("TLimitScanDlg", [](QDialog* d) {
    Child<QLineEdit>(d, "LoLimitEdit")->setText("5900");
    Child<QLineEdit>(d, "HiLimitEdit")->setText("6200");
    QTest::mouseClick(Child<QPushButton>(d, "OKBtn"), Qt::LeftButton);
  }, &shown);
  QTest::mouseClick(button(Ctl::LimitScanBtn), Qt::LeftButton);
  ASSERT_TRUE(shown);
  EXPECT_EQ(panel.scanSettings.LimitLow, 5900.0);
  EXPECT_EQ(panel.scanSettings.LimitHigh, 6200.0);
  EXPECT_EQ(panel.context.scan.ScanKind, 3);
  EXPECT_EQ(panel.panel[Ctl::StatusPanel].caption, "Limit Scan: 5900 to 6200 kHz");
  EXPECT_TRUE(button(Ctl::LimitScanBtn)->isChecked());
  EXPECT_EQ(button(Ctl::ScanSpd2Btn)->text(), "0.2S");

  // A limit that is no number keeps the dialog open; Cancel then closes it.
  QString offeredLow;
  bool stayedOpen = false;
  WhenModalShown("TLimitScanDlg", [&](QDialog* d) {
    offeredLow = Child<QLineEdit>(d, "LoLimitEdit")->text();
    Child<QLineEdit>(d, "LoLimitEdit")->setText("59x0");
    QTest::mouseClick(Child<QPushButton>(d, "OKBtn"), Qt::LeftButton);
    stayedOpen = d->isVisible();
    QTest::mouseClick(Child<QPushButton>(d, "CancelBtn"), Qt::LeftButton);
  });
  QTest::mouseClick(button(Ctl::LimitScanBtn), Qt::LeftButton);
  EXPECT_EQ(offeredLow, "5900");
  EXPECT_TRUE(stayedOpen);
  EXPECT_NE(panel.lastError.find("59x0"), std::string::npos) << panel.lastError;
  EXPECT_EQ(panel.scanSettings.LimitLow, 5900.0);
  EXPECT_FALSE(button(Ctl::LimitScanBtn)->isChecked());

  // A remembered range appears in the Limits menu and starts from there.
  panel.limits.RememberLimitRange(7100, 7300);
  QAction* range = window->menuAction(Ctl::LimRange1);
  EXPECT_EQ(range->text(), "7100-7300");
  EXPECT_TRUE(range->isEnabled());
  EXPECT_FALSE(window->menuAction(Ctl::LimRange2)->isEnabled());
  std::vector<double> started;
  panel.limits.startRangeScan = [&started](double low, double high) { started = {low, high}; };
  range->trigger();
  EXPECT_EQ(started, (std::vector<double>{7100, 7300}));
  EXPECT_TRUE(button(Ctl::LimitScanBtn)->isChecked());
}

TEST_F(WiredWindowTest, StationListFileEditAndToolCommands) {
  FreqFileController& files = panel.files;
  ASSERT_TRUE(QDir(dir.path()).mkpath("FreqFiles"));
  const std::string path = writeList(
      "A.320",
      "\"Radio Alba\",9.580000,AM,6000,2,5000,0,\"Mountains\",\"English\",\"0000\",\"2400\",\"Notes\",0,0\r\n"
      "\"Coast\",14.230500,USB,2550,2,100,0,\"Seaside\",\"English\",\"0800\",\"1200\",\"Notes\",0,0\r\n");

  // Ctrl+O opens a list and enters it in the Reopen menu.
  fileDialogs.chooseNext(path);
  ctrlKey(Qt::Key_O);
  ASSERT_EQ(files.list.RecordCount(), 2);
  EXPECT_EQ(window->menuAction(Ctl::Reopen1Item)->text().toStdString(), path);
  EXPECT_TRUE(window->menuAction(Ctl::Reopen1Item)->isEnabled());

  // Ctrl with =/+ adds the present tuning through the add dialog.
  tuneTo(6070.0);
  bool shown = false;
  WhenModalShown("TAddEditDlg", [](QDialog* d) {
    Child<QLineEdit>(d, "NameBox")->setText("Added");
    QTest::mouseClick(Child<QPushButton>(d, "OKBtn"), Qt::LeftButton);
  }, &shown);
  int addDialogs = 0;
  {
    auto previous = panel.editor.showDialog;
    panel.editor.showDialog = [previous, &addDialogs](EntryEditor::Dialog& d) {
      ++addDialogs;
      previous(d);
    };
  }
  ctrlKey(Qt::Key_Equal);
  EXPECT_TRUE(shown);
  EXPECT_EQ(addDialogs, 1);  // one key, one dialog, wherever the focus went
  ASSERT_EQ(files.list.RecordCount(), 3);
  EXPECT_EQ(files.list.Cell(2, FreqColumn::Name), "Added");
  EXPECT_TRUE(files.list.Changed);

  // Edit (FileOpBtn3) shows the current row; Cancel changes nothing.
  files.SetRow(1);
  QString editedName;
  WhenModalShown("TAddEditDlg", [&editedName](QDialog* d) {
    editedName = Child<QLineEdit>(d, "NameBox")->text();
    QTest::mouseClick(Child<QPushButton>(d, "CanBtn"), Qt::LeftButton);
  });
  QTest::mouseClick(button(Ctl::FileOpBtn3), Qt::LeftButton);
  EXPECT_EQ(editedName, "Radio Alba");

  // Ctrl+C copies the selected row; the Paste item shows the count.
  ctrlKey(Qt::Key_C);
  EXPECT_EQ(panel.panel[Ctl::PasteItem].caption, "&Paste Records (1)          (Ctrl+V)");
  EXPECT_TRUE(window->menuAction(Ctl::PasteItem)->isEnabled());

  // Lk flips the lockout of the selected row.
  QTest::mouseClick(button(Ctl::LkBtn), Qt::LeftButton);
  EXPECT_EQ(files.CellText(1, 0), "L");

  // Now shows the stations on the air at 12:30 UTC (Radio Alba and the
  // added entry, 0000 to 2400), and back.
  QTest::mouseClick(button(Ctl::NowBtn), Qt::LeftButton);
  EXPECT_TRUE(files.list.OnAirView);
  EXPECT_EQ(panel.panel[Ctl::StatusPanel].caption, "On the air now: 2 broadcasts");
  QTest::mouseClick(button(Ctl::NowBtn), Qt::LeftButton);
  EXPECT_FALSE(files.list.OnAirView);

  // Lookup finds the tuned station's row.
  tuneTo(14230.5);
  QTest::mouseClick(button(Ctl::LookupBtn), Qt::LeftButton);
  EXPECT_EQ(files.CellText(files.grid.Row, 2), "Coast");
  EXPECT_TRUE(messages.messages().empty()) << messages.lastMessage();

  // Cut asks first; No keeps the record.
  messages.answerNext(false);
  QTest::mouseClick(button(Ctl::FileOpBtn5), Qt::LeftButton);
  EXPECT_EQ(messages.questions().size(), 1u);
  EXPECT_EQ(files.list.RecordCount(), 3);

  // Reopening the changed list asks to save it; No reloads the file as it is.
  messages.clear();
  messages.answerNext(false);
  window->menuAction(Ctl::Reopen1Item)->trigger();
  EXPECT_EQ(messages.questions(), std::vector<std::string>{SaveChangesQuestion});
  EXPECT_EQ(files.list.RecordCount(), 2);
  EXPECT_FALSE(files.list.Changed);

  // The master list: generated from the list's folder, then viewed.
  messages.clear();
  window->menuAction(Ctl::MFLGenItem)->trigger();
  EXPECT_TRUE(QFileInfo::exists(dir.filePath("Export/Master320FrequencyList.txt")));
  EXPECT_EQ(messages.messages().size(), 2u);
  bool viewerShown = false;
  WhenModalShown("TMFLViewDlg", [](QDialog* d) { d->reject(); }, &viewerShown);
  window->menuAction(Ctl::MFLViewItem)->trigger();
  EXPECT_TRUE(viewerShown);
}

TEST_F(WiredWindowTest, ScanButtonsReachTheScanEngine) {
  QTest::mouseClick(button(Ctl::MemScanBtn), Qt::LeftButton);
  EXPECT_EQ(panel.context.scan.ScanKind, 2);
  EXPECT_TRUE(button(Ctl::MemScanBtn)->isChecked());
  EXPECT_EQ(panel.panel[Ctl::StatusPanel].caption, "Scratchpad Memory Scan");

  QTest::mouseClick(button(Ctl::ScanSpd4Btn), Qt::LeftButton);
  EXPECT_EQ(panel.scanSettings.ScanSpeedIndex, 5);
  EXPECT_EQ(panel.scanSettings.ScanInterval, 5000);
  EXPECT_TRUE(button(Ctl::ScanSpd4Btn)->isChecked());

  // With memory scan chosen a bank item takes the bank into the scan.
  window->menuAction(Ctl::Bank3)->trigger();
  EXPECT_TRUE(window->menuAction(Ctl::Bank3)->isChecked());
  EXPECT_TRUE(panel.scratch.pad.bankEnabled(3));

  // Nothing stored to scan: Scan says so and stays up.
  QTest::mouseClick(button(Ctl::ScanBtn), Qt::LeftButton);
  EXPECT_EQ(messages.lastMessage(), NoMemoryChannelsMessage);
  EXPECT_FALSE(button(Ctl::ScanBtn)->isChecked());
  EXPECT_EQ(panel.context.scan.ScanState, 0);

  // A stored memory in the enabled bank is scanned until Stop.
  panel.scratch.pad.channel(3, 0).Frequency = 6070.0;
  panel.scratch.pad.channel(3, 0).AGC = 2;
  QTest::mouseClick(button(Ctl::ScanBtn), Qt::LeftButton);
  EXPECT_EQ(panel.context.scan.ScanState, 2);
  EXPECT_TRUE(button(Ctl::ScanBtn)->isChecked());
  timeline.advanceBy(5100);
  EXPECT_EQ(panel.state.Freq, 6070.0);
  QTest::mouseClick(button(Ctl::StopBtn), Qt::LeftButton);
  EXPECT_EQ(panel.context.scan.ScanState, 0);
  EXPECT_FALSE(button(Ctl::ScanBtn)->isChecked());

  // Band Scan opens the band dialog; its Cancel forgets the chosen kind.
  bool shown = false;
  WhenModalShown("TBandScanDlg", [](QDialog* d) {
    QTest::mouseClick(Child<QPushButton>(d, "CanBtn"), Qt::LeftButton);
  }, &shown);
  QTest::mouseClick(button(Ctl::BandScanBtn), Qt::LeftButton);
  EXPECT_TRUE(shown);
  EXPECT_EQ(panel.context.scan.ScanKind, 0);
  EXPECT_FALSE(button(Ctl::BandScanBtn)->isChecked());
}

TEST_F(WiredWindowTest, BackUpDataWritesTheBackupFolder) {
  window->menuAction(Ctl::BackupItem)->trigger();
  EXPECT_EQ(QFileInfo(dir.filePath("Backup/Scratchpad.dat")).size(), 11864);
  EXPECT_EQ(QFileInfo(dir.filePath("Backup/Limits1.dat")).size(), 2560);
  ASSERT_FALSE(messages.messages().empty());
  EXPECT_EQ(messages.messages()[0], "Writing Backup\\Scratchpad.dat");
}

TEST_F(WiredWindowTest, HelpOpensThroughTheShell) {
  ASSERT_TRUE(QDir(dir.path()).mkpath("help"));
  QFile page(dir.filePath("help/OndarisHelp.html"));
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.write("<html></html>");
  page.close();
  window->menuAction(Ctl::HelpItem)->trigger();
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0], QFileInfo(page).absoluteFilePath().toStdString());
}

TEST_F(WiredWindowTest, ExitThroughTheMenuWritesEveryDataFile) {
  window->menuAction(Ctl::ExitItem)->trigger();
  EXPECT_FALSE(window->isVisible());
  for (const char* name : {"Limits1.dat", "Reopen.dat", "Scratchpad.dat", "Tuning.dat", "Ondaris.dat",
                           "OndarisGrid.dat"})
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(sys(name)))) << name;
  EXPECT_EQ(QFileInfo(QString::fromStdString(sys("OndarisGrid.dat"))).size(), 36);
}

}  // namespace
}  // namespace ondaris

int main(int argc, char** argv) {
  // Test discovery runs the program without the test environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
