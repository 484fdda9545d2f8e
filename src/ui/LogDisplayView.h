#pragma once
// TLogDisplayDlg, "Log Display and Edit", as a window: the grid LogGrid, the
// find row (MatchBox, FindBtn, FindEdit, FindNextBtn, ExtractBtn), the edit
// boxes of the shown record, SigEdit and the buttons. Everything the buttons
// do lives in LogDisplay; the window shows its state, writes the boxes back
// before each button and shows the state again after it. The grid asks the
// display only for the rows it shows.
//
// The window is not modal: the listener can go on tuning and writing log
// entries while it is open (the entries join it). Closing it any other way
// is Close.

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace ondaris {

class LogDisplay;
class LogGridModel;

class LogDisplayView : public QWidget {
  Q_OBJECT
 public:
  // Becomes `display`'s window (its show, hide and gridChanged hooks).
  LogDisplayView(LogDisplay& display, QWidget* parent = nullptr);
  ~LogDisplayView() override;

  std::function<void(const std::string&)> onError;

  QTableView* grid() const { return grid_; }
  LogGridModel* gridModel() const { return model_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPushButton* button(const char* name, const char* caption, const char* hint,
                      const std::function<void()>& action);
  void pull();
  void push();
  void pushGrid();
  void reportCursor();
  template <class Action>
  void act(Action&& action);

  LogDisplay& display_;
  LogGridModel* model_ = nullptr;
  QTableView* grid_ = nullptr;
  QCheckBox* match_ = nullptr;
  QLineEdit* find_ = nullptr;
  QLineEdit* sig_ = nullptr;
  QPlainTextEdit* notes_ = nullptr;
  QPushButton* findNext_ = nullptr;
  QPushButton* save_ = nullptr;
  std::vector<QPushButton*> exportButtons_;
  std::vector<std::pair<QLineEdit*, std::string*>> edits_;
  int syncing_ = 0;
  bool hiding_ = false;
};

}  // namespace ondaris
