#pragma once
// The frames of the companion link. Every message, in both directions, is one
// block of exactly 88 bytes: the text length (0..80) in byte 0, the text, then
// zero bytes.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondaris {

constexpr std::size_t CompanionFrameSize = 88;
constexpr std::size_t CompanionTextMax = 80;

// The frame for `text`; a longer text is cut to its first 80 characters.
std::string EncodeCompanionFrame(std::string_view text);

// The text of one frame. Only the length byte's count of characters is read
// (fewer when the block is shorter); the rest of the block is not looked at.
// A block whose length byte is above 80, or an empty block, gives nothing.
std::optional<std::string> DecodeCompanionFrame(std::string_view bytes);

// Cuts a byte stream into frames: bytes may arrive split anywhere, or several
// frames at once.
class CompanionFrameSplitter {
 public:
  // Takes the bytes that arrived; returns the texts of the frames they
  // complete, in order (frames that decode to nothing are left out).
  std::vector<std::string> feed(std::string_view bytes);
  // Bytes of an incomplete frame still waiting for the rest.
  std::size_t pendingBytes() const { return buffer_.size(); }

 private:
  std::string buffer_;
};

}  // namespace ondaris
