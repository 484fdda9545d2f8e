#include "sim/Rx320Simulator.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "radio/Rx320Protocol.h"

namespace ondaris {

namespace {

constexpr std::uint8_t CR = 0x0D;
constexpr std::uint8_t VolumePrefix = 0x7F;
constexpr int MaxFilterCode = 33;
constexpr int MaxLevel = 63;

// Codes the program never sends, with the bandwidths that sit between their
// neighbours in the receiver's filter set.
constexpr std::pair<int, int> UnlistedFilters[] = {
    {1, 5700}, {17, 1950}, {19, 1650}, {22, 1200}, {24, 900},
    {26, 675}, {27, 600},  {29, 450},  {30, 400},  {31, 350},
};

const std::array<int, MaxFilterCode + 1>& FilterBandwidths() {
  static const std::array<int, MaxFilterCode + 1> table = [] {
    std::array<int, MaxFilterCode + 1> t{};
    t.fill(-1);
    for (const FilterInfo& filter : FilterTable) t[filter.code] = filter.bandwidthHz;
    for (const auto& [code, bandwidth] : UnlistedFilters) t[code] = bandwidth;
    return t;
  }();
  return table;
}

std::string Format(const char* fmt, auto... args) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, fmt, args...);
  return buffer;
}

bool IsDigit(std::uint8_t byte) { return byte >= '0' && byte <= '9'; }

}  // namespace

int SimulatedFilterBandwidth(std::uint8_t code) {
  if (code > MaxFilterCode) return -1;
  return FilterBandwidths()[code];
}

int PassbandOffsetFromBfo(int bfoWord) {
  // BFO = trunc(n x 2.73) with n = X + 8000: n x 2.73 lies in [BFO, BFO + 1)
  // and the candidates are 2.73 apart, so the one nearest BFO + 0.5 is it,
  // even when the sender's floating point fell just short of an exact product.
  const long long target = 100LL * bfoWord + 50;  // (BFO + 0.5) x 100
  const long long guess = target / 273;
  long long best = guess;
  for (long long n = guess - 2; n <= guess + 2; ++n) {
    if (std::llabs(273 * n - target) < std::llabs(273 * best - target)) best = n;
  }
  return static_cast<int>(best - 8000);
}

std::int64_t TunedFrequencyHz(int coarseWord, int fineWord, int bfoWord, int mode, int cwToneHz) {
  // One coarse step is 2500 Hz, one fine step 2500 / (2500 x 5.46) Hz. The
  // fine word was truncated, so the frequency lies up to one fine step above
  // what the words say: take the middle of that step.
  const long double fineStep = 2500.0L / 13650.0L;
  const long double base =
      (coarseWord - 18000) * 2500.0L + fineWord * fineStep + fineStep / 2 + 1250.0L;
  const int offset = PassbandOffsetFromBfo(bfoWord);
  long double hz = base;
  switch (mode) {
    case 1: hz = base - offset; break;                 // USB
    case 2: hz = base + offset; break;                 // LSB
    case 3: hz = base + (offset - cwToneHz); break;    // CW: offset is PBT + CW tone
    default: break;                                    // AM
  }
  return std::llround(hz);
}

Rx320Simulator::Rx320Simulator(std::uint32_t seed) : strength_(seed) {}

void Rx320Simulator::setCwToneHz(int hz) {
  cwToneHz_ = hz;
  rederive();
}

Rx320Simulator::Parse Rx320Simulator::tryCommand(std::size_t pos, std::size_t& length) {
  const std::size_t available = pending_.size() - pos;
  auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(pending_[pos + i]); };
  // Checks bytes 1..n-1 as far as they have arrived; a byte that cannot be
  // right rejects at once, without waiting for the rest.
  auto fixedLength = [&](std::size_t n, auto valid) {
    for (std::size_t i = 1; i < n; ++i) {
      if (i >= available) return Parse::NeedMore;
      if (!(i == n - 1 ? at(i) == CR : valid(i, at(i)))) return Parse::Reject;
    }
    length = n;
    return Parse::Accept;
  };

  switch (at(0)) {
    case 'W':
      return fixedLength(3, [](std::size_t, std::uint8_t b) { return b <= MaxFilterCode; });
    case 'N':
      return fixedLength(8, [](std::size_t, std::uint8_t) { return true; });
    case 'M':
      return fixedLength(3, [](std::size_t, std::uint8_t b) { return b >= '0' && b <= '3'; });
    case 'G':
      return fixedLength(3, [](std::size_t, std::uint8_t b) { return b >= '1' && b <= '3'; });
    case 'V':
    case 'A':
      return fixedLength(4, [](std::size_t i, std::uint8_t b) { return i == 1 ? b == VolumePrefix : b <= MaxLevel; });
    case 'X':
      return fixedLength(2, [](std::size_t, std::uint8_t) { return true; });
    case 'C': {
      // C 7F level CR, or C 7F digit digit CR.
      if (available < 2) return Parse::NeedMore;
      if (at(1) != VolumePrefix) return Parse::Reject;
      if (available < 4) return Parse::NeedMore;
      if (at(3) == CR) {
        if (at(2) > MaxLevel) return Parse::Reject;
        length = 4;
        return Parse::Accept;
      }
      if (!IsDigit(at(2)) || !IsDigit(at(3)) || (at(2) - '0') * 10 + (at(3) - '0') > MaxLevel) return Parse::Reject;
      if (available < 5) return Parse::NeedMore;
      if (at(4) != CR) return Parse::Reject;
      length = 5;
      return Parse::Accept;
    }
    default:
      return Parse::Reject;
  }
}

std::string Rx320Simulator::feed(std::string_view bytes) {
  pending_.append(bytes);
  std::string replies;
  std::size_t pos = 0;
  while (pos < pending_.size()) {
    std::size_t length = 0;
    const Parse result = tryCommand(pos, length);
    if (result == Parse::NeedMore) break;
    if (result == Parse::Reject) {
      skipped_.push_back(pending_[pos]);
      ++skippedTotal_;
      ++pos;
      continue;
    }
    flushSkipped();
    execute(std::string_view(pending_).substr(pos, length), replies);
    pos += length;
  }
  pending_.erase(0, pos);
  return replies;
}

void Rx320Simulator::flushSkipped() {
  if (skipped_.empty()) return;
  std::string line = Format("? skipped %zu bytes:", skipped_.size());
  constexpr std::size_t shown = 32;
  for (std::size_t i = 0; i < skipped_.size() && i < shown; ++i) {
    line += Format(" %02X", static_cast<unsigned>(static_cast<std::uint8_t>(skipped_[i])));
  }
  if (skipped_.size() > shown) line += " ...";
  skipped_.clear();
  writeLog(line);
}

void Rx320Simulator::writeLog(const std::string& line) {
  if (log_) log_(line);
}

std::string Rx320Simulator::frequencyText() const {
  const std::int64_t hz = state_.frequencyHz;
  const std::int64_t magnitude = hz < 0 ? -hz : hz;
  return Format("%s%lld.%03lld", hz < 0 ? "-" : "", static_cast<long long>(magnitude / 1000),
                static_cast<long long>(magnitude % 1000));
}

void Rx320Simulator::rederive() {
  if (!state_.tuned) return;
  state_.passbandOffsetHz = PassbandOffsetFromBfo(state_.bfoWord);
  state_.frequencyHz =
      TunedFrequencyHz(state_.coarseWord, state_.fineWord, state_.bfoWord, state_.mode, cwToneHz_);
  state_.pbtHz = state_.mode == static_cast<int>(Mode::CW)
                     ? state_.passbandOffsetHz - cwToneHz_
                     : state_.passbandOffsetHz - (state_.bandwidthHz / 2 + 200);
}

void Rx320Simulator::execute(std::string_view command, std::string& replies) {
  auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(command[i]); };
  auto word = [&](std::size_t i) { return byte(i) << 8 | byte(i + 1); };
  ++commands_;
  switch (command[0]) {
    case 'W':
      state_.filterCode = byte(1);
      state_.bandwidthHz = SimulatedFilterBandwidth(byte(1));
      rederive();
      writeLog(Format("W code=%d bw=%d", byte(1), state_.bandwidthHz));
      break;
    case 'N':
      state_.tuned = true;
      state_.coarseWord = word(1);
      state_.fineWord = word(3);
      state_.bfoWord = word(5);
      rederive();
      writeLog(Format("N coarse=%d fine=%d bfo=%d freq=%s kHz", state_.coarseWord, state_.fineWord, state_.bfoWord,
                  frequencyText().c_str()));
      break;
    case 'M': {
      state_.mode = byte(1) - '0';
      rederive();
      std::string line = std::string("M ") + ModeTableEntry(state_.mode).name;
      if (state_.tuned) line += " freq=" + frequencyText() + " kHz";
      writeLog(line);
      break;
    }
    case 'G':
      state_.agc = byte(1) - '0';
      writeLog(Format("G %d", state_.agc));
      break;
    case 'V':
    case 'A': {
      const int level = byte(2);
      const bool speaker = command[0] == 'V';
      (speaker ? state_.speakerLevel : state_.lineLevel) = level;
      (speaker ? state_.speakerMuted : state_.lineMuted) = level >= MaxLevel;
      writeLog(Format("%c level=%d%s", command[0], level, level >= MaxLevel ? " mute" : ""));
      break;
    }
    case 'C': {
      const bool digits = command.size() == 5;
      const int level = digits ? (byte(2) - '0') * 10 + (byte(3) - '0') : byte(2);
      state_.speakerLevel = state_.lineLevel = level;
      state_.speakerMuted = state_.lineMuted = level >= MaxLevel;
      if (digits && level == MaxLevel) {
        writeLog("C mute");
      } else {
        writeLog(Format("C level=%d%s", level, level >= MaxLevel ? " mute" : ""));
      }
      break;
    }
    case 'X': {
      std::uint16_t strength = 0;
      if (override_) {
        strength = *override_;
      } else {
        ListeningPassband where;
        where.frequencyHz = state_.tuned ? state_.frequencyHz : 0;
        where.mode = state_.mode;
        where.bandwidthHz = state_.bandwidthHz;
        where.passbandOffsetHz = state_.passbandOffsetHz;
        strength = strength_.sample(where);
      }
      state_.lastStrength = strength;
      ++queries_;
      replies.push_back('X');
      replies.push_back(static_cast<char>(strength >> 8));
      replies.push_back(static_cast<char>(strength & 0xFF));
      replies.push_back(static_cast<char>(CR));
      writeLog(Format("X strength=%u", static_cast<unsigned>(strength)));
      break;
    }
    default:
      break;
  }
}

}  // namespace ondaris
