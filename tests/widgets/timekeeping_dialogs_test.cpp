// The clock radio, recorder and scheduler windows over their models: each
// opens from its model with its caption, shows the model's state in the
// controls of their names, and hands what the listener typed and clicked to
// the model. Likewise the logbook's page of the options window.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/ClockRadioRig.h"
#include "options/LogbookOptions.h"
#include "options/UserOptionsDialog.h"
#include "timekeeping/Scheduler.h"
#include "timekeeping/SkedDialog.h"
#include "ui/AlarmDialogView.h"
#include "ui/LogbookOptionsPage.h"
#include "ui/RecordDialogView.h"
#include "ui/SkedDialogView.h"
#include "ui/UserOptionsDialogView.h"

namespace ondaris {
namespace {

struct DialogsRig : ClockRadioRig {
  DialogsRig() {
    clock.setUtc(DateTime{2027, 5, 20, 12, 0, 0});
    state.Freq = 9410.0;
    recorder.FormCreate();
    messages.setDefaultAnswer(false);  // closing the recorder: do not keep the recording
  }
  Scheduler scheduler{ctx, receiver, controls, folder.dir()};
  SkedDialog sked{ctx, scheduler};
  AlarmDialogView alarmView{alarm, nullptr};
  RecordDialogView recordView{recorder, nullptr};
  SkedDialogView skedView{sked, nullptr};
};

// A control's text as the listener sees it; a plain widget tells whether it
// shows, the grid gives its first row.
std::string Shown(QWidget* w) {
  QString text;
  if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
  else if (auto* edit = qobject_cast<QLineEdit*>(w)) text = edit->text();
  else if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text() + (button->isChecked() ? "*" : "");
  else if (auto* combo = qobject_cast<QComboBox*>(w)) text = combo->currentText();
  else if (auto* grid = qobject_cast<QTableWidget*>(w)) {
    for (int c = 0; c < grid->columnCount(); ++c) text += (grid->item(0, c) ? grid->item(0, c)->text() : "") + "|";
  } else text = w->isVisible() ? "shown" : "hidden";
  return text.toStdString();
}

void Type(QWidget* w, const std::string& text) {
  if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setText(QString::fromStdString(text));
  else if (auto* combo = qobject_cast<QComboBox*>(w)) combo->setCurrentText(QString::fromStdString(text));
  else if (auto* box = qobject_cast<QCheckBox*>(w)) box->setChecked(text == "1");
}

using Texts = std::vector<std::pair<const char*, std::string>>;

struct DialogCase {
  const char* name;
  const char* window;  // object name
  const char* caption;
  std::function<void(DialogsRig&)> open;
  Texts shown;      // after opening
  Texts typed;      // then typed by the listener
  const char* button;
  Texts shownAfter;
  std::function<bool(DialogsRig&)> modelAfter;
};

void PrintTo(const DialogCase& c, std::ostream* os) { *os << c.name; }

class TimekeepingDialogs : public ::testing::TestWithParam<DialogCase> {
 protected:
  QDialog* window(const char* name) {
    for (QDialog* d : {static_cast<QDialog*>(&rig.alarmView), static_cast<QDialog*>(&rig.recordView),
                       static_cast<QDialog*>(&rig.skedView)})
      if (d->objectName() == name) return d;
    return nullptr;
  }
  DialogsRig rig;
};

void ExpectShown(QDialog* dialog, const Texts& texts, const char* when) {
  for (const auto& [control, text] : texts) {
    auto* w = dialog->findChild<QWidget*>(control);
    ASSERT_NE(w, nullptr) << control;
    EXPECT_EQ(Shown(w), text) << control << " " << when;
  }
}

TEST_P(TimekeepingDialogs, OpenShowTheModelAndForwardAButton) {
  const DialogCase& c = GetParam();
  QDialog* dialog = window(c.window);
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(dialog->isVisible());
  c.open(rig);
  ASSERT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->windowTitle().toStdString(), c.caption);
  ExpectShown(dialog, c.shown, "after opening");
  for (const auto& [control, text] : c.typed) {
    auto* w = dialog->findChild<QWidget*>(control);
    ASSERT_NE(w, nullptr) << control;
    Type(w, text);
  }
  auto* button = dialog->findChild<QAbstractButton*>(c.button);
  ASSERT_NE(button, nullptr) << c.button;
  button->click();
  ExpectShown(dialog, c.shownAfter, "after the button");
  EXPECT_TRUE(c.modelAfter(rig));
  EXPECT_TRUE(rig.messages.shown().empty()) << rig.messages.shown().front().text;
  dialog->reject();
  EXPECT_FALSE(dialog->isVisible());
}

ScheduleEntry Evening() {
  ScheduleEntry e;
  e.StartDate = "5/20/2027";
  e.EndDate = "5/21/2027";
  e.OnTime = "2330";
  e.OffTime = "0030";
  e.Station = "Radio Alba";
  e.Frequency = 9580;
  e.Mode = "USB";
  e.Filter = 2550;
  e.PBT = 100;
  e.AGC = "F";
  e.MuteSpeaker = 1;
  return e;
}

const char* EveningRow = "5/20/2027|2330|0030||Radio Alba|9580|USB|2550|F|100|Y||";

INSTANTIATE_TEST_SUITE_P(
    Windows, TimekeepingDialogs,
    ::testing::Values(
        DialogCase{"ClockRadio", "TAlarmDlg", "Clock Radio Controls",
                   [](DialogsRig& r) {
                     r.alarm.settings.AlarmTime = 730;
                     r.alarm.settings.AlarmUsesUTC = true;
                     r.alarm.settings.AlarmMode = 2;
                     r.alarm.TimePanelClick();
                   },
                   {{"TimePanel", "0730 UTC"}, {"HourCombo", "07"}, {"MinuteCombo", "30"}, {"UTCCombo", "UTC"},
                    {"RadioOnlyBtn", "Radio Only*"}, {"StationEdit", "<none>"}, {"SleepPanel", "Off"}},
                   {},
                   "Sleep30Btn",
                   {{"SleepPanel", "30"}, {"Sleep30Btn", "Sleep 30 Minutes*"}},
                   [](DialogsRig& r) { return r.alarm.dlg.SleepButton == 30 && r.alarm.dlg.ModeButton == 2; }},
        DialogCase{"Recorder", "TRecordDlg", "Manual Record and Playback",
                   [](DialogsRig& r) { r.recorder.RecordItemClick(); },
                   {{"StatusDisp", "Stopped"}, {"TimedRecPanel", "hidden"}},
                   {},
                   "RecordBtn",
                   {{"TimedRecPanel", "shown"}},
                   [](DialogsRig& r) { return r.device.started.size() == 1 && r.recorder.IsRecording(); }},
        DialogCase{"SchedulerArms", "TSkedDlg", "Scheduler",
                   [](DialogsRig& r) {
                     WriteSchedule(r.folder.dir(), {Evening()});
                     r.sked.SkedItemClick();
                   },
                   {{"Grid", EveningRow}, {"OnOffBtn", "Scheduler Off"}},
                   {},
                   "OnOffBtn",
                   {{"OnOffBtn", "Scheduler On"}},
                   [](DialogsRig& r) { return !r.scheduler.SchedulerOff && r.scheduler.schedule.size() == 1; }},
        DialogCase{"SchedulerAddsWhatWasTyped", "TSkedDlg", "Scheduler",
                   [](DialogsRig& r) { r.sked.SkedItemClick(); },
                   {{"Grid", "||||||||||||"}},
                   {{"DateEdit", "5/20/2027"}, {"OnTimeEdit", "2330"}, {"OffTimeEdit", "0030"},
                    {"StationEdit", "Radio Alba"}, {"FreqEdit", "9580"}, {"ModeCombo", "USB"},
                    {"FiltCombo", "2550"}, {"PBTEdit", "100"}, {"AGCCombo", "Fast"}, {"MuteSpkrChk", "1"}},
                   "AddBtn",
                   {{"Grid", EveningRow}, {"DateOffEdit", "5/21/2027"}},
                   [](DialogsRig& r) { return r.scheduler.schedule.size() == 1; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LogbookOptionsPage, ShowsTheDateFileAndOkWritesTheChoices) {
  DialogsRig rig;
  std::filesystem::create_directories(rig.folder.path() / "LogFiles");
  WriteFileBytes(rig.folder.file("LogFiles/DateFormat.dat"), "DD/MM/YYYY\r\n");
  const std::string dir = rig.folder.dir();
  LogbookSettings settings;
  LogbookOptions section(settings, dir, rig.messages);
  UserOptionsDialog model(rig.ctx, rig.receiver, rig.tuning, rig.meter, rig.dialogs, dir);
  model.addSection(section);
  UserOptionsDialogView view;
  AddLogbookOptionsPage(view, section);
  model.Fill();
  std::string shown;
  QTimer::singleShot(0, &view, [&] {
    shown = Shown(view.findChild<QWidget*>("EuroDateChk")) + Shown(view.findChild<QWidget*>("USADateChk"));
    view.findChild<QAbstractButton*>("USADateChk")->click();
    view.findChild<QAbstractButton*>("UteChk")->click();
    view.findChild<QAbstractButton*>("OKBtn")->click();
  });
  view.run(model);
  EXPECT_EQ(shown, "DD/MM/YYYY*MM/DD/YYYY");
  EXPECT_EQ(ReadFileBytes(rig.folder.file("LogFiles/DateFormat.dat")), "MM/DD/YYYY\r\n");
  EXPECT_EQ(ReadFileBytes(rig.folder.file("LogFiles/LogExpConsol.dat")), "SWL=No\r\nMW=No\r\nUte=Yes\r\n");
}

}  // namespace
}  // namespace ondaris
