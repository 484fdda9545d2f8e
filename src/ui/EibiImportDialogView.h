#pragma once
// The options of "Import EiBi Schedule..." as a window: the check boxes
// OnAirOnlyCheck and RangeOnlyCheck, the edits FromKHzEdit and ToKHzEdit,
// OK (the default button) and Cancel. The checks, the messages and the
// import itself live in EibiImport; the window shows its fields, writes
// them back and passes the buttons on. It stays open while OK refuses the
// range.

#include <QDialog>
#include <functional>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace ondaris {

class EibiImport;

class EibiImportDialogView : public QDialog {
  Q_OBJECT
 public:
  explicit EibiImportDialogView(QWidget* parent = nullptr);

  // Shows `model` modally and returns when it has closed.
  void run(EibiImport& model);

  // An error that ended OK. Unset: a message box.
  std::function<void(const std::string&)> onError;

  // The buttons, as the listener presses them.
  void okClicked();
  void cancelClicked();

  QCheckBox* onAirCheck() const { return onAir_; }
  QCheckBox* rangeCheck() const { return range_; }
  QLineEdit* fromEdit() const { return from_; }
  QLineEdit* toEdit() const { return to_; }

 private:
  void showRangeEnabled();

  EibiImport* model_ = nullptr;
  QCheckBox* onAir_ = nullptr;
  QCheckBox* range_ = nullptr;
  QLineEdit* from_ = nullptr;
  QLineEdit* to_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace ondaris
