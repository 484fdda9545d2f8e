#include "radio/FrameAssembler.h"

#include <algorithm>

namespace ondaris {

namespace {
int Strength(unsigned char high, unsigned char low) { return high * 256 + low; }
}  // namespace

void FrameAssembler::reset() {
  frame_.clear();
  open_ = false;
}

std::optional<int> FrameAssembler::onChunk(std::string_view chunk, int meterMin, int meterMax) {
  if (chunk.empty()) return std::nullopt;

  // A whole report in one chunk (with or without its CR) is taken as it is,
  // whatever was collected before, and left to the meter to clamp.
  if ((chunk.size() == 3 || chunk.size() == 4) && chunk[0] == 'X') {
    reset();
    return Strength(static_cast<unsigned char>(chunk[1]), static_cast<unsigned char>(chunk[2]));
  }

  if (!open_) {
    frame_.clear();
    const auto start = chunk.find('X');
    if (start == std::string_view::npos) return std::nullopt;  // nothing of a report
    open_ = true;
    frame_.append(chunk.substr(start));
  } else {
    frame_.append(chunk);
  }

  if (open_ && frame_.size() >= 4) {
    int strength = Strength(static_cast<unsigned char>(frame_[1]), static_cast<unsigned char>(frame_[2]));
    strength = std::max(strength, meterMin);
    strength = std::min(strength, meterMax);
    reset();
    return strength;
  }
  return std::nullopt;
}

}  // namespace ondaris
