#include "ui/FrequencyGridView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>
#include <exception>

#include "freqfiles/StationGrid.h"

namespace ondaris {

namespace {

constexpr int RowHeight = 20;
constexpr int TextLeft = 6;
constexpr int TextTop = 2;

// White cells; the text 6 pixels right of and 2 below the cell's corner, in
// the row's colour, bold and one size smaller in the selected rows.
class FrequencyGridDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool selected = option.state & QStyle::State_Selected;
    const QWidget* view = option.widget;
    const int windowWidth = view ? view->window()->width() : 745;
    QFont font = option.font;
    font.setPointSize(selected ? FrequencyGridView::SelectedFontSize(windowWidth)
                               : FrequencyGridView::PlainFontSize(windowWidth));
    font.setBold(selected);

    painter->save();
    painter->fillRect(option.rect, Qt::white);
    const QVariant colour = index.data(Qt::ForegroundRole);
    painter->setPen(colour.canConvert<QColor>() ? colour.value<QColor>() : FrequencyGridModel::PlainColour());
    painter->setFont(font);
    painter->setClipRect(option.rect);
    painter->drawText(option.rect.adjusted(TextLeft, TextTop, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
  }
};

GridMouseButton ButtonOf(Qt::MouseButton button) {
  if (button == Qt::RightButton) return GridMouseButton::Right;
  if (button == Qt::LeftButton) return GridMouseButton::Left;
  return GridMouseButton::Middle;
}

bool IsNavigationKey(int key) {
  return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown ||
         key == Qt::Key_Home || key == Qt::Key_End;
}

}  // namespace

FrequencyGridView::FrequencyGridView(QWidget* parent) : QTableView(parent) {
  model_ = new FrequencyGridModel(this);
  setModel(model_);
  setItemDelegate(new FrequencyGridDelegate(this));
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setTabKeyNavigation(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);

  verticalHeader()->setVisible(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(RowHeight);
  QHeaderView* header = horizontalHeader();
  header->setHighlightSections(false);
  header->setSectionsClickable(false);
  header->setSectionsMovable(false);
  header->setStretchLastSection(false);
  header->setSectionResizeMode(QHeaderView::Interactive);
  // Stored widths are taken as they are, however narrow.
  header->setMinimumSectionSize(1);
  header->viewport()->installEventFilter(this);
  QPalette headerPalette = header->palette();
  headerPalette.setColor(QPalette::ButtonText, Qt::black);
  header->setPalette(headerPalette);

  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
    if (syncing_ || !controller_) return;
    guarded([this, value] { controller_->GridTopLeftChanged(value + 1); });
  });
  connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex&) {
    if (!controller_) return;
    guarded([this] { controller_->GridClick(); });
  });
  connect(header, &QHeaderView::sectionResized, this, [this](int column, int, int width) {
    if (syncing_ || !controller_) return;
    controller_->GridColumnResized(column, width);
  });

  applyFonts();
  followColumns();
}

FrequencyGridView::~FrequencyGridView() { setController(nullptr); }

void FrequencyGridView::setController(StationGrid* controller) {
  if (controller_) {
    controller_->gridContentsChanged = nullptr;
    controller_->gridPositionChanged = nullptr;
    controller_->gridColumnsChanged = nullptr;
    controller_->focusGrid = nullptr;
  }
  controller_ = controller;
  ++syncing_;
  model_->setController(controller);
  --syncing_;
  if (controller_) {
    controller_->gridContentsChanged = [this] { followContents(); };
    controller_->gridPositionChanged = [this] { followPosition(); };
    controller_->gridColumnsChanged = [this] { followColumns(); };
    controller_->focusGrid = [this] {
      if (isEnabled() && isVisible()) setFocus(Qt::OtherFocusReason);
    };
    reportSize();
  }
  applyFonts();
  followColumns();
  followPosition();
}

void FrequencyGridView::guarded(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& error) {
    if (onError) onError(error.what());
  } catch (...) {
    if (onError) onError("Unexpected error.");
  }
}

// ---- Following the controller ----------------------------------------------------

void FrequencyGridView::followContents() {
  ++syncing_;
  const bool reset = model_->refresh();
  --syncing_;
  if (reset) followPosition();
}

void FrequencyGridView::followPosition() {
  if (!controller_) return;
  const FrequencyGridState& grid = controller_->grid;
  ++syncing_;
  // The scroll range must match the present row count before the top row is set.
  executeDelayedItemsLayout();
  updateGeometries();
  const int rows = model_->rowCount();
  QItemSelectionModel* selection = selectionModel();
  if (grid.Row >= 1 && grid.Row <= rows) {
    const int top = std::clamp(std::min(grid.SelectionTop, grid.Row), 1, rows);
    const int bottom = std::clamp(std::max(grid.SelectionBottom, grid.Row), 1, rows);
    selection->setCurrentIndex(model_->index(grid.Row - 1, 0), QItemSelectionModel::NoUpdate);
    selection->select(QItemSelection(model_->index(top - 1, 0), model_->index(bottom - 1, GridColumnCount - 1)),
                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  } else {
    selection->clear();
  }
  verticalScrollBar()->setValue(grid.TopRow - 1);
  --syncing_;
  // Near the end of the list the view cannot scroll as far as asked.
  controller_->grid.TopRow = verticalScrollBar()->value() + 1;
}

void FrequencyGridView::followColumns() {
  ++syncing_;
  const GridColumnWidths widths =
      controller_ ? controller_->grid.ColWidths
                  : DefaultGridWidths(width() - 2 * frameWidth() - verticalScrollBar()->sizeHint().width());
  for (int c = 0; c < GridColumnCount; ++c) setColumnWidth(c, widths[static_cast<std::size_t>(c)]);
  --syncing_;
}

// ---- Reporting to the controller ---------------------------------------------------

void FrequencyGridView::reportCursor() {
  if (syncing_ || !controller_) return;
  const QModelIndex current = currentIndex();
  const int row = current.isValid() ? current.row() + 1 : controller_->grid.Row;
  int top = row;
  int bottom = row;
  const QModelIndexList rows = selectionModel()->selectedRows();
  if (!rows.isEmpty()) {
    top = bottom = rows.front().row() + 1;
    for (const QModelIndex& index : rows) {
      top = std::min(top, index.row() + 1);
      bottom = std::max(bottom, index.row() + 1);
    }
  }
  controller_->GridCursorMoved(row, top, bottom);
}

void FrequencyGridView::reportSize() {
  if (!controller_) return;
  controller_->SetGridClientWidth(width() - 2 * frameWidth() - verticalScrollBar()->sizeHint().width());
  const int dataHeight = height() - 2 * frameWidth() - horizontalHeader()->sizeHint().height();
  controller_->SetGridVisibleRows(dataHeight / RowHeight);
}

void FrequencyGridView::applyFonts() {
  QFont headerFont = horizontalHeader()->font();
  headerFont.setPointSize(HeaderFontSize(window()->width()));
  horizontalHeader()->setFont(headerFont);
}

int FrequencyGridView::headerGridX(int headerX) const {
  const int column = horizontalHeader()->logicalIndexAt(headerX);
  if (column < 0) return -1;
  const GridColumnWidths widths = controller_ ? controller_->grid.ColWidths : GridColumnWidths{};
  return GridColumnLeft(widths, column) + headerX - horizontalHeader()->sectionViewportPosition(column);
}

// ---- The listener's events -----------------------------------------------------

void FrequencyGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  reportCursor();
}

void FrequencyGridView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
  QTableView::selectionChanged(selected, deselected);
  reportCursor();
}

void FrequencyGridView::keyPressEvent(QKeyEvent* event) {
  if (!controller_) {
    QTableView::keyPressEvent(event);
    return;
  }
  const int key = event->key();
  bool used = false;
  guarded([this, key, &used] { used = controller_->GridKeyDown(key); });
  if (used) {
    event->accept();
    return;
  }
  // The grid has no type-ahead search: only the keys that move the cursor.
  if (IsNavigationKey(key))
    QTableView::keyPressEvent(event);
  else
    event->ignore();
}

void FrequencyGridView::mousePressEvent(QMouseEvent* event) {
  if (controller_) {
    const QPoint at = event->position().toPoint();
    const int headerHeight = horizontalHeader()->height();
    const GridMouseButton button = ButtonOf(event->button());
    guarded([this, button, at, headerHeight] {
      controller_->GridMouseDown(button, at.x() + 1, at.y() + headerHeight, headerHeight);
    });
  }
  QTableView::mousePressEvent(event);
}

bool FrequencyGridView::eventFilter(QObject* watched, QEvent* event) {
  if (controller_ && watched == horizontalHeader()->viewport() && event->type() == QEvent::MouseButtonPress) {
    auto* press = static_cast<QMouseEvent*>(event);
    const QPoint at = press->position().toPoint();
    const int x = headerGridX(at.x());
    const int headerHeight = horizontalHeader()->height();
    const GridMouseButton button = ButtonOf(press->button());
    guarded([this, button, x, at, headerHeight] { controller_->GridMouseDown(button, x, at.y(), headerHeight); });
  }
  return QTableView::eventFilter(watched, event);
}

void FrequencyGridView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  reportSize();
  applyFonts();
  if (!controller_) followColumns();
}

}  // namespace ondaris
