// One record line of a .320 frequency file, as tests write them.

#pragma once

#include <string>

namespace ondaris {

// An AM station, 6 kHz filter, 5 kHz step, at "Place" in "English" with the
// notes "Notes"; `mhz` is written as given.
inline std::string StationLine(const std::string& name, const std::string& mhz, const std::string& onAir = "0000",
                               const std::string& offAir = "2400", const std::string& lockout = "0") {
  return "\"" + name + "\"," + mhz + ",AM,6000,2,5000,0,\"Place\",\"English\",\"" + onAir + "\",\"" + offAir +
         "\",\"Notes\",0," + lockout;
}

}  // namespace ondaris
