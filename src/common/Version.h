#pragma once
// The program's version: the one place it is written. The status line, the
// about box and `ondaris --version` show it, and CMake reads the project's
// version from the line below.

namespace ondaris {

inline constexpr const char* ProgramVersion = "1.1";

}  // namespace ondaris
