#include "ui/LogReportView.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "logbook/LogReportDialog.h"
#include "ui/ActionErrors.h"
#include "ui/ListGrid.h"
#include "ui/LogGridModel.h"
#include "ui/PanelStyle.h"

namespace ondaris {

namespace {

std::string Latin(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace

LogReportView::LogReportView(LogReportDialog& dialog, QWidget* parent) : QDialog(parent), dialog_(dialog) {
  setObjectName(QStringLiteral("TLogReport"));
  setWindowTitle(QString::fromLatin1(LogReportDialog::Caption));
  resize(603, 251);
  auto* layout = new QVBoxLayout(this);

  grid_ = new QTableWidget(1, ReportFieldCount, this);
  grid_->setObjectName(QStringLiteral("Grid"));
  grid_->setToolTip(
      QStringLiteral("Drag columns to order export fields.  Click Y or N to choose exported fields."));
  // The mark row is drawn as the log grid: navy on white, the selected mark
  // bold; one mark at a time is selected, not the whole row.
  SetUpListGrid(grid_, {LogGridModel::PlainColour(), 6, 2, 21, QAbstractItemView::SingleSelection,
                        QAbstractItemView::SelectItems});
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QHeaderView* header = grid_->horizontalHeader();
  header->setSectionsMovable(true);
  header->setMinimumSectionSize(1);
  for (int p = 0; p < ReportFieldCount; ++p) {
    auto* heading = new QTableWidgetItem;
    heading->setForeground(QColor(Qt::black));
    heading->setBackground(palette().button());
    grid_->setHorizontalHeaderItem(p, heading);
    grid_->setItem(0, p, new QTableWidgetItem);
  }
  grid_->setFixedHeight(header->sizeHint().height() + grid_->rowHeight(0) + 2 * grid_->frameWidth());
  layout->addWidget(grid_);
  // The dialog keeps the column order: the header's own move is taken back
  // and the dialog told, which then shows the moved field there.
  connect(header, &QHeaderView::sectionMoved, this, [this, header](int, int from, int to) {
    if (syncing_) return;
    ++syncing_;
    header->moveSection(to, from);
    --syncing_;
    act([this, from, to] { dialog_.GridColumnMoved(from, to); });
  });
  connect(grid_, &QTableWidget::cellClicked, this,
          [this](int, int column) { act([this, column] { dialog_.MarkCellClick(column); }); });

  auto* boxes = new QGridLayout;
  all_ = new QRadioButton(QStringLiteral("All Records"), this);
  all_->setObjectName(QStringLiteral("AllCheckbox"));
  all_->setToolTip(QStringLiteral("Export all records in your log"));
  selected_ = new QRadioButton(QStringLiteral("Selected Records"), this);
  selected_->setObjectName(QStringLiteral("SelCheckbox"));
  selected_->setToolTip(QStringLiteral("Export only included records"));
  header_ = new QLineEdit(this);
  header_->setObjectName(QStringLiteral("HeaderEdit"));
  header_->setToolTip(QStringLiteral("Text that appears as the first line of the report"));
  header_->setMaxLength(static_cast<int>(ReportTextCapacity));
  outfile_ = new QLineEdit(this);
  outfile_->setObjectName(QStringLiteral("OutfileEdit"));
  outfile_->setToolTip(QStringLiteral("Filename of the output report in the Export subdirectory"));
  outfile_->setMaxLength(static_cast<int>(ReportTextCapacity));
  boxes->addWidget(all_, 0, 0);
  boxes->addWidget(selected_, 1, 0);
  boxes->addWidget(new QLabel(QStringLiteral("Report Header"), this), 0, 1);
  boxes->addWidget(header_, 0, 2);
  boxes->addWidget(new QLabel(QStringLiteral("Report Filename"), this), 1, 1);
  boxes->addWidget(outfile_, 1, 2);
  boxes->setColumnStretch(2, 1);
  layout->addLayout(boxes);

  auto* buttons = new QHBoxLayout;
  const auto button = [this, buttons](const char* name, const char* caption, const char* hint) {
    auto* b = new QPushButton(QString::fromLatin1(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(QString::fromLatin1(hint));
    b->setAutoDefault(false);
    buttons->addWidget(b);
    return b;
  };
  connect(button("NewBtn", "New Report", "New report setup."), &QPushButton::clicked, this,
          [this] { act([this] { dialog_.NewBtnClick(); }); });
  connect(button("OpenBtn", "Open Setup", "Use a previously-saved report setup"), &QPushButton::clicked, this,
          [this] { act([this] { dialog_.OpenBtnClick(); }); });
  connect(button("SaveBtn", "Save Setup", "Save this report setup"), &QPushButton::clicked, this,
          [this] { act([this] { dialog_.SaveBtnClick(); }); });
  buttons->addStretch(1);
  QPushButton* generate = button("OKBtn", "Generate", "Generate your report");
  generate->setDefault(true);
  connect(generate, &QPushButton::clicked, this, [this] { act([this] { dialog_.OKBtnClick(); }); });
  connect(button("CancelBtn", "Cancel", "Exit without saving changes"), &QPushButton::clicked, this,
          &QDialog::reject);
  layout->addLayout(buttons);
  layout->addStretch(1);

  dialog_.show = [this](LogReportDialog&) {
    push();
    exec();
  };
  dialog_.close = [this] { accept(); };
}

LogReportView::~LogReportView() {
  dialog_.show = nullptr;
  dialog_.close = nullptr;
}

template <class Action>
void LogReportView::act(Action&& action) {
  pull();
  RunShowingErrors(this, onError, action);
  push();
}

void LogReportView::pull() {
  dialog_.HeaderEdit = Latin(header_->text());
  dialog_.OutfileEdit = Latin(outfile_->text());
  dialog_.SelCheckbox = selected_->isChecked();
}

void LogReportView::push() {
  ++syncing_;
  header_->setText(PanelText(dialog_.HeaderEdit));
  outfile_->setText(PanelText(dialog_.OutfileEdit));
  (dialog_.SelCheckbox ? selected_ : all_)->setChecked(true);
  QHeaderView* header = grid_->horizontalHeader();
  for (int p = 0; p < ReportFieldCount; ++p) {
    header->resizeSection(p, dialog_.ColumnWidth);
    grid_->horizontalHeaderItem(p)->setText(PanelText(dialog_.HeadingText(p)));
    grid_->item(0, p)->setText(PanelText(dialog_.MarkText(p)));
  }
  --syncing_;
}

}  // namespace ondaris
