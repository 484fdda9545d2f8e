// The four senders to the receiver: their bytes, the display and title after a tuning, the meter timer
// around each send, the status reports and a port that cannot be opened.

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "common/Errors.h"
#include "support/PanelFixture.h"

namespace ondaris {
namespace {

class ReceiverTest : public PanelFixture {
 protected:
  // The units on the wire once the line has carried everything, as hex.
  std::vector<std::string> SentHex() {
    EXPECT_TRUE(flushLine());
    std::vector<std::string> hex;
    for (const auto& unit : sentUnits()) hex.push_back(HexBytes(unit));
    clearRecords();
    return hex;
  }
};
using Hex = std::vector<std::string>;

TEST_F(ReceiverTest, TuningSendsFilterTuneModeAndAgcAsOneUnit) {
  const struct {
    double freq;
    int mode, filterRow, pbt, agc;
    const char* hex;
  } cases[] = {
      {10000.0, 0, 1, 0, 2, "57 00 0D 4E 55 EF 1A A8 77 70 0D 4D 30 0D 47 32 0D"},
      {10000.0, 1, 13, 0, 3, "57 0D 0D 4E 55 F0 04 CC 65 0A 0D 4D 31 0D 47 33 0D"},
      {7000.5, 2, 14, 100, 1, "57 0E 0D 4E 51 3F 05 54 65 4F 0D 4D 32 0D 47 31 0D"},
      {9575.0, 3, 23, 0, 2, "57 20 0D 4E 55 45 1A A9 5C C7 0D 4D 33 0D 47 32 0D"},  // code 0x20 for row 23
      {9575.0, 3, 0, 0, 2, "57 21 0D 4E 55 45 1A A9 5C C7 0D 4D 33 0D 47 32 0D"},   // code 0x21 for row 0
  };
  for (const auto& c : cases) {
    state.Freq = c.freq;
    state.Mode = static_cast<std::uint8_t>(c.mode);
    state.SelectFilterRow(c.filterRow);
    state.PBT = c.pbt;
    state.AGC = c.agc;
    receiver.TuneRadio();
    EXPECT_EQ(SentHex(), Hex{c.hex});
  }
}

TEST_F(ReceiverTest, TuningShowsTheFixedFrequencyAndAShortTitle) {
  const struct {
    double freq;
    char separator;
    bool alarmArmed;
    const char* display;
    const char* title;
  } cases[] = {{10000.0, '.', false, "10000.000", "10000"},  {10000.0, '.', true, "10000.000*", "10000"},
               {9575.25, '.', false, "9575.250", "9575.25"}, {9575.25, ',', false, "9575,250", "9575,25"},
               {10.0, '.', false, "10.000", "10"},           {7000.5, '.', true, "7000.500*", "7000.5"}};
  std::string captionAtReport, titleAtReport;
  ctx.publishStatus = [&] {
    ++statusReports;
    captionAtReport = panel[Ctl::FreqDispPanel].caption;
    titleAtReport = panel.title();
  };
  for (const auto& c : cases) {
    ctx.decimalSeparator = c.separator;
    state.Freq = c.freq;
    state.AlarmArmed = c.alarmArmed ? 1 : 0;
    statusReports = 0;
    receiver.TuneRadio();
    EXPECT_EQ(std::tuple(panel[Ctl::FreqDispPanel].caption, panel.title()), std::tuple(c.display, c.title));
    // Reported once, after the display is updated.
    EXPECT_EQ(std::tuple(statusReports, captionAtReport, titleAtReport), std::tuple(1, c.display, c.title));
  }
  ASSERT_TRUE(flushLine());
  clearRecords();
  panel.setCaption(Ctl::FreqDispPanel, "123");
  receiver.ShowFrequency();  // puts the display back without sending
  EXPECT_EQ(std::tuple(panel[Ctl::FreqDispPanel].caption, port.writes().size()), std::tuple("7000.500*", 0u));
}

TEST_F(ReceiverTest, MeterTimerIsOffWhileAUnitIsHandedOverAndRestartsAfter) {
  std::vector<bool> enabledAtWrite;
  port.onWrite = [&](const std::string&) { enabledAtWrite.push_back(meterTimer.enabled()); };
  receiver.TuneRadio();  // a timer that was off is started
  EXPECT_TRUE(meterTimer.enabled());
  timeline.advanceBy(150);  // part of an interval gone
  receiver.SendVolumes();
  EXPECT_EQ(std::tuple(enabledAtWrite, meterTimer.enabled()), std::tuple(std::vector<bool>{false, false}, true));
  EXPECT_EQ(meterTimer.nextTickMs(), timeline.nowMs() + 200);  // the interval starts afresh
}

TEST_F(ReceiverTest, ClosedPortThatCannotOpenThrowsAfterTheStateChange) {
  link.close();
  port.failOpenWith("Unable to open com port (No such file or directory)");
  state.Freq = 9575.0;
  EXPECT_THROW(receiver.TuneRadio(), SerialError);
  EXPECT_EQ(state.Freq, 9575.0);  // the caller's change stays
  // The display and the title follow the state even with the port down; no
  // report, and no polling of a dead port.
  EXPECT_EQ(std::tuple(panel[Ctl::FreqDispPanel].caption, panel.title()), std::tuple("9575.000", "9575"));
  EXPECT_EQ(std::tuple(statusReports, meterTimer.enabled(), port.writes().size()), std::tuple(0, false, 0u));

  state.SpkrMute = 1;  // volumes throw after the buttons are drawn
  EXPECT_THROW(receiver.SendVolumes(), SerialError);
  EXPECT_EQ(std::tuple(panel[Ctl::SpkrMuteBtn].caption, statusReports), std::tuple("Spkr Mute", 2));

  port.allowOpen();
  receiver.TuneRadio();  // every send tries to open the port again
  EXPECT_EQ(std::tuple(link.isOpen(), sentUnits().size(), meterTimer.enabled()), std::tuple(true, 1u, true));
}

TEST_F(ReceiverTest, MuteButtonsShowTheirStateBeforeEachReport) {
  using Look = std::tuple<std::string, Colour, bool>;
  auto look = [this](Ctl c) { return Look{panel[c].caption, panel[c].colour, panel[c].bold}; };
  state.SpkrMute = 1;
  receiver.SendVolumes();
  EXPECT_EQ(std::pair(look(Ctl::SpkrMuteBtn), look(Ctl::LineMuteBtn)),
            std::pair(Look{"Spkr Mute", Colour::Maroon, true}, Look{"Line", Colour::Navy, false}));
  state.SpkrMute = 0;
  state.LineMute = 1;
  receiver.SendVolumes();
  EXPECT_EQ(std::pair(look(Ctl::SpkrMuteBtn), look(Ctl::LineMuteBtn)),
            std::pair(Look{"Speaker", Colour::Navy, false}, Look{"Line Mute", Colour::Maroon, true}));

  state.SpkrMute = 1;  // each report follows the redraw of its button
  std::vector<std::pair<std::string, std::string>> captionsAtReport;
  ctx.publishStatus = [&] {
    captionsAtReport.emplace_back(panel[Ctl::SpkrMuteBtn].caption, panel[Ctl::LineMuteBtn].caption);
  };
  panel.setCaption(Ctl::LineMuteBtn, "Line");
  receiver.SendVolumes();
  EXPECT_EQ(captionsAtReport, (std::vector<std::pair<std::string, std::string>>{{"Spkr Mute", "Line"},
                                                                               {"Spkr Mute", "Line Mute"}}));
}

TEST_F(ReceiverTest, MeterQueryAndExitMuteBytes) {
  receiver.SendMeterQuery();
  receiver.SendExitMute();
  ctx.flags.ShuttingDown = true;
  receiver.SendMeterQuery();  // none once shutting down
  ASSERT_TRUE(flushLine());
  std::vector<std::string> written;
  for (const auto& w : port.writes()) written.push_back(HexBytes(w.bytes));
  EXPECT_EQ(written, (Hex{"58 0D", "43 7F 36 33 0D"}));
}

}  // namespace
}  // namespace ondaris
