#include "ui/ActionErrors.h"
#include "ui/BandScanDialogView.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "scan/BandScanDialog.h"
#include "ui/ListGrid.h"
#include "ui/PanelStyle.h"

namespace ondaris {

namespace {

constexpr int RowHeight = 20;
constexpr int TextLeft = 6;
constexpr int TextTop = 2;

QString Text(const char* text) { return QString::fromLatin1(text); }
std::string Latin(const QString& text) { return text.toLatin1().toStdString(); }

void ShowCombo(QComboBox* box, const BandScanCombo& combo) {
  box->clear();
  for (const std::string& item : combo.items) box->addItem(PanelText(item));
  box->setCurrentIndex(combo.index);
  if (box->isEditable()) box->setEditText(PanelText(combo.text));
}

}  // namespace

// The grid's rows, read from the dialog when the view asks for them.
class BandScanGridModel : public QAbstractTableModel {
 public:
  explicit BandScanGridModel(QObject* parent) : QAbstractTableModel(parent) {}

  void setDialog(BandScanDialog* dialog) {
    beginResetModel();
    dialog_ = dialog;
    rows_ = Rows();
    endResetModel();
  }

  // Follows the dialog after a change: a new row count resets the model,
  // otherwise the rows are redrawn.
  void refresh() {
    const int rows = Rows();
    if (rows != rows_) {
      beginResetModel();
      rows_ = rows;
      endResetModel();
    } else if (rows_ > 0) {
      emit dataChanged(index(0, 0), index(rows_ - 1, BandScanColumnCount - 1));
    }
  }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : rows_; }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : BandScanColumnCount;
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || !dialog_ || role != Qt::DisplayRole) return {};
    return PanelText(dialog_->CellText(index.row() + 1, index.column()));
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || section < 0 || section >= BandScanColumnCount) return {};
    if (role == Qt::DisplayRole) return Text(BandScanDialog::Headers[static_cast<std::size_t>(section)]);
    if (role == Qt::ForegroundRole) return QColor(Qt::black);
    return {};
  }

 private:
  int Rows() const { return dialog_ ? dialog_->GridRowCount() - 1 : 0; }

  BandScanDialog* dialog_ = nullptr;
  int rows_ = 0;
};

BandScanDialogView::BandScanDialogView(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TBandScanDlg"));
  setWindowTitle(Text(BandScanDialog::Caption));
  setModal(true);
  resize(720, 470);

  gridModel_ = new BandScanGridModel(this);
  grid_ = new QTableView(this);
  grid_->setObjectName(QStringLiteral("BandScanGrid"));
  grid_->setModel(gridModel_);
  SetUpListGrid(grid_, {PanelColour(Colour::Navy), TextLeft, TextTop, RowHeight});
  QHeaderView* header = grid_->horizontalHeader();  // sorting is decided by where the press lands
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->viewport()->installEventFilter(this);
  for (int c = 0; c < BandScanColumnCount; ++c)
    header->resizeSection(c, DefaultBandScanColumnWidths[static_cast<std::size_t>(c)]);
  connect(header, &QHeaderView::sectionResized, this, [this](int section, int, int size) {
    if (model_ && section >= 0 && section < BandScanColumnCount)
      model_->columnWidths[static_cast<std::size_t>(section)] = size;
  });
  connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current, const QModelIndex&) {
            if (updating_ || !model_ || !current.isValid()) return;
            pull();
            act([&] { model_->BandScanGridClick(current.row() + 1); });
          });

  auto lineEdit = [this](const char* name, int maxLength) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    return edit;
  };
  name_ = lineEdit("bsNameEdit", static_cast<int>(BandNameWidth));
  low_ = lineEdit("bsLoFreqEdit", static_cast<int>(BandFreqWidth));
  high_ = lineEdit("bsHiFreqEdit", static_cast<int>(BandFreqWidth));
  pbt_ = lineEdit("bsPBTEdit", static_cast<int>(BandPBTWidth));
  comments_ = lineEdit("bsCommentEdit", static_cast<int>(BandCommentsWidth));

  auto combo = [this](const char* name, bool editable) {
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(editable);
    return box;
  };
  mode_ = combo("bsModeCombo", false);
  agc_ = combo("bsAGCCombo", false);
  filter_ = combo("bsFiltCombo", false);
  step_ = combo("bsStepCombo", true);  // shows 9000 or 10000 when the option says otherwise
  speed_ = combo("bsSpeedCombo", false);

  limitPanel_ = new QLabel(this);
  limitPanel_->setObjectName(QStringLiteral("LimitPanel"));
  limitPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  limitPanel_->setMinimumHeight(24);

  auto button = [this](const char* name, const char* caption) {
    auto* b = new QPushButton(Text(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
  };
  QPushButton* clear = button("BandScanClearBtn", BandScanDialog::ClearCaption);
  QPushButton* replace = button("BandScanEditBtn", BandScanDialog::ReplaceCaption);
  QPushButton* add = button("BandScanAddBtn", BandScanDialog::AddCaption);
  QPushButton* remove = button("BandScanDeleteBtn", BandScanDialog::DeleteCaption);
  save_ = button("BandScanSaveBtn", BandScanDialog::SaveCaption);
  save_->setToolTip(Text(BandScanDialog::SaveHint));
  QPushButton* cancel = button("CanBtn", BandScanDialog::CancelCaption);
  QPushButton* ok = button("ScanBtn", BandScanDialog::OKCaption);
  connect(clear, &QPushButton::clicked, this, &BandScanDialogView::clearClicked);
  connect(replace, &QPushButton::clicked, this, &BandScanDialogView::replaceClicked);
  connect(add, &QPushButton::clicked, this, &BandScanDialogView::addClicked);
  connect(remove, &QPushButton::clicked, this, &BandScanDialogView::deleteClicked);
  connect(save_, &QPushButton::clicked, this, &BandScanDialogView::saveClicked);
  connect(cancel, &QPushButton::clicked, this, &BandScanDialogView::cancelClicked);
  connect(ok, &QPushButton::clicked, this, &BandScanDialogView::okClicked);

  auto* fields = new QGridLayout;
  auto label = [this](const char* text, QWidget* buddy) {
    auto* l = new QLabel(Text(text), this);
    l->setBuddy(buddy);
    return l;
  };
  fields->addWidget(label("Name", name_), 0, 0);
  fields->addWidget(name_, 0, 1);
  fields->addWidget(label("Low (kHz)", low_), 0, 2);
  fields->addWidget(low_, 0, 3);
  fields->addWidget(label("High (kHz)", high_), 0, 4);
  fields->addWidget(high_, 0, 5);
  fields->addWidget(label("Mode", mode_), 1, 0);
  fields->addWidget(mode_, 1, 1);
  fields->addWidget(label("Filter", filter_), 1, 2);
  fields->addWidget(filter_, 1, 3);
  fields->addWidget(label("AGC", agc_), 1, 4);
  fields->addWidget(agc_, 1, 5);
  fields->addWidget(label("Step", step_), 2, 0);
  fields->addWidget(step_, 2, 1);
  fields->addWidget(label("PBT", pbt_), 2, 2);
  fields->addWidget(pbt_, 2, 3);
  fields->addWidget(label("Speed", speed_), 2, 4);
  fields->addWidget(speed_, 2, 5);
  fields->addWidget(label("Comments", comments_), 3, 0);
  fields->addWidget(comments_, 3, 1, 1, 5);

  auto* editButtons = new QHBoxLayout;
  for (QPushButton* b : {clear, replace, add, remove, save_}) editButtons->addWidget(b);
  editButtons->addStretch(1);
  editButtons->addWidget(cancel);
  editButtons->addWidget(ok);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addWidget(limitPanel_);
  layout->addLayout(fields);
  layout->addLayout(editButtons);
}

BandScanDialogView::~BandScanDialogView() {
  if (attached_) attached_->show = nullptr;
}

void BandScanDialogView::attach(BandScanDialog& model) {
  attached_ = &model;
  model.show = [this](BandScanDialog& dialog) { run(dialog); };
}

void BandScanDialogView::run(BandScanDialog& model) {
  model_ = &model;
  // The widths the dialog has just read. Resizing the sections writes back
  // what the header really took (it keeps a minimum width of its own).
  const BandScanColumnWidths widths = model.columnWidths;
  for (int c = 0; c < BandScanColumnCount; ++c)
    grid_->horizontalHeader()->resizeSection(c, widths[static_cast<std::size_t>(c)]);
  gridModel_->setDialog(&model);
  push();
  grid_->setFocus();
  exec();
  gridModel_->setDialog(nullptr);
  model_ = nullptr;
}

template <class Action>
bool BandScanDialogView::act(Action&& action) {
  const bool done = RunShowingErrors(this, {}, action);
  push();
  return done;
}

void BandScanDialogView::pull() {
  if (!model_) return;
  BandScanDialog& m = *model_;
  m.bsNameEdit = Latin(name_->text());
  m.bsLoFreqEdit = Latin(low_->text());
  m.bsHiFreqEdit = Latin(high_->text());
  m.bsPBTEdit = Latin(pbt_->text());
  m.bsCommentEdit = Latin(comments_->text());
  m.bsModeCombo.Select(mode_->currentIndex());
  m.bsAGCCombo.Select(agc_->currentIndex());
  m.bsFiltCombo.Select(filter_->currentIndex());
  m.bsStepCombo.SetText(Latin(step_->currentText()));
  m.bsSpeedCombo.Select(speed_->currentIndex());
}

void BandScanDialogView::pushGrid() { gridModel_->refresh(); }

void BandScanDialogView::pushSelection() {
  const int row = model_->SelectedRow() - 1;
  if (row < 0 || row >= gridModel_->rowCount()) return;
  const QModelIndex index = gridModel_->index(row, 0);
  grid_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  if (model_->TakeScrollToTop())
    grid_->scrollToTop();
  else
    grid_->scrollTo(index);
}

void BandScanDialogView::push() {
  if (!model_) return;
  const BandScanDialog& m = *model_;
  updating_ = true;
  pushGrid();
  pushSelection();
  name_->setText(PanelText(m.bsNameEdit));
  low_->setText(PanelText(m.bsLoFreqEdit));
  high_->setText(PanelText(m.bsHiFreqEdit));
  pbt_->setText(PanelText(m.bsPBTEdit));
  comments_->setText(PanelText(m.bsCommentEdit));
  ShowCombo(mode_, m.bsModeCombo);
  ShowCombo(agc_, m.bsAGCCombo);
  ShowCombo(filter_, m.bsFiltCombo);
  ShowCombo(step_, m.bsStepCombo);
  ShowCombo(speed_, m.bsSpeedCombo);
  limitPanel_->setText(PanelText(m.LimitPanel));
  // Red and bold while the list holds changes that are not saved.
  save_->setStyleSheet(m.BandScanChanged() ? QStringLiteral("color: red; font-weight: bold;") : QString());
  updating_ = false;
}

void BandScanDialogView::press(void (BandScanDialog::*button)()) {
  if (!model_) return;
  pull();
  act([this, button] { (model_->*button)(); });
}

void BandScanDialogView::clearClicked() { press(&BandScanDialog::BandScanClearBtnClick); }
void BandScanDialogView::replaceClicked() { press(&BandScanDialog::BandScanEditBtnClick); }
void BandScanDialogView::addClicked() { press(&BandScanDialog::BandScanAddBtnClick); }
void BandScanDialogView::deleteClicked() { press(&BandScanDialog::BandScanDeleteBtnClick); }
void BandScanDialogView::saveClicked() { press(&BandScanDialog::BandScanSaveBtnClick); }

void BandScanDialogView::headerPressed(int x) {
  if (!model_) return;
  pull();
  act([this, x] { model_->BandScanGridMouseDown(x); });
}

void BandScanDialogView::cancelClicked() {
  if (model_) {
    pull();
    act([this] { model_->CanBtnClick(); });
  }
  QDialog::reject();
}

void BandScanDialogView::okClicked() {
  if (!model_) {
    QDialog::accept();
    return;
  }
  pull();
  bool closes = false;
  act([this, &closes] { closes = model_->ScanBtnClick(); });
  if (closes) QDialog::accept();
}

void BandScanDialogView::reject() { cancelClicked(); }

bool BandScanDialogView::eventFilter(QObject* watched, QEvent* event) {
  QHeaderView* header = grid_->horizontalHeader();
  if (watched == header->viewport() && event->type() == QEvent::MouseButtonPress) {
    const auto* press = static_cast<QMouseEvent*>(event);
    if (press->button() == Qt::LeftButton) headerPressed(static_cast<int>(press->position().x()) + header->offset());
  }
  // The header still gets the press, so that dragging an edge resizes.
  return QDialog::eventFilter(watched, event);
}

}  // namespace ondaris
