#include "ui/PanelLayout.h"

namespace ondaris {

namespace {

// Steps: nine buttons from y 0 to y 156.
constexpr int StepY(int i) { return (i * 39 + 1) / 2; }  // 0, 20, 39, 59, 78, 98, 117, 137, 156
// Scan column: Stop, Scan and six speeds from y 0 to y 148.
constexpr int ScanY(int i) { return (i * 148 + 3) / 7; }
// File tools and WWV rows: seven and six buttons from x 271.
constexpr int FileX(int i) { return 271 + (i * 254 + 3) / 6; }
constexpr int WWVX(int i) { return 271 + (i * 212 + 2) / 5; }

}  // namespace

std::optional<PanelRect> PanelGeometry(Ctl control) {
  const int index = static_cast<int>(control);

  // Filters: three columns of 57 x 19, widest first reading left to right.
  if (index >= static_cast<int>(Ctl::FiltBtn0) && index <= static_cast<int>(Ctl::FiltBtn23)) {
    const int n = index - static_cast<int>(Ctl::FiltBtn0);
    return PanelRect{8 + 57 * (n % 3), 19 * (n / 3), 57, 19};
  }
  // Scratchpad memories: two rows of eight, 78 x 22, from x 112.
  if (index >= static_cast<int>(Ctl::ScpdBtn0) && index <= static_cast<int>(Ctl::ScpdBtn15)) {
    const int n = index - static_cast<int>(Ctl::ScpdBtn0);
    return PanelRect{112 + 78 * (n % 8), n < 8 ? 184 : 206, 78, 22};
  }
  // Scan speeds below Stop and Scan.
  if (index >= static_cast<int>(Ctl::ScanSpd0Btn) && index <= static_cast<int>(Ctl::ScanSpd5Btn)) {
    const int n = index - static_cast<int>(Ctl::ScanSpd0Btn) + 2;
    return PanelRect{657, ScanY(n), 80, 20};
  }

  switch (control) {
    case Ctl::DecrBWBtn: return PanelRect{8, 152, 84, 26};
    case Ctl::IncrBWBtn: return PanelRect{94, 152, 85, 26};

    case Ctl::FreqDispPanel: return PanelRect{192, 0, 303, 68};
    case Ctl::Meter: return PanelRect{192, 76, 153, 28};
    case Ctl::AGCFastBtn: return PanelRect{349, 76, 23, 28};
    case Ctl::AGCMedBtn: return PanelRect{373, 76, 23, 28};
    case Ctl::AGCSlowBtn: return PanelRect{397, 76, 23, 28};
    case Ctl::RoundBtn: return PanelRect{429, 76, 66, 28};

    case Ctl::DataModeBtn: return PanelRect{192, 111, 45, 34};
    case Ctl::ModeBtnCW: return PanelRect{238, 111, 45, 34};
    case Ctl::ModeBtnLSB: return PanelRect{284, 111, 45, 34};
    case Ctl::ModeBtnUSB: return PanelRect{330, 111, 45, 34};
    case Ctl::ModeBtnAM: return PanelRect{376, 111, 45, 34};
    case Ctl::VFOBtn: return PanelRect{429, 111, 66, 34};

    case Ctl::PBTBtnDown: return PanelRect{192, 152, 78, 26};
    case Ctl::PBTDisplayPanel: return PanelRect{272, 152, 78, 26};
    case Ctl::PBTBtnUp: return PanelRect{352, 152, 69, 26};
    case Ctl::LastFreqBtn: return PanelRect{429, 152, 66, 26};

    case Ctl::StepBtn10000: return PanelRect{510, StepY(0), 41, StepY(1) - StepY(0)};
    case Ctl::StepBtn5000: return PanelRect{510, StepY(1), 41, StepY(2) - StepY(1)};
    case Ctl::StepBtn3000: return PanelRect{510, StepY(2), 41, StepY(3) - StepY(2)};
    case Ctl::StepBtn1000: return PanelRect{510, StepY(3), 41, StepY(4) - StepY(3)};
    case Ctl::StepBtn500: return PanelRect{510, StepY(4), 41, StepY(5) - StepY(4)};
    case Ctl::StepBtn100: return PanelRect{510, StepY(5), 41, StepY(6) - StepY(5)};
    case Ctl::StepBtn50: return PanelRect{510, StepY(6), 41, StepY(7) - StepY(6)};
    case Ctl::StepBtn10: return PanelRect{510, StepY(7), 41, StepY(8) - StepY(7)};
    case Ctl::StepBtn1: return PanelRect{510, StepY(8), 41, 22};

    case Ctl::FreqUpBtnFast: return PanelRect{553, 0, 57, 24};
    case Ctl::FreqUpBtn: return PanelRect{553, 24, 57, 64};
    case Ctl::FreqDnBtn: return PanelRect{553, 88, 57, 64};
    case Ctl::FreqDnBtnFast: return PanelRect{553, 152, 57, 26};
    case Ctl::TuningSpeedTrackbar: return PanelRect{612, 0, 42, 178};

    case Ctl::StopBtn: return PanelRect{657, ScanY(0), 80, 20};
    case Ctl::ScanBtn: return PanelRect{657, ScanY(1), 80, 20};

    case Ctl::BankDispPanel: return PanelRect{8, 184, 30, 44};
    case Ctl::BankUpBtn: return PanelRect{40, 184, 30, 22};
    case Ctl::BankDnBtn: return PanelRect{40, 206, 30, 22};
    case Ctl::TagBtn: return PanelRect{72, 184, 38, 22};
    case Ctl::LockoutBtn: return PanelRect{72, 206, 38, 22};

    case Ctl::StatusPanel: return PanelRect{8, 236, 281, 31};
    case Ctl::TimePanel: return PanelRect{296, 236, 92, 31};
    case Ctl::FileScanBtn: return PanelRect{392, 236, 85, 31};
    case Ctl::MemScanBtn: return PanelRect{479, 236, 85, 31};
    case Ctl::LimitScanBtn: return PanelRect{565, 236, 85, 31};
    case Ctl::BandScanBtn: return PanelRect{652, 236, 85, 31};

    case Ctl::Grid: return PanelRect{8, 275, 729, 157};

    case Ctl::LineTrackbar: return PanelRect{0, 436, 126, 36};
    case Ctl::SpkrTrackbar: return PanelRect{130, 436, 126, 36};
    case Ctl::LineMuteBtn: return PanelRect{18, 475, 90, 26};
    case Ctl::SpkrMuteBtn: return PanelRect{146, 475, 90, 26};

    case Ctl::LookupBtn: return PanelRect{FileX(0), 441, 41, 28};
    case Ctl::LkBtn: return PanelRect{FileX(1), 441, 41, 28};
    case Ctl::NowBtn: return PanelRect{FileX(2), 441, 41, 28};
    case Ctl::FileOpBtn1: return PanelRect{FileX(3), 441, 41, 28};
    case Ctl::FileOpBtn2: return PanelRect{FileX(4), 441, 41, 28};
    case Ctl::FileOpBtn3: return PanelRect{FileX(5), 441, 41, 28};
    case Ctl::FileOpBtn5: return PanelRect{FileX(6), 441, 41, 28};
    case Ctl::ExpressRecBtn: return PanelRect{584, 441, 153, 28};

    case Ctl::WWV25Btn: return PanelRect{WWVX(0), 475, 41, 26};
    case Ctl::WWV5Btn: return PanelRect{WWVX(1), 475, 41, 26};
    case Ctl::WWV10Btn: return PanelRect{WWVX(2), 475, 41, 26};
    case Ctl::WWV15Btn: return PanelRect{WWVX(3), 475, 41, 26};
    case Ctl::WWV20Btn: return PanelRect{WWVX(4), 475, 41, 26};
    case Ctl::WWVRestoreBtn: return PanelRect{WWVX(5), 475, 52, 26};

    case Ctl::LogEntryBtn: return PanelRect{584, 475, 76, 26};
    case Ctl::LogDispBtn: return PanelRect{662, 475, 75, 26};

    default: return std::nullopt;
  }
}

}  // namespace ondaris
