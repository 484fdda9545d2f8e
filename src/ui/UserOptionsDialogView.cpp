#include "ui/UserOptionsDialogView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <exception>

#include "options/UserOptionsDialog.h"
#include "ui/DialogButtons.h"
#include "ui/PanelStyle.h"

namespace ondaris {

namespace {

QString Text(const char* text) { return QString::fromLatin1(text); }
std::string Latin1(const QString& text) { return text.toLatin1().toStdString(); }

QLineEdit* Edit(QWidget* parent, const char* name, const char* hint = nullptr) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(Text(name));
  if (hint) edit->setToolTip(Text(hint));
  return edit;
}

QCheckBox* Check(QWidget* parent, const char* name, const char* caption) {
  auto* box = new QCheckBox(Text(caption), parent);
  box->setObjectName(Text(name));
  return box;
}

}  // namespace

UserOptionsDialogView::UserOptionsDialogView(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TUserOptionDlg"));
  setWindowTitle(Text(UserOptionsDialog::Caption));
  setModal(true);

  auto* general = new QWidget(this);
  port_ = new QComboBox(general);
  port_->setObjectName(QStringLiteral("ComPortBox"));
  port_->setEditable(true);
  port_->setToolTip(Text(UserOptionsDialog::ComPortHint));
  dir_ = Edit(general, "DirEdit");
  auto* browse = new QPushButton(QStringLiteral("Browse..."), general);
  browse->setObjectName(QStringLiteral("DirBtn"));
  browse->setAutoDefault(false);
  connect(browse, &QPushButton::clicked, this, &UserOptionsDialogView::browseClicked);
  cwTone_ = Edit(general, "CWToneEdit", UserOptionsDialog::CWToneHint);
  meter_ = Edit(general, "MeterEdit", UserOptionsDialog::MeterHint);

  auto* dirRow = new QHBoxLayout;
  dirRow->addWidget(dir_, 1);
  dirRow->addWidget(browse);
  auto* top = new QFormLayout;
  top->addRow(QStringLiteral("COM Port"), port_);
  top->addRow(Text(UserOptionsDialog::DirLabel), dirRow);
  top->addRow(Text(UserOptionsDialog::CWToneLabel), cwTone_);
  top->addRow(Text(UserOptionsDialog::MeterLabel), meter_);

  auto* calibration = new QGroupBox(QStringLiteral("Frequency Calibration"), general);
  loFreq_ = Edit(calibration, "LoFreqEdit");
  loErr_ = Edit(calibration, "LoErrEdit");
  hiFreq_ = Edit(calibration, "HiFreqEdit");
  hiErr_ = Edit(calibration, "HiErrEdit");
  auto* cal = new QGridLayout(calibration);
  cal->addWidget(new QLabel(QStringLiteral("Low Freq (MHz)"), calibration), 0, 0);
  cal->addWidget(loFreq_, 0, 1);
  cal->addWidget(new QLabel(QStringLiteral("Error (Hz)"), calibration), 0, 2);
  cal->addWidget(loErr_, 0, 3);
  cal->addWidget(new QLabel(QStringLiteral("High Freq (MHz)"), calibration), 1, 0);
  cal->addWidget(hiFreq_, 1, 1);
  cal->addWidget(new QLabel(QStringLiteral("Error (Hz)"), calibration), 1, 2);
  cal->addWidget(hiErr_, 1, 3);

  auto* defaults = new QHBoxLayout;
  const char* groups[3] = {"AM Defaults", "SSB Defaults", "CW Defaults"};
  const char* names[6] = {"AMFiltBox1", "AMStepBox1", "SSBFiltBox", "SSBStepBox", "CWFiltBox", "CWStepBox"};
  for (int g = 0; g < 3; ++g) {
    auto* box = new QGroupBox(Text(groups[g]), general);
    auto* form = new QFormLayout(box);
    for (int k = 0; k < 2; ++k) {
      auto* combo = new QComboBox(box);
      combo->setObjectName(Text(names[g * 2 + k]));
      boxes_[g * 2 + k] = combo;
      form->addRow(k == 0 ? QStringLiteral("Filter") : QStringLiteral("Step"), combo);
    }
    defaults->addWidget(box);
  }

  const char* checkNames[6][2] = {{"Chk9KHz", "9 KHz steps"},
                                  {"MuteBox", "Mute on Exit as default"},
                                  {"MuteSep", "Mute Spkr and Line Together"},
                                  {"UseDefaultFiltsBox", "Use Default Filters as Default"},
                                  {"UseDefaultStepsBox", "Use Default Steps as Default"},
                                  {"ShowHintsBox", "Show Hints"}};
  auto* checks = new QGridLayout;
  for (int i = 0; i < 6; ++i) {
    checks_[i] = Check(general, checkNames[i][0], checkNames[i][1]);
    checks->addWidget(checks_[i], i % 3, i / 3);
  }

  auto* generalLayout = new QVBoxLayout(general);
  generalLayout->addLayout(top);
  generalLayout->addWidget(calibration);
  generalLayout->addLayout(defaults);
  generalLayout->addLayout(checks);

  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("OptionPages"));
  pages_->addTab(general, QStringLiteral("Receiver"));

  QHBoxLayout* buttons = OkCancelRow(this, [this] { okClicked(); }, [this] {
    if (model_) model_->CancelBtnClick();
  });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  layout->addLayout(buttons);
}

void UserOptionsDialogView::addSectionView(QWidget* page, const QString& title, std::function<void()> show,
                                           std::function<void()> take) {
  pages_->addTab(page, title);
  sections_.push_back(SectionView{std::move(show), std::move(take)});
}

void UserOptionsDialogView::run(UserOptionsDialog& model) {
  model_ = &model;
  port_->clear();
  for (const std::string& name : model.ComPortItems) port_->addItem(PanelText(name));
  for (int i = 0; i < 6; ++i) {
    boxes_[i]->clear();
    for (const std::string& item : (i % 2 == 0 ? model.FilterItems : model.StepItems))
      boxes_[i]->addItem(PanelText(item));
  }
  showModel();
  pages_->setCurrentIndex(0);
  exec();
  model_ = nullptr;
}

void UserOptionsDialogView::showModel() {
  UserOptionsDialog& m = *model_;
  port_->setCurrentText(PanelText(m.ComPortBox));
  dir_->setText(PanelText(m.DirEdit));
  cwTone_->setText(PanelText(m.CWToneEdit));
  meter_->setText(PanelText(m.MeterEdit));
  loFreq_->setText(PanelText(m.LoFreqEdit));
  loErr_->setText(PanelText(m.LoErrEdit));
  hiFreq_->setText(PanelText(m.HiFreqEdit));
  hiErr_->setText(PanelText(m.HiErrEdit));
  const int rows[6] = {m.AMFiltBox1, m.AMStepBox1, m.SSBFiltBox, m.SSBStepBox, m.CWFiltBox, m.CWStepBox};
  for (int i = 0; i < 6; ++i) boxes_[i]->setCurrentIndex(rows[i]);
  const bool flags[6] = {m.Chk9KHz, m.MuteBox, m.MuteSep, m.UseDefaultFiltsBox, m.UseDefaultStepsBox,
                         m.ShowHintsBox};
  for (int i = 0; i < 6; ++i) checks_[i]->setChecked(flags[i]);
  for (const SectionView& section : sections_)
    if (section.show) section.show();
}

void UserOptionsDialogView::takeFields() {
  UserOptionsDialog& m = *model_;
  m.ComPortBox = Latin1(port_->currentText().trimmed());
  m.DirEdit = Latin1(dir_->text().trimmed());
  m.CWToneEdit = Latin1(cwTone_->text().trimmed());
  m.MeterEdit = Latin1(meter_->text().trimmed());
  m.LoFreqEdit = Latin1(loFreq_->text().trimmed());
  m.LoErrEdit = Latin1(loErr_->text().trimmed());
  m.HiFreqEdit = Latin1(hiFreq_->text().trimmed());
  m.HiErrEdit = Latin1(hiErr_->text().trimmed());
  int* rows[6] = {&m.AMFiltBox1, &m.AMStepBox1, &m.SSBFiltBox, &m.SSBStepBox, &m.CWFiltBox, &m.CWStepBox};
  for (int i = 0; i < 6; ++i) *rows[i] = boxes_[i]->currentIndex();
  bool* flags[6] = {&m.Chk9KHz, &m.MuteBox, &m.MuteSep, &m.UseDefaultFiltsBox, &m.UseDefaultStepsBox,
                    &m.ShowHintsBox};
  for (int i = 0; i < 6; ++i) *flags[i] = checks_[i]->isChecked();
  for (const SectionView& section : sections_)
    if (section.take) section.take();
}

void UserOptionsDialogView::browseClicked() {
  if (!model_) return;
  takeFields();
  model_->DirBrowseClick();
  dir_->setText(PanelText(model_->DirEdit));
}

void UserOptionsDialogView::okClicked() {
  if (!model_) {
    accept();
    return;
  }
  takeFields();
  bool closes = false;
  try {
    closes = model_->OKBtnClick();
  } catch (const std::exception& error) {
    closes = true;  // applied as far as it went; the error says what failed
    if (onError)
      onError(error.what());
    else
      QMessageBox::warning(this, QStringLiteral("Ondaris"), QString::fromLocal8Bit(error.what()));
  }
  if (closes) accept();
}

}  // namespace ondaris
