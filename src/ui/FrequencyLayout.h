#pragma once
// Where the frequency display draws each character. A click on a digit tunes
// by that digit's place value, and the tuning controller finds the digit from
// fixed bands of the display's width that depend on how many integer digits
// the frequency has. The display draws every character inside the band of its
// digit, so that what the listener clicks is what is tuned.

#include <string_view>
#include <vector>

namespace ondaris {

struct GlyphCell {
  char character;
  double left;   // pixels from the display's left edge
  double right;
};

// The cells of a frequency text such as "9575.000", "12345.000*", "9.999",
// or a partly typed "15" or "9.5". Empty when the text is no frequency (the
// display then centres it as it is).
std::vector<GlyphCell> FrequencyGlyphCells(std::string_view text, int width);

// The digit bands as fractions of the width, left to right, for 5, 4, 3 and 2
// integer digits (frequencies below 10 kHz use the 2-digit bands).
struct DigitBands {
  int integerDigits;
  std::vector<double> bounds;  // one more than the bands
};
const DigitBands& DigitBandsFor(int integerDigits);

}  // namespace ondaris
