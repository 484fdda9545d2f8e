#include "freqfiles/MasterList.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "common/TextHelpers.h"
#include "freqfiles/FrequencyList.h"
#include "freqfiles/FrequencyRecord.h"
#include "platform/MessageBoxes.h"

namespace ondaris {

namespace fs = std::filesystem;

const char* const GeneratingMasterListMessage =
    "Generating Master Frequency List:  Places all entries from the *.320 files in your Frequency File directory "
    "into Export\\Master320FrequencyList.txt";
const char* const MasterListDoneMessage =
    "Done processing files.  The result is in Export\\Master320FrequencyList.txt";
const char* const ConvertingMasterListMessage =
    "Your Master Frequency file is being converted to a tab-delimited text file.\n"
    "Storing a backup copy as 'Master320FrequencyList.bak' in the Export directory.";
const char* const MasterListConvertedMessage =
    "Your file, Export\\Master320FrequencyList.csv, has been converted to \n"
    "the V1.1 format, saved as Export\\Master320FrequencyList.txt\n\n"
    "You can now delete Export\\Master320FrequencyList.csv";

std::string NoFrequencyFilesMessage(const std::string& folder) {
  return "No *.320 files were found in the " + folder + " directory.";
}

std::string MasterListPath(const std::string& programDir) {
  return programDir + "Export/Master320FrequencyList.txt";
}
std::string OlderMasterListPath(const std::string& programDir) {
  return programDir + "Export/Master320FrequencyList.csv";
}
std::string MasterListBackupPath(const std::string& programDir) {
  return programDir + "Export/Master320FrequencyList.bak";
}

namespace {

// A field must not carry the characters that separate fields and lines.
void AppendField(std::string& out, std::string_view field) {
  for (char c : field) out += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
}

char FoldedByte(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool NameLess(const std::string& a, const std::string& b) {
  const bool foldedLess = std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(FoldedByte(x)) < static_cast<unsigned char>(FoldedByte(y));
      });
  if (foldedLess) return true;
  const bool foldedGreater = std::lexicographical_compare(
      b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) {
        return static_cast<unsigned char>(FoldedByte(x)) < static_cast<unsigned char>(FoldedByte(y));
      });
  if (foldedGreater) return false;
  return a < b;  // char_traits compares as unsigned bytes
}

bool IsFrequencyFileName(const std::string& name) {
  constexpr std::string_view extension = ".320";
  return name.size() >= extension.size() && name.compare(name.size() - extension.size(), extension.size(),
                                                          extension) == 0;
}

}  // namespace

std::string FileInFolder(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + '/' + name;
}

MasterListEntry ParseMasterListLine(std::string_view lineView) {
  const std::string line(lineView);
  MasterListEntry entry;
  std::size_t position = 1;
  // ReadTabField steps over a tab it starts on, which would read the station
  // as the frequency of a line that has none; such a line keeps its empty
  // first field instead.
  if (line.empty() || line[0] != '\t') entry.freq = ReadTabField(line, position);
  entry.station = ReadTabField(line, position);
  entry.file = ReadTabField(line, position);
  return entry;
}

std::string FormatMasterListLine(const MasterListEntry& entry) {
  std::string out;
  out.reserve(entry.freq.size() + entry.station.size() + entry.file.size() + 2);
  AppendField(out, entry.freq);
  out += '\t';
  AppendField(out, entry.station);
  out += '\t';
  AppendField(out, entry.file);
  return out;
}

std::vector<MasterListEntry> ParseMasterListText(std::string_view bytes) {
  std::vector<MasterListEntry> entries;
  for (std::string_view line : SplitFileLines(bytes)) entries.push_back(ParseMasterListLine(line));
  return entries;
}

std::string MasterListText(const std::vector<MasterListEntry>& entries) {
  std::string text;
  std::size_t size = 0;
  for (const auto& e : entries) size += e.freq.size() + e.station.size() + e.file.size() + 4;
  text.reserve(size);
  for (const auto& e : entries) {
    text += FormatMasterListLine(e);
    text += "\r\n";
  }
  return text;
}

std::optional<std::vector<MasterListEntry>> ReadMasterList(const std::string& programDir) {
  const auto bytes = ReadWholeFile(MasterListPath(programDir));
  if (!bytes) return std::nullopt;
  return ParseMasterListText(*bytes);
}

void WriteMasterList(const std::string& programDir, const std::vector<MasterListEntry>& entries) {
  WriteFileAtomically(MasterListPath(programDir), MasterListText(entries));
}

FileEntries MasterListEntriesOfFile(std::string_view fileBytes, const std::string& fileName, char separator) {
  FileEntries result;
  const auto lines = SplitFileLines(fileBytes);
  result.entries.reserve(lines.size());
  FrequencyRecord record;
  for (std::string_view line : lines) {
    // A damaged line costs only itself: the entries after it still belong
    // in the master list.
    if (!ReadFrequencyLine(line, separator, record)) {
      ++result.linesSkipped;
      continue;
    }
    result.entries.push_back({LocaleToDotDecimal(record.Freq, separator), record.Name, fileName});
  }
  return result;
}

std::vector<std::string> FrequencyFilesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), error);
  if (error) return names;
  for (const fs::directory_iterator end; it != end; it.increment(error)) {
    if (error) break;
    std::string name = it->path().filename().string();
    if (!IsFrequencyFileName(name)) continue;
    std::error_code statError;
    if (!it->is_regular_file(statError)) continue;  // follows links
    names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(), NameLess);
  return names;
}

GeneratorResult GenerateMasterList(const std::string& programDir, const std::string& freqFileDir, char separator,
                                   MessageBoxes& messages) {
  GeneratorResult result;
  messages.showMessage(GeneratingMasterListMessage);

  const std::vector<std::string> files = FrequencyFilesIn(freqFileDir);
  if (files.empty()) {
    messages.showMessage(NoFrequencyFilesMessage(freqFileDir));
    return result;
  }

  // The list is assembled whole and then replaces the old one in one step,
  // so a run that fails half way leaves the previous list as it was.
  std::vector<MasterListEntry> entries;
  for (const std::string& name : files) {
    const auto bytes = ReadWholeFile(FileInFolder(freqFileDir, name));
    ++result.filesRead;
    if (!bytes) continue;  // removed since the folder was listed
    FileEntries fileEntries = MasterListEntriesOfFile(*bytes, name, separator);
    result.linesSkipped += fileEntries.linesSkipped;
    entries.insert(entries.end(), std::make_move_iterator(fileEntries.entries.begin()),
                   std::make_move_iterator(fileEntries.entries.end()));
  }
  WriteMasterList(programDir, entries);
  result.entriesWritten = entries.size();
  result.written = true;
  messages.showMessage(MasterListDoneMessage);
  return result;
}

std::string OlderMasterLineToTabs(std::string_view line) {
  std::string out;
  out.reserve(line.size());
  bool insideQuotes = false;
  for (char c : line) {
    if (c == '"') {
      insideQuotes = !insideQuotes;
    } else if (c == ',' && !insideQuotes) {
      out += '\t';
    } else {
      out += c;
    }
  }
  return out;
}

bool ConvertMasterListToTabs(const std::string& programDir, MessageBoxes& messages) {
  const std::string older = OlderMasterListPath(programDir);
  const std::string current = MasterListPath(programDir);
  if (!FileExists(older) || FileExists(current)) return false;

  messages.showMessage(ConvertingMasterListMessage);
  const auto bytes = ReadWholeFile(older);
  const std::string original = bytes.value_or(std::string());
  WriteFileAtomically(MasterListBackupPath(programDir), original);

  std::string converted;
  converted.reserve(original.size() + 16);
  for (std::string_view line : SplitFileLines(original)) {
    converted += OlderMasterLineToTabs(line);
    converted += "\r\n";
  }
  WriteFileAtomically(current, converted);
  messages.showMessage(MasterListConvertedMessage);

  // The backup and the new list are both on disk; a .csv that cannot be
  // removed is harmless, since the conversion only runs while no .txt exists.
  std::error_code ignored;
  fs::remove(older, ignored);
  return true;
}

std::optional<double> MasterListFreqValue(std::string_view freq, char separator) {
  if (freq.empty()) return std::nullopt;
  return TryReadDecimal(DotToLocaleDecimal(std::string(freq), separator), separator);
}

std::vector<MasterListMatch> FindMasterListMatches(std::string_view masterBytes, double tunedKHz, char separator) {
  std::vector<MasterListMatch> matches;
  const double low = tunedKHz - 2.5;
  const double high = tunedKHz + 2.5;
  for (std::string_view line : SplitFileLines(masterBytes)) {
    if (line.size() < 5) break;
    MasterListEntry entry = ParseMasterListLine(line);
    const auto value = MasterListFreqValue(entry.freq, separator);
    if (!value || *value < low || *value > high) continue;
    matches.push_back({DotToLocaleDecimal(entry.freq, separator), std::move(entry.station), std::move(entry.file)});
  }
  return matches;
}

std::optional<std::vector<MasterListMatch>> LookupMasterList(const std::string& programDir, double tunedKHz,
                                                             char separator) {
  const auto bytes = ReadWholeFile(MasterListPath(programDir));
  if (!bytes) return std::nullopt;
  return FindMasterListMatches(*bytes, tunedKHz, separator);
}

}  // namespace ondaris
