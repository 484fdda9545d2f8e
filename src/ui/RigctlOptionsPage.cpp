#include "ui/RigctlOptionsPage.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "options/RigctlOptions.h"
#include "ui/UserOptionsDialogView.h"

namespace ondaris {

void AddRigctlOptionsPage(UserOptionsDialogView& view, RigctlOptions& model) {
  auto* page = new QWidget(&view);
  auto* group = new QGroupBox(QStringLiteral("Network Rig Control (rigctld)"), page);
  auto* on = new QCheckBox(QStringLiteral("Serve Hamlib's network rig protocol"), group);
  on->setObjectName(QStringLiteral("RigctlOnBox"));
  on->setToolTip(QStringLiteral("Lets programs that use \"Hamlib NET rigctl\" read and tune the receiver."));
  auto* address = new QLineEdit(group);
  address->setObjectName(QStringLiteral("RigctlAddressEdit"));
  address->setToolTip(QStringLiteral("127.0.0.1 serves this computer only."));
  auto* port = new QLineEdit(group);
  port->setObjectName(QStringLiteral("RigctlPortEdit"));
  port->setMaxLength(5);

  auto* form = new QFormLayout(group);
  form->addRow(on);
  form->addRow(QStringLiteral("Listening Address"), address);
  form->addRow(QStringLiteral("TCP Port"), port);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(group);
  layout->addStretch(1);

  view.addSectionView(
      page, QStringLiteral("Rig Control"),
      [=, &model] {
        on->setChecked(model.RigctlOnBox);
        address->setText(QString::fromStdString(model.RigctlAddressEdit));
        port->setText(QString::fromStdString(model.RigctlPortEdit));
      },
      [=, &model] {
        model.RigctlOnBox = on->isChecked();
        model.RigctlAddressEdit = address->text().toStdString();
        model.RigctlPortEdit = port->text().toStdString();
      });
}

}  // namespace ondaris
