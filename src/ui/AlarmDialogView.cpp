#include "ui/AlarmDialogView.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "timekeeping/AlarmClock.h"
#include "ui/PanelStyle.h"

namespace ondaris {

namespace {

QString L(const char* text) { return QString::fromLatin1(text); }

template <class W>
W* Named(W* widget, const char* name, const char* hint) {
  widget->setObjectName(L(name));
  if (*hint) widget->setToolTip(L(hint));
  return widget;
}

QComboBox* Combo(QWidget* parent, const char* name, const char* hint) {
  auto* combo = Named(new QComboBox(parent), name, hint);
  combo->setEditable(false);
  return combo;
}

void Fill(QComboBox* combo, const std::vector<std::string>& items, const std::string& text) {
  combo->blockSignals(true);
  combo->clear();
  for (const std::string& item : items) combo->addItem(PanelText(item));
  combo->setCurrentIndex(combo->findText(PanelText(text)));
  combo->blockSignals(false);
}

std::string Text(const QComboBox* combo) { return combo->currentText().toLatin1().toStdString(); }

}  // namespace

AlarmDialogView::AlarmDialogView(AlarmClock& model, QWidget* parent) : QDialog(parent), model_(model) {
  setObjectName(L("TAlarmDlg"));
  setWindowTitle(L(AlarmClock::Caption));
  setWindowModality(Qt::ApplicationModal);

  hour_ = Combo(this, "HourCombo", "Select the alarm hour");
  minute_ = Combo(this, "MinuteCombo", "Select the alarm minute");
  utc_ = Combo(this, "UTCCombo", "Select UTC or Local time for the alarm");
  for (QComboBox* combo : {hour_, minute_, utc_})
    connect(combo, &QComboBox::currentIndexChanged, this, [this] { act([this] { model_.ComboChange(); }); });
  timePanel_ = Named(new QLabel(this), "TimePanel", "Alarm time display");

  modes_ = new QButtonGroup(this);
  auto* modeBox = new QVBoxLayout;
  const std::array<std::array<const char*, 3>, 4> modes{{{"AlmOffBtn", "Alarm Off", ""},
                                                         {"AlmOnlyBtn", "Alarm Only", "Just sounds the alarm at the alarm time"},
                                                         {"RadioOnlyBtn", "Radio Only", "Just unmutes the radio at the alarm time"},
                                                         {"RadioAlmBtn", "Radio + Alm", "Plays the radio for 10 minutes, then sounds the alarm"}}};
  for (int m = 0; m < 4; ++m) {
    auto* button = Named(new QRadioButton(L(modes[m][1]), this), modes[m][0], modes[m][2]);
    modes_->addButton(button, m);
    modeBox->addWidget(button);
  }
  auto* store = Named(new QPushButton(L("Store Station"), this), "StoreBtn", "");
  station_ = Named(new QLineEdit(this), "StationEdit", "Frequency of the wakeup station");
  station_->setReadOnly(true);
  connect(store, &QPushButton::clicked, this, [this] { act([this] { model_.StoreBtnClick(); }); });

  sleeps_ = new QButtonGroup(this);
  auto* sleepBox = new QVBoxLayout;
  const std::array<std::pair<const char*, int>, 5> sleeps{
      {{"Sleep120Btn", 120}, {"Sleep90Btn", 90}, {"Sleep60Btn", 60}, {"Sleep30Btn", 30}, {"Sleep0Btn", 0}}};
  for (const auto& [name, minutes] : sleeps) {
    const QString caption = minutes ? QStringLiteral("Sleep %1 Minutes").arg(minutes) : L("Sleep Timer Off");
    auto* button = Named(new QRadioButton(caption, this), name, "");
    sleeps_->addButton(button, minutes);
    sleepBox->addWidget(button);
    connect(button, &QRadioButton::clicked, this, [this, m = minutes] { act([this, m] { model_.SleepBtnClick(m); }); });
  }
  sleepPanel_ = Named(new QLabel(this), "SleepPanel", "Amount of time until the radio mutes");

  test_ = Named(new QPushButton(L("Test"), this), "TestBtn", "");
  silence_ = Named(new QPushButton(L("Silence Audible Alarm"), this), "SilenceBtn",
                   "Silences the audible alarm.  Does not change the alarm mode.");
  connect(test_, &QPushButton::clicked, this, [this] { act([this] { model_.TestBtnClick(); }); });
  connect(silence_, &QPushButton::clicked, this, [this] { act([this] { model_.SilenceBtnClick(); }); });
  clkPanel_ = Named(new QLabel(this), "ClkPanel", "");
  auto* ok = Named(new QPushButton(L("OK"), this), "OKBtn", "Activate any changes");
  auto* cancel = Named(new QPushButton(L("Cancel"), this), "CancelBtn", "Exit without changing any clock radio settings");
  connect(ok, &QPushButton::clicked, this, [this] {
    bool closes = false;
    act([this, &closes] { closes = model_.OKBtnClick(); });
    if (closes) accept();
  });
  connect(cancel, &QPushButton::clicked, this, [this] { reject(); });

  auto* grid = new QGridLayout(this);
  auto* times = new QHBoxLayout;
  for (QWidget* w : {static_cast<QWidget*>(hour_), static_cast<QWidget*>(minute_), static_cast<QWidget*>(utc_),
                     static_cast<QWidget*>(timePanel_)})
    times->addWidget(w);
  grid->addLayout(times, 0, 0, 1, 2);
  grid->addLayout(modeBox, 1, 0);
  grid->addLayout(sleepBox, 1, 1);
  grid->addWidget(store, 2, 0);
  grid->addWidget(station_, 3, 0);
  grid->addWidget(sleepPanel_, 2, 1);
  grid->addWidget(clkPanel_, 3, 1);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {test_, silence_, ok, cancel}) buttons->addWidget(b);
  grid->addLayout(buttons, 4, 0, 1, 2);

  refresh_ = new QTimer(this);
  refresh_->setInterval(200);
  connect(refresh_, &QTimer::timeout, this, [this] { pushLabels(); });

  model_.showDialog = [this] {
    push();
    model_.dialogOpen = true;
    refresh_->start();
    open();
  };
  model_.closeDialog = [this] { reject(); };
}

AlarmDialogView::~AlarmDialogView() {
  model_.showDialog = nullptr;
  model_.closeDialog = nullptr;
  model_.dialogOpen = false;
}

void AlarmDialogView::pull() {
  AlarmDialogFields& d = model_.dlg;
  d.HourText = Text(hour_);
  d.MinuteText = Text(minute_);
  d.UTCText = Text(utc_);
  d.ModeButton = std::max(0, modes_->checkedId());
  d.SleepButton = std::max(0, sleeps_->checkedId());
}

void AlarmDialogView::push() {
  const AlarmDialogFields& d = model_.dlg;
  Fill(hour_, d.HourItems, d.HourText);
  Fill(minute_, d.MinuteItems, d.MinuteText);
  Fill(utc_, d.UTCItems, d.UTCText);
  if (auto* b = modes_->button(d.ModeButton)) b->setChecked(true);
  if (auto* b = sleeps_->button(d.SleepButton)) b->setChecked(true);
  station_->setText(PanelText(d.StationEdit));
  pushLabels();
}

void AlarmDialogView::pushLabels() {
  const AlarmDialogFields& d = model_.dlg;
  timePanel_->setText(PanelText(d.TimePanel));
  sleepPanel_->setText(PanelText(d.SleepPanel));
  clkPanel_->setText(PanelText(d.ClkPanel));
  test_->setStyleSheet(d.TestBtnRed ? QStringLiteral("color: red") : QString());
  silence_->setStyleSheet(d.SilenceBtnRed ? QStringLiteral("color: red") : QString());
}

template <class Action>
void AlarmDialogView::act(Action&& action) {
  pull();
  action();
  push();
}

void AlarmDialogView::reject() {
  model_.CancelBtnClick();
  QDialog::reject();
}

void AlarmDialogView::done(int result) {
  refresh_->stop();
  model_.dialogOpen = false;
  QDialog::done(result);
}

}  // namespace ondaris
