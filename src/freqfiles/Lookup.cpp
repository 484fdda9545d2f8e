#include "freqfiles/Lookup.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "common/TextHelpers.h"
#include "freqfiles/FreqFileController.h"

namespace ondaris {

std::string LookupRequestText(double tunedKHz, char separator) {
  return "L" + FormatFrequency(3, false, tunedKHz, separator);
}

std::string LookupController::Dialog::CellText(int gridRow, int column) const {
  if (column < 0 || column >= static_cast<int>(LookupHeaders.size())) return {};
  if (gridRow == 0) return LookupHeaders[static_cast<std::size_t>(column)];
  if (gridRow < 1 || gridRow > static_cast<int>(matches.size())) return {};
  const MasterListMatch& match = matches[static_cast<std::size_t>(gridRow - 1)];
  switch (column) {
    case 0:
      return match.freq;
    case 1:
      return match.station;
    default:
      return match.file;
  }
}

LookupController::LookupController(PanelContext& context, StationGrid& stations, FreqFileController& files,
                                   std::string programDir)
    : ctx_(context), stations_(stations), files_(files), programDir_(std::move(programDir)) {}

bool LookupController::LookupInFrequencyList(double tunedKHz) {
  FrequencyList& list = stations_.list;
  if (list.RecordCount() < 1) return false;
  const std::string tuned = FormatFrequency(3, false, tunedKHz, ctx_.decimalSeparator);
  const auto& freqs = list.Column(FreqColumn::Freq);
  if (std::find(freqs.begin(), freqs.end(), tuned) == freqs.end()) {
    ctx_.messages.showMessage(TunedFreqNotInFileMessage);
    return false;
  }
  // The exact match only decides whether to look: the row shown is the first
  // one near the frequency in frequency order.
  if (list.OnAirView) stations_.LeaveOnAirView();
  if (!stations_.FreqSorted) stations_.SortByFreq();
  const int row = stations_.FirstRowNear(tunedKHz, LookupRowToleranceKHz);
  if (row > 0) stations_.SetRow(row, row);
  stations_.RefreshFrequencyGrid();
  return true;
}

void LookupController::LookupBtnClick() {
  const double tuned = ctx_.state.Freq;
  if (sendToCompanion) sendToCompanion(LookupRequestText(tuned, ctx_.decimalSeparator));

  LookupInFrequencyList(tuned);

  const std::optional<std::vector<MasterListMatch>> matches =
      LookupMasterList(programDir_, tuned, ctx_.decimalSeparator);
  if (!matches || matches->empty()) return;
  dialog_ = Dialog{};
  dialog_.matches = *matches;
  dialog_.row = 1;
  dialog_.open = true;
  if (showDialog) showDialog(dialog_);
  dialog_.open = false;
}

void LookupController::OpenFileBtnClick() {
  if (!dialog_.open) return;
  dialog_.open = false;
  const int row = dialog_.row;
  const std::string name = row >= 1 && row <= static_cast<int>(dialog_.matches.size())
                               ? dialog_.matches[static_cast<std::size_t>(row - 1)].file
                               : std::string();
  const std::string path = files_.FreqFileFolder() + name;
  std::error_code error;
  // Only a bare file name of the frequency-file folder is opened.
  const bool present = !name.empty() && name.find('/') == std::string::npos &&
                       std::filesystem::is_regular_file(std::filesystem::path(path), error);
  if (!present) {
    ctx_.messages.showMessage(LookupFileMissingMessage);
    return;
  }
  // Opening a recent file does what this button needs: the save question,
  // the on-air view left, the name taken, the recent-file list and the load.
  files_.ReopenFile(path);
}

void LookupController::OKBtnClick() { dialog_.open = false; }

}  // namespace ondaris
