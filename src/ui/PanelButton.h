#pragma once
// A speed button of the panel: it never takes the keyboard focus, shows its
// pressed state as the model says, and reports mouse down, mouse up and the
// right button as well as clicks.

#include <QToolButton>

namespace ondaris {

class PanelButton : public QToolButton {
  Q_OBJECT
 public:
  explicit PanelButton(QWidget* parent = nullptr);

  // What a left click with the mouse does: mouse down, mouse up, click.
  // The accessible actions use it, so that they act exactly as the mouse.
  void clickAsTheMouse();

 signals:
  void mouseDown();
  void mouseUp();
  void rightClicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace ondaris
