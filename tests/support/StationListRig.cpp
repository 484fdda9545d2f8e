#include "support/StationListRig.h"

#include <filesystem>

namespace ondaris {

std::string CrLfLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

StationListRig::StationListRig() {
  std::filesystem::create_directories(folder.path() / "FreqFiles");
  std::filesystem::create_directories(folder.path() / "Export");
  files.addToRecentFiles = [this](const std::string& path) { recentPaths.push_back(path); };
  stations.recordsChanged.push_back([this] { ++recordsChangedCalls; });
  stations.StartupGridSetUp();
}

std::string StationListRig::WriteList(const std::string& name, const std::vector<std::string>& lines) const {
  WriteFileBytes(freqFile(name), CrLfLines(lines));
  return freqFile(name);
}

void StationListRig::Load(const std::vector<std::string>& lines, const std::string& name) {
  WriteList(name, lines);
  state.FreqFileDir = "FreqFiles/";
  state.LastFreqFile = name;
  files.LoadLastFrequencyFile();
}

std::vector<std::string> StationListRig::RowNames() const {
  std::vector<std::string> names;
  for (int row = 1; row <= stations.list.ViewCount(); ++row) names.push_back(stations.CellText(row, 2));
  return names;
}

}  // namespace ondaris
