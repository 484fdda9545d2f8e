#pragma once
// TBandScanDlg, "Band Scan Setup", as a window: the grid BandScanGrid, the
// edit fields bsNameEdit, bsLoFreqEdit, bsHiFreqEdit, bsPBTEdit and
// bsCommentEdit, the combo boxes bsModeCombo, bsAGCCombo, bsFiltCombo,
// bsStepCombo and bsSpeedCombo, the panel LimitPanel and the buttons
// BandScanClearBtn, BandScanEditBtn, BandScanAddBtn, BandScanDeleteBtn,
// BandScanSaveBtn, CanBtn and ScanBtn ("OK"). Everything the buttons do lives
// in BandScanDialog; the window shows its state, writes the edits back before
// each button and shows the state again after it. The grid asks the dialog
// only for the rows it shows. Closing the window any other way is Cancel.

#include <QDialog>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace ondaris {

class BandScanDialog;
class BandScanGridModel;

class BandScanDialogView : public QDialog {
  Q_OBJECT
 public:
  explicit BandScanDialogView(QWidget* parent = nullptr);
  ~BandScanDialogView() override;

  // Becomes `model`'s show hook (the destructor lets go of it again).
  void attach(BandScanDialog& model);
  // Shows `model` modally and returns when it has closed.
  void run(BandScanDialog& model);

  // The buttons, as the listener presses them.
  void clearClicked();
  void replaceClicked();
  void addClicked();
  void deleteClicked();
  void saveClicked();
  void cancelClicked();
  void okClicked();
  // A press on the grid's header at x pixels from the grid's left edge.
  void headerPressed(int x);

  void reject() override;

  QTableView* grid() const { return grid_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Edit texts and combo choices into the dialog.
  void pull();
  // The dialog's state into the widgets.
  void push();
  void pushGrid();
  void pushSelection();
  // Runs a dialog action and shows the state after it; false when it threw.
  template <class Action>
  bool act(Action&& action);
  // A list button: the edits go into the dialog, then the button's action runs.
  void press(void (BandScanDialog::*button)());

  BandScanDialog* model_ = nullptr;
  BandScanDialog* attached_ = nullptr;
  BandScanGridModel* gridModel_ = nullptr;
  QTableView* grid_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* low_ = nullptr;
  QLineEdit* high_ = nullptr;
  QLineEdit* pbt_ = nullptr;
  QLineEdit* comments_ = nullptr;
  QComboBox* mode_ = nullptr;
  QComboBox* agc_ = nullptr;
  QComboBox* filter_ = nullptr;
  QComboBox* step_ = nullptr;
  QComboBox* speed_ = nullptr;
  QLabel* limitPanel_ = nullptr;
  QPushButton* save_ = nullptr;
  bool updating_ = false;  // the window is being set from the dialog
};

}  // namespace ondaris
