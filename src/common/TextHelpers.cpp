#include "common/TextHelpers.h"

#include <array>
#include <charconv>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "common/Errors.h"

namespace ondaris {

std::string FormatFrequency(int decimals, bool fixedThree, double input, char separator) {
  if (fixedThree) decimals = 3;
  if (decimals < 0) decimals = 0;
  if (decimals > 6) decimals = 6;

  if (input == 0.0) {
    if (decimals == 0) return "0";
    return fixedThree ? std::string("0") + separator + "000" : std::string("0") + separator + "0";
  }
  if (std::fabs(input) > 1000000.0) return "xxx";

  std::string text;
  long double value = input;
  if (value < 0) {
    text += '-';
    value = -value;
  }
  // Values a hair below a decimal step print as that step; the leading zero
  // is decided after that, so 0.9999999 prints as 1 and not as 01.
  static constexpr std::array<long double, 8> Nudge{1e-1L, 1e-2L, 1e-3L, 1e-4L, 1e-5L, 1e-6L, 1e-7L, 1e-8L};
  if (decimals != 0) value += Nudge[decimals];
  if (value < 1) text += '0';

  bool started = false;
  for (long place : {100000L, 10000L, 1000L, 100L, 10L, 1L}) {
    // The ones place is written for a value of exactly 1 too, so that 1 with
    // no decimals does not come out empty.
    const bool due = value > place || (place == 1 && value >= 1);
    if (started || due) {
      const long digit = static_cast<long>(value / place);
      text += std::to_string(digit);
      value -= static_cast<long double>(digit) * place;
      started = true;
    }
  }
  if (!fixedThree && value == 0) return text;

  long double scale = 1;
  for (int placeIndex = 1; placeIndex <= decimals; ++placeIndex) {
    if (placeIndex <= 3 && value < 0.0005L && !fixedThree && decimals != 6) break;
    if (placeIndex == 1) text += separator;
    scale *= 10;
    int digit = static_cast<int>(value * scale);
    if (digit > 9) digit = 9;
    if (digit < 0) digit = 0;
    text += static_cast<char>('0' + digit);
    value -= digit / scale;
  }
  return text;
}

static std::string ReplaceChar(const std::string& text, char from, char to) {
  std::string out = text;
  for (char& c : out)
    if (c == from) c = to;
  return out;
}

std::string DotToLocaleDecimal(const std::string& text, char separator) {
  return ReplaceChar(text, '.', separator);
}

std::string LocaleToDotDecimal(const std::string& text, char separator) {
  return ReplaceChar(text, separator, '.');
}

std::string ReadTabField(const std::string& line, std::size_t& position) {
  if (position >= 1 && position <= line.size() && line[position - 1] == '\t') ++position;
  std::string field;
  while (position >= 1 && position <= line.size() && line[position - 1] != '\t') {
    field += line[position - 1];
    ++position;
  }
  return field;
}

std::string ExtractFileNamePart(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtractDirectoryPart(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

static std::string Trimmed(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

double TextToDouble(const std::string& input, char separator) {
  const std::string text = Trimmed(input);
  // Accept only digits, one separator and a leading sign, so that "9.5.1" or
  // "12abc" are refused instead of being read in part.
  bool digits = false, point = false;
  std::string normalised;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      digits = true;
      normalised += c;
    } else if (c == separator && !point) {
      point = true;
      normalised += '.';
    } else if ((c == '-' || c == '+') && i == 0) {
      normalised += c;
    } else {
      digits = false;
      break;
    }
  }
  if (!digits) throw ConversionError("'" + input + "' is not a valid floating point value");
  // from_chars, unlike strtod, ignores the process locale, which the toolkit
  // sets from the desktop: the text has already been normalised to a point.
  const char* begin = normalised.c_str();
  if (*begin == '+') ++begin;
  double value = 0;
  const auto result = std::from_chars(begin, normalised.c_str() + normalised.size(), value);
  if (result.ec != std::errc() || result.ptr != normalised.c_str() + normalised.size())
    throw ConversionError("'" + input + "' is not a valid floating point value");
  return value;
}

long TextToInteger(const std::string& input) {
  const std::string text = Trimmed(input);
  std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
  const bool digitsOnly =
      i < text.size() && text.find_first_not_of("0123456789", i) == std::string::npos && text.size() - i <= 10;
  if (!digitsOnly) throw ConversionError("'" + input + "' is not a valid integer value");
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  if (value > 2147483647LL || value < -2147483648LL)
    throw ConversionError("'" + input + "' is not a valid integer value");
  return static_cast<long>(value);
}

}  // namespace ondaris
