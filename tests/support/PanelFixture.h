#pragma once
// A front panel's context built over the panel's fakes: the fake serial port
// behind a real SerialLink, the control model and the four receiver
// controllers wired together. Every controller test can use it as
//   TEST_F(PanelFixture, ...)          or
//   class MyTest : public PanelParamFixture<Row> {};  TEST_P(MyTest, ...)
// or embed a PanelRig directly.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "panel/PanelContext.h"
#include "panel/PanelModel.h"
#include "radio/MeterController.h"
#include "radio/RadioState.h"
#include "radio/Receiver.h"
#include "radio/ReceiverControls.h"
#include "radio/SerialLink.h"
#include "radio/TuningController.h"
#include "support/PanelFakes.h"

namespace ondaris {

struct PanelRig : PanelFakes {
  // The port is opened as "COM1"; the meter timer has its 200 ms interval
  // but is not enabled (the first tuning or volume change enables it, as at
  // start-up). The state is a fresh RadioState: 15000 kHz AM, 6000 Hz,
  // 500 Hz step, AGC medium.
  PanelRig();
  virtual ~PanelRig() = default;
  PanelRig(const PanelRig&) = delete;
  PanelRig& operator=(const PanelRig&) = delete;

  RadioState state;
  PanelModel panel;
  SerialLink link{port, clock, pumpTimer};
  PanelContext ctx{state, panel, link, timers(), clock, messages, '.', ScanStatus{}, PanelFlags{}, {}, {}, {}, {}};
  Receiver receiver{ctx};
  ReceiverControls controls{ctx, receiver};
  TuningController tuning{ctx, receiver, controls};
  MeterController meter{ctx, receiver, controls};

  // What the context's hooks saw.
  int statusReports = 0;               // PublishStatus calls
  std::vector<std::string> reportedErrors;
  int endScanCalls = 0;                // the scan side of EndScanOrTuning

  // Lets the line carry everything queued (advancing the timeline, so due
  // timer ticks run on the way). Returns false if the queue did not empty
  // within `limitMs`.
  bool flushLine(std::int64_t limitMs = 10000);
  // Forgets what was written and the hooks' counts.
  void clearRecords();

  const ControlState& operator[](Ctl control) const { return panel[control]; }
};

class PanelFixture : public ::testing::Test, public PanelRig {};

template <class Param>
class PanelParamFixture : public ::testing::TestWithParam<Param>, public PanelRig {};

// Bytes as "57 00 0D ..." for readable failures.
std::string HexBytes(const std::string& bytes);
// Parses "57 00 0D ..." into bytes.
std::string BytesFromHex(const std::string& hex);

}  // namespace ondaris
