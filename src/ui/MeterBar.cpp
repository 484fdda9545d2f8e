#include "ui/MeterBar.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace ondaris {

MeterBar::MeterBar(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAccessibleName(QStringLiteral("S-Meter"));
}

void MeterBar::setRange(int minimum, int maximum) {
  if (maximum < minimum) maximum = minimum;
  if (minimum == minimum_ && maximum == maximum_) return;
  minimum_ = minimum;
  maximum_ = maximum;
  value_ = std::clamp(value_, minimum_, maximum_);
  announce();
  update();
}

void MeterBar::setValue(int value) {
  value = std::clamp(value, minimum_, maximum_);
  if (value == value_) return;
  value_ = value;
  announce();
  update();
}

double MeterBar::fraction() const {
  if (maximum_ <= minimum_) return 0.0;
  return static_cast<double>(value_ - minimum_) / (maximum_ - minimum_);
}

void MeterBar::announce() {
  if (!QAccessible::isActive()) return;
  QAccessibleValueChangeEvent event(this, value_);
  QAccessible::updateAccessibility(&event);
}

void MeterBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRectF outer = rect();
  painter.fillRect(outer, QColor(0x60, 0x60, 0x60));
  const QRectF inner = outer.adjusted(2, 2, -2, -2);
  painter.fillRect(inner, Qt::black);

  // Segments light up from the left: green, then amber and red toward full scale.
  const int segments = 30;
  const double gap = 1.0;
  const double segWidth = (inner.width() - gap * (segments + 1)) / segments;
  const int lit = static_cast<int>(fraction() * segments + 0.5);
  for (int i = 0; i < segments; ++i) {
    const double x = inner.left() + gap + i * (segWidth + gap);
    const QRectF seg(x, inner.top() + 3, segWidth, inner.height() - 6);
    QColor colour = i < segments * 0.6 ? QColor(0, 220, 120) : (i < segments * 0.85 ? QColor(240, 200, 0)
                                                                                      : QColor(240, 40, 40));
    if (i >= lit) colour = colour.darker(420);
    painter.fillRect(seg, colour);
  }
}

void MeterBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit clicked();
  QWidget::mousePressEvent(event);
}

}  // namespace ondaris
