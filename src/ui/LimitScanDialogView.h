#pragma once
// TLimitScanDlg, "Limit Scan Setup", as a window: the two limit edits
// LoLimitEdit and HiLimitEdit with OK (the default button) and Cancel. The
// checks and their messages live in LimitScanDialog; the window shows the
// edits' texts, writes them back and passes the buttons on. It stays open
// while OK finds a limit that is no number.

#include <QDialog>
#include <functional>
#include <string>

class QLineEdit;
class QPushButton;

namespace ondaris {

class LimitScanDialog;

class LimitScanDialogView : public QDialog {
  Q_OBJECT
 public:
  explicit LimitScanDialogView(QWidget* parent = nullptr);

  // Shows `model` modally and returns when it has closed.
  void run(LimitScanDialog& model);

  // An error that ended OK. Unset: a message box.
  std::function<void(const std::string&)> onError;

  // The buttons, as the listener presses them.
  void okClicked();
  void cancelClicked();

  QLineEdit* lowEdit() const { return low_; }
  QLineEdit* highEdit() const { return high_; }

 private:
  LimitScanDialog* model_ = nullptr;
  QLineEdit* low_ = nullptr;
  QLineEdit* high_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace ondaris
