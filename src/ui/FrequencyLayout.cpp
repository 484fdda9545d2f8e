#include "ui/FrequencyLayout.h"

#include <algorithm>
#include <cctype>

namespace ondaris {

namespace {

// Each layout: the integer digits' bands, one band over the decimal point,
// then three decimals. The same bands the tuning controller reads clicks with.
const DigitBands Five{5, {0.0714, 0.1678, 0.2678, 0.3678, 0.4678, 0.575, 0.6071, 0.7107, 0.8107, 0.9071}};
const DigitBands Four{4, {0.1285, 0.2214, 0.3214, 0.4214, 0.5214, 0.5642, 0.6607, 0.7607, 0.8571}};
const DigitBands Three{3, {0.1642, 0.2714, 0.3714, 0.4714, 0.5071, 0.6071, 0.7071, 0.8071}};
const DigitBands Two{2, {68.0 / 303, 98.0 / 303, 128.0 / 303, 140.0 / 303, 170.0 / 303, 200.0 / 303, 240.0 / 303}};

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

const DigitBands& DigitBandsFor(int integerDigits) {
  if (integerDigits >= 5) return Five;
  if (integerDigits == 4) return Four;
  if (integerDigits == 3) return Three;
  return Two;
}

std::vector<GlyphCell> FrequencyGlyphCells(std::string_view text, int width) {
  std::vector<GlyphCell> cells;
  if (width <= 0) return cells;

  // Integer digits, an optional separator, decimals, then anything else (the
  // clock-radio asterisk).
  std::size_t pos = 0;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  const std::size_t integerCount = pos;
  if (integerCount == 0 || integerCount > 5) return cells;
  const bool hasPoint = pos < text.size() && (text[pos] == '.' || text[pos] == ',');
  const std::size_t pointPos = pos;
  if (hasPoint) ++pos;
  const std::size_t fractionStart = pos;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  const std::size_t fractionCount = pos - fractionStart;
  const std::string_view suffix = text.substr(pos);

  const DigitBands& bands = DigitBandsFor(static_cast<int>(integerCount));
  const double w = width;
  const double advance = w * 0.1;  // one digit's width, as the bands are spaced
  auto bound = [&](int i) { return w * bands.bounds[i]; };

  // Integer digits right-aligned against the point; each hugs the point side
  // of its band so that wide outer bands do not spread the digits.
  const int layoutInts = bands.integerDigits;
  for (std::size_t i = 0; i < integerCount; ++i) {
    const int band = layoutInts - static_cast<int>(integerCount) + static_cast<int>(i);
    const double right = bound(band + 1);
    const double left = std::max(bound(band), right - advance);
    cells.push_back({text[i], left, right});
  }
  const double pointLeft = bound(layoutInts);
  const double pointRight = bound(layoutInts + 1);
  if (hasPoint) cells.push_back({text[pointPos], pointLeft, pointRight});

  double next = pointRight;
  for (std::size_t k = 0; k < fractionCount; ++k) {
    const int band = layoutInts + 1 + static_cast<int>(k);
    double left = next;
    double right = left + advance;
    if (band + 1 < static_cast<int>(bands.bounds.size())) {
      left = bound(band);
      right = std::min(bound(band + 1), left + advance);
    }
    cells.push_back({text[fractionStart + k], left, right});
    next = right;
  }
  for (char c : suffix) {
    const double left = next;
    const double right = left + advance * 0.7;
    cells.push_back({c, left, right});
    next = right;
  }
  return cells;
}

}  // namespace ondaris
