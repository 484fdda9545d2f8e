#include "ui/ActionErrors.h"
#include "ui/LimitScanDialogView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "scan/LimitScanDialog.h"
#include "ui/PanelStyle.h"

namespace ondaris {

namespace {

QString Text(const char* text) { return QString::fromLatin1(text); }

}  // namespace

LimitScanDialogView::LimitScanDialogView(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TLimitScanDlg"));
  setWindowTitle(Text(LimitScanDialog::Caption));
  setModal(true);

  low_ = new QLineEdit(this);
  low_->setObjectName(QStringLiteral("LoLimitEdit"));
  low_->setToolTip(Text(LimitScanDialog::LowHint));
  high_ = new QLineEdit(this);
  high_->setObjectName(QStringLiteral("HiLimitEdit"));
  high_->setToolTip(Text(LimitScanDialog::HighHint));

  ok_ = new QPushButton(Text(LimitScanDialog::OKCaption), this);
  ok_->setObjectName(QStringLiteral("OKBtn"));
  ok_->setToolTip(Text(LimitScanDialog::OKHint));
  ok_->setDefault(true);
  cancel_ = new QPushButton(Text(LimitScanDialog::CancelCaption), this);
  cancel_->setObjectName(QStringLiteral("CancelBtn"));
  cancel_->setToolTip(Text(LimitScanDialog::CancelHint));
  cancel_->setAutoDefault(false);
  connect(ok_, &QPushButton::clicked, this, &LimitScanDialogView::okClicked);
  connect(cancel_, &QPushButton::clicked, this, &LimitScanDialogView::cancelClicked);

  auto* grid = new QGridLayout;
  auto* lowLabel = new QLabel(Text(LimitScanDialog::LowLabel), this);
  lowLabel->setBuddy(low_);
  auto* highLabel = new QLabel(Text(LimitScanDialog::HighLabel), this);
  highLabel->setBuddy(high_);
  grid->addWidget(lowLabel, 0, 0);
  grid->addWidget(low_, 0, 1);
  grid->addWidget(highLabel, 1, 0);
  grid->addWidget(high_, 1, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
}

void LimitScanDialogView::run(LimitScanDialog& model) {
  model_ = &model;
  low_->setText(PanelText(model.LoLimitEdit));
  high_->setText(PanelText(model.HiLimitEdit));
  low_->setFocus();
  low_->selectAll();
  exec();
  model_ = nullptr;
}

void LimitScanDialogView::okClicked() {
  if (!model_) {
    QDialog::accept();
    return;
  }
  model_->LoLimitEdit = low_->text().toLatin1().toStdString();
  model_->HiLimitEdit = high_->text().toLatin1().toStdString();
  bool closes = false;
  RunShowingErrors(this, onError, [&] { closes = model_->OKBtnClick(); });
  // Refused limits empty the edits; the next showing starts from the model.
  low_->setText(PanelText(model_->LoLimitEdit));
  high_->setText(PanelText(model_->HiLimitEdit));
  if (closes) QDialog::accept();
}

void LimitScanDialogView::cancelClicked() {
  if (model_) model_->CancelBtnClick();
  QDialog::reject();
}

}  // namespace ondaris
