#pragma once
// TMFLookupDlg, "Master Frequency List Lookup": the master-list lines near
// the tuned frequency in the three-column grid MFLGrid, with Open File and
// OK. What the lines are and what Open File does live in LookupController;
// this window shows the lines and passes the buttons on.

#include <QDialog>
#include <functional>
#include <string>

class QPushButton;
class QTableWidget;

namespace ondaris {

class LookupController;

class LookupDialog : public QDialog {
  Q_OBJECT
 public:
  // Becomes `lookup`'s showDialog (the destructor lets go of it again).
  explicit LookupDialog(LookupController& lookup, QWidget* parent = nullptr);
  ~LookupDialog() override;

  // An error that ended Open File (a file that cannot be read). Unset: a
  // message box.
  std::function<void(const std::string&)> onError;

  QTableWidget* grid() const { return grid_; }

  // The buttons, as the listener presses them.
  void openFileClicked();
  void okClicked();

  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void run();
  void showRows();

  LookupController& lookup_;
  QTableWidget* grid_ = nullptr;
  QPushButton* openFile_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace ondaris
