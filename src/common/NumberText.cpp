#include "common/NumberText.h"

#include <cctype>
#include <charconv>
#include <limits>

namespace ondaris {

namespace {

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  std::size_t begin = 0, end = text.size();
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

std::optional<long> TryReadWhole(std::string_view input) {
  const std::string_view text = Trim(input);
  std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
  if (i >= text.size() || text.size() - i > 10) return std::nullopt;
  long long value = 0;
  for (std::size_t k = i; k < text.size(); ++k) {
    const char c = text[k];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (text[0] == '-') value = -value;
  if (value > 2147483647LL || value < -2147483648LL) return std::nullopt;
  return static_cast<long>(value);
}

std::optional<double> TryReadDecimal(std::string_view input, char separator) {
  const std::string_view text = Trim(input);
  // Copy into a "." form for from_chars (which ignores the locale), refusing
  // anything but digits, one separator and a leading sign.
  char small[64];
  std::string large;
  char* buffer = small;
  if (text.size() >= sizeof small) {
    large.resize(text.size() + 1);
    buffer = large.data();
  }
  std::size_t length = 0;
  bool digits = false, point = false, negative = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digits = true;
      buffer[length++] = c;
    } else if (c == separator && !point) {
      point = true;
      buffer[length++] = '.';
    } else if ((c == '-' || c == '+') && i == 0) {
      negative = c == '-';
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  double value = 0;
  const auto result = std::from_chars(buffer, buffer + length, value, std::chars_format::fixed);
  if (result.ec == std::errc::result_out_of_range) value = std::numeric_limits<double>::infinity();
  else if (result.ec != std::errc() || result.ptr != buffer + length) return std::nullopt;
  return negative ? -value : value;
}

std::string FoldAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = FoldAsciiByte(c);
  return out;
}

}  // namespace ondaris
