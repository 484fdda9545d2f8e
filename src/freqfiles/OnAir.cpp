#include "freqfiles/OnAir.h"

#include "freqfiles/FrequencyRecord.h"

namespace ondaris {

bool IsOnAirNow(std::string_view onAirText, std::string_view offAirText, int hhmmNow) {
  if (onAirText.empty() || offAirText.empty()) return false;
  const auto onAir = TryReadWhole(onAirText);
  const auto offAir = TryReadWhole(offAirText);
  // Hours that cannot be read give no broadcast rather than a guessed one.
  if (!onAir || !offAir) return false;
  long end = *offAir;
  if (end < *onAir) end += 2400;
  const long length = end - *onAir;
  long elapsed = hhmmNow - *onAir;
  if (elapsed < 0) elapsed += 2400;
  return length > elapsed;
}

bool IsRowOnAirNow(const FrequencyList& list, int row, int hhmmNow) {
  if (list.RecordCount() == 0) return false;
  const int record = list.RecordAtRow(row);
  if (record < 0 || record >= list.RecordCount()) return false;
  return IsOnAirNow(list.Cell(record, FreqColumn::OnAir), list.Cell(record, FreqColumn::OffAir), hhmmNow);
}

std::vector<int> OnAirRecords(const FrequencyList& list, int hhmmNow) {
  std::vector<int> records;
  const auto& onAir = list.Column(FreqColumn::OnAir);
  const auto& offAir = list.Column(FreqColumn::OffAir);
  for (int record : list.RowOrder)
    if (IsOnAirNow(onAir[static_cast<std::size_t>(record)], offAir[static_cast<std::size_t>(record)], hhmmNow))
      records.push_back(record);
  return records;
}

}  // namespace ondaris
