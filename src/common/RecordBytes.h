#pragma once
// Little-endian fields of the fixed-layout binary records (the scratchpad, the
// limit ranges, the data modes): 32-bit integers, IEEE doubles and strings of fixed
// capacity stored as one length byte followed by the capacity in characters.
// Reading and writing work on a whole image held in memory, at explicit
// offsets, so that a record's padding is simply left as it is.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace ondaris::record_bytes {

inline void PutByte(std::string& image, std::size_t offset, std::uint8_t value) {
  image[offset] = static_cast<char>(value);
}

inline std::uint8_t GetByte(std::string_view image, std::size_t offset) {
  return static_cast<std::uint8_t>(image[offset]);
}

inline void PutInt32(std::string& image, std::size_t offset, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) PutByte(image, offset + i, static_cast<std::uint8_t>(bits >> (8 * i)));
}

inline std::int32_t GetInt32(std::string_view image, std::size_t offset) {
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(GetByte(image, offset + i)) << (8 * i);
  return static_cast<std::int32_t>(bits);
}

inline void PutDouble(std::string& image, std::size_t offset, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  for (std::size_t i = 0; i < 8; ++i) PutByte(image, offset + i, static_cast<std::uint8_t>(bits >> (8 * i)));
}

inline double GetDouble(std::string_view image, std::size_t offset) {
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < 8; ++i) bits |= static_cast<std::uint64_t>(GetByte(image, offset + i)) << (8 * i);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Length byte, then the text cut to `capacity`, then zeros up to the capacity.
inline void PutText(std::string& image, std::size_t offset, const std::string& text, std::size_t capacity) {
  const std::size_t length = std::min(text.size(), capacity);
  PutByte(image, offset, static_cast<std::uint8_t>(length));
  for (std::size_t i = 0; i < capacity; ++i) image[offset + 1 + i] = i < length ? text[i] : '\0';
}

// A length byte beyond the capacity is read as the capacity, so a damaged
// field never reaches into the next one.
inline std::string GetText(std::string_view image, std::size_t offset, std::size_t capacity) {
  const std::size_t length = std::min<std::size_t>(GetByte(image, offset), capacity);
  return std::string(image.substr(offset + 1, length));
}

// `image` with its first bytes replaced by those of a file: a file shorter
// than the image is read as far as it goes and the rest keeps what it held;
// bytes beyond the image's size are ignored.
inline void Overlay(std::string& image, std::string_view file) {
  const std::size_t count = std::min(image.size(), file.size());
  image.replace(0, count, file.substr(0, count));
}

}  // namespace ondaris::record_bytes
