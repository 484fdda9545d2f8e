#pragma once
// Hamlib's network rig protocol, as rigctld of Hamlib 4.5 speaks it and its
// "NET rigctl" client (rig model 2) reads it, for a receive-only radio.
//
// One command a line: a one-letter command ("f", "F 9580000") or a long one
// after a backslash ("\dump_state"), its arguments separated by blanks.
// Replies come in the short form (the values, one a line, or "RPRT n" for a
// set command) or, when the command is preceded by '+', in the long form
// (the command's name, labelled values, then "RPRT n"); ';', '|' and ','
// work like '+' with that character between the reply's lines. Errors are
// "RPRT -n" with Hamlib's numbers: what a receiver cannot do at all (PTT,
// split, transmit levels) is -11, "not available".
//
// Plain C++: tests drive a session with lines and read its replies.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ondaris {

// Hamlib's error numbers (sent negated in "RPRT -n").
enum class RigError : int {
  Ok = 0,
  InvalidArgument = 1,  // RIG_EINVAL
  NotImplemented = 4,   // RIG_ENIMPL: no such command
  Protocol = 8,         // RIG_EPROTO: the line itself is unusable
  NotAvailable = 11,    // RIG_ENAVAIL: a receive-only radio cannot do this
};

// What the protocol reads from and does to the receiver. Modes are the
// program's: 0 AM, 1 USB, 2 LSB, 3 CW.
class RigctlRadio {
 public:
  virtual ~RigctlRadio() = default;
  virtual std::int64_t frequencyHz() const = 0;
  // False when the frequency is outside what the receiver tunes.
  virtual bool setFrequencyHz(std::int64_t hz) = 0;
  virtual int mode() const = 0;
  virtual int passbandHz() const = 0;
  // `passbandHz` > 0: the filter nearest that width; 0: the mode's normal
  // filter; -1: the filter stays.
  virtual void setMode(int mode, long passbandHz) = 0;
  // The filter a mode normally uses (the first one dump_state lists for it).
  virtual int normalPassbandHz(int mode) const = 0;
  // Signal strength in dB relative to S9, and the receiver's own reading.
  virtual int strengthDb() const = 0;
  virtual int rawStrength() const = 0;
};

// Hamlib's rig model number of the RX-320, reported by dump_state.
inline constexpr int Rx320HamlibModel = 16003;
// The receiver's tuning range as the protocol reports it.
inline constexpr std::int64_t RigctlLowestHz = 10000;
inline constexpr std::int64_t RigctlHighestHz = 30000000;

// The lines of dump_state (protocol 1) for this receiver, without the line
// ends; "done" is the last.
std::vector<std::string> DumpStateLines(const RigctlRadio& radio);

// One client's conversation: bytes in, replies out.
class RigctlSession {
 public:
  // Longest command line taken; a longer one is answered "RPRT -8" once and
  // the rest of it, up to its line end, is dropped.
  static constexpr std::size_t MaxLineBytes = 1024;

  explicit RigctlSession(RigctlRadio& radio) : radio_(radio) {}

  // Takes received bytes and appends the replies of the lines they complete
  // to `out`, at most `maxLines` of them; returns how many bytes it took
  // (all of them, or up to the end of the last line answered). A CR before
  // the LF and blank lines are ignored; an unfinished line is kept for the
  // next bytes.
  std::size_t receive(std::string_view bytes, std::string& out, std::size_t maxLines = SIZE_MAX);

  // The reply to one command line (without its line end).
  std::string answer(std::string_view line);

  // The client said "q": its reply is the last, then the connection closes.
  bool quitting() const { return quitting_; }

 private:
  struct Command;
  std::string run(const Command& command, char separator, bool longForm);

  RigctlRadio& radio_;
  std::string pending_;  // the unfinished line
  bool discarding_ = false;  // inside a line that was too long
  bool vfoMode_ = false;     // "\set_vfo_opt 1": commands carry a VFO first
  bool quitting_ = false;
};

}  // namespace ondaris
