#pragma once
// The master-list viewer (TMFLViewDlg, "Master Frequency List Viewer") as a
// model without widgets: the lines of the master list with their match
// marks, the three column sorts of the header, Find-Sort, and opening the
// frequency file of the current line. The dialog shows the lines and hands
// the listener's actions here.
//
// Lines are numbered from 0 here; the grid shows line i in row i + 1 under
// its header row.

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "freqfiles/MasterList.h"

namespace ondaris {

class MessageBoxes;

// The viewer's columns, left to right.
enum class MasterColumn : int { Frequency = 0, Station = 1, File = 2 };
constexpr int MasterColumnCount = 3;

extern const char* const MasterViewerCaption;        // "Master Frequency List Viewer"
extern const char* const MasterViewerHeaders[MasterColumnCount];  // ten blanks before each title
extern const char* const MasterListMissingMessage;
extern const char* const MasterListEmptyMessage;
extern const char* const InvalidFrequencyFileNameMessage;
// name + " does not exist in the default frequency file directory.  Exiting..."
std::string FrequencyFileMissingMessage(const std::string& name);
extern const char* const FindSortHint;  // "Records matching your search are colored red"

// Parts of the column widths the dialog gives its columns.
constexpr std::array<double, MasterColumnCount> MasterViewerColumnShares{0.25, 0.30, 0.45};

// What opening a frequency file needs from the rest of the program.
struct MasterListOpenHost {
  // True while a file scan runs; opening is then refused without a word.
  std::function<bool()> fileScanRunning;
  // Opens the frequency file `name` of the frequency-file folder the way the
  // grid opens a file: the save question when the loaded list is changed
  // (Yes saves), the on-air view left, the raw lines emptied, LastFreqFile
  // set to `name`, the recent-file list updated, the list cleared and the
  // file loaded.
  std::function<void(const std::string& name)> openFrequencyFile;
};

class MasterListViewer {
 public:
  struct Line {
    std::string freq;     // as in the file ("." decimal point)
    std::string station;
    std::string file;
    bool matched = false; // the match mark: shown in maroon
    double freqValue = 0; // freq as a number; 0 when empty or not a number
  };

  explicit MasterListViewer(char separator = '.') : separator_(separator) {}

  // MFLViewItemClick up to showing the dialog: reads the master list of the
  // program folder into the viewer. A missing or empty list is announced and
  // gives false: the viewer does not open. Throws FileError when the file
  // exists but cannot be read.
  bool Open(const std::string& programDir, MessageBoxes& messages);
  // The viewer's lines straight from entries (no match marks).
  void Load(const std::vector<MasterListEntry>& entries);
  // OKBtnClick ("Exit"): lets go of the lines.
  void Close();

  std::size_t LineCount() const { return lines_.size(); }
  const Line& LineAt(std::size_t index) const { return lines_[index]; }
  const std::vector<Line>& Lines() const { return lines_; }
  std::size_t MatchCount() const;

  // The grid's text of a line and column: the frequency with the locale's
  // separator, the station, the file name.
  std::string CellText(std::size_t line, MasterColumn column) const;

  // The line of the grid's current row and the top visible line (the first
  // line when the viewer opens).
  std::size_t currentLine = 0;
  std::size_t topLine = 0;

  // Sorts all lines by a column's keys:
  //   Frequency: frequency as a number; file name when the frequency texts are
  //              equal; station when frequency and file texts are equal.
  //   Station:   station; frequency as a number; file name when stations and
  //              frequency texts are equal.
  //   File:      file name; frequency as a number; station when file names and
  //              frequency texts are equal.
  // Texts compare byte by byte, case counting. Lines whose frequencies are
  // equal numbers written differently stay where they are. The grid is then
  // shown from its first row.
  void SortByColumn(MasterColumn column);

  void ClearMatchMarks();

  // The header zone of the column under x, measured like every grid of the
  // program: from x = 1, column c spans x + 5 .. x + width(c) - 5
  // (exclusive), then x advances by width(c) + 1. None on a border.
  static std::optional<MasterColumn> HeaderZoneAt(int x, const std::array<int, MasterColumnCount>& widths);
  // GridMouseUp: clears the match marks, then a release above the header
  // row's height (y < headerHeight) inside a header zone sorts by that
  // column. Returns whether it sorted.
  bool GridMouseUp(int x, int y, const std::array<int, MasterColumnCount>& widths, int headerHeight);

  // FindSortBtnClick. Clears the marks; an empty search text does nothing
  // more. Otherwise the lines whose frequency, station or file name contains
  // the text (A..Z folded to a..z in both unless matchCase) are moved in
  // front of the others and marked; two or more of them are then sorted by
  // station, equal stations by frequency as a number. The first line becomes
  // the top and current one. Returns the number of matching lines.
  std::size_t FindSort(const std::string& text, bool matchCase);

  enum class OpenResult {
    Refused,  // a file scan runs: nothing happened
    Failed,   // a message said why; the loaded list is untouched
    Opened,   // the file was handed to the host; the viewer closes
  };
  // OpenBtnClick ("Open File") for the current line, the frequency-file
  // folder `freqFileDir` (with its trailing '/'). An empty file name, or one
  // that is not a bare name, is refused as an invalid name; a name that is
  // not a file of the folder is reported missing.
  OpenResult OpenCurrentFile(const std::string& freqFileDir, const MasterListOpenHost& host, MessageBoxes& messages);

 private:
  void Reorder(const std::vector<std::size_t>& order);
  void ShowFromTop();

  char separator_;
  std::vector<Line> lines_;
};

}  // namespace ondaris
