#pragma once
// The frequency grid `Grid`: a table view over FrequencyGridModel that
// follows the station list's controller (rows, cursor, top row, column
// widths) and hands it the listener's clicks, keys, scrolling and header
// presses. Rows are drawn on white, navy or (on the air now) maroon, the
// selected rows in bold.

#include <QTableView>
#include <functional>
#include <string>

#include "ui/FrequencyGridModel.h"

namespace ondaris {

class StationGrid;

class FrequencyGridView : public QTableView {
  Q_OBJECT
 public:
  explicit FrequencyGridView(QWidget* parent = nullptr);
  ~FrequencyGridView() override;

  // Shows `controller`'s list and takes over its grid hooks (nullptr lets go).
  void setController(StationGrid* controller);
  StationGrid* controller() const { return controller_; }
  FrequencyGridModel* gridModel() const { return model_; }

  // An error that ended one of the listener's actions on the grid.
  std::function<void(const std::string&)> onError;

  // The grid's own coordinates of a point in the header (x from 1, one pixel
  // between columns), as the header's hot zones are measured.
  int headerGridX(int headerX) const;

  // The font sizes of the header, plain rows and selected rows, by the
  // width of the window.
  static int HeaderFontSize(int windowWidth) { return windowWidth > 600 ? 11 : 8; }
  static int PlainFontSize(int windowWidth) { return windowWidth > 600 ? 11 : 9; }
  static int SelectedFontSize(int windowWidth) { return windowWidth > 600 ? 10 : 8; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void guarded(const std::function<void()>& action);
  void followContents();
  void followPosition();
  void followColumns();
  void reportCursor();
  void reportSize();
  void applyFonts();

  FrequencyGridModel* model_ = nullptr;
  StationGrid* controller_ = nullptr;
  int syncing_ = 0;
};

}  // namespace ondaris
