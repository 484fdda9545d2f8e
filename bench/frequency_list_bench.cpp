// A station list of 100,000 entries: loading, sorting by each grid column and
// saving. The list is made from the real shortwave schedule in the data
// folder (its names, languages and hours), repeated to 100,000 lines.
//
// Besides the Google Benchmark timings, the program times Python's csv module
// reading the same file and prints how the two loads compare; it exits with 1
// when loading is not faster than that or a sort takes a second or more.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <numeric>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "freqfiles/FrequencyList.h"
#include "freqfiles/FrequencyRecord.h"
#include "freqfiles/FrequencySort.h"

namespace {

using namespace ondaris;
using Clock = std::chrono::steady_clock;

constexpr int kTargetLines = 100000;
constexpr char kSeparator = '.';

std::string g_path;  // the generated .320 file

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << "cannot read " << path << "\n";
    std::exit(2);
  }
  std::string bytes;
  in.seekg(0, std::ios::end);
  bytes.resize(static_cast<std::size_t>(in.tellg()));
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

std::vector<std::string> SplitSemicolons(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = line.find(';', start);
    fields.emplace_back(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return fields;
}

// One schedule entry (kHz;Time(UTC);Days;ITU;Station;Lng;Target;Remarks;P;Start;Stop)
// as the station entry a listener would keep for it.
bool EntryFromSchedule(const std::vector<std::string>& f, int serial, FrequencyRecord& r) {
  if (f.size() < 9 || f[0].empty()) return false;
  ClearFrequencyRecord(r);
  const std::string& lng = f[5];
  const bool cw = lng.rfind("-CW", 0) == 0;
  const bool utility = !cw && !lng.empty() && lng[0] == '-';
  r.Name = SanitizeTextField(f[4], FrequencyRecord::NameCapacity);
  r.Freq = f[0];  // kHz, "." decimal point
  r.Mode = cw ? "CW" : utility ? "USB" : "AM";
  r.Filter = cw ? "525" : utility ? "2400" : "6000";
  r.AGC = cw ? "1" : utility ? "3" : "2";
  r.Step = cw ? "10" : utility ? "100" : "5000";
  r.PBT = utility ? "-50" : "0";
  r.Location = SanitizeTextField(f[3] + "/" + f[6], FrequencyRecord::LocationCapacity);
  r.Language = SanitizeTextField(lng, FrequencyRecord::LanguageCapacity);
  const std::string& time = f[1];
  r.OnAir = time.substr(0, std::min<std::size_t>(4, time.size()));
  r.OffAir = time.size() >= 9 ? time.substr(5, 4) : "";
  std::string notes = f[7];
  if (!f[2].empty()) notes += " days " + f[2];
  if (f.size() > 10 && !f[9].empty()) notes += " from " + f[9] + " to " + f[10];
  r.Notes = SanitizeTextField(notes, FrequencyRecord::NotesCapacity);
  r.Spare = "0";
  r.Lockout = serial % 13 == 0 ? "1" : "0";
  return true;
}

std::string GenerateFile() {
  const std::string schedule = ReadAll(std::string(ONDARIS_DATA_DIR) + "/eibi-sked-b25.csv");
  const auto lines = SplitFileLines(schedule);
  std::vector<std::string> entries;
  FrequencyRecord record;
  for (std::size_t i = 1; i < lines.size(); ++i) {  // line 1 is the header
    if (EntryFromSchedule(SplitSemicolons(lines[i]), static_cast<int>(i), record))
      entries.push_back(FormatFrequencyLine(record, kSeparator));
  }
  if (entries.empty()) {
    std::cerr << "no schedule entries\n";
    std::exit(2);
  }
  std::string text;
  text.reserve(static_cast<std::size_t>(kTargetLines) * 100);
  for (int i = 0; i < kTargetLines; ++i) {
    text += entries[static_cast<std::size_t>(i) % entries.size()];
    text += "\r\n";
  }
  std::cout << "schedule entries: " << entries.size() << ", file lines: " << kTargetLines
            << ", bytes: " << text.size() << "\n";
  return text;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double BestLoadSeconds(int runs) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    FrequencyList list;
    list.Load(ReadAll(g_path), kSeparator);
    best = std::min(best, Seconds(Clock::now() - start));
    if (list.RecordCount() != kTargetLines) {
      std::cerr << "loaded " << list.RecordCount() << " records\n";
      std::exit(2);
    }
  }
  return best;
}

// Python's csv module reading the same file, best of five, in seconds; a
// negative value when Python cannot be run.
double PythonCsvSeconds() {
  const std::string command =
      "python3 -c \"import csv,sys,time\n"
      "best=1e9\n"
      "for _ in range(5):\n"
      "  t=time.perf_counter()\n"
      "  with open(sys.argv[1], newline='', encoding='latin-1') as f: rows=list(csv.reader(f))\n"
      "  best=min(best,time.perf_counter()-t)\n"
      "print(best, len(rows))\" '" +
      g_path + "'";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  char buffer[256] = {};
  std::string output;
  while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
  if (pclose(pipe) != 0) return -1;
  std::istringstream in(output);
  double seconds = -1;
  long rows = 0;
  in >> seconds >> rows;
  if (rows != kTargetLines) return -1;
  return seconds;
}

const std::array<const char*, SortColumnCount> kColumnNames = {"Lk",       "Freq",     "Name", "OnAir", "OffAir",
                                                               "Language", "Location", "Mode", "Filt"};

// ---- Google Benchmark timings.

void BM_Load(benchmark::State& state) {
  for (auto _ : state) {
    FrequencyList list;
    list.Load(ReadAll(g_path), kSeparator);
    benchmark::DoNotOptimize(list.RecordCount());
  }
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

void BM_Sort(benchmark::State& state) {
  FrequencyList list;
  list.Load(ReadAll(g_path), kSeparator);
  const auto column = static_cast<SortColumn>(state.range(0));
  state.SetLabel(kColumnNames[static_cast<std::size_t>(state.range(0))]);
  for (auto _ : state) {
    state.PauseTiming();
    list.ResetRowOrders();  // file order each time
    state.ResumeTiming();
    SortView(list, column, kSeparator);
    benchmark::DoNotOptimize(list.RowOrder.data());
  }
}
BENCHMARK(BM_Sort)->DenseRange(0, SortColumnCount - 1)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state) {
  FrequencyList list;
  list.Load(ReadAll(g_path), kSeparator);
  SortByName(list, kSeparator);
  const std::string out = g_path + ".saved";
  for (auto _ : state) {
    const std::string text = list.FileText(kSeparator);
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  std::remove(out.c_str());
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  char pathTemplate[] = "/tmp/ondaris-freqlist-XXXXXX";
  const int fd = mkstemp(pathTemplate);
  if (fd < 0) {
    std::cerr << "cannot create a temporary file\n";
    return 2;
  }
  close(fd);
  g_path = pathTemplate;
  const std::string file = GenerateFile();
  {
    std::ofstream out(g_path, std::ios::binary | std::ios::trunc);
    out.write(file.data(), static_cast<std::streamsize>(file.size()));
  }

  bool ok = true;

  // Loading against Python's csv module on the same file.
  const double ours = BestLoadSeconds(5);
  const double python = PythonCsvSeconds();
  std::printf("load, best of 5: %.1f ms\n", ours * 1000);
  if (python > 0) {
    std::printf("python csv module, best of 5: %.1f ms\n", python * 1000);
    std::printf("python / ours: %.2f (%s)\n", python / ours, ours < python ? "faster" : "SLOWER");
    ok = ok && ours < python;
  } else {
    std::printf("python csv module: could not be run, no comparison\n");
  }

  // Every sort, from file order and from the order the previous sort left.
  FrequencyList list;
  list.Load(file, kSeparator);
  double slowest = 0;
  for (int pass = 0; pass < 2; ++pass) {
    for (int c = 0; c < SortColumnCount; ++c) {
      if (pass == 0) list.ResetRowOrders();
      const auto start = Clock::now();
      SortView(list, static_cast<SortColumn>(c), kSeparator);
      const double seconds = Seconds(Clock::now() - start);
      slowest = std::max(slowest, seconds);
      std::printf("sort by %-8s (%s): %.1f ms\n", kColumnNames[static_cast<std::size_t>(c)],
                  pass == 0 ? "from file order" : "from previous sort", seconds * 1000);
    }
  }
  std::printf("slowest sort: %.1f ms (%s)\n", slowest * 1000, slowest < 1.0 ? "under a second" : "TOO SLOW");
  ok = ok && slowest < 1.0;

  // Saving, and the file read back unchanged.
  list.ResetRowOrders();
  const auto saveStart = Clock::now();
  const std::string saved = list.FileText(kSeparator);
  std::printf("save text: %.1f ms, identical to the file read: %s\n", Seconds(Clock::now() - saveStart) * 1000,
              saved == file ? "yes" : "NO");
  ok = ok && saved == file;

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  std::remove(g_path.c_str());
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  return ok ? 0 : 1;
}
