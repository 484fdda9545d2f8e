// What the window tests share: the window and ways to reach its widgets.

#pragma once

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "panel/PanelModel.h"
#include "ui/FrequencyDisplay.h"
#include "ui/MainWindow.h"
#include "ui/PanelButton.h"

namespace ondaris {

using Strings = std::vector<std::string>;
inline std::string Name(Ctl control) { return std::string(ControlName(control)); }

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

}  // namespace ondaris
