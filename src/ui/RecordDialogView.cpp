#include "ui/RecordDialogView.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "timekeeping/Recorder.h"
#include "ui/PanelStyle.h"

namespace ondaris {

namespace {

QPushButton* Button(QWidget* parent, const char* name, const char* caption, const char* hint) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setToolTip(QString::fromLatin1(hint));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

RecordDialogView::RecordDialogView(Recorder& model, QWidget* parent) : QDialog(parent), model_(model) {
  setObjectName(QStringLiteral("TRecordDlg"));
  setWindowTitle(QString::fromLatin1(Recorder::Caption));
  setModal(false);
  record_ = Button(this, "RecordBtn", "Record", "Start wave file recording.  Click to re-display timed recording controls.");
  stop_ = Button(this, "StopBtn", "Stop", "Stops play or record.  Saves recorded file.");
  play_ = Button(this, "PlayBtn", "Play", "Open a wave file to play");
  pause_ = Button(this, "PauseBtn", "Pause", "Pauses the recording operation");
  bye_ = Button(this, "ByeBtn", "Exit", "Exits.  You can save your recorded information with this button, too.");
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("StatusDisp"));
  status_->setMinimumWidth(220);
  bar_ = new QProgressBar(this);
  bar_->setObjectName(QStringLiteral("PBBar"));
  bar_->setTextVisible(false);

  timedPanel_ = new QWidget(this);
  timedPanel_->setObjectName(QStringLiteral("TimedRecPanel"));
  less_ = Button(timedPanel_, "LessTimeBtn", "Less Time", "");
  more_ = Button(timedPanel_, "MoreTimeBtn", "More Time", "Starts timed recording or increases recording time");
  manual_ = Button(timedPanel_, "ManualBtn", "Manual",
                   "Ends timed recording mode.  The recording continues until you stop it manually.");
  timedDisp_ = new QLabel(timedPanel_);
  timedDisp_->setObjectName(QStringLiteral("TimedRecDisp"));
  timedDisp_->setToolTip(QStringLiteral("Time remaining until automatic record shutoff"));
  auto* timed = new QHBoxLayout(timedPanel_);
  timed->setContentsMargins(0, 0, 0, 0);
  for (QWidget* w : {static_cast<QWidget*>(less_), static_cast<QWidget*>(more_), static_cast<QWidget*>(manual_),
                     static_cast<QWidget*>(timedDisp_)})
    timed->addWidget(w);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {record_, stop_, play_, pause_, bye_}) buttons->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(status_);
  layout->addWidget(bar_);
  layout->addWidget(timedPanel_);

  connect(record_, &QPushButton::clicked, this, [this] { act([this] { model_.RecordBtnClick(); }); });
  connect(stop_, &QPushButton::clicked, this, [this] { act([this] { model_.StopBtnClick(); }); });
  connect(play_, &QPushButton::clicked, this, [this] { act([this] { model_.PlayBtnClick(); }); });
  connect(pause_, &QPushButton::clicked, this, [this] { act([this] { model_.PauseBtnClick(); }); });
  connect(bye_, &QPushButton::clicked, this, [this] { act([this] { model_.ByeBtnClick(); }); });
  connect(less_, &QPushButton::clicked, this, [this] { act([this] { model_.LessTimeBtnClick(); }); });
  connect(more_, &QPushButton::clicked, this, [this] { act([this] { model_.MoreTimeBtnClick(); }); });
  connect(manual_, &QPushButton::clicked, this, [this] { act([this] { model_.ManualBtnClick(); }); });

  // The clock and the progress timer change the fields while the window is up.
  refresh_ = new QTimer(this);
  refresh_->setInterval(200);
  connect(refresh_, &QTimer::timeout, this, [this] { push(); });
  refresh_->start();

  model_.showDialog = [this] {
    show();
    raise();
    push();
  };
  model_.hideDialog = [this] { hide(); };
}

RecordDialogView::~RecordDialogView() {
  model_.showDialog = nullptr;
  model_.hideDialog = nullptr;
}

template <class Action>
void RecordDialogView::act(Action&& action) {
  action();
  push();
}

void RecordDialogView::push() {
  if (!isVisible()) return;
  const RecordDialogFields& d = model_.dlg;
  status_->setText(PanelText(d.StatusDisp));
  play_->setEnabled(d.PlayBtnEnabled);
  record_->setEnabled(d.RecordBtnEnabled);
  pause_->setEnabled(d.PauseBtnEnabled);
  stop_->setEnabled(d.StopBtnEnabled);
  timedPanel_->setVisible(d.TimedControlsVisible);
  timedDisp_->setText(PanelText(d.TimedRecDisp));
  bar_->setVisible(d.PBBarVisible);
  bar_->setMaximum(d.PBBarMax);
  bar_->setValue(d.PBBarPosition);
}

void RecordDialogView::closeEvent(QCloseEvent* event) {
  // Accepted, so that the application's quit is never held up here.
  act([this] { model_.ByeBtnClick(); });
  event->accept();
}

void RecordDialogView::reject() { act([this] { model_.ByeBtnClick(); }); }

}  // namespace ondaris
