// The options dialog's port change end to end: the front panel on the real
// serial port and Qt timers starts on one simulated receiver (rx320-sim over
// a pseudo-terminal); OK with another port chosen moves it to a second
// receiver, which gets the whole state and from then on every volume and
// tuning command, while the first one hears nothing more.

#include <algorithm>

#include "E2ePanel.h"
#include "E2eSupport.h"

namespace ondaris {
namespace {

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(OptionsPortE2E, OkMovesTheProgramToTheOtherReceiver) {
  SimulatorProcess first, second;
  std::string error;
  ASSERT_TRUE(first.start(false, error)) << error;
  ASSERT_TRUE(second.start(false, error)) << error;
  QtPanel qt(first.device());
  FrontPanel& panel = qt.panel;
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
  const std::vector<std::string> resent = second.commands();
  EXPECT_EQ(resent, (std::vector<std::string>{"V level=33", "A level=33", "W code=0 bw=6000", resent[3],
                                              "M AM freq=15000.000 kHz", "G 2"}));
  EXPECT_EQ(resent[3].rfind("N ", 0), 0u);

  // From now on the listener's volume and tuning go to the new receiver.
  panel.controls.SpkrTrackbarChange(40);  // volume 53
  panel.tuning.StepFrequencyUp();         // by the 500 Hz step
  ASSERT_TRUE(RunUntil([&] { return Has(second.commands(), "M AM freq=15000.500 kHz"); }, 10000))
      << second.commands().back();
  EXPECT_TRUE(Has(second.commands(), "V level=10"));
  EXPECT_TRUE(RunUntil([&] { return second.logLines().back().rfind("X ", 0) == 0; }, 5000))
      << "the meter polls the new receiver";
  EXPECT_EQ(first.commands().size(), firstHeard);
  EXPECT_TRUE(qt.messages.questions().empty());
}

}  // namespace
}  // namespace ondaris
