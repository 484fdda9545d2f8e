// The front panel's window over its control model: its controls, what the model shows, the listener's
// clicks, keys and accessible actions, and where the display's digits are drawn.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "common/Errors.h"
#include "panel/PanelModel.h"
#include "ui/AboutDialog.h"
#include "ui/FrequencyDisplay.h"
#include "ui/FrequencyLayout.h"
#include "ui/KeyboardMap.h"
#include "ui/MainWindow.h"
#include "ui/MeterBar.h"
#include "ui/PanelButton.h"
#include "ui/PanelLabel.h"
#include "ui/PanelLayout.h"

#include "WindowAccess.h"

namespace ondaris {
namespace {

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

}  // namespace
}  // namespace ondaris

int main(int argc, char** argv) {
  // Test discovery runs the program without the test environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
