#include "scan/ScanSpeeds.h"

#include <string>

namespace ondaris {

std::string BandScanCaption(int button, char separator) {
  if (button < 0 || button >= static_cast<int>(BandScanSpeeds.captions.size())) return {};
  std::string caption = BandScanSpeeds.captions[static_cast<std::size_t>(button)];
  for (char& c : caption)
    if (c == '.') c = separator;
  return caption;
}

void SelectBandScanSpeedTable(PanelModel& panel, ScanSettings& settings, int speedIndex, char separator) {
  SelectScanSpeedTable(panel, settings, BandScanSpeeds, speedIndex);
  for (int button = 0; button < static_cast<int>(BandScanSpeeds.captions.size()); ++button)
    panel.setCaption(ScanSpeedButton(button), BandScanCaption(button, separator));
}

}  // namespace ondaris
