#include "ui/FrequencyDisplay.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

#include "ui/FrequencyLayout.h"
#include "ui/PanelStyle.h"

namespace ondaris {

namespace {

// Digits 53 pixels high in a narrow face; drawn narrower still (below) to fit
// the 30-pixel digit bands.
QFont DigitFont() {
  QFont font = PanelTextFont(53, true);
  font.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans Narrow"),
                    QStringLiteral("Arial Narrow"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
  return font;
}

constexpr double GlyphNarrowing = 0.86;

}  // namespace

FrequencyDisplay::FrequencyDisplay(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAccessibleDescription(QStringLiteral("Frequency in kHz"));
}

void FrequencyDisplay::setText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  // Screen readers read the frequency as the display's name and value.
  setAccessibleName(text_);
  if (QAccessible::isActive()) {
    QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
  }
  update();
}

void FrequencyDisplay::setTextColour(const QColor& colour) {
  if (colour == colour_) return;
  colour_ = colour;
  update();
}

void FrequencyDisplay::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setPen(colour_);

  QFont font = DigitFont();
  painter.setFont(font);

  const std::string latin = text_.toLatin1().toStdString();
  const auto cells = FrequencyGlyphCells(latin, width());
  if (cells.empty()) {
    // Not a frequency: shown as it is, narrowed until it fits.
    QFontMetricsF metrics(font);
    while (font.pixelSize() > 12 && metrics.horizontalAdvance(text_) > width() - 8) {
      font.setPixelSize(font.pixelSize() - 2);
      metrics = QFontMetricsF(font);
    }
    painter.setFont(font);
    painter.drawText(rect(), Qt::AlignCenter, text_);
    return;
  }
  for (const GlyphCell& cell : cells) {
    // Each glyph is centred on its cell and drawn a little narrower than the
    // font has it, so that neighbouring digits stay apart; the point's glyph
    // may spill over its narrow cell.
    const double centre = (cell.left + cell.right) / 2;
    painter.save();
    painter.translate(centre, 0);
    painter.scale(GlyphNarrowing, 1.0);
    painter.drawText(QRectF(-40, 0, 80, height()), Qt::AlignHCenter | Qt::AlignVCenter,
                     QString(QLatin1Char(cell.character)));
    painter.restore();
  }
}

void FrequencyDisplay::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    const QPoint p = event->position().toPoint();
    emit clicked(p.x(), p.y(), width(), height());
  }
  QWidget::mousePressEvent(event);
}

}  // namespace ondaris
