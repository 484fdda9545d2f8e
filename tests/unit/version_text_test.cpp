// The version the status line shows, written out as the listener reads it.

#include <gtest/gtest.h>

#include "support/PanelFixture.h"
#include "timekeeping/ClockController.h"

namespace ondaris {
namespace {

TEST_F(PanelFixture, AnEmptyStatusLineShowsTheVersion) {
  ClockController clock(ctx);
  panel.setCaption(Ctl::StatusPanel, "");
  clock.ClockTimerTimer();
  EXPECT_EQ(panel[Ctl::StatusPanel].caption, "Ondaris Version 1.1");
}

}  // namespace
}  // namespace ondaris
