#include "ui/KeyboardMap.h"

#include <QKeyEvent>

namespace ondaris {

std::optional<char> PreviewCharacter(const QKeyEvent& event) {
  if (event.type() != QEvent::KeyPress) return std::nullopt;
  const Qt::KeyboardModifiers mods = event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
  if (mods != Qt::NoModifier) return std::nullopt;
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return '\r';
    case Qt::Key_Space: return ' ';
    default: break;
  }
  const QString text = event.text();
  if (text.size() != 1) return std::nullopt;
  const QChar c = text.at(0);
  if (c.unicode() < 0x20 || c.unicode() > 0x7e) return std::nullopt;
  return static_cast<char>(c.unicode());
}

std::optional<char> CtrlReleaseKey(const QKeyEvent& event) {
  if (event.type() != QEvent::KeyRelease || event.isAutoRepeat()) return std::nullopt;
  if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier) return std::nullopt;
  const int key = event.key();
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<char>('A' + (key - Qt::Key_A));
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<char>('0' + (key - Qt::Key_0));
  if (key == Qt::Key_Equal || key == Qt::Key_Plus) return '=';
  return std::nullopt;
}

}  // namespace ondaris
