#pragma once
// TRecordDlg, "Manual Record and Playback", as a window that is not modal:
// RecordBtn, StopBtn, PlayBtn, PauseBtn, ByeBtn ("Exit"), StatusDisp, PBBar
// and the timed-recording group TimedRecPanel (LessTimeBtn, MoreTimeBtn,
// ManualBtn, TimedRecDisp). The behaviour lives in Recorder; the window
// forwards the buttons and shows the recorder's fields, also as the clock
// changes them. Closing the window is Exit.

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QWidget;

namespace ondaris {

class Recorder;

class RecordDialogView : public QDialog {
 public:
  RecordDialogView(Recorder& model, QWidget* parent);
  ~RecordDialogView() override;
  void push();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  template <class Action>
  void act(Action&& action);

  Recorder& model_;
  QPushButton *record_, *stop_, *play_, *pause_, *bye_, *less_, *more_, *manual_;
  QLabel *status_, *timedDisp_;
  QWidget* timedPanel_;
  QProgressBar* bar_;
  QTimer* refresh_;
};

}  // namespace ondaris
