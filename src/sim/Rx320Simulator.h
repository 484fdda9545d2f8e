#pragma once
// A simulated RX-320: takes the bytes a controlling program writes to the
// receiver, in any chunking, decodes every command, keeps the receiver's
// state and produces the receiver's replies (only the signal-strength report).
// Pure C++, no I/O: SimulatorPty puts it behind a pseudo-terminal.
//
// Commands (CR = 0x0D; payload bytes may themselves be 0x0D or a letter, so
// every command is read by its length and must end in CR):
//   W code CR              filter
//   N c1 c0 f1 f0 b1 b0 CR tune: coarse, fine and BFO words, high byte first
//   M '0'..'3' CR          mode AM, USB, LSB, CW
//   G '1'..'3' CR          AGC slow, medium, fast
//   V 0x7F level CR        speaker level 0 (loudest) .. 63 (muted)
//   A 0x7F level CR        line level, likewise
//   C 0x7F level CR        speaker and line level together
//   C 0x7F 'n' 'n' CR      both levels as two ASCII digits; "63" is the
//                          program's exit mute
//   X CR                   signal-strength query, answered X hi lo CR
//
// Finding the way back: a command is accepted only when its letter, its
// fixed bytes, its argument range and its closing CR all fit. When they do
// not, the first byte is dropped and decoding is tried again one byte later,
// so after garbage, a lost byte or a corrupted CR the next well-formed
// command is found again and a corrupted byte costs at most the command it
// sits in (a corrupted payload byte of N cannot be detected and simply gives
// a wrong frequency, as on the real line). Dropped bytes are reported in one
// "? skipped" log line before the next accepted command.
//
// Log lines, one per decoded command:
//   W code=0 bw=6000
//   N coarse=21999 fine=6824 bfo=30576 freq=10000.000 kHz
//   M AM freq=10000.000 kHz      (just "M AM" before the first N)
//   G 2
//   V level=33                   (" mute" appended at level 63)
//   A level=33
//   C level=31 | C mute          (C mute for the two-digit "63")
//   X strength=1234
//   ? skipped 3 bytes: 4E 55 EF
// The frequency of an N line uses the mode in force when N arrives; the
// program sends W, N, M, G, so the M line carries the frequency re-derived
// with the new mode. The words are kept so that any later M or W re-derives.
//
// Tuned frequency from the words (exact to the hertz):
//   X = H + PBT (+ CW offset) comes back from the BFO word,
//       BFO = trunc((X + 8000) * 2.73);
//   base Hz = (coarse - 18000 + fine / 13650) * 2500 + 1250 (+ half a fine
//       step, since the fine word is truncated);
//   AM: f = base; USB: f = base - X; LSB: f = base + X;
//   CW: H is 0 and X = PBT + CW offset; the simulator assumes the CW offset
//       it is given (cwToneHz, 700 Hz like the program's default), so
//       PBT = X - cwToneHz and f = base + PBT. A sender using another CW
//       offset appears shifted by the difference.
// PBT in the other modes is X - (bandwidth / 2 + 200) with the bandwidth of
// the last W command.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "sim/StrengthModel.h"

namespace ondaris {

struct SimulatedReceiverState {
  bool tuned = false;  // an N command has arrived
  int coarseWord = 0;  // as received, i.e. + 18000
  int fineWord = 0;
  int bfoWord = 0;
  int mode = 0;  // 0 AM, 1 USB, 2 LSB, 3 CW
  std::uint8_t filterCode = 0;
  int bandwidthHz = 6000;
  int agc = 2;  // 1 slow, 2 medium, 3 fast
  int speakerLevel = 31;  // 0 loudest .. 63 muted
  int lineLevel = 31;
  bool speakerMuted = false;
  bool lineMuted = false;
  // Derived from the words, the mode and the filter.
  std::int64_t frequencyHz = 0;
  int passbandOffsetHz = 0;  // X: H + PBT, or PBT + CW offset in CW
  int pbtHz = 0;
  std::uint16_t lastStrength = 0;
};

// Bandwidth the receiver uses for a filter code: the program's 24 filters,
// and for the codes it never sends (1, 17, 19, 22, 24, 26, 27, 29..31) the
// bandwidth between their neighbours. -1 for codes above 33.
int SimulatedFilterBandwidth(std::uint8_t code);

// X = H + PBT (+ CW offset) recovered from a BFO word.
int PassbandOffsetFromBfo(int bfoWord);

// The tuned frequency in Hz, rounded to the hertz, for words as received.
std::int64_t TunedFrequencyHz(int coarseWord, int fineWord, int bfoWord, int mode, int cwToneHz = 700);

class Rx320Simulator {
 public:
  explicit Rx320Simulator(std::uint32_t seed = 1);

  // Feeds received bytes; returns the reply bytes to send back (X reports).
  std::string feed(std::string_view bytes);

  // One call per log line, without line end.
  void setLogSink(std::function<void(const std::string&)> sink) { log_ = std::move(sink); }

  const SimulatedReceiverState& state() const { return state_; }
  StrengthModel& strengthModel() { return strength_; }

  // CW offset assumed when turning CW tuning words into a frequency.
  void setCwToneHz(int hz);
  int cwToneHz() const { return cwToneHz_; }

  // Answers every query with this strength instead of the model's (tests).
  void setStrengthOverride(std::optional<std::uint16_t> strength) { override_ = strength; }

  std::uint64_t commandsDecoded() const { return commands_; }
  std::uint64_t bytesSkipped() const { return skippedTotal_; }
  std::uint64_t queriesAnswered() const { return queries_; }
  std::size_t bytesPending() const { return pending_.size(); }

 private:
  enum class Parse { NeedMore, Reject, Accept };
  Parse tryCommand(std::size_t pos, std::size_t& length);
  void execute(std::string_view command, std::string& replies);
  void rederive();
  void flushSkipped();
  void writeLog(const std::string& line);
  std::string frequencyText() const;

  SimulatedReceiverState state_;
  StrengthModel strength_;
  std::function<void(const std::string&)> log_;
  std::optional<std::uint16_t> override_;
  int cwToneHz_ = 700;
  std::string pending_;
  std::string skipped_;
  std::uint64_t commands_ = 0;
  std::uint64_t skippedTotal_ = 0;
  std::uint64_t queries_ = 0;
};

}  // namespace ondaris
