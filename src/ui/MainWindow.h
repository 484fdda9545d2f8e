#pragma once
// The front panel's window. It shows the control model and hands every
// action of the listener to PanelActions; it holds no receiver logic.

#include <QMainWindow>
#include <QUrl>
#include <array>
#include <functional>

#include "panel/PanelModel.h"
#include "ui/PanelActions.h"

class QAction;
class QMenu;
class QSlider;
class QLabel;
class QTableView;

namespace ondaris {

class StationGrid;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(PanelModel& model, PanelActions& actions, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The widget of a control of the panel, or the action of a menu item.
  QWidget* controlWidget(Ctl control) const { return widgets_[Index(control)]; }
  QAction* menuAction(Ctl control) const { return actions_[Index(control)]; }
  QWidget* panelArea() const { return area_; }

  // Shows the station list of `stations` in `Grid` and routes the grid's events
  // to it (call once, before start-up sets up the grid).
  void setStationGrid(StationGrid& stations);

  // Whether control hints are shown as tooltips (the "Show Hints" check mark).
  bool hintsShown() const { return hintsShown_; }

  // Opens a help page (by default with the desktop's "open" action of the
  // actions' shell); replaceable so that tests need no desktop.
  std::function<bool(const QUrl&)> openUrl;
  // Shows the about box modally; replaceable for tests.
  std::function<void()> showAbout;

  // The help page for a path below the program folder, e.g. "help/OndarisHelp.html":
  // the program folder's copy, else the one next to the executable, else the
  // installed one. Empty when none exists.
  QString findHelpPage(const QString& relativePath) const;

  // Shows an error that ended an action in the line under the panel (hidden
  // while there is none); an empty text clears it.
  void showError(const std::string& text);
  QString errorText() const;

  // Redraws one control, or all of them, from the model.
  void render(Ctl control);
  void renderAll();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  static int Index(Ctl control) { return static_cast<int>(control); }
  void buildPanel();
  void buildMenus();
  QAction* addItem(QMenu* menu, Ctl item, bool checkable = false);
  void renderMenuItem(Ctl control);
  void renderTooltip(Ctl control);
  void setHintsShown(bool shown);

  // Runs a listener's action; an error ends the action and is reported.
  void guarded(const std::function<void()>& action);
  void buttonClicked(Ctl control);
  void menuTriggered(Ctl control);
  void sliderMoved(Ctl control, int value);
  void openHelp(const QString& relativePath);

  PanelModel& model_;
  PanelActions& actions_sink_;
  QWidget* area_ = nullptr;
  QLabel* errorLine_ = nullptr;
  std::array<QWidget*, ControlCount> widgets_{};
  std::array<QAction*, ControlCount> actions_{};
  bool hintsShown_ = false;
  bool shutdownDone_ = false;
  std::function<void(Ctl)> previousOnChanged_;
  std::function<void()> previousOnTitleChanged_;
};

}  // namespace ondaris
