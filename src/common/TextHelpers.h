#pragma once
// Number and text helpers shared by every part of the program. They sit below
// everything else and never fail: odd input gives odd but harmless text.

#include <string>

namespace ondaris {

// Turns a frequency (or any number shown or stored with decimals) into text,
// digit by digit. `decimals` is 0..6; `fixedThree` forces exactly three.
// Magnitudes above 1,000,000 print as "xxx".
std::string FormatFrequency(int decimals, bool fixedThree, double value, char separator);

// Every "." becomes the locale's separator (file text about to be converted).
std::string DotToLocaleDecimal(const std::string& text, char separator);
// Every locale separator becomes "." (numbers about to be written to a file).
std::string LocaleToDotDecimal(const std::string& text, char separator);

// Reads the next field of a tab-delimited line. `position` is 1-based and is
// shared between calls: it is left on the tab that ends the field.
std::string ReadTabField(const std::string& line, std::size_t& position);

// Path splitting on '/'.
std::string ExtractFileNamePart(const std::string& path);
std::string ExtractDirectoryPart(const std::string& path);

// Converts text as a decimal number the way typed input and state files are
// converted: the whole text (after leading/trailing blanks) must be a number
// written with `separator` as decimal point. Throws ConversionError otherwise.
double TextToDouble(const std::string& text, char separator);
// Converts text as a whole decimal number (optional sign). Throws ConversionError.
long TextToInteger(const std::string& text);

}  // namespace ondaris
