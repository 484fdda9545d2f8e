#include "ui/PanelButton.h"

#include <QMouseEvent>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace ondaris {

PanelButton::PanelButton(QWidget* parent) : QToolButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  setCheckable(true);
  setAutoRaise(false);
  setToolButtonStyle(Qt::ToolButtonTextOnly);
}

void PanelButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    emit rightClicked();
    event->accept();
    return;
  }
  if (event->button() == Qt::LeftButton && isEnabled()) emit mouseDown();
  QToolButton::mousePressEvent(event);
}

void PanelButton::clickAsTheMouse() {
  if (!isEnabled()) return;
  emit mouseDown();
  emit mouseUp();
  click();
}

void PanelButton::mouseReleaseEvent(QMouseEvent* event) {
  // Mouse up comes before the click, as the hold-to-repeat tuning expects.
  if (event->button() == Qt::LeftButton && isEnabled()) emit mouseUp();
  QToolButton::mouseReleaseEvent(event);
}

void PanelButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionToolButton option;
  initStyleOption(&option);
  if (isChecked()) {
    // A button that is down must be told apart at a glance across the panel.
    option.palette.setColor(QPalette::Button, QColor(150, 175, 210));
    option.state |= QStyle::State_Sunken;
  }
  painter.drawComplexControl(QStyle::CC_ToolButton, option);
}

}  // namespace ondaris
