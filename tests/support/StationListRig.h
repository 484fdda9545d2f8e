#pragma once
// A station list over the panel's fakes: a program folder with SysFiles,
// FreqFiles and Export, the grid, the File commands and scripted file
// dialogs. Embed it as
//   class MyTest : public StationListFixture {};            or
//   class MyTest : public StationListParamFixture<Row> {};

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "freqfiles/FreqFileController.h"
#include "freqfiles/StationGrid.h"
#include "support/PanelFixture.h"
#include "support/ScriptedFileDialogs.h"
#include "support/StationLine.h"
#include "support/TempFolder.h"

namespace ondaris {

// The lines, each ended by CR LF, as a frequency file holds them.
std::string CrLfLines(const std::vector<std::string>& lines);

struct StationListRig : PanelRig {
  // The grid is set up as at start-up; the File commands' recent-file hook
  // and the grid's records-changed hook are counted.
  StationListRig();

  TempFolder folder{true};
  std::string dir = folder.dir();
  ScriptedFileDialogs dialogs;
  StationGrid stations{ctx, receiver, controls, tuning, dir};
  FreqFileController files{ctx, stations, dialogs, dir};
  std::vector<std::string> recentPaths;  // paths handed to addToRecentFiles
  int recordsChangedCalls = 0;

  std::string freqFile(const std::string& name) const { return dir + "FreqFiles/" + name; }
  // Writes FreqFiles/<name>; returns its path.
  std::string WriteList(const std::string& name, const std::vector<std::string>& lines) const;
  // Writes FreqFiles/<name> and loads it as start-up does.
  void Load(const std::vector<std::string>& lines, const std::string& name = "list.320");
  // The Name column of the view's rows.
  std::vector<std::string> RowNames() const;
};

class StationListFixture : public ::testing::Test, public StationListRig {};

template <class Param>
class StationListParamFixture : public ::testing::TestWithParam<Param>, public StationListRig {};

}  // namespace ondaris
