// The front panel's window: its controls, what the model shows, the listener's clicks, keys and
// accessible actions, the display's digits, and the whole program behind its buttons, menus and dialogs.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "app/FrontPanel.h"
#include "common/Errors.h"
#include "panel/PanelModel.h"
#include "scan/BandScanDialog.h"
#include "support/FrontPanelRig.h"
#include "support/TempFolder.h"
#include "ui/AboutDialog.h"
#include "ui/FrequencyDisplay.h"
#include "ui/FrequencyGridModel.h"
#include "ui/FrequencyGridView.h"
#include "ui/FrequencyLayout.h"
#include "ui/FrontPanelActions.h"
#include "ui/KeyboardMap.h"
#include "ui/MainWindow.h"
#include "ui/MeterBar.h"
#include "ui/PanelButton.h"
#include "ui/PanelDialogs.h"
#include "ui/PanelLabel.h"
#include "ui/PanelLayout.h"

namespace ondaris {
namespace {

using Strings = std::vector<std::string>;
std::string Name(Ctl control) { return std::string(ControlName(control)); }

// What every window test needs: the window and ways to reach its widgets.
struct WindowAccess {
  std::unique_ptr<MainWindow> window;

  template <class T>
  T* widget(Ctl control) const {
    return qobject_cast<T*>(window->controlWidget(control));
  }
  PanelButton* button(Ctl control) const { return widget<PanelButton>(control); }
  QString label(Ctl control) const { return widget<QLabel>(control)->text(); }
  QString display() const { return widget<FrequencyDisplay>(Ctl::FreqDispPanel)->text(); }
  void click(Ctl control, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseClick(window->controlWidget(control), b); }
  void trigger(Ctl item) { window->menuAction(item)->trigger(); }
  // Keys go to the focused widget; the grid takes the focus for them.
  QWidget* focusGrid() {
    QWidget* grid = window->controlWidget(Ctl::Grid);
    window->activateWindow();
    grid->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    return grid;
  }
  QColor textColour(Ctl control) const {
    return button(control)->palette().color(QPalette::Active, QPalette::ButtonText);
  }
};

// Records every action the window hands on; behaviours can be plugged in.
class Recorder : public PanelActions {
 public:
  void Click(Ctl control) override {
    log.push_back("Click " + Name(control));
    if (onClick) onClick(control);
  }
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
  void Shutdown() override { ++shutdowns; }
  void ReportError(const std::string& text) override { errors.push_back(text); }
  std::string ProgramDir() const override { return "/nonexistent-ondaris-dir/"; }

  Strings log;
  std::function<void(Ctl)> onClick;
  std::vector<char> keys;
  bool keyResult = true;
  bool keyThrows = false;
  Strings errors;
  int shutdowns = 0;
};

class MainWindowTest : public ::testing::Test, public WindowAccess {
 protected:
  void SetUp() override {
    window = std::make_unique<MainWindow>(model, recorder);
    window->show();
  }
  void TearDown() override { window.reset(); }

  PanelModel model;
  Recorder recorder;
};

// ---- Controls and what the model shows ------------------------------------------

TEST_F(MainWindowTest, EveryPanelControlExistsWithItsNameCaptionAndPlace) {
  for (int i = 0; i < static_cast<int>(Ctl::NewFileItem); ++i) {  // the menu items come after the controls
    const Ctl control = static_cast<Ctl>(i);
    const auto geometry = PanelGeometry(control);
    ASSERT_TRUE(geometry.has_value()) << Name(control);
    QWidget* w = window->panelArea()->findChild<QWidget*>(QString::fromStdString(Name(control)));
    ASSERT_NE(w, nullptr) << Name(control);
    EXPECT_EQ(w, window->controlWidget(control));
    EXPECT_EQ(w->geometry(), QRect(geometry->x, geometry->y, geometry->width, geometry->height)) << Name(control);
    EXPECT_TRUE(w->isVisible()) << Name(control);
    const QString caption = QString::fromStdString(model[control].caption);
    if (auto* b = qobject_cast<PanelButton*>(w)) {
      EXPECT_EQ(b->text(), caption) << Name(control);
      EXPECT_EQ(b->focusPolicy(), Qt::NoFocus) << Name(control);
    } else if (auto* l = qobject_cast<PanelLabel*>(w)) {
      EXPECT_EQ(l->text(), caption) << Name(control);
    }
  }
  EXPECT_EQ(display(), "12345.000");
}

TEST_F(MainWindowTest, WidgetsFollowTheModel) {
  model.setCaption(Ctl::VFOBtn, "VFO B");
  EXPECT_EQ(button(Ctl::VFOBtn)->text(), "VFO B");
  model.press(Ctl::ModeBtnCW);
  model.press(Ctl::DataModeBtn);
  model.setEnabled(Ctl::LogDispBtn, false);
  model.setVisible(Ctl::LkBtn, false);
  EXPECT_EQ((std::vector<bool>{button(Ctl::DataModeBtn)->isChecked(), button(Ctl::ModeBtnCW)->isChecked(),
                               button(Ctl::LogDispBtn)->isEnabled(), button(Ctl::LkBtn)->isVisible()}),
            (std::vector<bool>{true, false, false, false}));
  EXPECT_EQ(textColour(Ctl::FreqUpBtnFast), QColor(0, 0, 128));
  model.setFont(Ctl::FreqUpBtnFast, Colour::Maroon, true);
  EXPECT_EQ(textColour(Ctl::FreqUpBtnFast), QColor(128, 0, 0));
  EXPECT_TRUE(button(Ctl::FreqUpBtnFast)->font().bold());

  auto* freq = widget<FrequencyDisplay>(Ctl::FreqDispPanel);
  model.setCaption(Ctl::FreqDispPanel, "9575.000");
  EXPECT_EQ(display(), "9575.000");
  EXPECT_EQ(freq->textColour(), QColor(0, 255, 255));
  model.setColour(Ctl::FreqDispPanel, Colour::Red);
  EXPECT_EQ(freq->textColour(), QColor(255, 0, 0));
  auto* meter = widget<MeterBar>(Ctl::Meter);
  model.setValue(Ctl::Meter, 4000);
  EXPECT_EQ(meter->value(), 4000);
  model.setRange(Ctl::Meter, 0, 2500);
  EXPECT_EQ(std::tuple(meter->maximum(), meter->value()), std::tuple(2500, 2500));
  model.setValue(Ctl::SpkrTrackbar, 17);
  EXPECT_EQ(widget<QSlider>(Ctl::SpkrTrackbar)->value(), 17);
  // What the program sets is not handed back as the listener's move.
  EXPECT_TRUE(recorder.log.empty());
}

TEST_F(MainWindowTest, HintsShowOnlyWhileShowHintsIsChecked) {
  EXPECT_TRUE(button(Ctl::RoundBtn)->toolTip().isEmpty());
  model.setChecked(Ctl::HintItem, true);  // start-up or the options dialog
  EXPECT_EQ(button(Ctl::RoundBtn)->toolTip(), "Rounds tuned frequency to tuning step value");
  EXPECT_EQ(window->controlWidget(Ctl::Meter)->toolTip(), "S-Meter:  Click toggles between normal and 4x sensitivity");
  model.setHint(Ctl::ScpdBtn0, "Radio Habana");
  EXPECT_EQ(button(Ctl::ScpdBtn0)->toolTip(), "Radio Habana");

  trigger(Ctl::HintItem);  // the listener turns them off
  EXPECT_EQ(std::tuple(model[Ctl::HintItem].pressed, window->menuAction(Ctl::HintItem)->isChecked()),
            std::tuple(false, false));
  EXPECT_EQ(button(Ctl::RoundBtn)->toolTip() + button(Ctl::ScpdBtn0)->toolTip(), "");
  EXPECT_TRUE(recorder.log.empty());  // the window's own business
}

TEST_F(MainWindowTest, DrawnWidgetsAreAccessible) {
  model.setCaption(Ctl::FreqDispPanel, "9575.000");
  QAccessibleInterface* freq = QAccessible::queryAccessibleInterface(window->controlWidget(Ctl::FreqDispPanel));
  ASSERT_NE(freq, nullptr);
  EXPECT_EQ(freq->text(QAccessible::Name) + " " + freq->text(QAccessible::Value), "9575.000 9575.000");
  model.setValue(Ctl::Meter, 1234);
  QAccessibleInterface* meter = QAccessible::queryAccessibleInterface(window->controlWidget(Ctl::Meter));
  ASSERT_TRUE(meter && meter->valueInterface());
  EXPECT_EQ(meter->role(), QAccessible::ProgressBar);
  QAccessibleValueInterface* value = meter->valueInterface();
  EXPECT_EQ(std::tuple(value->currentValue().toInt(), value->maximumValue().toInt()), std::tuple(1234, 10000));
}

// ---- The listener's actions --------------------------------------------------------

TEST_F(MainWindowTest, PanelsTrackbarsAndMenuItemsReachTheActions) {
  QTest::mouseClick(window->controlWidget(Ctl::FreqDispPanel), Qt::LeftButton, {}, QPoint(100, 50));
  for (Ctl c : {Ctl::Meter, Ctl::PBTDisplayPanel, Ctl::TimePanel}) click(c);
  widget<QSlider>(Ctl::SpkrTrackbar)->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(model[Ctl::SpkrTrackbar].value, 5);  // the model first, then the action
  widget<QSlider>(Ctl::TuningSpeedTrackbar)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  trigger(Ctl::MuteOnExitItem);
  // Nothing toggled the model, so the item is not checked.
  EXPECT_FALSE(window->menuAction(Ctl::MuteOnExitItem)->isChecked());
  EXPECT_EQ(recorder.log, (Strings{"Display 100 50 303 68", "Click Meter", "Click PBTDisplayPanel",
                                   "Click TimePanel", "Value SpkrTrackbar 5", "Value TuningSpeedTrackbar 3",
                                   "Click MuteOnExitItem"}));
  recorder.onClick = [this](Ctl c) { model.setChecked(c, !model[c].pressed); };
  trigger(Ctl::DefaultFiltItem);
  EXPECT_TRUE(window->menuAction(Ctl::DefaultFiltItem)->isChecked());
}

TEST_F(MainWindowTest, ErrorsOfAnActionAreReportedAndNeverEscape) {
  recorder.onClick = [](Ctl c) {
    if (c == Ctl::VFOBtn) throw SerialError("Unable to open com port (No such file or directory)");
    throw std::runtime_error("plain failure");
  };
  click(Ctl::VFOBtn);
  trigger(Ctl::DefaultStepItem);
  click(Ctl::Meter);
  recorder.keyThrows = true;
  QTest::keyClick(focusGrid(), Qt::Key_Return);
  EXPECT_EQ(recorder.errors, (Strings{"Unable to open com port (No such file or directory)", "plain failure",
                                      "plain failure", "'1..2' is not a valid floating point value"}));
}

TEST_F(MainWindowTest, ClosingRunsTheExitSequenceOnce) {
  trigger(Ctl::ExitItem);
  EXPECT_EQ(std::tuple(window->isVisible(), recorder.shutdowns), std::tuple(false, 1));
  window->show();
  window->close();
  EXPECT_EQ(recorder.shutdowns, 1);
}

TEST(AboutDialogTest, NamesTheProgramItsVersionAndTheReceiver) {
  AboutDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), "About Ondaris...");
  QString texts;
  for (QLabel* label : dialog.findChildren<QLabel*>()) texts += label->text() + '\n';
  for (const char* part : {"Ondaris", "Version", "RX-320"}) EXPECT_TRUE(texts.contains(part)) << part;
  dialog.show();
  QTest::mouseClick(dialog.findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// ---- Accessible actions ----------------------------------------------------------------

// Every checkable control acts on its accessible actions (what a screen
// reader or an automation tool uses through AT-SPI) exactly as on a mouse
// click, and always shows the program's state, also when the program refuses.
enum class Way { Mouse, AccessiblePress, AccessibleToggle, PlainToggle };

struct WayCase {
  const char* name;
  Way way;
  bool refuse;
};
void PrintTo(const WayCase& c, std::ostream* out) { *out << c.name; }

class AccessibleActionsTest : public MainWindowTest, public ::testing::WithParamInterface<WayCase> {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    // A refusing program puts every control back as it was before the click.
    if (GetParam().refuse)
      recorder.onClick = [this](Ctl) {
        for (int i = 0; i < ControlCount; ++i) model.setChecked(static_cast<Ctl>(i), before[i]);
      };
  }
  std::vector<bool> Pressed() const {
    std::vector<bool> pressed;
    for (int i = 0; i < ControlCount; ++i) pressed.push_back(model[static_cast<Ctl>(i)].pressed);
    return pressed;
  }
  // Every checkable button and menu item shows what the model says.
  void ExpectShownIsModel(const std::string& after) const {
    for (int i = 0; i < ControlCount; ++i) {
      const Ctl c = static_cast<Ctl>(i);
      if (auto* b = qobject_cast<QAbstractButton*>(window->controlWidget(c)); b && b->isCheckable()) {
        EXPECT_EQ(b->isChecked(), model[c].pressed) << Name(c) << " after " << after;
      } else if (QAction* a = window->menuAction(c); a && a->isCheckable()) {
        EXPECT_EQ(a->isChecked(), model[c].pressed) << Name(c) << " after " << after;
      }
    }
  }
  static void Act(QAbstractButton* button, Way way) {
    if (way == Way::Mouse) return QTest::mouseClick(button, Qt::LeftButton);
    if (way == Way::PlainToggle) return button->toggle();
    QAccessibleActionInterface* actions = QAccessible::queryAccessibleInterface(button)->actionInterface();
    ASSERT_NE(actions, nullptr);
    const QString name = way == Way::AccessiblePress ? QAccessibleActionInterface::pressAction()
                                                     : QAccessibleActionInterface::toggleAction();
    ASSERT_TRUE(actions->actionNames().contains(name));
    actions->doAction(name);
  }

  std::vector<bool> before;
};

TEST_P(AccessibleActionsTest, EveryCheckableButtonActsAsOnAMouseClick) {
  const WayCase& c = GetParam();
  int buttons = 0;
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (!button->isCheckable() || !button->isVisible()) continue;
    ++buttons;
    const std::string name = button->objectName().toStdString();
    QAccessibleInterface* item = QAccessible::queryAccessibleInterface(button);
    ASSERT_NE(item, nullptr) << name;
    EXPECT_TRUE(item->state().checkable) << name;
    // Twice, so that a button that went down comes up again.
    for (int round = 0; round < 2; ++round) {
      recorder.log.clear();
      before = Pressed();
      Act(button, c.way);
      // A toggle that is no click reaches nothing; the check mark stays the program's.
      const Strings mouse{"Down " + name, "Up " + name, "Click " + name};
      EXPECT_EQ(recorder.log, c.way == Way::PlainToggle ? Strings{} : mouse) << name;
      if (c.refuse || c.way == Way::PlainToggle) { EXPECT_EQ(Pressed(), before) << name; }
      EXPECT_EQ(item->state().checked, button->isChecked()) << name;
      ExpectShownIsModel(name);
    }
  }
  EXPECT_GT(buttons, 100);  // scan, scan kinds, modes, filters, steps, AGC, memories, ...
  EXPECT_TRUE(recorder.errors.empty());
}

// Menu items have one accessible action, press: plain and refused.
class AccessibleMenuTest : public AccessibleActionsTest {};

TEST_P(AccessibleMenuTest, EveryCheckableMenuItemActsAsWhenChosen) {
  int items = 0;
  for (int i = 0; i < ControlCount; ++i) {
    const Ctl control = static_cast<Ctl>(i);
    QAction* action = window->menuAction(control);
    if (!action || !action->isCheckable()) continue;
    ++items;
    auto* menu = qobject_cast<QMenu*>(action->associatedObjects().value(0));
    ASSERT_NE(menu, nullptr) << Name(control);
    QAccessibleInterface* menuItem = nullptr;
    QAccessibleInterface* menuAccessible = QAccessible::queryAccessibleInterface(menu);
    for (int child = 0; child < menuAccessible->childCount(); ++child)
      if (menuAccessible->child(child)->object() == action) menuItem = menuAccessible->child(child);
    ASSERT_NE(menuItem, nullptr) << Name(control);
    for (int round = 0; round < 2; ++round) {
      recorder.log.clear();
      before = Pressed();
      menuItem->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
      // The hint check mark is the window's own; every other item goes to the program.
      if (control != Ctl::HintItem) {
        EXPECT_EQ(recorder.log, Strings{"Click " + Name(control)});
        if (GetParam().refuse) { EXPECT_EQ(Pressed(), before) << Name(control); }
      }
      ExpectShownIsModel(Name(control));
    }
  }
  EXPECT_GE(items, 14);  // ten banks, three options, hints
}

const auto ByName = [](const auto& info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(Ways, AccessibleActionsTest,
                         ::testing::Values(WayCase{"Mouse", Way::Mouse, false},
                                           WayCase{"Press", Way::AccessiblePress, false},
                                           WayCase{"Toggle", Way::AccessibleToggle, false},
                                           WayCase{"PressRefused", Way::AccessiblePress, true},
                                           WayCase{"ToggleRefused", Way::AccessibleToggle, true},
                                           WayCase{"PlainToggle", Way::PlainToggle, false}),
                         ByName);
INSTANTIATE_TEST_SUITE_P(Ways, AccessibleMenuTest,
                         ::testing::Values(WayCase{"Press", Way::AccessiblePress, false},
                                           WayCase{"PressRefused", Way::AccessiblePress, true}),
                         ByName);

// ---- Keyboard ------------------------------------------------------------------------

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

TEST_F(MainWindowTest, TypedCharactersReachThePanelBeforeTheFocusedControl) {
  QWidget* grid = focusGrid();
  ASSERT_EQ(QApplication::focusWidget(), grid);
  KeyCounter counter;
  grid->installEventFilter(&counter);
  QTest::keyClicks(grid, "5. ");
  QTest::keyClick(grid, Qt::Key_Return);
  QTest::keyClick(grid, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(recorder.keys, (std::vector<char>{'5', '.', ' ', '\r', '\r'}));
  EXPECT_EQ(counter.presses, 0);  // used by the panel, so the grid never saw them
  // A key the panel does not use goes on to the control, offered only once.
  recorder.keys.clear();
  recorder.keyResult = false;
  QTest::keyClick(grid, Qt::Key_K);
  EXPECT_EQ(recorder.keys, (std::vector<char>{'k'}));
  EXPECT_EQ(counter.presses, 1);
  grid->removeEventFilter(&counter);
}

TEST(KeyboardMapTest, PreviewCharacters) {
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* text;
    int expected;  // -1: not a panel character
  } cases[] = {
      {Qt::Key_0, Qt::KeypadModifier, "0", '0'},     {Qt::Key_5, Qt::ShiftModifier, "5", '5'},
      {Qt::Key_A, Qt::ShiftModifier, "A", 'A'},      {Qt::Key_5, Qt::AltModifier, "5", -1},
      {Qt::Key_Left, Qt::NoModifier, "", -1},        {Qt::Key_Escape, Qt::NoModifier, "\x1b", -1},
      {Qt::Key_Eacute, Qt::NoModifier, "\u00e9", -1},
  };
  for (const auto& c : cases) {
    QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, QString::fromUtf8(c.text));
    const auto got = PreviewCharacter(event);
    EXPECT_EQ(got.has_value() ? static_cast<int>(*got) : -1, c.expected) << c.key;
  }
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier, "5");
  EXPECT_FALSE(PreviewCharacter(release).has_value());
}

// ---- Where the digits are drawn ----------------------------------------------------

TEST(FrequencyLayoutTest, DigitsAreRightAlignedAgainstThePoint) {
  const auto typed = FrequencyGlyphCells("75", 303);  // typed so far, no point yet
  const auto two = FrequencyGlyphCells("10.000", 303);
  const auto low = FrequencyGlyphCells("9.999", 303);
  const auto armed = FrequencyGlyphCells("12345.000*", 303);  // the clock-radio asterisk
  ASSERT_EQ((std::vector<std::size_t>{typed.size(), two.size(), low.size(), armed.size()}),
            (std::vector<std::size_t>{2, 6, 5, 10}));
  // The ones digit of a typed number sits where the ones digit of the
  // frequency will be; below 10 kHz the single digit takes the ones place.
  EXPECT_DOUBLE_EQ(typed[1].left, two[1].left);
  EXPECT_DOUBLE_EQ(typed[1].right, two[1].right);
  EXPECT_DOUBLE_EQ(low[0].left, two[1].left);
  // Cells run left to right without overlapping, inside the display.
  for (std::size_t i = 0; i < armed.size(); ++i) {
    EXPECT_LT(armed[i].left, armed[i].right);
    EXPECT_GE(armed[i].left, 0.0);
    EXPECT_LE(armed[i].right, 303.0);
    if (i > 0) { EXPECT_LE(armed[i - 1].right, armed[i].left + 1e-9); }
  }
  EXPECT_EQ(armed.back().character, '*');
}

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

int main(int argc, char** argv) {
  // Test discovery runs the program without the test environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
