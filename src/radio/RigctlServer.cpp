#include "radio/RigctlServer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>

#include "radio/Receiver.h"
#include "radio/ReceiverControls.h"
#include "radio/Rx320Protocol.h"
#include "radio/TuningController.h"

namespace ondaris {

namespace {
// The meter's full scale is shown to clients as S0 (-54 dB) to S9+60 dB.
constexpr int LowestDb = -54;
constexpr int HighestDb = 60;
}  // namespace

int NearestFilterRow(long widthHz) {
  int best = 0;
  for (int row = 1; row < FilterCount; ++row)
    if (std::labs(FilterTable[row].bandwidthHz - widthHz) < std::labs(FilterTable[best].bandwidthHz - widthHz))
      best = row;
  return best;
}

RigctlServer::RigctlServer(PanelContext& context, Receiver& receiver, ReceiverControls& controls,
                           TuningController& tuning, TcpListener& listener)
    : ctx_(context), receiver_(receiver), controls_(controls), tuning_(tuning), listener_(listener) {
  listener_.onConnected = [this](TcpListener::ConnectionId id) { Connected(id); };
  listener_.onReceived = [this](TcpListener::ConnectionId id, std::string_view bytes) {
    return Received(id, bytes);
  };
  listener_.onDisconnected = [this](TcpListener::ConnectionId id) { sessions_.erase(id); };
}

RigctlServer::~RigctlServer() {
  Stop();
  listener_.onConnected = nullptr;
  listener_.onReceived = nullptr;
  listener_.onDisconnected = nullptr;
}

bool RigctlServer::Start(const std::string& address, int port, std::string& problem) {
  Stop();
  std::string error;
  if (listener_.listen(address, port, error)) return true;
  problem = "The rigctl server cannot listen on " + address + " port " + std::to_string(port) +
            (error.empty() ? "" : ": " + error);
  return false;
}

void RigctlServer::Stop() {
  listener_.close();
  sessions_.clear();
}

void RigctlServer::Connected(TcpListener::ConnectionId id) {
  if (sessions_.size() >= MaxClients) {
    listener_.disconnect(id);
    return;
  }
  sessions_.try_emplace(id, *this);
}

std::size_t RigctlServer::Received(TcpListener::ConnectionId id, std::string_view bytes) {
  const auto found = sessions_.find(id);
  if (found == sessions_.end()) return bytes.size();
  RigctlSession& session = found->second;
  std::string replies;
  const std::size_t taken = session.receive(bytes, replies, MaxLinesPerTurn);
  const bool quitting = session.quitting();
  if (!replies.empty()) listener_.send(id, replies);
  // Past this point the session may be gone.
  if (quitting || listener_.unsentBytes(id) > MaxUnsentBytes) {
    listener_.disconnect(id);
    return bytes.size();
  }
  return taken;
}

void RigctlServer::EndScanForClient() {
  if (!ctx_.scan.running() && !tuning_.flags.TuningActive) return;
  tuning_.EndScanOrTuning();
  ctx_.panel.release(Ctl::ScanBtn);
}

std::int64_t RigctlServer::frequencyHz() const { return std::llround(ctx_.state.Freq * 1000.0); }

bool RigctlServer::setFrequencyHz(std::int64_t hz) {
  if (hz < RigctlLowestHz || hz > RigctlHighestHz) return false;
  const double kHz = static_cast<double>(hz) / 1000.0;
  if (frequencyHz() == hz) return true;
  try {
    EndScanForClient();
    // As a typed frequency: the last one is kept for the Last button.
    ctx_.state.SaveLastFrequency();
    ctx_.state.Freq = kHz;
    receiver_.TuneRadio();
  } catch (const std::exception& error) {
    // The port failed; the state is set as it is for every other change.
    ctx_.ReportError(error.what());
  }
  return true;
}

int RigctlServer::mode() const { return ctx_.state.Mode <= 3 ? ctx_.state.Mode : 0; }

int RigctlServer::passbandHz() const { return ctx_.state.Bandwidth; }

int RigctlServer::NormalFilterRow(int mode) const {
  const RadioState& s = ctx_.state;
  const int row = mode == 3 ? s.CWFilterIndex : (mode == 1 || mode == 2) ? s.SSBFilterIndex : s.AMFilterIndex;
  return std::clamp(row, 0, FilterCount - 1);
}

int RigctlServer::normalPassbandHz(int mode) const { return FilterTable[NormalFilterRow(mode)].bandwidthHz; }

void RigctlServer::setMode(int mode, long passband) {
  const int row = passband > 0 ? NearestFilterRow(passband) : passband == 0 ? NormalFilterRow(mode) : -1;
  try {
    // The mode button, then the filter button, as a listener would press them.
    if (mode != ctx_.state.Mode) {
      EndScanForClient();
      controls_.ModeBtnClick(mode);
    }
    if (row >= 0 && row != ctx_.state.FilterIndex) {
      EndScanForClient();
      controls_.FiltBtnClick(row);
    }
  } catch (const std::exception& error) {
    ctx_.ReportError(error.what());
  }
}

int RigctlServer::rawStrength() const { return ctx_.panel[Ctl::Meter].value; }

int RigctlServer::strengthDb() const {
  const int full = ctx_.state.MeterMax;
  if (full <= 0) return LowestDb;
  const double share = std::clamp(static_cast<double>(rawStrength()) / full, 0.0, 1.0);
  return LowestDb + static_cast<int>(std::lround(share * (HighestDb - LowestDb)));
}

}  // namespace ondaris
