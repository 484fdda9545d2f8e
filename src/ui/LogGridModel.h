#pragma once
// The log as a table model for LogGrid. Nothing is copied: every cell is
// read from the display's column store when the view asks for it, and a view
// asks only for the rows it shows, so a log of any length costs only what is
// on screen. The model counts what it is asked for, so that tests can see it.

#include <QAbstractTableModel>
#include <QColor>
#include <set>

#include "logbook/LogDisplay.h"
#include "ui/PanelStyle.h"

namespace ondaris {

class LogGridModel : public QAbstractTableModel {
 public:
  static QColor MarkedColour() { return QColor(128, 0, 0); }
  static QColor PlainColour() { return QColor(0, 0, 128); }

  LogGridModel(LogDisplay& display, QObject* parent) : QAbstractTableModel(parent), display_(display) {
    rows_ = display_.GridRowCount();
  }

  // Follows the display after it changed: a new row count resets the model,
  // otherwise the rows and headers are redrawn.
  void refresh() {
    const int rows = display_.GridRowCount();
    if (rows != rows_) {
      beginResetModel();
      rows_ = rows;
      endResetModel();
      return;
    }
    emit headerDataChanged(Qt::Horizontal, 0, LogGridColumns - 1);
    if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, LogGridColumns - 1));
  }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : rows_; }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : LogGridColumns;
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    const int row = index.row() + 1;
    if (role == Qt::DisplayRole) {
      rowsFetched_.insert(row);
      return PanelText(display_.CellText(row, index.column()));
    }
    if (role == Qt::ForegroundRole) return display_.RowIsMarked(row) ? MarkedColour() : PlainColour();
    return {};
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) return PanelText(display_.HeaderText(section));
    if (role == Qt::ForegroundRole) return QColor(Qt::black);
    return {};
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
  }

  // The distinct grid rows (1-based) whose text was read since the last reset.
  const std::set<int>& rowsFetched() const { return rowsFetched_; }
  void resetFetchCounters() { rowsFetched_.clear(); }

 private:
  LogDisplay& display_;
  int rows_ = 0;
  mutable std::set<int> rowsFetched_;
};

}  // namespace ondaris
