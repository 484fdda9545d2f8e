#include "platform/qt/QtSerialPortList.h"

#include <QSerialPortInfo>
#include <algorithm>

namespace ondaris {

std::vector<std::string> QtSerialPortList::portsPresent() const {
  std::vector<std::string> names;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
    names.push_back(info.portName().toLocal8Bit().toStdString());
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace ondaris
