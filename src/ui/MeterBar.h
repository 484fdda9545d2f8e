#pragma once
// The signal-strength bar: position 0..maximum, drawn as a lit scale on a
// dark panel. A click toggles the meter's sensitivity (handled by the owner).

#include <QWidget>

namespace ondaris {

class MeterBar : public QWidget {
  Q_OBJECT
 public:
  explicit MeterBar(QWidget* parent = nullptr);

  void setRange(int minimum, int maximum);
  void setValue(int value);
  int value() const { return value_; }
  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }
  // The reading as a fraction of full scale, 0..1.
  double fraction() const;

  QSize sizeHint() const override { return {153, 28}; }

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void announce();
  int minimum_ = 0;
  int maximum_ = 10000;
  int value_ = 0;
};

}  // namespace ondaris
