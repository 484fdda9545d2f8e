#include "platform/CompanionFrame.h"

#include <algorithm>

namespace ondaris {

std::string EncodeCompanionFrame(std::string_view text) {
  const std::size_t length = std::min(text.size(), CompanionTextMax);
  std::string frame(CompanionFrameSize, '\0');
  frame[0] = static_cast<char>(static_cast<unsigned char>(length));
  std::copy_n(text.begin(), length, frame.begin() + 1);
  return frame;
}

std::optional<std::string> DecodeCompanionFrame(std::string_view bytes) {
  if (bytes.empty()) return std::nullopt;
  const std::size_t length = static_cast<unsigned char>(bytes[0]);
  if (length > CompanionTextMax) return std::nullopt;
  const std::size_t available = std::min(length, bytes.size() - 1);
  return std::string(bytes.substr(1, available));
}

std::vector<std::string> CompanionFrameSplitter::feed(std::string_view bytes) {
  buffer_.append(bytes);
  std::vector<std::string> texts;
  std::size_t used = 0;
  while (buffer_.size() - used >= CompanionFrameSize) {
    std::optional<std::string> text =
        DecodeCompanionFrame(std::string_view(buffer_).substr(used, CompanionFrameSize));
    if (text) texts.push_back(std::move(*text));
    used += CompanionFrameSize;
  }
  buffer_.erase(0, used);
  return texts;
}

}  // namespace ondaris
