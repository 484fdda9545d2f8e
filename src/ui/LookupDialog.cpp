#include "ui/ActionErrors.h"
#include "ui/LookupDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "freqfiles/Lookup.h"
#include "ui/ListGrid.h"
#include "ui/PanelStyle.h"

namespace ondaris {

namespace {

constexpr int RowHeight = 20;
constexpr int TextLeft = 6;
constexpr int TextTop = 2;

}  // namespace

LookupDialog::LookupDialog(LookupController& lookup, QWidget* parent) : QDialog(parent), lookup_(lookup) {
  setObjectName(QStringLiteral("TMFLookupDlg"));
  setWindowTitle(QString::fromLatin1(LookupDialogCaption));
  setModal(true);
  resize(520, 300);

  grid_ = new QTableWidget(this);
  grid_->setObjectName(QStringLiteral("MFLGrid"));
  grid_->setColumnCount(static_cast<int>(LookupHeaders.size()));
  QStringList headers;
  for (const char* header : LookupHeaders) headers << QString::fromLatin1(header);
  grid_->setHorizontalHeaderLabels(headers);
  SetUpListGrid(grid_, {PanelColour(Colour::Navy), TextLeft, TextTop, RowHeight});
  grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
    if (row >= 0) lookup_.dialog().row = row + 1;
  });

  openFile_ = new QPushButton(QString::fromLatin1(LookupOpenFileCaption), this);
  openFile_->setObjectName(QStringLiteral("OpenFileBtn"));
  openFile_->setToolTip(QString::fromLatin1(LookupOpenFileHint));
  openFile_->setAutoDefault(false);
  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName(QStringLiteral("OKBtn"));
  ok_->setDefault(true);
  connect(openFile_, &QPushButton::clicked, this, &LookupDialog::openFileClicked);
  connect(ok_, &QPushButton::clicked, this, &LookupDialog::okClicked);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(openFile_);
  buttons->addWidget(ok_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons);

  lookup_.showDialog = [this](LookupController::Dialog&) { run(); };
}

LookupDialog::~LookupDialog() { lookup_.showDialog = nullptr; }

void LookupDialog::run() {
  showRows();
  exec();
}

void LookupDialog::showRows() {
  const LookupController::Dialog& d = lookup_.dialog();
  const int rows = d.RowCount() - 1;
  grid_->clearContents();
  grid_->setRowCount(rows);
  for (int row = 1; row <= rows; ++row)
    for (int column = 0; column < grid_->columnCount(); ++column)
      grid_->setItem(row - 1, column, new QTableWidgetItem(PanelText(d.CellText(row, column))));
  if (rows > 0) grid_->setCurrentCell(d.row >= 1 && d.row <= rows ? d.row - 1 : 0, 0);
  grid_->setFocus();
}

void LookupDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The column widths are parts of the grid's client width.
  const int client = grid_->viewport()->width();
  for (int c = 0; c < grid_->columnCount(); ++c)
    grid_->setColumnWidth(c, static_cast<int>(client * LookupColumnShares[static_cast<std::size_t>(c)]));
}

void LookupDialog::openFileClicked() {
  RunShowingErrors(this, onError, [this] { lookup_.OpenFileBtnClick(); });
  QDialog::accept();
}

void LookupDialog::okClicked() {
  lookup_.OKBtnClick();
  QDialog::accept();
}

void LookupDialog::reject() {
  lookup_.OKBtnClick();
  QDialog::reject();
}

}  // namespace ondaris
