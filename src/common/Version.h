#pragma once
// The program's version, as shown in the status line, the about box and by
// `ondaris --version`. The build may pass its own with ONDARIS_VERSION.

namespace ondaris {

#ifdef ONDARIS_VERSION
inline constexpr const char* ProgramVersion = ONDARIS_VERSION;
#else
inline constexpr const char* ProgramVersion = "0.1.0";
#endif

}  // namespace ondaris
