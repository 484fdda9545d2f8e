#pragma once
// The serial ports present on the machine, by the names the listener picks
// them by (for example "ttyUSB0"). The Qt implementation asks QSerialPortInfo.

#include <string>
#include <vector>

namespace ondaris {

class SerialPortList {
 public:
  virtual ~SerialPortList() = default;
  virtual std::vector<std::string> portsPresent() const = 0;
};

// A machine without serial ports (tests, runs without a desktop).
class NoSerialPorts : public SerialPortList {
 public:
  std::vector<std::string> portsPresent() const override { return {}; }
};

}  // namespace ondaris
