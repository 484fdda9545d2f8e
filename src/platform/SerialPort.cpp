#include "platform/SerialPort.h"

#include <cctype>

namespace ondaris {

std::string SerialDevicePath(const std::string& portName) {
  if (portName == "SIM") return portName;
  if (!portName.empty() && portName[0] == '/') return portName;
  if (portName.size() > 3 && portName.compare(0, 3, "COM") == 0) {
    const std::string digits = portName.substr(3);
    bool allDigits = !digits.empty() && digits.size() <= 4;
    for (char c : digits) allDigits = allDigits && std::isdigit(static_cast<unsigned char>(c));
    if (allDigits) {
      const int number = std::stoi(digits);
      if (number >= 1) return "/dev/ttyS" + std::to_string(number - 1);
    }
  }
  return "/dev/" + portName;
}

}  // namespace ondaris
