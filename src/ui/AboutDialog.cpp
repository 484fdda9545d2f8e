#include "ui/AboutDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Version.h"
#include "ui/PanelStyle.h"

namespace ondaris {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TAboutDlg"));
  setWindowTitle(QStringLiteral("About Ondaris..."));
  setModal(true);

  auto* name = new QLabel(QStringLiteral("Ondaris"), this);
  name->setObjectName(QStringLiteral("ProgramName"));
  name->setFont(PanelTextFont(28, true));
  name->setAlignment(Qt::AlignCenter);

  auto* version = new QLabel(QStringLiteral("Version %1").arg(QLatin1String(ProgramVersion)), this);
  version->setObjectName(QStringLiteral("Version"));
  version->setAlignment(Qt::AlignCenter);

  auto* receiver = new QLabel(QStringLiteral("Front panel for the Ten-Tec RX-320 shortwave receiver"), this);
  receiver->setObjectName(QStringLiteral("Receiver"));
  receiver->setAlignment(Qt::AlignCenter);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKBtn"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 20, 24, 16);
  layout->setSpacing(8);
  layout->addWidget(name);
  layout->addWidget(version);
  layout->addWidget(receiver);
  layout->addSpacing(8);
  layout->addWidget(buttons);
  setFixedSize(sizeHint());
}

}  // namespace ondaris
