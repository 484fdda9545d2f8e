#include "radio/Receiver.h"

#include "common/TextHelpers.h"
#include "radio/Rx320Protocol.h"

namespace ondaris {

std::string Receiver::FrequencyDisplayText() const {
  std::string text = FormatFrequency(3, true, ctx_.state.Freq, ctx_.decimalSeparator);
  if (ctx_.state.AlarmArmed) text += '*';
  return text;
}

std::string Receiver::TitleText() const {
  return FormatFrequency(3, false, ctx_.state.Freq, ctx_.decimalSeparator);
}

void Receiver::ShowFrequency() { ctx_.panel.setCaption(Ctl::FreqDispPanel, FrequencyDisplayText()); }

void Receiver::TuneRadio() {
  // No meter query may be due while the tuning goes out. When the port
  // cannot be opened the error leaves the meter off: polling a dead port
  // five times a second would only repeat the same error.
  ctx_.timers.MeterTimer.setEnabled(false);
  try {
    ctx_.link.ensureOpen();
    ctx_.link.send(UnitKind::Tuning, ctx_.state.TuningBytes());
  } catch (...) {
    // The display and the title show the state even when the port is down.
    ShowFrequency();
    ctx_.panel.setTitle(TitleText());
    throw;
  }
  ctx_.timers.MeterTimer.setEnabled(true);

  ShowFrequency();
  ctx_.panel.setTitle(TitleText());
  ctx_.PublishStatus();
}

void Receiver::SendVolumes() {
  RadioState& s = ctx_.state;
  PanelModel& panel = ctx_.panel;

  if (s.SpkrMute) {
    panel.setCaption(Ctl::SpkrMuteBtn, "Spkr Mute");
    panel.setFont(Ctl::SpkrMuteBtn, Colour::Maroon, true);
  } else {
    panel.setCaption(Ctl::SpkrMuteBtn, "Speaker");
    panel.setFont(Ctl::SpkrMuteBtn, Colour::Navy, false);
  }
  ctx_.PublishStatus();

  if (s.LineMute) {
    panel.setCaption(Ctl::LineMuteBtn, "Line Mute");
    panel.setFont(Ctl::LineMuteBtn, Colour::Maroon, true);
  } else {
    panel.setCaption(Ctl::LineMuteBtn, "Line");
    panel.setFont(Ctl::LineMuteBtn, Colour::Navy, false);
  }
  ctx_.PublishStatus();

  ctx_.timers.MeterTimer.setEnabled(false);
  ctx_.link.ensureOpen();
  ctx_.link.send(UnitKind::Volume, SpeakerVolumeCommand(s.SpkrVolume, s.SpkrMute != 0) +
                                       LineVolumeCommand(s.LineVolume, s.LineMute != 0));
  ctx_.timers.MeterTimer.setEnabled(true);
}

void Receiver::SendMeterQuery() {
  if (ctx_.flags.ShuttingDown) return;
  ctx_.link.send(UnitKind::MeterQuery, SignalStrengthQuery());
}

void Receiver::SendExitMute() { ctx_.link.send(UnitKind::Other, ExitMuteCommand()); }

}  // namespace ondaris
