#pragma once
// TAlarmDlg, "Clock Radio Controls", as a window: HourCombo, MinuteCombo,
// UTCCombo, the mode buttons (AlmOffBtn, RadioAlmBtn, RadioOnlyBtn,
// AlmOnlyBtn), StoreBtn, StationEdit, TimePanel, the sleep buttons
// (Sleep120Btn..Sleep0Btn), SleepPanel, TestBtn, SilenceBtn, ClkPanel, OKBtn
// and CancelBtn. The behaviour lives in AlarmClock. The window is modal to
// the listener but does not hold up the clock, which may open it itself
// when the alarm goes off.

#include <QDialog>
#include <array>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace ondaris {

class AlarmClock;

class AlarmDialogView : public QDialog {
 public:
  AlarmDialogView(AlarmClock& model, QWidget* parent);
  ~AlarmDialogView() override;

 protected:
  void reject() override;
  void done(int result) override;

 private:
  void pull();
  void push();
  void pushLabels();
  template <class Action>
  void act(Action&& action);

  AlarmClock& model_;
  QComboBox *hour_, *minute_, *utc_;
  QButtonGroup *modes_, *sleeps_;
  QLineEdit* station_;
  QLabel *timePanel_, *sleepPanel_, *clkPanel_;
  QPushButton *test_, *silence_;
  QTimer* refresh_;
};

}  // namespace ondaris
