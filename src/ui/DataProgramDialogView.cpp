#include "ui/ActionErrors.h"
#include "ui/DataProgramDialogView.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "radio/DataModeController.h"
#include "ui/DialogButtons.h"
#include "ui/PanelStyle.h"

namespace ondaris {

namespace {

std::string Latin1(const QString& text) { return text.toLatin1().toStdString(); }

QGroupBox* RadioGroup(QWidget* parent, const QString& title, QButtonGroup* group,
                      const std::vector<std::pair<const char*, const char*>>& buttons, int firstId) {
  auto* box = new QGroupBox(title, parent);
  auto* layout = new QHBoxLayout(box);
  int id = firstId;
  for (const auto& [name, caption] : buttons) {
    auto* radio = new QRadioButton(QString::fromLatin1(caption), box);
    radio->setObjectName(QString::fromLatin1(name));
    group->addButton(radio, id++);
    layout->addWidget(radio);
  }
  return box;
}

void Select(QButtonGroup* group, int id) {
  // No button of the group may be on: the exclusive group allows that only
  // while it is not exclusive.
  group->setExclusive(false);
  for (QAbstractButton* button : group->buttons()) button->setChecked(group->id(button) == id);
  group->setExclusive(true);
}

}  // namespace

DataProgramDialogView::DataProgramDialogView(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TDataPgmDlg"));
  setWindowTitle(QString::fromLatin1(DataProgramDialog::Caption));
  setModal(true);

  heading_ = new QLabel(this);
  heading_->setObjectName(QStringLiteral("HeadingLabel"));
  heading_->setFont(PanelButtonFont(true));

  review_ = new QTableWidget(DataModeCount, 7, this);
  review_->setObjectName(QStringLiteral("ReviewGrid"));
  review_->setHorizontalHeaderLabels({"Title", "Mode", "BW", "Step", "PBT", "CW Tone", "AGC"});
  QStringList rows;
  for (int i = 1; i <= DataModeCount; ++i) rows << QStringLiteral("D-%1").arg(i);
  review_->setVerticalHeaderLabels(rows);
  review_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  review_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  review_->setMinimumWidth(520);

  title_ = new QLineEdit(this);
  title_->setObjectName(QStringLiteral("TitleEdit"));
  title_->setMaxLength(static_cast<int>(DataModeTitleCapacity));
  pbt_ = new QLineEdit(this);
  pbt_->setObjectName(QStringLiteral("PBTEdit"));
  cwTone_ = new QLineEdit(this);
  cwTone_->setObjectName(QStringLiteral("CWTEdit"));
  filter_ = new QComboBox(this);
  filter_->setObjectName(QStringLiteral("FiltCombo"));
  filter_->setEditable(true);
  step_ = new QComboBox(this);
  step_->setObjectName(QStringLiteral("StepCombo"));
  step_->setEditable(true);

  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("Title"), title_);
  fields->addRow(QStringLiteral("Filter BW (Hz)"), filter_);
  fields->addRow(QStringLiteral("Tuning Step (Hz)"), step_);
  fields->addRow(QStringLiteral("PBT (Hz)"), pbt_);
  fields->addRow(QStringLiteral("CW Tone (Hz)"), cwTone_);

  modes_ = new QButtonGroup(this);
  agc_ = new QButtonGroup(this);
  auto* modeBox = RadioGroup(this, QStringLiteral("Mode"), modes_,
                             {{"AMChk", "AM"}, {"USBChk", "USB"}, {"LSBChk", "LSB"}, {"CWChk", "CW"}}, 0);
  auto* agcBox =
      RadioGroup(this, QStringLiteral("AGC"), agc_, {{"SlowChk", "Slow"}, {"MedChk", "Med"}, {"FastChk", "Fast"}}, 1);

  auto* get = new QPushButton(QStringLiteral("Get Tuning"), this);
  get->setObjectName(QStringLiteral("GetBtn"));
  get->setAutoDefault(false);
  connect(get, &QPushButton::clicked, this, &DataProgramDialogView::getClicked);
  QHBoxLayout* buttons = OkCancelRow(this, [this] { okClicked(); }, [this] {
    if (model_) model_->CancelBtnClick();
  });
  buttons->insertWidget(0, get);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(review_);
  layout->addWidget(heading_);
  layout->addLayout(fields);
  layout->addWidget(modeBox);
  layout->addWidget(agcBox);
  layout->addLayout(buttons);
}

void DataProgramDialogView::run(DataProgramDialog& model) {
  model_ = &model;
  filter_->clear();
  for (const std::string& item : model.FiltComboItems) filter_->addItem(PanelText(item));
  step_->clear();
  for (const std::string& item : model.StepComboItems) step_->addItem(PanelText(item));
  for (int row = 0; row < DataModeCount; ++row) {
    const DataModeReviewRow& r = model.Review[row];
    const std::string* cells[] = {&r.title, &r.mode, &r.bandwidth, &r.step, &r.pbt, &r.cwTone, &r.agc};
    for (int column = 0; column < 7; ++column)
      review_->setItem(row, column, new QTableWidgetItem(PanelText(*cells[column])));
  }
  heading_->setText(PanelText(model.Heading));
  showModel();
  title_->setFocus();
  exec();
  model_ = nullptr;
}

void DataProgramDialogView::showModel() {
  title_->setText(PanelText(model_->TitleEdit));
  pbt_->setText(PanelText(model_->PBTEdit));
  cwTone_->setText(PanelText(model_->CWTEdit));
  filter_->setCurrentText(PanelText(model_->FiltCombo));
  step_->setCurrentText(PanelText(model_->StepCombo));
  Select(modes_, model_->ModeChoice);
  Select(agc_, model_->AGCChoice);
}

void DataProgramDialogView::takeFields() {
  model_->TitleEdit = Latin1(title_->text());
  model_->PBTEdit = Latin1(pbt_->text().trimmed());
  model_->CWTEdit = Latin1(cwTone_->text().trimmed());
  model_->FiltCombo = Latin1(filter_->currentText().trimmed());
  model_->StepCombo = Latin1(step_->currentText().trimmed());
  model_->ModeChoice = modes_->checkedId();
  model_->AGCChoice = std::max(0, agc_->checkedId());
}

void DataProgramDialogView::getClicked() {
  if (!model_) return;
  takeFields();
  model_->GetBtnClick();
  showModel();
}

void DataProgramDialogView::okClicked() {
  if (!model_) {
    accept();
    return;
  }
  takeFields();
  bool closes = false;
  RunShowingErrors(this, onError, [&] { closes = model_->OKBtnClick(); });
  showModel();
  if (closes) accept();
}

}  // namespace ondaris
