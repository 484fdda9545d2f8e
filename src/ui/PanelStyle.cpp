#include "ui/PanelStyle.h"

namespace ondaris {

QColor PanelColour(Colour colour) {
  switch (colour) {
    case Colour::Black: return QColor(0, 0, 0);
    case Colour::Maroon: return QColor(128, 0, 0);
    case Colour::Red: return QColor(255, 0, 0);
    case Colour::Aqua: return QColor(0, 255, 255);
    case Colour::Navy:
    case Colour::Default:
    default: return QColor(0, 0, 128);
  }
}

QFont PanelButtonFont(bool bold) {
  QFont font;
  font.setStyleHint(QFont::SansSerif);
  font.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans Narrow"),
                    QStringLiteral("Arial Narrow"), QStringLiteral("Sans Serif")});
  font.setPixelSize(11);
  font.setBold(bold);
  return font;
}

QFont PanelTextFont(int pixelSize, bool bold) {
  QFont font;
  font.setStyleHint(QFont::SansSerif);
  font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                    QStringLiteral("Sans Serif")});
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

}  // namespace ondaris
