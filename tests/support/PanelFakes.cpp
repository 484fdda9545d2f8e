#include "support/PanelFakes.h"

#include "radio/Rx320Protocol.h"

namespace ondaris {

std::vector<std::string> PanelFakes::sentUnits() const {
  const std::string query = SignalStrengthQuery();
  std::vector<std::string> units;
  for (const auto& write : port.writes())
    if (write.bytes != query) units.push_back(write.bytes);
  return units;
}

std::string PanelFakes::sentBytes() const {
  std::string bytes;
  for (const auto& unit : sentUnits()) bytes += unit;
  return bytes;
}

int PanelFakes::meterQueriesSent() const {
  int count = 0;
  for (const auto& write : port.writes()) count += write.bytes == SignalStrengthQuery();
  return count;
}

}  // namespace ondaris
