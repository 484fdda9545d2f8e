#pragma once
// The two small tag dialogs of the scratchpad as windows: TTagEntryDlg
// ("Scratchpad Memory Tag Entry", edit TagEdit) and TBankTagDlg ("Bank Tag
// Entry", edit BankTagEdit, label BankTagLabel). What the tag does lives in
// the dialog model; the window shows its caption, label and text, writes the
// edited text back and passes OK and Cancel on.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ondaris {

class TagDialogModel;

class TagDialogView : public QDialog {
  Q_OBJECT
 public:
  enum class Kind { MemoryTag, BankTag };

  explicit TagDialogView(Kind kind, QWidget* parent = nullptr);

  // Shows `model` modally and returns when OK or Cancel has been passed on
  // (closing the window otherwise counts as Cancel).
  void run(TagDialogModel& model);

  // The buttons, as the listener presses them.
  void okClicked();
  void cancelClicked();
  void reject() override;

  QLineEdit* edit() const { return edit_; }
  QLabel* label() const { return label_; }

 private:
  TagDialogModel* model_ = nullptr;
  QLabel* label_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace ondaris
