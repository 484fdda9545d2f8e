// The master frequency list over a folder of real station lists: the EiBi
// schedule of the data folder split by target area into frequency files
// (about 10,000 entries), repeated into 100,000 master-list lines for the
// viewer. Times the generator, the three header sorts, Find-Sort and the
// lookup near a frequency.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/TextHelpers.h"
#include "freqfiles/FrequencyList.h"
#include "freqfiles/FrequencyRecord.h"
#include "freqfiles/MasterList.h"
#include "freqfiles/MasterListViewer.h"
#include "platform/MessageBoxes.h"

namespace {

using namespace ondaris;
namespace fs = std::filesystem;

constexpr char kSeparator = '.';
constexpr std::size_t kViewerLines = 100000;

class SilentMessages : public MessageBoxes {
 public:
  void showMessage(const std::string&) override {}
  bool askYesNo(const std::string&) override { return false; }
};

std::string g_programDir;  // temporary program folder
std::string g_freqDir;
std::vector<MasterListEntry> g_viewerEntries;
std::string g_masterBytes;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> SplitOn(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::string field;
  for (char c : line) {
    if (c == separator) {
      fields.push_back(field);
      field.clear();
    } else {
      field += c;
    }
  }
  fields.push_back(field);
  return fields;
}

// Station lists by target area from the EiBi schedule.
void WriteFrequencyFiles() {
  const std::string schedule = ReadAll(std::string(ONDARIS_DATA_DIR) + "/eibi-sked-b25.csv");
  std::map<std::string, std::string> files;
  bool header = true;
  for (std::string_view line : SplitFileLines(schedule)) {
    if (header) {
      header = false;
      continue;
    }
    const auto f = SplitOn(std::string(line), ';');
    if (f.size() < 7) continue;
    const auto khz = TryReadDecimal(f[0], '.');
    if (!khz) continue;
    FrequencyRecord r;
    r.Name = SanitizeTextField(f[4], FrequencyRecord::NameCapacity);
    r.Freq = FormatFrequency(3, false, *khz, kSeparator);
    r.Mode = "AM";
    r.Filter = "6000";
    r.AGC = "2";
    r.Step = "5000";
    r.PBT = "0";
    r.Location = SanitizeTextField(f[3], FrequencyRecord::LocationCapacity);
    r.Language = SanitizeTextField(f[5], FrequencyRecord::LanguageCapacity);
    r.OnAir = f[1].substr(0, 4);
    r.OffAir = f[1].size() >= 9 ? f[1].substr(5, 4) : "";
    r.Spare = "0";
    r.Lockout = "0";
    std::string target = f[6].empty() ? "all" : f[6];
    for (char& c : target)
      if (c == '/' || c == ' ') c = '_';
    files[target + ".320"] += FormatFrequencyLine(r, kSeparator) + "\r\n";
  }
  for (const auto& [name, text] : files) std::ofstream(g_freqDir + name, std::ios::binary) << text;
}

void SetUp() {
  std::string pattern = (fs::temp_directory_path() / "ondaris-master-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  g_programDir = pattern + "/";
  fs::create_directory(g_programDir + "Export");
  g_freqDir = g_programDir + "FreqFiles/";
  fs::create_directory(g_freqDir);
  WriteFrequencyFiles();

  SilentMessages messages;
  GenerateMasterList(g_programDir, g_freqDir, kSeparator, messages);
  const auto entries = ReadMasterList(g_programDir).value_or(std::vector<MasterListEntry>{});
  if (entries.empty()) throw std::runtime_error("no master list");
  while (g_viewerEntries.size() < kViewerLines)
    for (const auto& e : entries) {
      if (g_viewerEntries.size() == kViewerLines) break;
      g_viewerEntries.push_back(e);
    }
  g_masterBytes = MasterListText(g_viewerEntries);
}

void BM_Generate(benchmark::State& state) {
  SilentMessages messages;
  std::size_t entries = 0;
  for (auto _ : state) entries = GenerateMasterList(g_programDir, g_freqDir, kSeparator, messages).entriesWritten;
  state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(BM_Generate)->Unit(benchmark::kMillisecond);

void BM_ViewerSort(benchmark::State& state) {
  const auto column = static_cast<MasterColumn>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    MasterListViewer viewer(kSeparator);
    viewer.Load(g_viewerEntries);
    state.ResumeTiming();
    viewer.SortByColumn(column);
    benchmark::DoNotOptimize(viewer.LineAt(0));
  }
}
BENCHMARK(BM_ViewerSort)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_FindSort(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    MasterListViewer viewer(kSeparator);
    viewer.Load(g_viewerEntries);
    state.ResumeTiming();
    benchmark::DoNotOptimize(viewer.FindSort("radio", false));
  }
}
BENCHMARK(BM_FindSort)->Unit(benchmark::kMillisecond);

void BM_Lookup(benchmark::State& state) {
  std::size_t found = 0;
  for (auto _ : state) found = FindMasterListMatches(g_masterBytes, 9580.0, kSeparator).size();
  state.counters["matches"] = static_cast<double>(found);
}
BENCHMARK(BM_Lookup)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  SetUp();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  fs::remove_all(g_programDir, ignored);
  return 0;
}
