#pragma once
// The master frequency list: every station entry of every frequency file in
// the frequency-file folder, gathered into one tab-delimited text file,
//
//   Export/Master320FrequencyList.txt   (below the program folder)
//
// one line per entry, three fields separated by single tabs, CR LF line ends,
// no header:
//
//   9580<TAB>Radio Alba<TAB>asia.320
//
// 1. the frequency in kHz (three decimals at most, trailing zeros dropped,
//    "." as decimal point whatever the locale);
// 2. the station name (at most 20 characters);
// 3. the bare name of the frequency file that holds the entry.
//
// An older form, Export/Master320FrequencyList.csv, held the same fields
// comma-separated with optional double quotes; it is converted once at
// start-up and kept as Export/Master320FrequencyList.bak.
//
// Everything here takes the program folder (with its trailing '/') and the
// locale's decimal separator; nothing asks the system for either.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondaris {

class MessageBoxes;

// One line of the master list, as its texts stand in the file.
struct MasterListEntry {
  std::string freq;     // kHz, "." as decimal point ("9580", "14230.5")
  std::string station;  // the entry's Name
  std::string file;     // bare file name ("asia.320")

  bool operator==(const MasterListEntry&) const = default;
};

// ---- Files ----------------------------------------------------------------

std::string MasterListPath(const std::string& programDir);       // Export/Master320FrequencyList.txt
std::string OlderMasterListPath(const std::string& programDir);  // Export/Master320FrequencyList.csv
std::string MasterListBackupPath(const std::string& programDir); // Export/Master320FrequencyList.bak

// ---- Messages -------------------------------------------------------------

extern const char* const GeneratingMasterListMessage;
extern const char* const MasterListDoneMessage;
// "No *.320 files were found in the " + folder + " directory."
std::string NoFrequencyFilesMessage(const std::string& folder);
extern const char* const ConvertingMasterListMessage;
extern const char* const MasterListConvertedMessage;

// ---- Lines ----------------------------------------------------------------

// The three fields of one line, read left to right with one shared position
// (ReadTabField). A line that begins with a tab has an empty frequency; a
// line with fewer fields leaves the missing ones empty; anything after a
// third tab is ignored.
MasterListEntry ParseMasterListLine(std::string_view line);
// frequency + tab + station + tab + file (without line end). A tab, CR or LF
// inside a field would break the line apart and is written as a blank.
std::string FormatMasterListLine(const MasterListEntry& entry);

// Every line of the file bytes (CR LF or LF ends), blank lines included.
std::vector<MasterListEntry> ParseMasterListText(std::string_view bytes);
// The whole file: one FormatMasterListLine per entry, each ended by CR LF.
std::string MasterListText(const std::vector<MasterListEntry>& entries);

// The master list of the program folder; no value when the file does not
// exist. Throws FileError when it exists but cannot be read.
std::optional<std::vector<MasterListEntry>> ReadMasterList(const std::string& programDir);
// Replaces the master list atomically. Throws FileError; the old file then
// stays as it was.
void WriteMasterList(const std::string& programDir, const std::vector<MasterListEntry>& entries);

// `folder` + `name`, with a '/' between them when the folder lacks its
// trailing one.
std::string FileInFolder(const std::string& folder, const std::string& name);

// ---- Generator --------------------------------------------------------------

// The entries one frequency file contributes, in line order, from the file's
// bytes. A line that cannot be read as a station entry (or whose frequency is
// not a number) is skipped and counted, and the lines after it are read as
// usual. The frequency is the file's MHz text turned into kHz text with the
// locale's separator and back to ".".
struct FileEntries {
  std::vector<MasterListEntry> entries;
  std::size_t linesSkipped = 0;
};
FileEntries MasterListEntriesOfFile(std::string_view fileBytes, const std::string& fileName, char separator);

// The bare names of the frequency files (*.320, regular files) in `folder`,
// sorted by name with A..Z folded to a..z (names equal that way by their
// bytes), so that the list comes out the same on every run and every file
// system. Empty when the folder does not exist or cannot be listed.
std::vector<std::string> FrequencyFilesIn(const std::string& folder);

struct GeneratorResult {
  std::size_t filesRead = 0;     // frequency files found and read
  std::size_t entriesWritten = 0;
  std::size_t linesSkipped = 0;  // lines no file could contribute
  bool written = false;          // the master list was rebuilt
};

// MasterFreqClick: announces the run, gathers the entries of every frequency
// file of `freqFileDir` (the folder, with its trailing '/', as the listener
// knows it: it is also the text of the "no files" message), writes the master
// list below `programDir` from scratch and says where the result is. With no
// frequency file it says so and leaves an existing master list alone.
// Throws FileError when a frequency file cannot be read or the master list
// cannot be written; the old master list is then untouched.
GeneratorResult GenerateMasterList(const std::string& programDir, const std::string& freqFileDir, char separator,
                                   MessageBoxes& messages);

// ---- The older comma-separated form -------------------------------------------

// One line of the older form rewritten with tabs: a double quote toggles an
// inside-quotes state and is dropped; a comma outside quotes becomes a tab;
// everything else, a comma inside quotes included, is copied. Each line
// starts outside quotes.
std::string OlderMasterLineToTabs(std::string_view line);

// Start-up step: when Export/Master320FrequencyList.csv exists and
// Export/Master320FrequencyList.txt does not, announces the conversion,
// keeps the .csv byte for byte as Export/Master320FrequencyList.bak, writes
// the converted lines as the .txt, says so and removes the .csv. Returns true
// when it converted. Throws FileError when a file cannot be read or written
// (the .csv is then kept).
bool ConvertMasterListToTabs(const std::string& programDir, MessageBoxes& messages);

// ---- Lookup ---------------------------------------------------------------

// One master-list line near a tuned frequency, with its texts as the lookup
// grid shows them.
struct MasterListMatch {
  std::string freq;     // the frequency text with the locale's separator
  std::string station;
  std::string file;
};

// The lines of the master list whose frequency lies within 2.5 kHz of
// `tunedKHz` (both ends included), in file order. The walk stops at the first
// line shorter than 5 characters; a line whose frequency field is empty or not
// a number is passed over.
std::vector<MasterListMatch> FindMasterListMatches(std::string_view masterBytes, double tunedKHz, char separator);
// The same over the master list of the program folder; no value when the file
// does not exist (the lookup then skips the master list silently). Throws
// FileError when it exists but cannot be read.
std::optional<std::vector<MasterListMatch>> LookupMasterList(const std::string& programDir, double tunedKHz,
                                                             char separator);

// Frequency text of the master list (with ".") read as a number with the
// locale's separator; no value when it is empty or not a number.
std::optional<double> MasterListFreqValue(std::string_view freq, char separator);

}  // namespace ondaris
