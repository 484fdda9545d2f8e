#pragma once
// Small helpers for tests that build or damage fixed-layout file images:
// little-endian integers and doubles written at an offset, and hex text.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "support/PanelFixture.h"

namespace ondaris {

// Writes the bytes of "57 00 0D ..." at `offset`.
inline void PutHex(std::string& bytes, std::size_t offset, const std::string& hex) {
  const std::string values = BytesFromHex(hex);
  bytes.replace(offset, values.size(), values);
}

inline void PutInt32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline void PutDouble(std::string& bytes, std::size_t offset, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  for (int i = 0; i < 8; ++i) bytes[offset + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

}  // namespace ondaris
