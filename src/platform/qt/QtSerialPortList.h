#pragma once
// The serial ports present, from QSerialPortInfo, by port name.

#include "platform/SerialPortList.h"

namespace ondaris {

class QtSerialPortList : public SerialPortList {
 public:
  std::vector<std::string> portsPresent() const override;
};

}  // namespace ondaris
