#include "freqfiles/FrequencyList.h"

#include <algorithm>
#include <numeric>

namespace ondaris {

namespace {

int IndexFromText(const std::string& text) {
  const auto value = TryReadWhole(text);
  return value ? static_cast<int>(*value) : 0;
}

void Identity(std::vector<int>& order, int count) {
  order.resize(static_cast<std::size_t>(count));
  std::iota(order.begin(), order.end(), 0);
}

}  // namespace

int FrequencyList::RecordAtRow(int row) const {
  const auto& order = ViewOrder();
  if (row < 1 || row > static_cast<int>(order.size())) return -1;
  return order[static_cast<std::size_t>(row - 1)];
}

FrequencyRecord FrequencyList::Record(int record) const {
  FrequencyRecord r;
  const auto cell = [&](FreqColumn c) -> const std::string& { return Cell(record, c); };
  r.Freq = cell(FreqColumn::Freq);
  r.Name = cell(FreqColumn::Name);
  r.Mode = cell(FreqColumn::Mode);
  r.Filter = cell(FreqColumn::Filter);
  r.AGC = cell(FreqColumn::AGC);
  r.Step = cell(FreqColumn::Step);
  r.PBT = cell(FreqColumn::PBT);
  r.Location = cell(FreqColumn::Location);
  r.Language = cell(FreqColumn::Language);
  r.OnAir = cell(FreqColumn::OnAir);
  r.OffAir = cell(FreqColumn::OffAir);
  r.Notes = cell(FreqColumn::Notes);
  r.Spare = cell(FreqColumn::Spare);
  r.Lockout = cell(FreqColumn::Lockout);
  r.FilterIndex = IndexFromText(cell(FreqColumn::FilterIndex));
  r.StepIndex = IndexFromText(cell(FreqColumn::StepIndex));
  return r;
}

void FrequencyList::Clear() {
  for (auto& column : Columns) column.clear();
  RowOrder.clear();
  OnAirRowOrder.clear();
}

void FrequencyList::AppendColumns(FrequencyRecord&& r) {
  const auto put = [this](FreqColumn c, std::string&& text) {
    Columns[static_cast<int>(c)].push_back(std::move(text));
  };
  put(FreqColumn::Freq, std::move(r.Freq));
  put(FreqColumn::Name, std::move(r.Name));
  put(FreqColumn::Mode, std::move(r.Mode));
  put(FreqColumn::Filter, std::move(r.Filter));
  put(FreqColumn::AGC, std::move(r.AGC));
  put(FreqColumn::Step, std::move(r.Step));
  put(FreqColumn::PBT, std::move(r.PBT));
  put(FreqColumn::Location, std::move(r.Location));
  put(FreqColumn::Language, std::move(r.Language));
  put(FreqColumn::OnAir, std::move(r.OnAir));
  put(FreqColumn::OffAir, std::move(r.OffAir));
  put(FreqColumn::Notes, std::move(r.Notes));
  put(FreqColumn::Spare, std::move(r.Spare));
  put(FreqColumn::Lockout, std::move(r.Lockout));
  put(FreqColumn::FilterIndex, std::to_string(r.FilterIndex));
  put(FreqColumn::StepIndex, std::to_string(r.StepIndex));
}

void FrequencyList::ReadLines(const std::vector<std::string_view>& lines, char separator,
                              const LineErrorSink& onError, FileReadResult& result) {
  result.lineCount = lines.size();
  const std::size_t expected = Columns[0].size() + lines.size();
  for (auto& column : Columns) column.reserve(expected);
  FrequencyRecord record;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!ReadFrequencyLine(lines[i], separator, record)) {
      if (onError) onError(ErrorReadingRecordMessage(i + 1, lines[i]));
      continue;
    }
    AppendColumns(std::move(record));
    ++result.recordsRead;
  }
}

FileReadResult FrequencyList::Load(std::string fileBytes, char separator, const LineErrorSink& onError) {
  FileLines.Assign(std::move(fileBytes));
  Clear();
  std::vector<std::string_view> lines;
  lines.reserve(FileLines.size());
  for (std::size_t i = 0; i < FileLines.size(); ++i) lines.push_back(FileLines[i]);
  FileReadResult result;
  ReadLines(lines, separator, onError, result);
  OnAirView = false;
  ResetRowOrders();
  Changed = false;
  return result;
}

FileReadResult FrequencyList::AppendFile(std::string_view fileBytes, char separator, const LineErrorSink& onError) {
  const auto lines = SplitFileLines(fileBytes);
  FileReadResult result;
  if (lines.empty()) return result;
  ReadLines(lines, separator, onError, result);
  OnAirView = false;
  ResetRowOrders();
  Changed = true;
  return result;
}

int FrequencyList::AppendRecord(const FrequencyRecord& record) {
  FrequencyRecord stored = record;
  SanitizeFrequencyRecord(stored);
  AppendColumns(std::move(stored));
  return RecordCount() - 1;
}

int FrequencyList::AddRecord(const FrequencyRecord& record) {
  const int number = AppendRecord(record);
  RowOrder.push_back(number);
  if (OnAirView) OnAirRowOrder.push_back(number);
  Changed = true;
  return number;
}

void FrequencyList::SetRecord(int record, const FrequencyRecord& value, bool keepSpareAndLockout) {
  FrequencyRecord stored = value;
  SanitizeFrequencyRecord(stored);
  const auto set = [&](FreqColumn c, std::string text) { Cell(record, c) = std::move(text); };
  set(FreqColumn::Freq, std::move(stored.Freq));
  set(FreqColumn::Name, std::move(stored.Name));
  set(FreqColumn::Mode, std::move(stored.Mode));
  set(FreqColumn::Filter, std::move(stored.Filter));
  set(FreqColumn::AGC, std::move(stored.AGC));
  set(FreqColumn::Step, std::move(stored.Step));
  set(FreqColumn::PBT, std::move(stored.PBT));
  set(FreqColumn::Location, std::move(stored.Location));
  set(FreqColumn::Language, std::move(stored.Language));
  set(FreqColumn::OnAir, std::move(stored.OnAir));
  set(FreqColumn::OffAir, std::move(stored.OffAir));
  set(FreqColumn::Notes, std::move(stored.Notes));
  if (!keepSpareAndLockout) {
    set(FreqColumn::Spare, std::move(stored.Spare));
    set(FreqColumn::Lockout, std::move(stored.Lockout));
  }
  set(FreqColumn::FilterIndex, std::to_string(stored.FilterIndex));
  set(FreqColumn::StepIndex, std::to_string(stored.StepIndex));
  Changed = true;
}

void FrequencyList::RemoveRecords(std::vector<int> records) {
  const int count = RecordCount();
  std::sort(records.begin(), records.end());
  records.erase(std::unique(records.begin(), records.end()), records.end());
  records.erase(std::remove_if(records.begin(), records.end(), [count](int r) { return r < 0 || r >= count; }),
                records.end());
  if (records.empty()) return;

  // Each record number moves down by the number of removed records before it.
  std::vector<int> newNumber(static_cast<std::size_t>(count));
  std::vector<char> removed(static_cast<std::size_t>(count), 0);
  for (int r : records) removed[static_cast<std::size_t>(r)] = 1;
  int next = 0;
  for (int r = 0; r < count; ++r) newNumber[static_cast<std::size_t>(r)] = removed[r] ? -1 : next++;

  for (auto& column : Columns) {
    std::size_t write = 0;
    for (std::size_t r = 0; r < column.size(); ++r)
      if (!removed[r]) {
        if (write != r) column[write] = std::move(column[r]);
        ++write;
      }
    column.resize(write);
  }

  std::vector<int> onAir;
  for (int r : OnAirRowOrder)
    if (r >= 0 && r < count && newNumber[static_cast<std::size_t>(r)] >= 0)
      onAir.push_back(newNumber[static_cast<std::size_t>(r)]);
  OnAirRowOrder = std::move(onAir);
  Identity(RowOrder, RecordCount());
  if (RecordCount() > 0) Changed = true;
}

void FrequencyList::InsertRecords(int at, const std::vector<FrequencyRecord>& records) {
  at = std::clamp(at, 0, RecordCount());
  if (records.empty()) return;
  FrequencyList inserted;
  for (const auto& record : records) inserted.AppendRecord(record);
  for (int c = 0; c < FreqColumnCount; ++c) {
    auto& column = Columns[c];
    auto& source = inserted.Columns[c];
    column.insert(column.begin() + at, std::make_move_iterator(source.begin()),
                  std::make_move_iterator(source.end()));
  }
  const int shift = static_cast<int>(records.size());
  for (int& r : OnAirRowOrder)
    if (r >= at) r += shift;
  Identity(RowOrder, RecordCount());
  Changed = true;
}

void FrequencyList::ResetRowOrders() {
  Identity(RowOrder, RecordCount());
  Identity(OnAirRowOrder, RecordCount());
}

std::string FrequencyList::FileText(const std::vector<int>& order, char separator) const {
  std::string text;
  text.reserve(order.size() * 96);
  for (int record : order) {
    text += FormatFrequencyLine(Record(record), separator);
    text += "\r\n";
  }
  return text;
}

}  // namespace ondaris
