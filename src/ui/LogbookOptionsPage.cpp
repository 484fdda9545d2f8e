#include "ui/LogbookOptionsPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "options/LogbookOptions.h"
#include "ui/UserOptionsDialogView.h"

namespace ondaris {

namespace {

template <class Box>
Box* Named(Box* box, const char* name) {
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

}  // namespace

void AddLogbookOptionsPage(UserOptionsDialogView& view, LogbookOptions& model) {
  auto* page = new QWidget(&view);
  auto* dates = new QGroupBox(QStringLiteral("Log Date Format"), page);
  auto* usa = Named(new QRadioButton(QStringLiteral("MM/DD/YYYY"), dates), "USADateChk");
  auto* euro = Named(new QRadioButton(QStringLiteral("DD/MM/YYYY"), dates), "EuroDateChk");
  auto* dateLayout = new QVBoxLayout(dates);
  dateLayout->addWidget(usa);
  dateLayout->addWidget(euro);

  auto* sorts = new QGroupBox(QStringLiteral("Log Export Bulk Sorts"), page);
  auto* swl = Named(new QCheckBox(QStringLiteral("SWL"), sorts), "SWLChk");
  auto* mw = Named(new QCheckBox(QStringLiteral("MW"), sorts), "MWChk");
  auto* ute = Named(new QCheckBox(QStringLiteral("Ute"), sorts), "UteChk");
  auto* sortLayout = new QVBoxLayout(sorts);
  for (QCheckBox* box : {swl, mw, ute}) sortLayout->addWidget(box);

  auto* layout = new QHBoxLayout(page);
  layout->addWidget(dates);
  layout->addWidget(sorts);
  layout->addStretch(1);

  view.addSectionView(
      page, QStringLiteral("Logbook"),
      [=, &model] {
        usa->setChecked(model.USADateChk);
        euro->setChecked(!model.USADateChk);
        swl->setChecked(model.SWLChk);
        mw->setChecked(model.MWChk);
        ute->setChecked(model.UteChk);
      },
      [=, &model] {
        model.USADateChk = usa->isChecked();
        model.EuroDateChk = !model.USADateChk;
        model.SWLChk = swl->isChecked();
        model.MWChk = mw->isChecked();
        model.UteChk = ute->isChecked();
      });
}

}  // namespace ondaris
