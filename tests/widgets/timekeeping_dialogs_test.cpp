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
#include <tuple>
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

class TimekeepingDialogs : public ::testing::Test, public ClockRadioRig {
 protected:
  TimekeepingDialogs() {
    clock.setUtc(DateTime{2027, 5, 20, 12, 0, 0});
    state.Freq = 9410.0;
    recorder.FormCreate();
    messages.setDefaultAnswer(false);  // closing the recorder: do not keep the recording
  }
  // The dialog is hidden until its model opens it; then it shows with its name and caption.
  static void expectOpens(QDialog& dialog, const char* name, const char* caption,
                          const std::function<void()>& open) {
    EXPECT_EQ(std::tuple(dialog.objectName().toStdString(), dialog.isVisible()), std::tuple(name, false));
    open();
    EXPECT_EQ(std::tuple(dialog.windowTitle().toStdString(), dialog.isVisible()), std::tuple(caption, true));
  }
  // What the named controls show, joined with " / ".
  static std::string shown(QDialog& dialog, std::vector<const char*> names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
      auto* w = dialog.findChild<QWidget*>(names[i]);
      text += (i ? " / " : "") + (w ? Shown(w) : std::string("no ") + names[i]);
    }
    return text;
  }
  static void type(QDialog& dialog, const char* name, const char* text) {
    auto* w = dialog.findChild<QWidget*>(name);
    ASSERT_NE(w, nullptr) << name;
    if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(w)) combo->setCurrentText(text);
    else if (auto* box = qobject_cast<QCheckBox*>(w)) box->setChecked(std::string(text) == "1");
  }
  static void press(QDialog& dialog, const char* name) {
    auto* button = dialog.findChild<QAbstractButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    button->click();
  }
  // Nothing was said to the listener, and the window closes.
  void expectClosesQuietly(QDialog& dialog) {
    EXPECT_TRUE(messages.shown().empty()) << messages.shown().front().text;
    dialog.reject();
    EXPECT_FALSE(dialog.isVisible());
  }

  Scheduler scheduler{ctx, receiver, controls, folder.dir()};
  SkedDialog sked{ctx, scheduler};
  AlarmDialogView alarmView{alarm, nullptr};
  RecordDialogView recordView{recorder, nullptr};
  SkedDialogView skedView{sked, nullptr};
};

TEST_F(TimekeepingDialogs, ClockRadioShowsTheSettingsAndTakesASleepButton) {
  alarm.settings.AlarmTime = 730;
  alarm.settings.AlarmUsesUTC = true;
  alarm.settings.AlarmMode = 2;
  QDialog& d = alarmView;
  expectOpens(d, "TAlarmDlg", "Clock Radio Controls", [this] { alarm.TimePanelClick(); });
  EXPECT_EQ(shown(d, {"TimePanel", "HourCombo", "MinuteCombo", "UTCCombo", "RadioOnlyBtn", "StationEdit",
                      "SleepPanel"}),
            "0730 UTC / 07 / 30 / UTC / Radio Only* / <none> / Off");
  press(d, "Sleep30Btn");
  EXPECT_EQ(shown(d, {"SleepPanel", "Sleep30Btn"}), "30 / Sleep 30 Minutes*");
  EXPECT_EQ(std::tuple(alarm.dlg.SleepButton, alarm.dlg.ModeButton), std::tuple(30, 2));
  expectClosesQuietly(d);
}

TEST_F(TimekeepingDialogs, RecorderShowsItsStateAndTakesRecord) {
  QDialog& d = recordView;
  expectOpens(d, "TRecordDlg", "Manual Record and Playback", [this] { recorder.RecordItemClick(); });
  EXPECT_EQ(shown(d, {"StatusDisp", "TimedRecPanel"}), "Stopped / hidden");
  press(d, "RecordBtn");
  EXPECT_EQ(shown(d, {"TimedRecPanel"}), "shown");
  EXPECT_EQ(std::tuple(device.started.size(), recorder.IsRecording()), std::tuple(1u, true));
  expectClosesQuietly(d);
}

const ScheduleEntry Evening{.StartDate = "5/20/2027", .EndDate = "5/21/2027", .OnTime = "2330",
                            .OffTime = "0030", .Station = "Radio Alba", .Frequency = 9580, .Mode = "USB",
                            .Filter = 2550, .PBT = 100, .AGC = "F", .MuteSpeaker = 1, .padding = {}, .reserved = {}};
const char* EveningRow = "5/20/2027|2330|0030||Radio Alba|9580|USB|2550|F|100|Y||";

TEST_F(TimekeepingDialogs, SchedulerShowsTheScheduleAndItsButtonArmsIt) {
  WriteSchedule(folder.dir(), {Evening});
  QDialog& d = skedView;
  expectOpens(d, "TSkedDlg", "Scheduler", [this] { sked.SkedItemClick(); });
  EXPECT_EQ(shown(d, {"Grid", "OnOffBtn"}), std::string(EveningRow) + " / Scheduler Off");
  press(d, "OnOffBtn");
  EXPECT_EQ(shown(d, {"OnOffBtn"}), "Scheduler On");
  EXPECT_EQ(std::tuple(scheduler.SchedulerOff, scheduler.schedule.size()), std::tuple(false, 1u));
  expectClosesQuietly(d);
}

TEST_F(TimekeepingDialogs, SchedulerAddsWhatWasTyped) {
  QDialog& d = skedView;
  expectOpens(d, "TSkedDlg", "Scheduler", [this] { sked.SkedItemClick(); });
  EXPECT_EQ(shown(d, {"Grid"}), "||||||||||||");
  for (const auto& [name, text] : std::vector<std::pair<const char*, const char*>>{
           {"DateEdit", "5/20/2027"}, {"OnTimeEdit", "2330"}, {"OffTimeEdit", "0030"}, {"StationEdit", "Radio Alba"},
           {"FreqEdit", "9580"}, {"ModeCombo", "USB"}, {"FiltCombo", "2550"}, {"PBTEdit", "100"},
           {"AGCCombo", "Fast"}, {"MuteSpkrChk", "1"}})
    type(d, name, text);
  press(d, "AddBtn");
  EXPECT_EQ(shown(d, {"Grid", "DateOffEdit"}), std::string(EveningRow) + " / 5/21/2027");
  EXPECT_EQ(scheduler.schedule.size(), 1u);
  expectClosesQuietly(d);
}

TEST(LogbookOptionsPage, ShowsTheDateFileOkWritesTheChoicesCancelKeepsTheFile) {
  for (const std::string close : {"OKBtn", "CancelBtn"}) {
    SCOPED_TRACE(close);
    ClockRadioRig rig;
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
      view.findChild<QAbstractButton*>(QString::fromStdString(close))->click();
    });
    view.run(model);
    EXPECT_EQ(shown, "DD/MM/YYYY*MM/DD/YYYY");
    if (close == "CancelBtn") {
      EXPECT_EQ(view.result(), QDialog::Rejected);
      EXPECT_EQ(ReadFileBytes(rig.folder.file("LogFiles/DateFormat.dat")), "DD/MM/YYYY\r\n");
      continue;
    }
    EXPECT_EQ(ReadFileBytes(rig.folder.file("LogFiles/DateFormat.dat")), "MM/DD/YYYY\r\n");
    EXPECT_EQ(ReadFileBytes(rig.folder.file("LogFiles/LogExpConsol.dat")), "SWL=No\r\nMW=No\r\nUte=Yes\r\n");
  }
}

}  // namespace
}  // namespace ondaris
