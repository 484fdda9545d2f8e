#include "timekeeping/ScheduleFiles.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "common/AtomicFile.h"
#include "common/DateRoutines.h"
#include "common/Errors.h"
#include "common/ShellSort.h"
#include "common/RecordBytes.h"
#include "radio/Rx320Protocol.h"

namespace ondaris {

namespace rb = record_bytes;

namespace {

constexpr std::size_t OffStarted = 0;
constexpr std::size_t OffStartDate = 1;
constexpr std::size_t OffEndDate = 12;
constexpr std::size_t OffOnTime = 23;
constexpr std::size_t OffOffTime = 28;
constexpr std::size_t OffRecord = 33;
constexpr std::size_t OffStation = 34;
constexpr std::size_t OffPadding = 290;
constexpr std::size_t PaddingSize = 6;
constexpr std::size_t OffFrequency = 296;
constexpr std::size_t OffMode = 304;
constexpr std::size_t OffFilter = 308;
constexpr std::size_t OffPBT = 312;
constexpr std::size_t OffAGC = 316;
constexpr std::size_t OffMuteSpeaker = 319;
constexpr std::size_t OffMuteLine = 320;
constexpr std::size_t OffReserved = 321;
constexpr std::size_t ReservedSize = ScheduleEntrySize - OffReserved;

constexpr std::array<const char*, 4> ModeNames{"AM", "USB", "LSB", "CW"};
constexpr std::array<const char*, SkedColumnCount> DefaultTitles{"Date", "Time", "Off", "Rec",  "Station", "Freq",
                                                                 "Mode", "Filt", "AGC", "PBT", "S-mut",   "L-mut"};

std::string Trimmed(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

// A whole number of at most 9 digits; nothing for anything else.
std::optional<int> Digits(const std::string& text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

int NearestBandwidth(std::int32_t hz) {
  int best = FilterTable[0].bandwidthHz;
  for (const FilterInfo& filter : FilterTable)
    if (std::llabs(static_cast<long long>(filter.bandwidthHz) - hz) < std::llabs(static_cast<long long>(best) - hz))
      best = filter.bandwidthHz;
  return best;
}

bool IsBandwidth(std::int32_t hz) {
  for (const FilterInfo& filter : FilterTable)
    if (filter.bandwidthHz == hz) return true;
  return false;
}

std::uint8_t Flag(std::uint8_t value) { return value != 0 ? 1 : 0; }

bool TimeInRange(const std::string& text) {
  const std::optional<int> value = ScheduleTimeValue(text);
  return value && *value <= 2400;
}

// Bytes kept from a read image go back at their place; a new entry has none.
void CopyInto(std::string& image, std::size_t at, const std::string& bytes, std::size_t size) {
  for (std::size_t i = 0; i < size && i < bytes.size(); ++i) image[at + i] = bytes[i];
}

std::string Refusal(std::string* problem, const std::string& text) {
  if (problem) *problem = text;
  return text;
}

}  // namespace

void ScheduleEntry::MarkStarted() {
  reserved.resize(ReservedSize, '\0');
  reserved[0] = 1;
}

// ---- One entry ---------------------------------------------------------------

std::string EncodeScheduleEntry(const ScheduleEntry& entry) {
  std::string image(ScheduleEntrySize, '\0');
  rb::PutByte(image, OffStarted, 0);
  rb::PutText(image, OffStartDate, entry.StartDate, ScheduleDateCapacity);
  rb::PutText(image, OffEndDate, entry.EndDate, ScheduleDateCapacity);
  rb::PutText(image, OffOnTime, entry.OnTime, ScheduleTimeCapacity);
  rb::PutText(image, OffOffTime, entry.OffTime, ScheduleTimeCapacity);
  rb::PutByte(image, OffRecord, entry.Record);
  rb::PutText(image, OffStation, entry.Station, ScheduleStationCapacity);
  CopyInto(image, OffPadding, entry.padding, PaddingSize);
  rb::PutDouble(image, OffFrequency, entry.Frequency);
  rb::PutText(image, OffMode, entry.Mode, ScheduleModeCapacity);
  rb::PutInt32(image, OffFilter, entry.Filter);
  rb::PutInt32(image, OffPBT, entry.PBT);
  rb::PutText(image, OffAGC, entry.AGC, ScheduleAGCCapacity);
  rb::PutByte(image, OffMuteSpeaker, entry.MuteSpeaker);
  rb::PutByte(image, OffMuteLine, entry.MuteLine);
  CopyInto(image, OffReserved, entry.reserved, ReservedSize);
  return image;
}

std::optional<ScheduleEntry> DecodeScheduleEntry(std::string_view image, bool useEuroDate, std::string* problem) {
  if (image.size() < ScheduleEntrySize) {
    Refusal(problem, "the entry is cut off");
    return std::nullopt;
  }
  ScheduleEntry e;
  e.Started = rb::GetByte(image, OffStarted);
  e.StartDate = rb::GetText(image, OffStartDate, ScheduleDateCapacity);
  e.EndDate = rb::GetText(image, OffEndDate, ScheduleDateCapacity);
  e.OnTime = rb::GetText(image, OffOnTime, ScheduleTimeCapacity);
  e.OffTime = rb::GetText(image, OffOffTime, ScheduleTimeCapacity);
  e.Record = Flag(rb::GetByte(image, OffRecord));
  e.Station = rb::GetText(image, OffStation, ScheduleStationCapacity);
  e.padding = std::string(image.substr(OffPadding, PaddingSize));
  e.Frequency = rb::GetDouble(image, OffFrequency);
  e.Mode = rb::GetText(image, OffMode, ScheduleModeCapacity);
  e.Filter = rb::GetInt32(image, OffFilter);
  e.PBT = rb::GetInt32(image, OffPBT);
  e.AGC = rb::GetText(image, OffAGC, ScheduleAGCCapacity);
  e.MuteSpeaker = Flag(rb::GetByte(image, OffMuteSpeaker));
  e.MuteLine = Flag(rb::GetByte(image, OffMuteLine));
  e.reserved = std::string(image.substr(OffReserved, ReservedSize));

  if (!CheckScheduleDate(e.StartDate, useEuroDate).ok()) {
    Refusal(problem, "its start date \"" + e.StartDate + "\" is no date");
    return std::nullopt;
  }
  if (!TimeInRange(e.OnTime) || !TimeInRange(e.OffTime)) {
    Refusal(problem, "its times \"" + e.OnTime + "\" - \"" + e.OffTime + "\" are no UTC times");
    return std::nullopt;
  }
  if (!std::isfinite(e.Frequency) || e.Frequency < ScheduleLowestKHz || e.Frequency > ScheduleHighestKHz) {
    Refusal(problem, "its frequency is outside 10 kHz to 30 MHz");
    return std::nullopt;
  }

  bool knownMode = false;
  for (const char* name : ModeNames) knownMode = knownMode || e.Mode == name;
  if (!knownMode) e.Mode = "AM";
  if (!IsBandwidth(e.Filter)) e.Filter = NearestBandwidth(e.Filter);
  if (e.PBT > SchedulePBTLimitHz) e.PBT = SchedulePBTLimitHz;
  if (e.PBT < -SchedulePBTLimitHz) e.PBT = -SchedulePBTLimitHz;
  if (e.AGC != "S" && e.AGC != "M" && e.AGC != "F") e.AGC = "M";
  if (e.Record) e.MuteLine = 0;
  return e;
}

ScheduleDateCheck CheckScheduleDate(const std::string& text, bool useEuroDate) {
  ScheduleDateCheck check;
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == '/')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  if (parts.size() != 3) return check;
  std::array<int, 3> numbers{};
  for (std::size_t i = 0; i < 3; ++i) {
    const std::optional<int> value = Digits(Trimmed(parts[i]));
    if (!value) return check;
    numbers[i] = *value;
  }
  check.split = true;
  int month = useEuroDate ? numbers[1] : numbers[0];
  int day = useEuroDate ? numbers[0] : numbers[1];
  int year = numbers[2] < 100 ? numbers[2] + 2000 : numbers[2];
  const std::string first = std::to_string(useEuroDate ? day : month);
  const std::string second = std::to_string(useEuroDate ? month : day);
  check.rewritten = first + "/" + second + "/" + std::to_string(year);
  check.formatOk = month < 100 && day < 100 && year >= 1000 && year <= 9999;
  check.valueOk = day >= 1 && day <= 31 && month >= 1 && month <= 12 && year >= 2001;
  return check;
}

std::optional<int> ScheduleTimeValue(const std::string& text) {
  if (text.size() != 4) return std::nullopt;
  return Digits(text);
}

std::int64_t EntryStartMinutes(const ScheduleEntry& entry, bool useEuroDate) {
  const std::optional<int> on = ScheduleTimeValue(entry.OnTime);
  const std::optional<int> off = ScheduleTimeValue(entry.OffTime);
  const std::int64_t date = DateToMinutes(entry.StartDate, useEuroDate);
  if (!on || !off || date < 0) return -1;
  return date + HHMMToMinutes(*on);
}

std::int64_t EntryEndMinutes(const ScheduleEntry& entry, bool useEuroDate) {
  const std::optional<int> on = ScheduleTimeValue(entry.OnTime);
  const std::optional<int> off = ScheduleTimeValue(entry.OffTime);
  const std::int64_t date = DateToMinutes(entry.StartDate, useEuroDate);
  if (!on || !off || date < 0) return -1;
  std::int64_t end = date + HHMMToMinutes(*off);
  if (HHMMToMinutes(*on) >= HHMMToMinutes(*off)) end += 1440;
  return end;
}

void SortSchedule(std::vector<ScheduleEntry>& schedule, bool useEuroDate) {
  if (schedule.size() < 2) return;
  ShellSort(schedule, [useEuroDate](const ScheduleEntry& earlier, const ScheduleEntry& later) {
    return EntryStartMinutes(earlier, useEuroDate) > EntryStartMinutes(later, useEuroDate);
  });
}

// ---- Scheduler.dat -----------------------------------------------------------

std::string SchedulePath(const std::string& programDir) { return programDir + "SysFiles/Scheduler.dat"; }

ScheduleReadResult DecodeSchedule(std::string_view bytes, bool useEuroDate) {
  ScheduleReadResult result;
  std::size_t number = 0;
  for (std::size_t at = 0; at < bytes.size(); at += ScheduleEntrySize) {
    ++number;
    std::string problem;
    if (auto entry = DecodeScheduleEntry(bytes.substr(at), useEuroDate, &problem))
      result.entries.push_back(std::move(*entry));
    else
      result.problems.push_back("Scheduler.dat entry " + std::to_string(number) + " was left out: " + problem + ".");
  }
  return result;
}

std::string EncodeSchedule(const std::vector<ScheduleEntry>& entries) {
  std::string bytes;
  bytes.reserve(entries.size() * ScheduleEntrySize);
  for (const ScheduleEntry& entry : entries) bytes += EncodeScheduleEntry(entry);
  return bytes;
}

ScheduleReadResult ReadSchedule(const std::string& programDir, bool useEuroDate) {
  const std::optional<std::string> bytes = ReadWholeFile(SchedulePath(programDir));
  if (!bytes) return {};
  return DecodeSchedule(*bytes, useEuroDate);
}

void WriteSchedule(const std::string& programDir, const std::vector<ScheduleEntry>& entries) {
  WriteFileAtomically(SchedulePath(programDir), EncodeSchedule(entries));
}

void DeleteSchedule(const std::string& programDir) {
  std::error_code ignored;
  std::filesystem::remove(SchedulePath(programDir), ignored);
}

// ---- SkedCols.dat ------------------------------------------------------------

SkedColumns DefaultSkedColumns(int gridClientWidth) {
  SkedColumns columns;
  const int width = std::max(SkedColumnMinWidth, gridClientWidth / SkedColumnCount - 1);
  columns.widths.fill(width);
  for (int c = 0; c < SkedColumnCount; ++c) columns.titles[c] = DefaultTitles[c];
  return columns;
}

std::string SkedColsPath(const std::string& programDir) { return programDir + "SysFiles/SkedCols.dat"; }

std::string EncodeSkedColumns(const SkedColumns& columns) {
  std::string image(SkedColsFileSize, '\0');
  rb::Overlay(image, columns.image);
  for (int c = 0; c < SkedColumnCount; ++c) {
    rb::PutInt32(image, SkedWidthsOffset + 4 * c, columns.widths[c]);
    rb::PutText(image, SkedTitlesOffset + SkedTitleSlot * c, columns.titles[c], SkedTitleCapacity);
  }
  return image;
}

SkedColumns DecodeSkedColumns(std::string_view bytes, int gridClientWidth) {
  SkedColumns columns = DefaultSkedColumns(gridClientWidth);
  columns.image.assign(SkedColsFileSize, '\0');
  rb::Overlay(columns.image, bytes);
  for (int c = 0; c < SkedColumnCount; ++c) {
    const std::size_t widthAt = SkedWidthsOffset + 4 * c;
    if (bytes.size() >= widthAt + 4) {
      const std::int32_t width = rb::GetInt32(bytes, widthAt);
      if (width >= SkedColumnMinWidth && width <= SkedColumnMaxWidth) columns.widths[c] = width;
    }
    const std::size_t titleAt = SkedTitlesOffset + SkedTitleSlot * c;
    if (bytes.size() >= titleAt + SkedTitleSlot) {
      std::string title = rb::GetText(bytes, titleAt, SkedTitleCapacity);
      if (!title.empty()) columns.titles[c] = std::move(title);
    }
  }
  return columns;
}

SkedColumns ReadSkedColumns(const std::string& programDir, int gridClientWidth) {
  const std::optional<std::string> bytes = ReadWholeFile(SkedColsPath(programDir));
  if (!bytes) return DefaultSkedColumns(gridClientWidth);
  return DecodeSkedColumns(*bytes, gridClientWidth);
}

void WriteSkedColumns(const std::string& programDir, const SkedColumns& columns) {
  WriteFileAtomically(SkedColsPath(programDir), EncodeSkedColumns(columns));
}

// ---- SchedulerLog.txt --------------------------------------------------------

std::string SchedulerLogText(const BroadcastLogLine& line) {
  auto padRight = [](std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
  };
  std::string date = line.startDate;
  if (date.size() < 10) date.insert(0, 10 - date.size(), ' ');
  const double whole = std::isfinite(line.freqKHz) ? std::trunc(line.freqKHz) : 0.0;
  std::string text = date + "   " + FormatHHMM(line.actualStartHHMM) + "-" + FormatHHMM(line.endedHHMM) + "   ";
  text += padRight(std::to_string(static_cast<long long>(whole)), 12);
  text += padRight(line.station.substr(0, 22), 22) + "   ";
  if (!line.recordingProblem.empty())
    text += "Not recorded: " + line.recordingProblem;
  else
    text += line.waveFile;
  return text;
}

std::string SchedulerLogPath(const std::string& programDir) { return programDir + "Export/SchedulerLog.txt"; }

void AppendSchedulerLog(const std::string& programDir, const std::string& line) {
  const std::string path = SchedulerLogPath(programDir);
  std::string text;
  if (const std::optional<std::string> old = ReadWholeFile(path)) {
    // Whatever line ends the old file has, each line goes back with CR LF.
    std::string current;
    for (char c : *old) {
      if (c == '\n') {
        if (!current.empty() && current.back() == '\r') current.pop_back();
        text += current + "\r\n";
        current.clear();
      } else {
        current += c;
      }
    }
    if (!current.empty()) text += current + "\r\n";
  }
  text += line + "\r\n";
  WriteFileAtomically(path, text);
}

}  // namespace ondaris
