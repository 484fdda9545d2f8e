#pragma once
// TDataPgmDlg, "Program and Review Data Modes", as a window: the review table
// of D-1..D-5, the edits TitleEdit, PBTEdit and CWTEdit, the combo boxes
// FiltCombo and StepCombo, the mode and AGC radio buttons and the buttons
// GetBtn, OKBtn and CancelBtn. The checks live in DataProgramDialog.

#include <QDialog>
#include <functional>
#include <string>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace ondaris {

class DataProgramDialog;

class DataProgramDialogView : public QDialog {
  Q_OBJECT
 public:
  explicit DataProgramDialogView(QWidget* parent = nullptr);

  // Shows `model` modally and returns when it has closed.
  void run(DataProgramDialog& model);
  // An error that ended OK (a number that is none, a file not written).
  std::function<void(const std::string&)> onError;

  void getClicked();
  void okClicked();

 private:
  void showModel();
  void takeFields();

  DataProgramDialog* model_ = nullptr;
  QLabel* heading_ = nullptr;
  QTableWidget* review_ = nullptr;
  QLineEdit* title_ = nullptr;
  QLineEdit* pbt_ = nullptr;
  QLineEdit* cwTone_ = nullptr;
  QComboBox* filter_ = nullptr;
  QComboBox* step_ = nullptr;
  QButtonGroup* modes_ = nullptr;
  QButtonGroup* agc_ = nullptr;
};

}  // namespace ondaris
