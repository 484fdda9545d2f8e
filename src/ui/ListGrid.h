#pragma once
// The look and the behaviour shared by the read-only list grids (station
// lookup, master list, band scan, log display, log report setup): white cells, the text placed a
// few pixels into its cell, the selected rows bold at size 9 and the others
// regular at size 10; whole rows selected, nothing edited in place.

#include <QAbstractItemView>
#include <QColor>
#include <QStyledItemDelegate>

class QTableView;

namespace ondaris {

// Paints a cell's text in the colour its model gives (Qt::ForegroundRole), or
// in the grid's plain colour when the model gives none.
class ListGridDelegate : public QStyledItemDelegate {
 public:
  ListGridDelegate(QColor plain, int textLeft, int textTop, QObject* parent);
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  // The font a cell is drawn in: the view's, bold at size 9 when selected.
  static QFont cellFont(const QStyleOptionViewItem& option);

 private:
  QColor plain_;
  int textLeft_;
  int textTop_;
};

struct ListGridLook {
  QColor plain;
  int textLeft = 6;
  int textTop = 2;
  int rowHeight = 20;
  QAbstractItemView::SelectionMode selection = QAbstractItemView::SingleSelection;
  QAbstractItemView::SelectionBehavior behavior = QAbstractItemView::SelectRows;
};

// Sets the grid up as a read-only list: the delegate above, whole rows (or
// single cells) selected, no editing, no word wrap, no row header, rows of
// one height, and column headers that do not sort on a click (each dialog
// decides that).
void SetUpListGrid(QTableView* grid, const ListGridLook& look);

}  // namespace ondaris
