#pragma once
// A black panel with aqua text (status line, clock, bank number, PBT value)
// that reports clicks.

#include <QLabel>

namespace ondaris {

class PanelLabel : public QLabel {
  Q_OBJECT
 public:
  explicit PanelLabel(QWidget* parent = nullptr);
  void setTextColour(const QColor& colour);

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace ondaris
