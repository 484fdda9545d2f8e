#pragma once
// Picks the signal-strength report (X, high byte, low byte, CR) out of the
// bytes the receiver sends back, however the line cuts them into chunks.

#include <optional>
#include <string>
#include <string_view>

namespace ondaris {

class FrameAssembler {
 public:
  // One receive event with its chunk. Returns the strength when a report is
  // complete; a report that completes across chunks is clamped to
  // [meterMin, meterMax].
  std::optional<int> onChunk(std::string_view chunk, int meterMin, int meterMax);

  bool frameOpen() const { return open_; }
  int frameCount() const { return static_cast<int>(frame_.size()); }
  const std::string& frame() const { return frame_; }
  void reset();

 private:
  std::string frame_;
  bool open_ = false;
};

}  // namespace ondaris
