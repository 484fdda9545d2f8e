#include "ui/MasterListDialog.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"
#include "freqfiles/FreqFileController.h"
#include "platform/MessageBoxes.h"
#include "ui/ListGrid.h"
#include "ui/PanelStyle.h"

namespace ondaris {

namespace {

constexpr int RowHeight = 20;
constexpr int TextLeft = 10;
constexpr int TextTop = 4;

std::string Latin1(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace

// ---- Model -----------------------------------------------------------------------

int MasterListTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(viewer_.LineCount());
}

int MasterListTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : MasterColumnCount;
}

QVariant MasterListTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() < 0 || static_cast<std::size_t>(index.row()) >= viewer_.LineCount())
    return {};
  const auto line = static_cast<std::size_t>(index.row());
  switch (role) {
    case Qt::DisplayRole:
      return PanelText(viewer_.CellText(line, static_cast<MasterColumn>(index.column())));
    case Qt::ForegroundRole:
      return PanelColour(viewer_.LineAt(line).matched ? Colour::Maroon : Colour::Navy);
    default:
      return {};
  }
}

QVariant MasterListTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= MasterColumnCount) return {};
  if (role == Qt::DisplayRole) return QString::fromLatin1(MasterViewerHeaders[section]);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  if (role == Qt::ForegroundRole) return QColor(Qt::black);
  return {};
}

void MasterListTableModel::reload() {
  beginResetModel();
  endResetModel();
}

void MasterListTableModel::releaseLines() {
  beginResetModel();
  viewer_.Close();
  endResetModel();
}

void MasterListTableModel::marksChanged() {
  if (viewer_.LineCount() == 0) return;
  emit dataChanged(index(0, 0), index(static_cast<int>(viewer_.LineCount()) - 1, MasterColumnCount - 1),
                   {Qt::ForegroundRole});
}

// ---- Dialog ----------------------------------------------------------------------

MasterListDialog::MasterListDialog(MasterListViewer& viewer, std::string freqFileDir, MasterListOpenHost host,
                                   MessageBoxes& messages, QWidget* parent)
    : QDialog(parent),
      viewer_(viewer),
      freqFileDir_(std::move(freqFileDir)),
      host_(std::move(host)),
      messages_(messages) {
  setObjectName(QStringLiteral("TMFLViewDlg"));
  setWindowTitle(QString::fromLatin1(MasterViewerCaption));
  setModal(true);
  resize(560, 520);

  model_ = new MasterListTableModel(viewer_, this);
  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("Grid"));
  table_->setModel(model_);
  SetUpListGrid(table_, {PanelColour(Colour::Navy), TextLeft, TextTop, RowHeight});
  table_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QHeaderView* header = table_->horizontalHeader();
  header->setSectionsMovable(false);
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->viewport()->installEventFilter(this);
  table_->viewport()->installEventFilter(this);
  connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) viewer_.currentLine = static_cast<std::size_t>(current.row());
          });

  input_ = new QLineEdit(this);
  input_->setObjectName(QStringLiteral("InputBox"));
  upper_ = new QCheckBox(QStringLiteral("Match Case"), this);
  upper_->setObjectName(QStringLiteral("UpperBox"));
  findSort_ = new QPushButton(QStringLiteral("Find-Sort"), this);
  findSort_->setObjectName(QStringLiteral("FindSortBtn"));
  findSort_->setToolTip(QString::fromLatin1(FindSortHint));
  findSort_->setDefault(true);
  open_ = new QPushButton(QStringLiteral("Open File"), this);
  open_->setObjectName(QStringLiteral("OpenBtn"));
  open_->setAutoDefault(false);
  exit_ = new QPushButton(QStringLiteral("Exit"), this);
  exit_->setObjectName(QStringLiteral("OKBtn"));
  exit_->setAutoDefault(false);
  connect(findSort_, &QPushButton::clicked, this, &MasterListDialog::findSortClicked);
  connect(open_, &QPushButton::clicked, this, &MasterListDialog::openClicked);
  connect(exit_, &QPushButton::clicked, this, &MasterListDialog::exitClicked);

  auto* search = new QHBoxLayout;
  search->addWidget(input_, 1);
  search->addWidget(upper_);
  search->addWidget(findSort_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(open_);
  buttons->addWidget(exit_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_, 1);
  layout->addLayout(search);
  layout->addLayout(buttons);

  showFromTop();
}

void MasterListDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (widthsSet_) return;
  widthsSet_ = true;
  // The column widths are parts of the grid's client width.
  const int client = table_->viewport()->width();
  for (int c = 0; c < MasterColumnCount; ++c)
    table_->setColumnWidth(c, static_cast<int>(client * MasterViewerColumnShares[static_cast<std::size_t>(c)]));
}

std::array<int, MasterColumnCount> MasterListDialog::columnWidths() const {
  std::array<int, MasterColumnCount> widths{};
  for (int c = 0; c < MasterColumnCount; ++c) widths[static_cast<std::size_t>(c)] = table_->columnWidth(c);
  return widths;
}

int MasterListDialog::headerGridX(int headerX) const {
  const QHeaderView* header = table_->horizontalHeader();
  const int column = header->logicalIndexAt(headerX);
  if (column < 0) return -1;
  int left = 1;
  for (int c = 0; c < column; ++c) left += header->sectionSize(c) + 1;
  return left + (headerX - header->sectionViewportPosition(column));
}

void MasterListDialog::showFromTop() {
  model_->reload();
  if (viewer_.LineCount() == 0) return;
  const int current = static_cast<int>(std::min(viewer_.currentLine, viewer_.LineCount() - 1));
  table_->setCurrentIndex(model_->index(current, 0));
  table_->scrollToTop();
}

bool MasterListDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    const QHeaderView* header = table_->horizontalHeader();
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int x = static_cast<int>(mouse->position().x());
    if (watched == header->viewport()) {
      const int gridX = headerGridX(x);
      if (viewer_.GridMouseUp(gridX, 0, columnWidths(), header->height()))
        showFromTop();
      else
        model_->marksChanged();
    } else if (watched == table_->viewport()) {
      // A release among the rows lies below the header row: it only clears
      // the marks.
      viewer_.GridMouseUp(x, header->height() + static_cast<int>(mouse->position().y()), columnWidths(),
                          header->height());
      model_->marksChanged();
    }
  }
  return QDialog::eventFilter(watched, event);
}

void MasterListDialog::findSortClicked() {
  viewer_.FindSort(Latin1(input_->text()), upper_->isChecked());
  showFromTop();
}

void MasterListDialog::openClicked() {
  try {
    if (viewer_.OpenCurrentFile(freqFileDir_, host_, messages_) == MasterListViewer::OpenResult::Opened)
      exitClicked();
  } catch (const std::exception& error) {
    reportError(error.what());
  }
}

void MasterListDialog::exitClicked() {
  model_->releaseLines();
  accept();
}

void MasterListDialog::reportError(const std::string& text) {
  if (onError)
    onError(text);
  else
    messages_.showMessage(text);
}

void MasterListDialog::ShowViewer(QWidget* parent, const std::string& programDir, const std::string& freqFileDir,
                                  char separator, MessageBoxes& messages, MasterListOpenHost host,
                                  std::function<void(const std::string&)> onError) {
  MasterListViewer viewer(separator);
  if (!viewer.Open(programDir, messages)) return;
  MasterListDialog dialog(viewer, freqFileDir, std::move(host), messages, parent);
  dialog.onError = std::move(onError);
  dialog.exec();
}

void MasterListDialog::ShowViewer(QWidget* parent, FreqFileController& files, PanelContext& context,
                                  std::function<void(const std::string&)> onError) {
  MasterListOpenHost host;
  host.fileScanRunning = [&context] { return context.scan.ScanState == 1; };
  host.openFrequencyFile = [&files](const std::string& name) {
    files.ReopenFile(FileInFolder(files.FreqFileFolder(), name));
  };
  ShowViewer(parent, files.programDir(), files.FreqFileFolder(), context.decimalSeparator, context.messages,
             std::move(host), std::move(onError));
}

}  // namespace ondaris
