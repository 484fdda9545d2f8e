#include "ui/AboutDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Version.h"
#include "ui/PanelStyle.h"

namespace ondaris {

AboutDialog::AboutDialog(const QString& helpPage, QWidget* parent) : QDialog(parent) {
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

  auto* licence = new QLabel(QString::fromLatin1(ProgramLicence), this);
  licence->setObjectName(QStringLiteral("Licence"));
  licence->setAlignment(Qt::AlignCenter);
  licence->setWordWrap(true);

  auto* help = new QLabel(helpPage.isEmpty()
                              ? QStringLiteral("The help pages (help/OndarisHelp.html) were not found.")
                              : QStringLiteral("Help pages: %1").arg(helpPage),
                          this);
  help->setObjectName(QStringLiteral("HelpPages"));
  help->setAlignment(Qt::AlignCenter);
  help->setWordWrap(true);
  help->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKBtn"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 20, 24, 16);
  layout->setSpacing(8);
  layout->addWidget(name);
  layout->addWidget(version);
  layout->addWidget(receiver);
  layout->addWidget(licence);
  layout->addWidget(help);
  layout->addSpacing(8);
  layout->addWidget(buttons);
  setMinimumWidth(420);
  setFixedSize(sizeHint());
}

}  // namespace ondaris
