#pragma once
// The station list as a table model for the grid. Nothing is copied: every
// cell is read from the list's columns through the current row order when
// the view asks for it, and a view asks only for the rows it shows, so a
// list of any length costs only what is on screen. The model counts what it
// is asked for, so that tests and benchmarks can see that.
//
// Kept entirely in this header (no signals or slots of its own) so that
// anything linking Qt Widgets can use it.

#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <algorithm>
#include <climits>
#include <set>
#include <string>

#include "freqfiles/StationGrid.h"

namespace ondaris {

class FrequencyGridModel : public QAbstractTableModel {
 public:
  // Text colours of the rows: on the air now, and all others.
  static QColor OnAirColour() { return QColor(128, 0, 0); }
  static QColor PlainColour() { return QColor(0, 0, 128); }

  explicit FrequencyGridModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  // The list shown; without one the grid shows its header and empty rows.
  void setController(StationGrid* controller) {
    beginResetModel();
    controller_ = controller;
    rows_ = CurrentRows();
    endResetModel();
  }
  StationGrid* controller() const { return controller_; }

  // Follows the controller after it changed the rows: a new row count resets
  // the model, otherwise the rows are redrawn. True when it was reset.
  bool refresh() {
    const int rows = CurrentRows();
    if (rows != rows_) {
      beginResetModel();
      rows_ = rows;
      endResetModel();
      return true;
    }
    if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, GridColumnCount - 1));
    return false;
  }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : rows_; }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : GridColumnCount;
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || !controller_) return {};
    const int row = index.row() + 1;  // grid rows count from 1 below the header
    switch (role) {
      case Qt::DisplayRole: {
        NoteFetch(row);
        const std::string text = controller_->CellText(row, index.column());
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
      }
      case Qt::ForegroundRole:
        NoteFetch(row);
        return controller_->RowIsOnAir(row) ? OnAirColour() : PlainColour();
      default:
        return {};
    }
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) return QString::fromLatin1(GridHeader(section));
    if (role == Qt::ForegroundRole) return QColor(Qt::black);
    return {};
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
  }

  // ---- What the view asked for since the last reset of the counters ----
  void resetFetchCounters() {
    fetches_ = 0;
    rowsFetched_.clear();
  }
  // Cell reads (text and colour) that went to the list.
  long long fetchCount() const { return fetches_; }
  // The distinct grid rows (1-based) that were read.
  const std::set<int>& rowsFetched() const { return rowsFetched_; }
  int lowestRowFetched() const { return rowsFetched_.empty() ? 0 : *rowsFetched_.begin(); }
  int highestRowFetched() const { return rowsFetched_.empty() ? 0 : *rowsFetched_.rbegin(); }

 private:
  int CurrentRows() const { return controller_ ? std::max(controller_->ViewRowCount(), 0) : 6; }
  void NoteFetch(int row) const {
    ++fetches_;
    rowsFetched_.insert(row);
  }

  StationGrid* controller_ = nullptr;
  int rows_ = 6;  // the empty grid: seven rows with the header
  mutable long long fetches_ = 0;
  mutable std::set<int> rowsFetched_;
};

}  // namespace ondaris
