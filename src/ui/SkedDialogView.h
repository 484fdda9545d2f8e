#pragma once
// TSkedDlg, "Scheduler", as a window over SkedDialog: the schedule's Grid,
// the edit fields (DateEdit, DateOffEdit, OnTimeEdit, OffTimeEdit,
// StationEdit, FreqEdit, PBTEdit), the combo boxes (ModeCombo, FiltCombo,
// AGCCombo), the check boxes (RecordChk, MuteSpkrChk, MuteLineChk) and the
// buttons (AddBtn, ReplaceBtn, DeleteBtn, ClearBtn, FromFileBtn, TuningBtn,
// CopyDailyBtn, CopyWeeklyBtn, OnOffBtn, ExitBtn). Before each button the
// listener's texts go to the model, after it the model's fields come back.
// The window is modal to the listener but does not hold up the clock, whose
// minute check may start or end a broadcast while it is open.

#include <QDialog>
#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace ondaris {

class SkedDialog;

class SkedDialogView : public QDialog {
 public:
  SkedDialogView(SkedDialog& model, QWidget* parent);
  ~SkedDialogView() override;

  // A conversion error of a button (non-numeric time, frequency or PBT);
  // without it the error is shown in a message box.
  std::function<void(const std::string&)> onError;

 protected:
  void reject() override;

 private:
  void pull();
  void push();
  void fillGrid();
  template <class Action>
  void act(Action&& action);

  SkedDialog& model_;
  QTableWidget* grid_;
  QLineEdit *date_, *dateOff_, *onTime_, *offTime_, *station_, *freq_, *pbt_;
  QComboBox *mode_, *filter_, *agc_;
  QCheckBox *record_, *muteSpkr_, *muteLine_;
  QPushButton* onOff_;
};

}  // namespace ondaris
