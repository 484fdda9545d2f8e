#include "ui/ActionErrors.h"
#include "ui/SkedDialogView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "timekeeping/SkedDialog.h"
#include "ui/PanelStyle.h"

namespace ondaris {

namespace {

QString L(const char* text) { return QString::fromLatin1(text); }
std::string Latin1(const QString& text) { return text.trimmed().toLatin1().toStdString(); }

template <class W>
W* Named(W* widget, const char* name, const char* hint = "") {
  widget->setObjectName(L(name));
  if (*hint) widget->setToolTip(L(hint));
  return widget;
}

QComboBox* Combo(QWidget* parent, const char* name, const std::vector<std::string>& items) {
  auto* combo = Named(new QComboBox(parent), name);
  combo->setEditable(true);  // a typed text is refused by the check, not by the box
  combo->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string& item : items) combo->addItem(PanelText(item));
  return combo;
}

template <class Items>
std::vector<std::string> Texts(const Items& items) {
  return std::vector<std::string>(items.begin(), items.end());
}

}  // namespace

SkedDialogView::SkedDialogView(SkedDialog& model, QWidget* parent) : QDialog(parent), model_(model) {
  setObjectName(L("TSkedDlg"));
  setWindowTitle(L(SkedDialog::Caption));
  setWindowModality(Qt::ApplicationModal);

  grid_ = Named(new QTableWidget(this), "Grid", "Drag columns to resize");
  grid_->setColumnCount(SkedColumnCount);
  grid_->verticalHeader()->hide();
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid_->setMinimumSize(Scheduler::DefaultGridClientWidth + 20, 180);
  // Data cells on white; the selected row is told by its bold text.
  QPalette palette = grid_->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Highlight, Qt::white);
  palette.setColor(QPalette::HighlightedText, PanelColour(Colour::Navy));
  grid_->setPalette(palette);
  connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int) { act([this, row] { model_.GridClick(row + 1); }); });

  date_ = Named(new QLineEdit(this), "DateEdit", "UTC start date");
  dateOff_ = Named(new QLineEdit(this), "DateOffEdit", "Reference only:  UTC end date");
  dateOff_->setReadOnly(true);
  onTime_ = Named(new QLineEdit(this), "OnTimeEdit", "UTC start time");
  offTime_ = Named(new QLineEdit(this), "OffTimeEdit", "UTC end time");
  station_ = Named(new QLineEdit(this), "StationEdit");
  freq_ = Named(new QLineEdit(this), "FreqEdit");
  pbt_ = Named(new QLineEdit(this), "PBTEdit", "Passband tuning, Hz, +/- 2000 max");
  mode_ = Combo(this, "ModeCombo", Texts(SkedDialog::ModeItems));
  filter_ = Combo(this, "FiltCombo", SkedDialog::FilterItems());
  agc_ = Combo(this, "AGCCombo", Texts(SkedDialog::AGCItems));
  record_ = Named(new QCheckBox(L("Record"), this), "RecordChk");
  muteSpkr_ = Named(new QCheckBox(L("Mute the Speaker"), this), "MuteSpkrChk");
  muteLine_ = Named(new QCheckBox(L("Mute the Line"), this), "MuteLineChk");
  connect(record_, &QCheckBox::clicked, this, [this] { act([this] { model_.RecordChkClick(); }); });

  auto* fields = new QGridLayout;
  const std::pair<const char*, QWidget*> cells[] = {
      {"Start Date", date_}, {"End Date", dateOff_}, {"On", onTime_},   {"Off", offTime_},
      {"Station", station_}, {"Freq (kHz)", freq_},  {"Mode", mode_},   {"Filter", filter_},
      {"AGC", agc_},         {"PBT", pbt_}};
  for (int i = 0; i < static_cast<int>(std::size(cells)); ++i) {
    auto* form = new QFormLayout;
    form->addRow(L(cells[i].first), cells[i].second);
    fields->addLayout(form, i / 5, i % 5);
  }
  auto* checks = new QHBoxLayout;
  for (QCheckBox* box : {record_, muteSpkr_, muteLine_}) checks->addWidget(box);
  checks->addStretch(1);

  struct ButtonDef {
    const char* name;
    const char* caption;
    const char* hint;
    void (SkedDialog::*click)();
  };
  const ButtonDef defs[] = {
      {"AddBtn", "Add", "", &SkedDialog::AddBtnClick},
      {"ReplaceBtn", "Replace", "", &SkedDialog::ReplaceBtnClick},
      {"DeleteBtn", "Delete", "", &SkedDialog::DeleteBtnClick},
      {"ClearBtn", "Clear", "", &SkedDialog::ClearBtnClick},
      {"FromFileBtn", "From File", "", &SkedDialog::FromFileBtnClick},
      {"TuningBtn", "Tuning", "", &SkedDialog::TuningBtnClick},
      {"CopyDailyBtn", "Copy Daily", "", &SkedDialog::CopyDailyBtnClick},
      {"CopyWeeklyBtn", "Copy Weekly", "", &SkedDialog::CopyWeeklyBtnClick},
      {"OnOffBtn", "Scheduler Off",
       "Turn the scheduler on and off.  Must have at least one record in the schedule to activate",
       &SkedDialog::OnOffBtnClick},
  };
  auto* buttons = new QHBoxLayout;
  for (const ButtonDef& def : defs) {
    auto* button = Named(new QPushButton(L(def.caption), this), def.name, def.hint);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, click = def.click] { act([this, click] { (model_.*click)(); }); });
    buttons->addWidget(button);
    if (def.click == &SkedDialog::OnOffBtnClick) onOff_ = button;
  }
  auto* exit = Named(new QPushButton(L("Exit"), this), "ExitBtn", "Exit.  Saves the schedule automatically.");
  exit->setAutoDefault(false);
  connect(exit, &QPushButton::clicked, this, [this] { reject(); });
  buttons->addWidget(exit);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addLayout(fields);
  layout->addLayout(checks);
  layout->addLayout(buttons);

  model_.scheduler().gridClientWidth = Scheduler::DefaultGridClientWidth;
  model_.show = [this](SkedDialog&) {
    push();
    open();
    grid_->setFocus();
  };
  model_.columnWidths = [this] {
    std::array<int, SkedColumnCount> widths{};
    for (int c = 0; c < SkedColumnCount; ++c) widths[static_cast<std::size_t>(c)] = grid_->columnWidth(c);
    return widths;
  };
  // The clock's minute check changes the schedule while the window is up.
  model_.scheduler().scheduleChanged = [this] {
    if (isVisible()) fillGrid();
  };
}

SkedDialogView::~SkedDialogView() {
  model_.show = nullptr;
  model_.columnWidths = nullptr;
  model_.scheduler().scheduleChanged = nullptr;
}

void SkedDialogView::pull() {
  SkedDialog& m = model_;
  m.DateEdit = Latin1(date_->text());
  m.OnTimeEdit = Latin1(onTime_->text());
  m.OffTimeEdit = Latin1(offTime_->text());
  m.StationEdit = Latin1(station_->text());
  m.FreqEdit = Latin1(freq_->text());
  m.PBTEdit = Latin1(pbt_->text());
  m.ModeCombo = Latin1(mode_->currentText());
  m.FiltCombo = Latin1(filter_->currentText());
  m.AGCCombo = Latin1(agc_->currentText());
  m.RecordChk = record_->isChecked();
  m.MuteSpkrChk = muteSpkr_->isChecked();
  m.MuteLineChk = muteLine_->isChecked();
  m.selectedRow = grid_->currentRow() + 1;
}

void SkedDialogView::push() {
  const SkedDialog& m = model_;
  date_->setText(PanelText(m.DateEdit));
  dateOff_->setText(PanelText(m.DateOffEdit));
  onTime_->setText(PanelText(m.OnTimeEdit));
  offTime_->setText(PanelText(m.OffTimeEdit));
  station_->setText(PanelText(m.StationEdit));
  freq_->setText(PanelText(m.FreqEdit));
  pbt_->setText(PanelText(m.PBTEdit));
  mode_->setCurrentText(PanelText(m.ModeCombo));
  filter_->setCurrentText(PanelText(m.FiltCombo));
  agc_->setCurrentText(PanelText(m.AGCCombo));
  record_->setChecked(m.RecordChk);
  muteSpkr_->setChecked(m.MuteSpkrChk);
  muteLine_->setChecked(m.MuteLineChk);
  muteLine_->setEnabled(m.MuteLineEnabled);
  fillGrid();
}

void SkedDialogView::fillGrid() {
  const SkedDialog& m = model_;
  const SkedColumns& columns = m.columns();
  QStringList titles;
  for (const std::string& title : columns.titles) titles << PanelText(title);
  grid_->setHorizontalHeaderLabels(titles);
  for (int c = 0; c < SkedColumnCount; ++c) grid_->setColumnWidth(c, columns.widths[static_cast<std::size_t>(c)]);

  const int rows = m.GridRowCount() - 1;  // the header row is the table's header
  grid_->setRowCount(rows);
  QFont font = grid_->font();
  font.setPointSize(8);
  for (int r = 1; r <= rows; ++r) {
    QFont rowFont = font;
    rowFont.setBold(r == m.selectedRow);
    const QColor colour = PanelColour(m.RowIsBroadcasting(r) ? Colour::Maroon : Colour::Navy);
    for (int c = 0; c < SkedColumnCount; ++c) {
      auto* item = new QTableWidgetItem(PanelText(m.CellText(r, c)));
      item->setFont(rowFont);
      item->setForeground(colour);
      grid_->setItem(r - 1, c, item);
    }
  }
  grid_->blockSignals(true);
  if (m.selectedRow >= 1 && m.selectedRow <= rows) grid_->setCurrentCell(m.selectedRow - 1, 0);
  grid_->blockSignals(false);
  onOff_->setText(PanelText(m.OnOffCaption()));
}

template <class Action>
void SkedDialogView::act(Action&& action) {
  pull();
  RunShowingErrors(this, onError, action);
  push();
}

void SkedDialogView::reject() {
  pull();
  model_.ExitBtnClick();
  QDialog::reject();
}

}  // namespace ondaris
