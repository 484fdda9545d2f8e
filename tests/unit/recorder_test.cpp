// The wave recorder through a fake device: file names, timed recording,
// the save dialog, express recording, recordings that cannot start or fail,
// the error routine, exit, and the scheduler's start and stop.

#include <gtest/gtest.h>

#include <tuple>

#include "support/ClockRadioRig.h"

namespace ondaris {
namespace {

using Strings = std::vector<std::string>;
const auto ByName = [](const auto& info) { return std::string(info.param.name); };

class RecorderTest : public ::testing::Test, public ClockRadioRig {
 protected:
  RecorderTest() {
    state.Freq = 9410.0;
    clock.setUtc(DateTime{2026, 3, 15, 14, 30, 0});
    recorder.FormCreate();
    recorder.hideDialog = [this] { ++hidden; };
  }
  Strings waves() const { return FolderEntries(waveDir()); }
  int hidden = 0;
};

TEST_F(RecorderTest, TimedRecordingIsSavedUnderItsNameWithoutADialog) {
  EXPECT_EQ(recorder.MakeWaveFileName(), "9410_031526_1430.wav");
  recorder.MoreTimeBtnClick();
  recorder.MoreTimeBtnClick();
  recorder.LessTimeBtnClick();
  recorder.LessTimeBtnClick();  // never below five minutes
  EXPECT_EQ(std::tuple(recorder.TimedRemaining(), recorder.dlg.TimedRecDisp), std::tuple(300, "5:00"));
  recorder.RecordItemClick();
  recorder.RecordBtnClick();
  EXPECT_EQ(std::tuple(recorder.dlg.TimedControlsVisible, recorder.dlg.ByeBtnX, recorder.dlg.PlayBtnEnabled),
            std::tuple(true, 64, false));
  recorder.MoreTimeBtnClick();
  device.capturedMs = 65'400;
  recorder.ClockTick();
  EXPECT_EQ(recorder.dlg.StatusDisp, "Recording - 1:05");
  for (int s = 0; s < 299; ++s) recorder.SecondTick();
  EXPECT_EQ(recorder.dlg.TimedRecDisp, "0:01");
  EXPECT_EQ(waves(), Strings{"9410_031526_1430.recording.wav"});
  recorder.SecondTick();
  EXPECT_EQ(waves(), Strings{"9410_031526_1430.wav"});
  EXPECT_EQ(std::tuple(dialogs.shown().size(), hidden, recorder.IsRecording(), recorder.dlg.TimedControlsVisible),
            std::tuple(0u, 1, false, false));
}

struct StopCase {
  const char* name;
  Strings chosen;  // "" cancels
  std::vector<bool> replaceAnswers;
  Strings after;
};

class RecorderStop : public ::testing::WithParamInterface<StopCase>, public RecorderTest {};

TEST_P(RecorderStop, SaveDialogLoop) {
  const StopCase& c = GetParam();
  WriteFileBytes(waveDir() + "old.wav", "old");
  for (const std::string& name : c.chosen) name.empty() ? dialogs.cancelNext() : dialogs.chooseNext(waveDir() + name);
  for (bool yes : c.replaceAnswers) messages.answerNext(yes);
  recorder.RecordBtnClick();
  recorder.PauseBtnClick();
  EXPECT_EQ(std::tuple(recorder.dlg.StatusDisp, device.capturing()), std::tuple("Paused", false));
  recorder.StopBtnClick();
  EXPECT_EQ(waves(), c.after);
  EXPECT_EQ(std::tuple(dialogs.unusedAnswers(), messages.unusedAnswers(), recorder.RecordingUnsaved()),
            std::tuple(0u, 0u, false));
  EXPECT_TRUE(recorder.dlg.PlayBtnEnabled && recorder.dlg.RecordBtnEnabled);
}

INSTANTIATE_TEST_SUITE_P(
    Dialog, RecorderStop,
    ::testing::Values(StopCase{"Cancelled", {""}, {}, {"old.wav"}},
                      StopCase{"NewName", {"new.wav"}, {}, {"new.wav", "old.wav"}},
                      StopCase{"ReplaceNoThenOther", {"old.wav", "b.wav"}, {false}, {"b.wav", "old.wav"}},
                      StopCase{"ReplaceYes", {"old.wav"}, {true}, {"old.wav"}}),
    ByName);

TEST_F(RecorderTest, ExpressRecordingUnmutesTheLineAndIgnoresASecondPress) {
  state.LineMute = 1;
  int shown = 0;
  recorder.showDialog = [&] { ++shown; };
  recorder.ExpressRecBtnClick();
  EXPECT_EQ(state.LineMute, 0);
  EXPECT_TRUE(recorder.IsRecording());
  recorder.PauseBtnClick();  // paused is not active, but still busy
  recorder.ExpressRecBtnClick();
  recorder.RecordItemClick();  // shows the paused recording as it is
  EXPECT_EQ(std::tuple(device.started.size(), recorder.RecordingUnsaved(), shown), std::tuple(1u, true, 2));
}

struct EndCase {
  const char* name;
  int how;  // 0 device failure, 1 error routine, 2 exit
};

class RecorderEnds : public ::testing::WithParamInterface<EndCase>, public RecorderTest {};

TEST_P(RecorderEnds, KeepsTheRecordingWithoutReplacingAnotherFile) {
  WriteFileBytes(waveDir() + "9410_031526_1430.wav", "earlier");
  recorder.RecordBtnClick();
  switch (GetParam().how) {
    case 0: device.fail("disk full"); break;
    case 1: recorder.ErrorRoutine(); break;
    default: recorder.CloseAtExit(); break;
  }
  EXPECT_FALSE(device.recordingOpen());
  EXPECT_EQ(waves(), (Strings{"9410_031526_1430.wav", "9410_031526_1430_2.wav"}));
  EXPECT_EQ(ReadFileBytes(waveDir() + "9410_031526_1430.wav"), "earlier");
  if (GetParam().how < 2) {
    EXPECT_EQ(recorder.dlg.StatusDisp, GetParam().how == 0 ? "Recording stopped: disk full" : SessionClosedText);
  }
  EXPECT_FALSE(recorder.RecordingUnsaved());
}

INSTANTIATE_TEST_SUITE_P(Ways, RecorderEnds,
                         ::testing::Values(EndCase{"DeviceFails", 0}, EndCase{"ErrorRoutine", 1}, EndCase{"Exit", 2}),
                         ByName);

TEST_F(RecorderTest, BroadcastRecordingForTheScheduler) {
  std::string error;
  ASSERT_TRUE(recorder.StartBroadcastRecording("", error)) << error;
  EXPECT_EQ(recorder.WaveFilePath(), waveDir() + "9410_031526_1430.wav");
  EXPECT_FALSE(recorder.StartBroadcastRecording("other.wav", error));
  EXPECT_EQ(error, "The recorder is in use");
  recorder.StopBtnClick();  // the listener's buttons leave the broadcast alone
  recorder.ClockTick();
  EXPECT_TRUE(recorder.IsRecording());
  EXPECT_NE(recorder.dlg.StatusDisp.rfind("Recording - ", 0), 0u);
  ASSERT_TRUE(recorder.StopBroadcastRecording(&error));
  EXPECT_EQ(std::tuple(waves(), recorder.IsRecording()), std::tuple(Strings{"9410_031526_1430.wav"}, false));

  recorder.RecordBtnClick();  // a manual recording is never taken over
  EXPECT_FALSE(recorder.StartBroadcastRecording("x.wav", error));
}

TEST_F(RecorderTest, RecordingThatCannotStartSaysSoAndKeepsNothing) {
  device.refuseWith = "no audio input device";
  recorder.RecordBtnClick();
  EXPECT_EQ(std::tuple(recorder.dlg.StatusDisp, recorder.IsRecording(), waves()),
            std::tuple("Cannot record: no audio input device", false, Strings{}));
  std::string error;
  EXPECT_FALSE(recorder.StartBroadcastRecording("", error));
  EXPECT_EQ(error, "no audio input device");
}

TEST_F(RecorderTest, PlaybackRunsItsProgressBarToTheEnd) {
  const std::string path = waveDir() + "a.wav";
  WriteFileBytes(path, "RIFF");
  device.lengths[path] = 2'500;
  dialogs.chooseNext(path);
  recorder.PlayBtnClick();
  ASSERT_EQ(player.plays.size(), 1u);
  EXPECT_EQ(std::tuple(player.plays[0].loop, recorder.dlg.PBBarMax, recorder.dlg.RecordBtnEnabled),
            std::tuple(false, 3, false));
  recorder.PBTimerTimer();
  EXPECT_EQ(recorder.dlg.StatusDisp, "Playing - 0:01");
  recorder.PBTimerTimer();
  recorder.PBTimerTimer();
  EXPECT_EQ(std::tuple(recorder.dlg.StatusDisp, recorder.dlg.PBBarVisible, player.playing()),
            std::tuple("Stopped", false, false));

  dialogs.chooseNext(waveDir() + "missing.wav");
  recorder.PlayBtnClick();
  EXPECT_EQ(messages.lastMessage(), WaveMissingMessage);
}

}  // namespace
}  // namespace ondaris
