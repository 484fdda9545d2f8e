#pragma once
// TLogEntryDlg, "Log Entry", as a modal dialog: the combo boxes CodeCombo,
// ModeCombo, UserCombo (Country), User2Edit (Misc) and IDEdit with their pick
// lists, the edits FreqText, DateText, TimeText, OffEdit, Rpt1Edit, Rpt2Edit,
// the memo NotesMemo, the clock ClkPanel and the buttons AddBtn, WriteBtn and
// CancelBtn. Everything they do lives in LogEntryDialog.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace ondaris {

class LogEntryDialog;
class PanelLabel;

class LogEntryDialogView : public QDialog {
  Q_OBJECT
 public:
  // Becomes `model`'s show hook (the destructor lets go of it again).
  LogEntryDialogView(LogEntryDialog& model, QWidget* parent = nullptr);
  ~LogEntryDialogView() override;

  std::function<void(const std::string&)> onError;

  void writeClicked();

 private:
  void pull();
  void push();
  void guarded(const std::function<void()>& action);

  LogEntryDialog& model_;
  std::vector<std::pair<QComboBox*, int>> combos_;        // box, pick list
  std::vector<std::pair<QLineEdit*, std::string*>> edits_;
  QPlainTextEdit* notes_ = nullptr;
  PanelLabel* clock_ = nullptr;
};

}  // namespace ondaris
