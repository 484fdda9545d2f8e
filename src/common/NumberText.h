#pragma once
// Reading numbers out of file and typed text without exceptions, and the
// letter folding that every case-insensitive sort and search of the program
// uses.

#include <optional>
#include <string>
#include <string_view>

namespace ondaris {

// They accept exactly what TextToInteger and TextToDouble accept (blanks
// around, optional sign, digits, at most one decimal separator; a whole number
// must fit in 32 bits), but report a refusal as no value instead of throwing.
std::optional<long> TryReadWhole(std::string_view text);
std::optional<double> TryReadDecimal(std::string_view text, char separator);

// "A".."Z" become "a".."z"; every other byte stays.
inline char FoldAsciiByte(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
std::string FoldAscii(std::string_view text);

}  // namespace ondaris
