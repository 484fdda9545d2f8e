#include "ui/TagDialogView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "memories/TagDialogs.h"
#include "ui/PanelStyle.h"

namespace ondaris {

TagDialogView::TagDialogView(Kind kind, QWidget* parent) : QDialog(parent) {
  const bool memory = kind == Kind::MemoryTag;
  setObjectName(memory ? QStringLiteral("TTagEntryDlg") : QStringLiteral("TBankTagDlg"));
  setModal(true);

  label_ = new QLabel(this);
  label_->setObjectName(memory ? QStringLiteral("TagLabel") : QStringLiteral("BankTagLabel"));
  edit_ = new QLineEdit(this);
  edit_->setObjectName(memory ? QStringLiteral("TagEdit") : QStringLiteral("BankTagEdit"));
  label_->setBuddy(edit_);

  ok_ = new QPushButton(QString::fromLatin1(TagDialogModel::OKCaption), this);
  ok_->setObjectName(QStringLiteral("OKBtn"));
  ok_->setDefault(true);
  cancel_ = new QPushButton(QString::fromLatin1(TagDialogModel::CancelCaption), this);
  cancel_->setObjectName(QStringLiteral("CancelBtn"));
  cancel_->setAutoDefault(false);
  connect(ok_, &QPushButton::clicked, this, &TagDialogView::okClicked);
  connect(cancel_, &QPushButton::clicked, this, &TagDialogView::cancelClicked);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label_);
  layout->addWidget(edit_);
  layout->addLayout(buttons);
  setMinimumWidth(300);
}

void TagDialogView::run(TagDialogModel& model) {
  model_ = &model;
  setWindowTitle(QString::fromLatin1(model.caption()));
  label_->setText(QString::fromLatin1(model.label()));
  edit_->setText(PanelText(model.text));
  edit_->selectAll();
  edit_->setFocus();
  exec();
  // Whatever closed the window, the model is closed too.
  if (model.isOpen()) model.CancelBtnClick();
  model_ = nullptr;
}

void TagDialogView::okClicked() {
  if (model_) {
    model_->text = edit_->text().toLatin1().toStdString();
    model_->OKBtnClick();
  }
  QDialog::accept();
}

void TagDialogView::cancelClicked() { reject(); }

void TagDialogView::reject() {
  if (model_) model_->CancelBtnClick();
  QDialog::reject();
}

}  // namespace ondaris
