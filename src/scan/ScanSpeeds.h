#pragma once
// The speed tables of the scan kinds besides limit scanning (whose two
// tables live with the limit ranges): captions of ScanSpd0Btn..ScanSpd5Btn,
// the ScanTimer interval of each, and the button each kind starts on.

#include <string>

#include "panel/PanelModel.h"
#include "scan/LimitRanges.h"

namespace ondaris {

// The window's own captions and intervals, before any scan kind is chosen.
inline constexpr ScanSpeedTable StartupScanSpeeds{{".25S", ".5S", "1S", "2S", "5S", "10S"},
                                                  {250, 500, 1000, 2000, 5000, 10000}};
// Mem Scan.
inline constexpr ScanSpeedTable MemoryScanSpeeds{{".25S", ".5S", "1S", "2S", "5S", "10S"},
                                                 {250, 500, 1000, 2000, 5000, 10000}};
// File Scan: the fastest button steps every 100 ms although it reads ".25S".
inline constexpr ScanSpeedTable FileScanSpeeds{{".25S", ".5S", "1S", "2S", "5S", "10S"},
                                               {100, 500, 1000, 2000, 5000, 10000}};
// Band Scan: the Limit Scan button's intervals. The three captions with a
// decimal point are shown with the locale's separator (BandScanCaption).
inline constexpr ScanSpeedTable BandScanSpeeds{{"33 mS", "0.1S", "0.2S", "0.5S", "1S", "3S"},
                                               {10, 50, 200, 500, 1000, 3000}};

inline constexpr int MemoryScanDefaultSpeed = 2;  // 500 ms
inline constexpr int FileScanDefaultSpeed = 2;    // 500 ms
inline constexpr int BandScanDefaultSpeed = 3;    // 200 ms

// A band-scan speed caption with its decimal point as `separator`.
std::string BandScanCaption(int button, char separator);

// The band table on the six buttons (captions with `separator`), the button
// of `speedIndex` (1..6, clamped) pressed, ScanSpeedIndex and ScanInterval
// set. Used when band scan is chosen and when the band dialog's OK takes the
// band's own speed.
void SelectBandScanSpeedTable(PanelModel& panel, ScanSettings& settings, int speedIndex, char separator);

}  // namespace ondaris
