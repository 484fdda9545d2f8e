#pragma once
// TAddEditDlg, the window of EntryEditor: the twelve boxes of one station
// entry, Update Tuning, OK and Cancel. The checks, the messages and what is
// stored live in EntryEditor; this window shows its boxes and passes the
// buttons on. It stays open while OK finds a box to put right.

#include <QDialog>
#include <functional>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace ondaris {

class EntryEditor;

class AddEditDialog : public QDialog {
  Q_OBJECT
 public:
  // Becomes `editor`'s showDialog (the destructor lets go of it again).
  explicit AddEditDialog(EntryEditor& editor, QWidget* parent = nullptr);
  ~AddEditDialog() override;

  // An error that ended one of the buttons' actions (a port that cannot be
  // written while the edited row is tuned). Unset: a message box.
  std::function<void(const std::string&)> onError;

  // The buttons, as the listener presses them.
  void okClicked();
  void updateClicked();
  void cancelClicked();

  // Cancel, Escape and the window's close button.
  void reject() override;

 private:
  // Shows the editor's dialog and runs it modally.
  void run();
  void showFields();
  void takeFields();
  void guarded(const std::function<void()>& action);

  EntryEditor& editor_;
  QLineEdit* name_ = nullptr;
  QLineEdit* freq_ = nullptr;
  QComboBox* mode_ = nullptr;
  QComboBox* filter_ = nullptr;
  QComboBox* step_ = nullptr;
  QLineEdit* pbt_ = nullptr;
  QComboBox* agc_ = nullptr;
  QLineEdit* start_ = nullptr;
  QLineEdit* end_ = nullptr;
  QLineEdit* location_ = nullptr;
  QLineEdit* language_ = nullptr;
  QLineEdit* notes_ = nullptr;
  QPushButton* update_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace ondaris
