#include "ui/ActionErrors.h"
#include "ui/AddEditDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "freqfiles/EntryEditor.h"
#include "ui/PanelStyle.h"

namespace ondaris {

namespace {

std::string Latin1(const QString& text) { return text.toLatin1().toStdString(); }

void FillCombo(QComboBox* combo, const std::vector<std::string>& items) {
  combo->clear();
  for (const std::string& item : items) combo->addItem(PanelText(item));
}

QLineEdit* Box(QWidget* parent, const char* objectName, int maxLength) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QString::fromLatin1(objectName));
  // Longer text would only be cut when stored.
  if (maxLength > 0) box->setMaxLength(maxLength);
  return box;
}

QComboBox* List(QWidget* parent, const char* objectName) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QString::fromLatin1(objectName));
  return combo;
}

}  // namespace

AddEditDialog::AddEditDialog(EntryEditor& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
  setObjectName(QStringLiteral("TAddEditDlg"));
  setWindowTitle(QString::fromLatin1(AddEditFormCaption));
  setModal(true);

  name_ = Box(this, "NameBox", static_cast<int>(EntryNameLimit));
  freq_ = Box(this, "FreqBox", 12);
  mode_ = List(this, "ModeCombo");
  filter_ = List(this, "FiltCombo");
  step_ = List(this, "StepCombo");
  // The step keeps a record's own text ("9000" where the list offers 10000).
  step_->setEditable(true);
  step_->setInsertPolicy(QComboBox::NoInsert);
  pbt_ = Box(this, "PBTBox", 6);
  agc_ = List(this, "AGCCombo");
  start_ = Box(this, "StartBox", 4);
  end_ = Box(this, "EndBox", 4);
  location_ = Box(this, "LocnBox", static_cast<int>(EntryLocationLimit));
  language_ = Box(this, "LangBox", static_cast<int>(EntryLanguageLimit));
  notes_ = Box(this, "NotesBox", static_cast<int>(EntryNotesLimit));

  update_ = new QPushButton(QString::fromLatin1(UpdateTuningCaption), this);
  update_->setObjectName(QStringLiteral("UpdateBtn"));
  update_->setToolTip(QString::fromLatin1(UpdateTuningHint));
  update_->setAutoDefault(false);
  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName(QStringLiteral("OKBtn"));
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_->setObjectName(QStringLiteral("CanBtn"));
  cancel_->setAutoDefault(false);
  connect(update_, &QPushButton::clicked, this, &AddEditDialog::updateClicked);
  connect(ok_, &QPushButton::clicked, this, &AddEditDialog::okClicked);
  connect(cancel_, &QPushButton::clicked, this, &AddEditDialog::cancelClicked);

  auto* grid = new QGridLayout;
  const auto row = [&](int r, int c, const char* label, QWidget* field) {
    auto* text = new QLabel(QString::fromLatin1(label), this);
    text->setBuddy(field);
    grid->addWidget(text, r, c * 2);
    grid->addWidget(field, r, c * 2 + 1);
  };
  row(0, 0, "Name", name_);
  row(0, 1, "Freq", freq_);
  row(1, 0, "Mode", mode_);
  row(1, 1, "Filter", filter_);
  row(2, 0, "Step", step_);
  row(2, 1, "PBT", pbt_);
  row(3, 0, "AGC", agc_);
  row(3, 1, "Start", start_);
  row(4, 0, "Locn", location_);
  row(4, 1, "End", end_);
  row(5, 0, "Lang", language_);
  auto* notesLabel = new QLabel(QStringLiteral("Notes"), this);
  notesLabel->setBuddy(notes_);
  grid->addWidget(notesLabel, 6, 0);
  grid->addWidget(notes_, 6, 1, 1, 3);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(update_);
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addSpacing(6);
  layout->addLayout(buttons);

  editor_.showDialog = [this](EntryEditor::Dialog&) { run(); };
}

AddEditDialog::~AddEditDialog() { editor_.showDialog = nullptr; }

void AddEditDialog::run() {
  showFields();
  name_->setFocus();
  exec();
}

void AddEditDialog::showFields() {
  const EntryEditor::Dialog& d = editor_.dialog();
  setWindowTitle(PanelText(d.caption));
  FillCombo(mode_, d.modeItems);
  FillCombo(filter_, d.filterItems);
  FillCombo(step_, d.stepItems);
  FillCombo(agc_, d.agcItems);
  const EntryFields& f = d.fields;
  name_->setText(PanelText(f.name));
  freq_->setText(PanelText(f.freq));
  mode_->setCurrentIndex(f.mode);
  filter_->setCurrentIndex(f.filter);
  step_->setCurrentIndex(f.step);
  step_->setEditText(PanelText(f.stepText));
  pbt_->setText(PanelText(f.pbt));
  agc_->setCurrentIndex(f.agc);
  start_->setText(PanelText(f.start));
  end_->setText(PanelText(f.end));
  location_->setText(PanelText(f.location));
  language_->setText(PanelText(f.language));
  notes_->setText(PanelText(f.notes));
  update_->setEnabled(d.updateEnabled);
}

void AddEditDialog::takeFields() {
  EntryFields& f = editor_.dialog().fields;
  f.name = Latin1(name_->text());
  f.freq = Latin1(freq_->text());
  f.mode = mode_->currentIndex();
  f.filter = filter_->currentIndex();
  // A typed step counts as the list's entry only when it is one of them.
  f.stepText = Latin1(step_->currentText());
  f.step = step_->findText(step_->currentText(), Qt::MatchExactly);
  f.pbt = Latin1(pbt_->text());
  f.agc = agc_->currentIndex();
  f.start = Latin1(start_->text());
  f.end = Latin1(end_->text());
  f.location = Latin1(location_->text());
  f.language = Latin1(language_->text());
  f.notes = Latin1(notes_->text());
}

void AddEditDialog::guarded(const std::function<void()>& action) {
  RunShowingErrors(this, onError, action);
}

void AddEditDialog::okClicked() {
  takeFields();
  guarded([this] { editor_.OKBtnClick(); });
  // Closed by the editor (stored), or still open for a box to put right.
  if (!editor_.dialog().open) QDialog::accept();
}

void AddEditDialog::updateClicked() {
  takeFields();
  guarded([this] { editor_.UpdateBtnClick(); });
  showFields();
}

void AddEditDialog::cancelClicked() { reject(); }

void AddEditDialog::reject() {
  editor_.CanBtnClick();
  QDialog::reject();
}

}  // namespace ondaris
