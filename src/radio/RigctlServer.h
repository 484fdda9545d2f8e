#pragma once
// The rigctl-compatible network server: programs that speak Hamlib's network
// protocol (rigctl -m 2, and everything that offers "Hamlib NET rigctl") read
// and set the receiver through Ondaris, which keeps the serial port.
//
// A client's change goes the way every other change goes: it ends a running
// scan or continuous tuning, sets the receiver state through the same
// controls the front panel uses and ends in TuneRadio, so the display, the
// files and the companion follow, and the serial link paces it (a tuning
// still waiting is replaced by the newest). A change to what is already set
// sends nothing.
//
// Several clients at once, each with its own session. Each turn of the event
// loop answers at most MaxLinesPerTurn lines of a client; the rest of its
// bytes wait with the listener for a later turn, so a flood of commands
// never holds the window. A client that stops reading while its replies pile
// up is dropped, so it never holds memory; so is one past MaxClients.

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "panel/PanelContext.h"
#include "platform/TcpListener.h"
#include "radio/RigctlProtocol.h"

namespace ondaris {

class Receiver;
class ReceiverControls;
class TuningController;

class RigctlServer : public RigctlRadio {
 public:
  static constexpr std::size_t MaxClients = 32;
  static constexpr std::size_t MaxUnsentBytes = 256 * 1024;
  static constexpr std::size_t MaxLinesPerTurn = 16;

  // Takes over the listener's hooks.
  RigctlServer(PanelContext& context, Receiver& receiver, ReceiverControls& controls, TuningController& tuning,
               TcpListener& listener);
  ~RigctlServer() override;
  RigctlServer(const RigctlServer&) = delete;
  RigctlServer& operator=(const RigctlServer&) = delete;

  // Listens; false with `problem` filled with the text for the listener
  // (for example that the port is taken).
  bool Start(const std::string& address, int port, std::string& problem);
  // Drops every client and stops listening.
  void Stop();
  bool running() const { return listener_.listening(); }
  int port() const { return listener_.port(); }
  std::size_t clientCount() const { return sessions_.size(); }

  // RigctlRadio, over the receiver state and the front panel's controls.
  std::int64_t frequencyHz() const override;
  bool setFrequencyHz(std::int64_t hz) override;
  int mode() const override;
  int passbandHz() const override;
  void setMode(int mode, long passbandHz) override;
  int normalPassbandHz(int mode) const override;
  int strengthDb() const override;
  int rawStrength() const override;

 private:
  void Connected(TcpListener::ConnectionId id);
  // How many of the bytes were taken.
  std::size_t Received(TcpListener::ConnectionId id, std::string_view bytes);
  // A client's change begins: the running scan or continuous tuning ends.
  void EndScanForClient();
  int NormalFilterRow(int mode) const;

  PanelContext& ctx_;
  Receiver& receiver_;
  ReceiverControls& controls_;
  TuningController& tuning_;
  TcpListener& listener_;
  std::unordered_map<TcpListener::ConnectionId, RigctlSession> sessions_;
};

// The filter row whose bandwidth is nearest `widthHz` (the wider on a tie).
int NearestFilterRow(long widthHz);

}  // namespace ondaris
