// A log of 100,000 entries: loading, every sort of the log display (the
// fourteen column headers, the four sort buttons and Find-Sort), saving and
// the SWL export; beside it the load of a station list of about the same
// size, so that the two loads can be compared per byte. Then the log display
// window (offscreen) opened on that log, counting the rows its grid reads.
//
// Besides the Google Benchmark timings the program prints its own one-shot
// figures and exits with 1 when the log loads slower per byte than the
// station list, or the grid reads more than a screenful of rows.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

#include "freqfiles/FrequencyList.h"
#include "freqfiles/FrequencyRecord.h"
#include "logbook/LogDisplay.h"
#include "logbook/LogExport.h"
#include "logbook/LogFile.h"
#include "logbook/LogRecord.h"
#include "logbook/LogSort.h"
#include "logbook/LogTable.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/Shell.h"
#include "ui/LogDisplayView.h"
#include "ui/LogGridModel.h"

namespace {

using namespace ondaris;
using Clock = std::chrono::steady_clock;

constexpr int kEntries = 100000;
constexpr char kSeparator = '.';

std::string g_dir;       // program folder holding LogFiles/OndarisLog.txt
std::string g_logBytes;  // the generated log file
std::string g_listBytes; // the generated station list

// A small fixed generator, so that every run sorts the same log.
struct Lcg {
  unsigned long long state = 20010105;
  unsigned next(unsigned bound) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<unsigned>((state >> 33) % bound);
  }
};

const std::array<const char*, 12> kCountries = {"Utopia", "Germany", "Japan",  "Brazil",  "Canada",  "India",
                                                "Nigeria", "Peru",   "Greece", "Finland", "Vietnam", ""};
const std::array<const char*, 10> kStations = {"Radio Example", "Voice of the Hills", "World Service",
                                               "Coast Radio",   "The Buzzer",         "Time Signal",
                                               "Radio Nacional", "Overseas Service",  "Volmet",
                                               "Mystery Numbers"};
const std::array<const char*, 4> kModes = {"AM", "USB", "LSB", "CW"};
const std::array<const char*, 5> kCodes = {"SW", "UT", "MW", "BC", "HAM"};

std::string Hhmm(unsigned minutes) {
  char text[8];
  std::snprintf(text, sizeof text, "%02u%02u", minutes / 60 % 24, minutes % 60);
  return text;
}

std::string GenerateLog() {
  Lcg random;
  std::string text;
  text.reserve(static_cast<std::size_t>(kEntries) * 130);
  for (int i = 0; i < kEntries; ++i) {
    LogRecord r;
    const unsigned khz = 150 + random.next(29850);
    r.Code = kCodes[random.next(kCodes.size())];
    r.Freq = std::to_string(khz) + (random.next(4) == 0 ? ".5" : "");
    r.Mode = kModes[random.next(kModes.size())];
    const unsigned on = random.next(1440);
    r.Time = Hhmm(on) + (random.next(10) == 0 ? "*" : "");
    r.Off = Hhmm(on + 5 + random.next(120));
    r.Date = std::to_string(1 + random.next(12)) + "/" + std::to_string(1 + random.next(28)) + "/" +
             std::to_string(1995 + random.next(30));
    r.ID = kStations[random.next(kStations.size())];
    r.Notes = "English news, music and a talk on the band conditions, SINPO 3" + std::to_string(random.next(5));
    if (random.next(3) == 0) r.Sent = "1/2/2003 by post";
    if (random.next(5) == 0) r.Rcvd = "3/4/2003";
    r.Rpt1 = "S" + std::to_string(1 + random.next(9));
    r.Rpt2 = std::to_string(random.next(5)) + "4" + std::to_string(random.next(5));
    r.Country = kCountries[random.next(kCountries.size())];
    r.Misc = random.next(2) ? "dipole" : "longwire";
    if (random.next(20) == 0) r.Attach = "/home/listener/qsl/card" + std::to_string(i) + ".jpg";
    text += FormatLogLine(r, kSeparator);
    text += "\r\n";
  }
  return text;
}

// Station-list lines from the same pools until the list is as long as the
// log (within one line), so that both loads read the same number of bytes.
std::string GenerateStationList(std::size_t bytes) {
  Lcg random;
  std::string text;
  text.reserve(bytes + 256);
  FrequencyRecord r;
  while (text.size() < bytes) {
    ClearFrequencyRecord(r);
    r.Name = kStations[random.next(kStations.size())];
    r.Freq = std::to_string(150 + random.next(29850)) + (random.next(4) == 0 ? ".5" : "");
    r.Mode = kModes[random.next(kModes.size())];
    r.Filter = "6000";
    r.AGC = "2";
    r.Step = "5000";
    r.PBT = "0";
    r.Location = SanitizeTextField(kCountries[random.next(kCountries.size())], FrequencyRecord::LocationCapacity);
    r.Language = "English";
    const unsigned on = random.next(1440);
    r.OnAir = Hhmm(on);
    r.OffAir = Hhmm(on + 60);
    r.Notes = "Relay, daily, heard well in the evening, SINPO 3" + std::to_string(random.next(5));
    r.Spare = "0";
    r.Lockout = random.next(13) == 0 ? "1" : "0";
    text += FormatFrequencyLine(r, kSeparator);
    text += "\r\n";
  }
  return text;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

template <class Action>
double BestOf(int runs, Action&& action) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    action();
    best = std::min(best, Seconds(Clock::now() - start));
  }
  return best;
}

LogTable LoadedLog() {
  LogTable table;
  table.Load(g_logBytes, kSeparator);
  return table;
}

std::vector<int> AllRecords(const LogTable& table) {
  std::vector<int> records(static_cast<std::size_t>(table.RecordCount()));
  for (std::size_t i = 0; i < records.size(); ++i) records[i] = static_cast<int>(i) + 1;
  return records;
}

// ---- The sorts of the display, by number: 0..13 the headers, 14..17 the
// buttons, 18 Find-Sort.

constexpr int kSortCount = LogGridFieldCount + 4 + 1;
const std::array<const char*, kSortCount> kSortNames = {
    "Code", "Freq", "Mode", "Time", "Off",          "Date",        "ID",          "Rpt1",        "Rpt2",     "Country",
    "Misc", "S",    "R",    "Att",  "DateFreq btn", "FreqID btn", "FreqCtry btn", "CtryFreq btn", "Find-Sort"};

void RunSort(LogTable& table, int sort) {
  if (sort < LogGridFieldCount) {
    SortLogByHeader(table, static_cast<LogField>(sort), kSeparator);
  } else if (sort < LogGridFieldCount + 4) {
    SortLogByButton(table, static_cast<LogButtonSort>(sort - LogGridFieldCount), kSeparator);
  } else {
    GatherMatchingRecords(table, "buzzer", false, kSeparator);
  }
}

// ---- Google Benchmark timings.

void BM_LogLoad(benchmark::State& state) {
  for (auto _ : state) {
    LogTable table;
    table.Load(g_logBytes, kSeparator);
    benchmark::DoNotOptimize(table.RecordCount());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(g_logBytes.size()));
}
BENCHMARK(BM_LogLoad)->Unit(benchmark::kMillisecond);

void BM_StationListLoad(benchmark::State& state) {
  for (auto _ : state) {
    FrequencyList list;
    list.Load(g_listBytes, kSeparator);
    benchmark::DoNotOptimize(list.RecordCount());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(g_listBytes.size()));
}
BENCHMARK(BM_StationListLoad)->Unit(benchmark::kMillisecond);

void BM_Sort(benchmark::State& state) {
  const int sort = static_cast<int>(state.range(0));
  state.SetLabel(kSortNames[static_cast<std::size_t>(sort)]);
  for (auto _ : state) {
    state.PauseTiming();
    LogTable table = LoadedLog();  // file order each time
    state.ResumeTiming();
    RunSort(table, sort);
    benchmark::DoNotOptimize(table.Columns[0].data());
  }
}
BENCHMARK(BM_Sort)->DenseRange(0, kSortCount - 1)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_Save(benchmark::State& state) {
  LogTable table = LoadedLog();
  SortLogByButton(table, LogButtonSort::CtryFreq, kSeparator);
  for (auto _ : state) {
    SaveLogTable(g_dir, table, kSeparator);
    benchmark::DoNotOptimize(table.Changed);
  }
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

void BM_SwlExport(benchmark::State& state) {
  const LogTable table = LoadedLog();
  LogExportSettings settings;
  settings.SwlBulkSort = state.range(0) != 0;
  state.SetLabel(settings.SwlBulkSort ? "bulk sort by country and frequency" : "log order");
  const std::vector<int> all = AllRecords(table);
  for (auto _ : state) {
    const auto records = ExportSelection(table, all, LogExportKind::Swl, settings, kSeparator);
    const std::string text = JoinCrLf(LogExportLines(table, records, LogExportKind::Swl, "XYZ", {}, kSeparator));
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_SwlExport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// ---- The display window on the log.

class NoMessages : public MessageBoxes {
 public:
  void showMessage(const std::string& text) override { std::printf("message: %s\n", text.c_str()); }
  bool askYesNo(const std::string&) override { return false; }
};
class NoDialogs : public FileDialogs {
 public:
  std::optional<std::string> openFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> saveFile(const FileDialogRequest&) override { return std::nullopt; }
};
class NoDesktop : public Shell {
 public:
  bool open(const std::string&, std::string&) override { return false; }
};

// Opens the display on the log file, scrolls to the middle and sorts; prints
// the time of each and the rows the grid read. False when the grid read more
// than a few screenfuls.
bool DisplayFetchesVisibleRowsOnly(int& argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  NoMessages messages;
  NoDialogs dialogs;
  NoDesktop shell;
  LogbookSettings settings;
  LogDisplay display(messages, dialogs, shell, g_dir, kSeparator, settings);
  LogDisplayView view(display);
  display.FormCreate();
  const auto openStart = Clock::now();
  display.LogDispBtnClick();
  QApplication::processEvents();
  const double openSeconds = Seconds(Clock::now() - openStart);
  LogGridModel* model = view.gridModel();
  const std::size_t atOpen = model->rowsFetched().size();

  model->resetFetchCounters();
  const auto scrollStart = Clock::now();
  view.grid()->verticalScrollBar()->setValue(kEntries / 2);
  QApplication::processEvents();
  const double scrollSeconds = Seconds(Clock::now() - scrollStart);
  const std::size_t afterScroll = model->rowsFetched().size();

  model->resetFetchCounters();
  const auto sortStart = Clock::now();
  display.SortBtnClick(LogButtonSort::DateFreq);
  QApplication::processEvents();
  const double sortSeconds = Seconds(Clock::now() - sortStart);
  const std::size_t afterSort = model->rowsFetched().size();

  std::printf("display: %d grid rows, %d visible\n", model->rowCount(), display.grid.VisibleRows);
  std::printf("display open (load + first paint): %.1f ms, rows read: %zu\n", openSeconds * 1000, atOpen);
  std::printf("scroll to the middle: %.1f ms, rows read: %zu\n", scrollSeconds * 1000, afterScroll);
  std::printf("DateFreq sort with repaint: %.1f ms, rows read: %zu\n", sortSeconds * 1000, afterSort);
  const std::size_t limit = 200;  // a few screenfuls
  const bool ok = atOpen > 0 && atOpen < limit && afterScroll < limit && afterSort < limit;
  std::printf("grid reads only the rows in view: %s\n", ok ? "yes" : "NO");
  display.ExitBtnClick();
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  g_dir = (std::filesystem::temp_directory_path() / ("ondaris-logbench-" + std::to_string(getpid()))).string() + "/";
  std::filesystem::create_directories(g_dir + "LogFiles");
  g_logBytes = GenerateLog();
  g_listBytes = GenerateStationList(g_logBytes.size());
  {
    std::ofstream out(LogFilePath(g_dir), std::ios::binary | std::ios::trunc);
    out.write(g_logBytes.data(), static_cast<std::streamsize>(g_logBytes.size()));
  }
  std::printf("log: %d entries, %zu bytes; station list: %zu bytes\n", kEntries, g_logBytes.size(),
              g_listBytes.size());
  bool ok = true;

  // The two loads per byte, best of five each.
  const double logSeconds = BestOf(5, [] {
    LogTable table;
    table.Load(g_logBytes, kSeparator);
    if (table.RecordCount() != kEntries) std::exit(2);
  });
  const double listSeconds = BestOf(5, [] {
    FrequencyList list;
    list.Load(g_listBytes, kSeparator);
    benchmark::DoNotOptimize(list.RecordCount());
  });
  const double logRate = static_cast<double>(g_logBytes.size()) / logSeconds;
  const double listRate = static_cast<double>(g_listBytes.size()) / listSeconds;
  std::printf("log load, best of 5: %.1f ms, %.1f MB/s\n", logSeconds * 1000, logRate / 1e6);
  std::printf("station-list load, best of 5: %.1f ms, %.1f MB/s\n", listSeconds * 1000, listRate / 1e6);
  std::printf("log / station list per byte: %.2f (%s)\n", logRate / listRate,
              logRate >= listRate ? "at least as fast" : "SLOWER");
  ok = ok && logRate >= listRate;

  // Each sort once from file order.
  for (int sort = 0; sort < kSortCount; ++sort) {
    LogTable table = LoadedLog();
    const double seconds = BestOf(1, [&] { RunSort(table, sort); });
    std::printf("sort %-13s: %.1f ms\n", kSortNames[static_cast<std::size_t>(sort)], seconds * 1000);
  }

  // Saving, and the file read back unchanged.
  {
    LogTable table = LoadedLog();
    const double seconds = BestOf(1, [&] { SaveLogTable(g_dir, table, kSeparator); });
    std::ifstream in(LogFilePath(g_dir), std::ios::binary);
    const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::printf("save: %.1f ms, file unchanged: %s\n", seconds * 1000, saved == g_logBytes ? "yes" : "NO");
    ok = ok && saved == g_logBytes;
  }

  // The SWL export of every record, with the bulk sort.
  {
    const LogTable table = LoadedLog();
    LogExportSettings settings;
    settings.SwlBulkSort = true;
    std::size_t bytes = 0;
    const double seconds = BestOf(1, [&] {
      const auto records = ExportSelection(table, AllRecords(table), LogExportKind::Swl, settings, kSeparator);
      bytes = JoinCrLf(LogExportLines(table, records, LogExportKind::Swl, "XYZ", {}, kSeparator)).size();
    });
    std::printf("SWL export of all records, bulk sort on: %.1f ms, %zu bytes\n", seconds * 1000, bytes);
  }

  ok = DisplayFetchesVisibleRowsOnly(argc, argv) && ok;

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  std::filesystem::remove_all(g_dir);
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  return ok ? 0 : 1;
}
