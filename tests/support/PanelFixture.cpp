#include "support/PanelFixture.h"

#include <cstdio>
#include <sstream>

namespace ondaris {

PanelRig::PanelRig() {
  controls.setTuning(&tuning);
  ctx.publishStatus = [this] { ++statusReports; };
  ctx.reportError = [this](const std::string& text) { reportedErrors.push_back(text); };
  ctx.endScan = [this] { ++endScanCalls; };
  link.open("COM1");
  meterTimer.setInterval(200);
}

bool PanelRig::flushLine(std::int64_t limitMs) {
  return timeline.advanceUntil([this] { return link.queuedUnits() == 0; }, limitMs);
}

void PanelRig::clearRecords() {
  port.clearWrites();
  statusReports = 0;
  reportedErrors.clear();
  endScanCalls = 0;
}

std::string HexBytes(const std::string& bytes) {
  std::string text;
  char buffer[4];
  for (unsigned char byte : bytes) {
    std::snprintf(buffer, sizeof buffer, "%02X", byte);
    if (!text.empty()) text += ' ';
    text += buffer;
  }
  return text;
}

std::string BytesFromHex(const std::string& hex) {
  std::istringstream in(hex);
  std::string bytes;
  std::string token;
  while (in >> token) bytes += static_cast<char>(std::stoi(token, nullptr, 16));
  return bytes;
}

}  // namespace ondaris
