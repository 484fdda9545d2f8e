// Every checkable control of the main window acts on its accessible actions
// (what a screen reader or an automation tool uses through AT-SPI) exactly as
// on a mouse click, and always shows the program's state, also when the
// program refuses.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QMenu>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "panel/PanelModel.h"
#include "ui/MainWindow.h"
#include "ui/PanelActions.h"

namespace ondaris {
namespace {

// Records what reaches the program; a refusing program puts every control
// back as it was before the click.
class RecordingSink : public PanelActions {
 public:
  explicit RecordingSink(PanelModel& model) : model_(model) {}
  void Click(Ctl control) override {
    calls.push_back("click " + std::string(ControlName(control)));
    if (refuse)
      for (int i = 0; i < ControlCount; ++i) model_.setChecked(static_cast<Ctl>(i), before[i]);
  }
  void MouseDown(Ctl control) override { calls.push_back("down " + std::string(ControlName(control))); }
  void MouseUp(Ctl control) override { calls.push_back("up " + std::string(ControlName(control))); }
  void ValueChanged(Ctl, int) override {}
  void DisplayClick(int, int, int, int) override {}
  bool KeyPress(char) override { return false; }
  void Shutdown() override {}
  void ReportError(const std::string& text) override { errors.push_back(text); }
  std::string ProgramDir() const override { return "/nonexistent-ondaris-dir/"; }

  std::vector<std::string> calls, errors;
  std::vector<bool> before;
  bool refuse = false;

 private:
  PanelModel& model_;
};

enum class Way { Mouse, AccessiblePress, AccessibleToggle, PlainToggle };

struct Case {
  const char* name;
  Way way;
  bool refuse;
};
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class AccessibleActionsTest : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    window = std::make_unique<MainWindow>(model, sink);
    window->show();
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
      if (auto* b = qobject_cast<QAbstractButton*>(window->controlWidget(c)); b && b->isCheckable())
        EXPECT_EQ(b->isChecked(), model[c].pressed) << ControlName(c) << " after " << after;
      else if (QAction* a = window->menuAction(c); a && a->isCheckable())
        EXPECT_EQ(a->isChecked(), model[c].pressed) << ControlName(c) << " after " << after;
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

  PanelModel model;
  RecordingSink sink{model};
  std::unique_ptr<MainWindow> window;
};

TEST_P(AccessibleActionsTest, EveryCheckableButtonActsAsOnAMouseClick) {
  const Case& c = GetParam();
  sink.refuse = c.refuse;
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
      sink.calls.clear();
      sink.before = Pressed();
      Act(button, c.way);
      const std::vector<std::string> mouse{"down " + name, "up " + name, "click " + name};
      // A toggle that is no click reaches nothing; the check mark stays the program's.
      EXPECT_EQ(sink.calls, c.way == Way::PlainToggle ? std::vector<std::string>{} : mouse) << name;
      if (c.refuse || c.way == Way::PlainToggle) EXPECT_EQ(Pressed(), sink.before) << name;
      EXPECT_EQ(item->state().checked, button->isChecked()) << name;
      ExpectShownIsModel(name);
    }
  }
  EXPECT_GT(buttons, 100);  // scan, scan kinds, modes, filters, steps, AGC, memories, ...
  EXPECT_TRUE(sink.errors.empty());
}

// Menu items have one accessible action, press: plain and refused.
class AccessibleMenuTest : public AccessibleActionsTest {};

TEST_P(AccessibleMenuTest, EveryCheckableMenuItemActsAsWhenChosen) {
  const Case& c = GetParam();
  sink.refuse = c.refuse;
  int items = 0;
  for (int i = 0; i < ControlCount; ++i) {
    const Ctl control = static_cast<Ctl>(i);
    QAction* action = window->menuAction(control);
    if (!action || !action->isCheckable()) continue;
    ++items;
    const std::string name(ControlName(control));
    auto* menu = qobject_cast<QMenu*>(action->associatedObjects().value(0));
    ASSERT_NE(menu, nullptr) << name;
    QAccessibleInterface* menuItem = nullptr;
    QAccessibleInterface* menuAccessible = QAccessible::queryAccessibleInterface(menu);
    for (int child = 0; child < menuAccessible->childCount(); ++child)
      if (menuAccessible->child(child)->object() == action) menuItem = menuAccessible->child(child);
    ASSERT_NE(menuItem, nullptr) << name;
    for (int round = 0; round < 2; ++round) {
      sink.calls.clear();
      sink.before = Pressed();
      menuItem->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
      // The hint check mark is the window's own; every other item goes to the program.
      if (control != Ctl::HintItem) {
        EXPECT_EQ(sink.calls, std::vector<std::string>{"click " + name}) << name;
        if (c.refuse) EXPECT_EQ(Pressed(), sink.before) << name;
      }
      ExpectShownIsModel(name);
    }
  }
  EXPECT_GE(items, 14);  // ten banks, three options, hints
}

INSTANTIATE_TEST_SUITE_P(Ways, AccessibleActionsTest,
                         ::testing::Values(Case{"Mouse", Way::Mouse, false},
                                           Case{"Press", Way::AccessiblePress, false},
                                           Case{"Toggle", Way::AccessibleToggle, false},
                                           Case{"PressRefused", Way::AccessiblePress, true},
                                           Case{"ToggleRefused", Way::AccessibleToggle, true},
                                           Case{"PlainToggle", Way::PlainToggle, false}),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Ways, AccessibleMenuTest,
                         ::testing::Values(Case{"Press", Way::AccessiblePress, false},
                                           Case{"PressRefused", Way::AccessiblePress, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ondaris
