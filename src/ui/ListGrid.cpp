#include "ui/ListGrid.h"

#include <QHeaderView>
#include <QPainter>
#include <QTableView>

namespace ondaris {

ListGridDelegate::ListGridDelegate(QColor plain, int textLeft, int textTop, QObject* parent)
    : QStyledItemDelegate(parent), plain_(plain), textLeft_(textLeft), textTop_(textTop) {}

QFont ListGridDelegate::cellFont(const QStyleOptionViewItem& option) {
  const bool selected = option.state & QStyle::State_Selected;
  QFont font = option.font;
  font.setPointSize(selected ? 9 : 10);
  font.setBold(selected);
  return font;
}

void ListGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const QFont font = cellFont(option);
  painter->save();
  painter->fillRect(option.rect, Qt::white);
  const QVariant colour = index.data(Qt::ForegroundRole);
  painter->setPen(colour.canConvert<QColor>() ? colour.value<QColor>() : plain_);
  painter->setFont(font);
  painter->setClipRect(option.rect);
  painter->drawText(option.rect.adjusted(textLeft_, textTop_, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());
  painter->restore();
}

void SetUpListGrid(QTableView* grid, const ListGridLook& look) {
  grid->setItemDelegate(new ListGridDelegate(look.plain, look.textLeft, look.textTop, grid));
  grid->setSelectionBehavior(look.behavior);
  grid->setSelectionMode(look.selection);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setWordWrap(false);
  grid->setCornerButtonEnabled(false);
  grid->verticalHeader()->setVisible(false);
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->verticalHeader()->setDefaultSectionSize(look.rowHeight);
  QHeaderView* header = grid->horizontalHeader();
  header->setHighlightSections(false);
  header->setSectionsClickable(false);
  header->setStretchLastSection(false);
}

}  // namespace ondaris
