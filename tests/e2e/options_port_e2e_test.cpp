// The options dialog's port change end to end: the front panel on the real
// serial port and Qt timers starts on one simulated receiver (rx320-sim over
// a pseudo-terminal); OK with another port chosen moves it to a second
// receiver, which gets the whole state and from then on every volume and
// tuning command, while the first one hears nothing more.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "E2eSupport.h"
#include "app/FrontPanel.h"
#include "platform/CompanionTransport.h"
#include "platform/Shell.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtTimer.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedMessageBoxes.h"

namespace ondaris {
namespace {

struct NoCompanion : CompanionTransport {
  bool listen(std::string&) override { return true; }
  void close() override {}
  void send(const std::string&) override {}
};

struct NoShell : Shell {
  bool open(const std::string&, std::string&) override { return true; }
};

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(OptionsPortE2E, OkMovesTheProgramToTheOtherReceiver) {
  SimulatorProcess first, second;
  std::string error;
  ASSERT_TRUE(first.start(false, error)) << error;
  ASSERT_TRUE(second.start(false, error)) << error;
  QTemporaryDir data;
  ASSERT_TRUE(data.isValid());

  QtSerialPort port;
  QtClock clock;
  QtTimer tuningTimer, meterTimer, scanTimer, clockTimer, debounceTimer, pump;
  ScriptedMessageBoxes messages;
  messages.setDefaultAnswer(false);
  NoCompanion companion;
  NoShell shell;
  ScriptedFileDialogs dialogs;
  FrontPanel panel(PanelPlatform{port, clock, messages, companion, shell, tuningTimer, meterTimer, scanTimer,
                                 clockTimer, debounceTimer, pump, dialogs, nullptr},
                   data.path().toStdString() + "/", '.');
  panel.setPortOverride(first.device());
  panel.FormCreate();
  ASSERT_TRUE(RunUntil([&] { return Has(first.commands(), "G 2"); }, 10000)) << first.logLines().size();

  panel.options.UsrOptions1Click();
  EXPECT_EQ(panel.options.ComPortBox, first.device());
  // Any name but COMn and SIM is a device below /dev.
  ASSERT_EQ(second.device().rfind("/dev/", 0), 0u);
  panel.options.ComPortBox = second.device().substr(5);
  ASSERT_TRUE(panel.options.OKBtnClick());
  EXPECT_EQ(panel.state.ComPortName, second.device().substr(5));
  const std::size_t firstHeard = first.commands().size();

  // The whole state: volumes, then the tuning.
  ASSERT_TRUE(RunUntil([&] { return second.commands().size() >= 6; }, 10000));
  EXPECT_EQ(second.commands(), (std::vector<std::string>{"V level=33", "A level=33", "W code=0 bw=6000",
                                                        second.commands()[3], "M AM freq=15000.000 kHz", "G 2"}));
  EXPECT_EQ(second.commands()[3].rfind("N ", 0), 0u);

  // From now on the listener's volume and tuning go to the new receiver.
  panel.controls.SpkrTrackbarChange(40);  // volume 53
  panel.tuning.StepFrequencyUp();         // by the 500 Hz step
  ASSERT_TRUE(RunUntil([&] { return Has(second.commands(), "M AM freq=15000.500 kHz"); }, 10000))
      << second.commands().back();
  EXPECT_TRUE(Has(second.commands(), "V level=10"));
  EXPECT_TRUE(RunUntil([&] { return second.logLines().back().rfind("X ", 0) == 0; }, 5000))
      << "the meter polls the new receiver";
  EXPECT_EQ(first.commands().size(), firstHeard);
  EXPECT_TRUE(messages.questions().empty());

  panel.SaveStateAndShutdown();
}

}  // namespace
}  // namespace ondaris
