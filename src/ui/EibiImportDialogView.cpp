#include "ui/EibiImportDialogView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

#include "freqfiles/EibiImport.h"
#include "ui/PanelStyle.h"

namespace ondaris {

namespace {

QString Text(const char* text) { return QString::fromLatin1(text); }

}  // namespace

EibiImportDialogView::EibiImportDialogView(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TEibiImportDlg"));
  setWindowTitle(Text(EibiImport::Caption));
  setModal(true);

  onAir_ = new QCheckBox(Text(EibiImport::OnAirOnlyCaption), this);
  onAir_->setObjectName(QStringLiteral("OnAirOnlyCheck"));
  range_ = new QCheckBox(Text(EibiImport::RangeOnlyCaption), this);
  range_->setObjectName(QStringLiteral("RangeOnlyCheck"));
  from_ = new QLineEdit(this);
  from_->setObjectName(QStringLiteral("FromKHzEdit"));
  to_ = new QLineEdit(this);
  to_->setObjectName(QStringLiteral("ToKHzEdit"));
  connect(range_, &QCheckBox::toggled, this, [this] { showRangeEnabled(); });

  ok_ = new QPushButton(Text(EibiImport::OKCaption), this);
  ok_->setObjectName(QStringLiteral("OKBtn"));
  ok_->setDefault(true);
  cancel_ = new QPushButton(Text(EibiImport::CancelCaption), this);
  cancel_->setObjectName(QStringLiteral("CancelBtn"));
  cancel_->setAutoDefault(false);
  connect(ok_, &QPushButton::clicked, this, &EibiImportDialogView::okClicked);
  connect(cancel_, &QPushButton::clicked, this, &EibiImportDialogView::cancelClicked);

  auto* rangeRow = new QHBoxLayout;
  rangeRow->addWidget(range_);
  rangeRow->addWidget(from_);
  rangeRow->addWidget(new QLabel(Text(EibiImport::ToLabel), this));
  rangeRow->addWidget(to_);
  rangeRow->addWidget(new QLabel(Text(EibiImport::UnitLabel), this));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(onAir_);
  layout->addLayout(rangeRow);
  layout->addLayout(buttons);
  showRangeEnabled();
}

void EibiImportDialogView::showRangeEnabled() {
  from_->setEnabled(range_->isChecked());
  to_->setEnabled(range_->isChecked());
}

void EibiImportDialogView::run(EibiImport& model) {
  model_ = &model;
  onAir_->setChecked(model.OnAirOnly);
  range_->setChecked(model.RangeOnly);
  from_->setText(PanelText(model.FromEdit));
  to_->setText(PanelText(model.ToEdit));
  showRangeEnabled();
  ok_->setFocus();
  exec();
  model_ = nullptr;
}

void EibiImportDialogView::okClicked() {
  if (!model_) {
    QDialog::accept();
    return;
  }
  model_->OnAirOnly = onAir_->isChecked();
  model_->RangeOnly = range_->isChecked();
  model_->FromEdit = from_->text().toLatin1().toStdString();
  model_->ToEdit = to_->text().toLatin1().toStdString();
  bool closes = true;
  try {
    closes = model_->OKBtnClick();
  } catch (const std::exception& error) {
    closes = false;
    if (onError)
      onError(error.what());
    else
      QMessageBox::warning(this, QStringLiteral("Ondaris"), QString::fromLocal8Bit(error.what()));
  }
  if (closes) QDialog::accept();
}

void EibiImportDialogView::cancelClicked() {
  if (model_) model_->CancelBtnClick();
  QDialog::reject();
}

}  // namespace ondaris
