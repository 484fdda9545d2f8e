#pragma once
// The big frequency readout: a black panel with aqua digits (red in WWV mode).
// A click reports its position; the tuning controller finds the digit.

#include <QColor>
#include <QString>
#include <QWidget>

namespace ondaris {

class FrequencyDisplay : public QWidget {
  Q_OBJECT
 public:
  explicit FrequencyDisplay(QWidget* parent = nullptr);

  void setText(const QString& text);
  QString text() const { return text_; }
  void setTextColour(const QColor& colour);
  QColor textColour() const { return colour_; }

  QSize sizeHint() const override { return {303, 68}; }

 signals:
  void clicked(int x, int y, int width, int height);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QString text_;
  QColor colour_{0, 255, 255};
};

}  // namespace ondaris
