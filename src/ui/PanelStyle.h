#pragma once
// Colours and fonts of the front panel.

#include <QColor>
#include <QFont>
#include <QString>
#include <string>

#include "panel/PanelModel.h"

namespace ondaris {

// The panel's named colours; Default is the window's navy text.
QColor PanelColour(Colour colour);

// The small sans-serif the buttons and menus use, bold or regular.
QFont PanelButtonFont(bool bold);
// The font of the black text panels (pixel height, bold).
QFont PanelTextFont(int pixelSize, bool bold);

// Program texts and data texts are single-byte; the panel shows them as Latin-1.
inline QString PanelText(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace ondaris
