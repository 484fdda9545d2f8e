#pragma once
// TLogReport, "Log Report Setup", as a window: the two-row grid Grid (the
// headings of the 18 report columns, dragged to reorder them, and a row of
// "  Y"/"  N" marks toggled by a click), AllCheckbox and SelCheckbox,
// HeaderEdit, OutfileEdit and the buttons NewBtn, OpenBtn, SaveBtn, OKBtn
// ("Generate") and CancelBtn. Everything the buttons do lives in
// LogReportDialog; the window shows its state, writes the boxes back before
// each button and shows the state again after it.

#include <QDialog>
#include <functional>
#include <string>

class QLineEdit;
class QRadioButton;
class QTableWidget;

namespace ondaris {

class LogReportDialog;

class LogReportView : public QDialog {
  Q_OBJECT
 public:
  // Becomes `dialog`'s window (its show and close hooks; the destructor lets
  // go).
  LogReportView(LogReportDialog& dialog, QWidget* parent = nullptr);
  ~LogReportView() override;

  std::function<void(const std::string&)> onError;

  QTableWidget* grid() const { return grid_; }

 private:
  void pull();
  void push();
  template <class Action>
  void act(Action&& action);

  LogReportDialog& dialog_;
  QTableWidget* grid_ = nullptr;
  QRadioButton* all_ = nullptr;
  QRadioButton* selected_ = nullptr;
  QLineEdit* header_ = nullptr;
  QLineEdit* outfile_ = nullptr;
  int syncing_ = 0;
};

}  // namespace ondaris
