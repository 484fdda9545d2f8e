#include "ui/DialogButtons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace ondaris {

QHBoxLayout* OkCancelRow(QDialog* dialog, std::function<void()> onOk, std::function<void()> onCancel) {
  auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
  ok->setObjectName(QStringLiteral("OKBtn"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
  cancel->setObjectName(QStringLiteral("CancelBtn"));
  cancel->setAutoDefault(false);
  QObject::connect(ok, &QPushButton::clicked, dialog, std::move(onOk));
  QObject::connect(cancel, &QPushButton::clicked, dialog, [dialog, onCancel = std::move(onCancel)] {
    onCancel();
    dialog->reject();
  });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  return buttons;
}

}  // namespace ondaris
