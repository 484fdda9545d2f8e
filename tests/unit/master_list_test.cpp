// The master frequency list: the generator over a folder of frequency files,
// the list file itself, the conversion of the older comma-separated form, the
// lookup near a frequency, and the viewer's sorts, Find-Sort and Open File.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "freqfiles/MasterList.h"
#include "freqfiles/MasterListViewer.h"
#include "support/TempFolder.h"
#include "support/ScriptedMessageBoxes.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

// A fresh program folder with Export and FreqFiles, removed afterwards.
struct ProgramFolder : TempFolder {
  ProgramFolder() {
    std::filesystem::create_directory(path() / "Export");
    std::filesystem::create_directory(path() / "FreqFiles");
  }
  std::string freqDir() const { return dir() + "FreqFiles/"; }
  std::string exportFile(const std::string& name) const { return dir() + "Export/" + name; }
};

std::string StationLine(const std::string& name, const std::string& mhz) {
  return "\"" + name + "\"," + mhz + ",AM,6000,2,5000,0,\"Here\",\"English\",\"0800\",\"1200\",\"\",0,0";
}

const std::string kMasterName = "Master320FrequencyList.txt";

// ---- Generator ---------------------------------------------------------------

TEST(MasterListGenerator, GathersEveryFrequencyFileInNameOrder) {
  ProgramFolder folder;
  WriteFileBytes(folder.freqDir() + "b.320", StationLine("Bravo One", "6.005000") + "\r\n");
  WriteFileBytes(folder.freqDir() + "a.320",
      StationLine("Radio Alba", "9.580000") + "\r\n" + StationLine("Beacon", "0.153000") + "\r\n");
  WriteFileBytes(folder.freqDir() + "A2.320", StationLine("Utility", "14.230500") + "\n");  // LF only
  WriteFileBytes(folder.freqDir() + "notes.txt", StationLine("Not Listed", "1.000000") + "\r\n");
  fs::create_directory(folder.freqDir() + "folder.320");

  ScriptedMessageBoxes messages;
  const GeneratorResult result = GenerateMasterList(folder.dir(), folder.freqDir(), '.', messages);

  EXPECT_TRUE(result.written);
  EXPECT_EQ(result.filesRead, 3u);
  EXPECT_EQ(result.entriesWritten, 4u);
  EXPECT_EQ(result.linesSkipped, 0u);
  EXPECT_EQ(ReadFileBytes(folder.exportFile(kMasterName)),
            "9580\tRadio Alba\ta.320\r\n"
            "153\tBeacon\ta.320\r\n"
            "14230.5\tUtility\tA2.320\r\n"
            "6005\tBravo One\tb.320\r\n");
  EXPECT_THAT(messages.messages(),
              ElementsAre("Generating Master Frequency List:  Places all entries from the *.320 files in your "
                          "Frequency File directory into Export\\Master320FrequencyList.txt",
                          "Done processing files.  The result is in Export\\Master320FrequencyList.txt"));
}

TEST(MasterListGenerator, SkipsADamagedLineAndReadsTheRestOfThatFile) {
  ProgramFolder folder;
  WriteFileBytes(folder.freqDir() + "mixed.320", StationLine("First", "5.000000") + "\r\n" +
                                          "\"Broken,5.1\r\n" +                 // quote never closed
                                          StationLine("Bad Freq", "abc") + "\r\n" +  // not a number
                                          "\r\n" +                              // empty line
                                          StationLine("Last", "5.200000") + "\r\n");
  WriteFileBytes(folder.freqDir() + "other.320", StationLine("Other", "7.000000") + "\r\n");

  ScriptedMessageBoxes messages;
  const GeneratorResult result = GenerateMasterList(folder.dir(), folder.freqDir(), '.', messages);

  EXPECT_EQ(result.entriesWritten, 3u);
  EXPECT_EQ(result.linesSkipped, 3u);
  EXPECT_EQ(ReadFileBytes(folder.exportFile(kMasterName)),
            "5000\tFirst\tmixed.320\r\n"
            "5200\tLast\tmixed.320\r\n"
            "7000\tOther\tother.320\r\n");
  // The skipped lines are not reported one by one.
  EXPECT_EQ(messages.messages().size(), 2u);
}

TEST(MasterListGenerator, SameFileTwiceWithoutTrailingSlashAndUnderACommaLocale) {
  const struct {
    const char* what;
    bool bareFolder;
    char separator;
    int runs;
  } cases[] = {{"twice", false, '.', 2}, {"folder without slash", true, '.', 1}, {"comma locale", false, ',', 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramFolder folder;
    WriteFileBytes(folder.freqDir() + "u.320", StationLine("Utility", "14.230500") + "\r\n");
    std::string freqDir = folder.freqDir();
    if (c.bareFolder) freqDir.pop_back();
    ScriptedMessageBoxes messages;
    for (int run = 0; run < c.runs; ++run) {
      EXPECT_EQ(GenerateMasterList(folder.dir(), freqDir, c.separator, messages).entriesWritten, 1u);
      EXPECT_EQ(ReadFileBytes(folder.exportFile(kMasterName)), "14230.5\tUtility\tu.320\r\n");
    }
  }
  EXPECT_EQ(FileInFolder("dir", "a.320"), "dir/a.320");
  EXPECT_EQ(FileInFolder("dir/", "a.320"), "dir/a.320");
}

TEST(MasterListGenerator, WithoutFrequencyFilesSaysSoAndKeepsTheOldList) {
  ProgramFolder folder;
  WriteFileBytes(folder.exportFile(kMasterName), "9580\tOld\told.320\r\n");
  WriteFileBytes(folder.freqDir() + "readme.txt", "nothing here");
  ScriptedMessageBoxes messages;
  const GeneratorResult result = GenerateMasterList(folder.dir(), folder.freqDir(), '.', messages);

  EXPECT_FALSE(result.written);
  ASSERT_EQ(messages.messages().size(), 2u);
  EXPECT_EQ(messages.messages()[1], "No *.320 files were found in the " + folder.freqDir() + " directory.");
  EXPECT_EQ(ReadFileBytes(folder.exportFile(kMasterName)), "9580\tOld\told.320\r\n");
}

TEST(MasterListGenerator, AMissingFolderHasNoFrequencyFiles) {
  ProgramFolder folder;
  const std::string missing = folder.dir() + "Elsewhere/";
  EXPECT_TRUE(FrequencyFilesIn(missing).empty());
  ScriptedMessageBoxes messages;
  EXPECT_FALSE(GenerateMasterList(folder.dir(), missing, '.', messages).written);
  EXPECT_EQ(messages.lastMessage(), NoFrequencyFilesMessage(missing));
  EXPECT_FALSE(FileExists(folder.exportFile(kMasterName)));
}

TEST(MasterListGenerator, AListThatCannotBeWrittenThrowsAndLeavesNothingHalfDone) {
  ProgramFolder folder;
  WriteFileBytes(folder.freqDir() + "a.320", StationLine("Radio Alba", "9.580000") + "\r\n");
  fs::remove_all(folder.dir() + "Export");  // nowhere to write
  ScriptedMessageBoxes messages;
  EXPECT_THROW(GenerateMasterList(folder.dir(), folder.freqDir(), '.', messages), FileError);
  // Only the announcement was shown, not the "done" message.
  EXPECT_EQ(messages.messages().size(), 1u);
}

TEST(MasterListGenerator, FileOrderFoldsCaseAndIsStable) {
  ProgramFolder folder;
  for (const char* name : {"b.320", "B.320", "a10.320", "A1.320", "_x.320", "Z.320"}) WriteFileBytes(folder.freqDir() + name, "");
  EXPECT_THAT(FrequencyFilesIn(folder.freqDir()), ElementsAre("_x.320", "A1.320", "a10.320", "B.320", "b.320", "Z.320"));
}

TEST(MasterListEntriesOfFile, ConvertsMegahertzToKilohertzText) {
  const std::string bytes = StationLine("Radio Alba", "9.580000") + "\r\n" + StationLine("Beacon", "0.153000") +
                            "\r\n" + StationLine("A Very Long Station Name Indeed", "14.2305") + "\r\n";
  const FileEntries result = MasterListEntriesOfFile(bytes, "a.320", ',');
  EXPECT_EQ(result.linesSkipped, 0u);
  EXPECT_THAT(result.entries, ElementsAre(MasterListEntry{"9580", "Radio Alba", "a.320"},
                                          MasterListEntry{"153", "Beacon", "a.320"},
                                          MasterListEntry{"14230.5", "A Very Long Station ", "a.320"}));
}

// ---- The list file -------------------------------------------------------------

TEST(MasterListFile, RoundTripsThroughTheDisk) {
  ProgramFolder folder;
  const std::vector<MasterListEntry> entries = {
      {"9580", "Radio Alba", "a.320"},
      {"14230.5", "Voice of A, B", "b.320"},
      {"153", "", "c.320"},
  };
  WriteMasterList(folder.dir(), entries);
  EXPECT_EQ(ReadFileBytes(folder.exportFile(kMasterName)),
            "9580\tRadio Alba\ta.320\r\n14230.5\tVoice of A, B\tb.320\r\n153\t\tc.320\r\n");
  const auto back = ReadMasterList(folder.dir());
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, entries);
}

TEST(MasterListFile, AMissingListReadsAsNone) {
  ProgramFolder folder;
  EXPECT_FALSE(ReadMasterList(folder.dir()).has_value());
}

TEST(MasterListFile, LinesSplitOnTabs) {
  struct Case {
    std::string line;
    MasterListEntry expected;
  };
  const std::vector<Case> cases = {
      {"9580\tRadio Alba\ta.320", {"9580", "Radio Alba", "a.320"}},
      {"9580\t\ta.320", {"9580", "", "a.320"}},
      {"\tNo Freq\ta.320", {"", "No Freq", "a.320"}},
      {"9580\tOnly Station", {"9580", "Only Station", ""}},
      {"9580", {"9580", "", ""}},
      {"", {"", "", ""}},
      {"9580\tA\tb.320\textra", {"9580", "A", "b.320"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseMasterListLine(c.line), c.expected) << c.line;
}

TEST(MasterListFile, FieldSeparatorsInsideAFieldBecomeBlanks) {
  EXPECT_EQ(FormatMasterListLine({"9580", "Tab\there", "a\r\n.320"}), "9580\tTab here\ta  .320");
}

TEST(MasterListFile, ReadsLfLinesAndKeepsBlankOnes) {
  EXPECT_THAT(ParseMasterListText("9580\tA\ta.320\n\n153\tB\tb.320"),
              ElementsAre(MasterListEntry{"9580", "A", "a.320"}, MasterListEntry{}, MasterListEntry{"153", "B", "b.320"}));
}

// ---- Conversion of the older form ----------------------------------------------

TEST(OlderMasterList, LinesBecomeTabDelimited) {
  struct Case {
    std::string csv;
    std::string tabs;
  };
  const std::vector<Case> cases = {
      {R"("9580","Radio Alba","a.320")", "9580\tRadio Alba\ta.320"},
      {R"("6005","Voice of A, B","b.320")", "6005\tVoice of A, B\tb.320"},
      {"153,Beacon,c.320", "153\tBeacon\tc.320"},
      {R"(153,,c.320)", "153\t\tc.320"},
      {R"("open, never closed)", "open, never closed"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(OlderMasterLineToTabs(c.csv), c.tabs) << c.csv;
}

TEST(OlderMasterList, IsConvertedOnceAtStartUp) {
  ProgramFolder folder;
  const std::string csv = "\"9580\",\"Radio Alba\",\"a.320\"\r\n\"6005\",\"Voice of A, B\",\"b.320\"\r\n";
  WriteFileBytes(folder.exportFile("Master320FrequencyList.csv"), csv);

  ScriptedMessageBoxes messages;
  EXPECT_TRUE(ConvertMasterListToTabs(folder.dir(), messages));

  EXPECT_EQ(ReadFileBytes(folder.exportFile(kMasterName)), "9580\tRadio Alba\ta.320\r\n6005\tVoice of A, B\tb.320\r\n");
  EXPECT_EQ(ReadFileBytes(folder.exportFile("Master320FrequencyList.bak")), csv);
  EXPECT_FALSE(FileExists(folder.exportFile("Master320FrequencyList.csv")));
  EXPECT_THAT(messages.messages(),
              ElementsAre("Your Master Frequency file is being converted to a tab-delimited text file.\n"
                          "Storing a backup copy as 'Master320FrequencyList.bak' in the Export directory.",
                          "Your file, Export\\Master320FrequencyList.csv, has been converted to \n"
                          "the V1.1 format, saved as Export\\Master320FrequencyList.txt\n\n"
                          "You can now delete Export\\Master320FrequencyList.csv"));

  // Nothing left to convert on the next start.
  ScriptedMessageBoxes again;
  EXPECT_FALSE(ConvertMasterListToTabs(folder.dir(), again));
  EXPECT_TRUE(again.shown().empty());
}

TEST(OlderMasterList, IsLeftAloneWhenTheNewListExists) {
  ProgramFolder folder;
  WriteFileBytes(folder.exportFile("Master320FrequencyList.csv"), "\"1\",\"x\",\"y.320\"\r\n");
  WriteFileBytes(folder.exportFile(kMasterName), "9580\tNew\tn.320\r\n");
  ScriptedMessageBoxes messages;
  EXPECT_FALSE(ConvertMasterListToTabs(folder.dir(), messages));
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_TRUE(FileExists(folder.exportFile("Master320FrequencyList.csv")));
  EXPECT_FALSE(FileExists(folder.exportFile("Master320FrequencyList.bak")));
  EXPECT_EQ(ReadFileBytes(folder.exportFile(kMasterName)), "9580\tNew\tn.320\r\n");
}

TEST(OlderMasterList, NothingHappensWithoutIt) {
  ProgramFolder folder;
  ScriptedMessageBoxes messages;
  EXPECT_FALSE(ConvertMasterListToTabs(folder.dir(), messages));
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_FALSE(FileExists(folder.exportFile(kMasterName)));
}

// ---- Lookup -----------------------------------------------------------------

TEST(MasterListLookup, FindsTheLinesWithinTwoAndAHalfKilohertz) {
  const std::string master =
      "9577.4\tToo Low\ta.320\r\n"
      "9577.5\tLow Edge\ta.320\r\n"
      "9580\tRadio Alba\tb.320\r\n"
      "\t9580\tno frequency\r\n"
      "abcde\tNot a number\tc.320\r\n"
      "9582.5\tHigh Edge\tc.320\r\n"
      "9582.6\tToo High\tc.320\r\n";
  const auto matches = FindMasterListMatches(master, 9580.0, '.');
  ASSERT_EQ(matches.size(), 3u);
  EXPECT_EQ(matches[0].freq, "9577.5");
  EXPECT_EQ(matches[0].station, "Low Edge");
  EXPECT_EQ(matches[1].station, "Radio Alba");
  EXPECT_EQ(matches[1].file, "b.320");
  EXPECT_EQ(matches[2].freq, "9582.5");
  EXPECT_EQ(matches[2].file, "c.320");
}

TEST(MasterListLookup, AShortLineEndsTheSearch) {
  const std::string master = "9580\tA\ta.320\r\n\r\n9581\tB\tb.320\r\n";
  const auto matches = FindMasterListMatches(master, 9580.0, '.');
  ASSERT_EQ(matches.size(), 1u);
  EXPECT_EQ(matches[0].station, "A");
  EXPECT_TRUE(FindMasterListMatches("9580\r\n9580\tA\ta.320\r\n", 9580.0, '.').empty());
}

TEST(MasterListLookup, ShowsTheFrequencyWithTheLocaleSeparator) {
  const auto matches = FindMasterListMatches("9582.5\tA\ta.320\r\n", 9580.0, ',');
  ASSERT_EQ(matches.size(), 1u);
  EXPECT_EQ(matches[0].freq, "9582,5");
}

TEST(MasterListLookup, ReadsTheProgramFoldersList) {
  ProgramFolder folder;
  EXPECT_FALSE(LookupMasterList(folder.dir(), 9580.0, '.').has_value());
  WriteFileBytes(folder.exportFile(kMasterName), "9580\tA\ta.320\r\n6005\tB\tb.320\r\n");
  const auto matches = LookupMasterList(folder.dir(), 6004.0, '.');
  ASSERT_TRUE(matches.has_value());
  ASSERT_EQ(matches->size(), 1u);
  EXPECT_EQ((*matches)[0].station, "B");
}

// ---- Viewer --------------------------------------------------------------------

std::vector<std::string> Stations(const MasterListViewer& viewer) {
  std::vector<std::string> out;
  for (const auto& line : viewer.Lines()) out.push_back(line.station);
  return out;
}

std::vector<std::string> Marked(const MasterListViewer& viewer) {
  std::vector<std::string> out;
  for (const auto& line : viewer.Lines())
    if (line.matched) out.push_back(line.station);
  return out;
}

TEST(MasterListViewerOpen, AMissingOrEmptyListIsAnnounced) {
  ProgramFolder folder;
  MasterListViewer viewer;
  ScriptedMessageBoxes messages;
  EXPECT_FALSE(viewer.Open(folder.dir(), messages));
  EXPECT_EQ(messages.lastMessage(),
            "The Master Frequency List file appears to be missing.  Regenerate it by clicking the 'Master Frequency "
            "List Generator' from the Tools menu.");
  WriteFileBytes(folder.exportFile(kMasterName), "");
  EXPECT_FALSE(viewer.Open(folder.dir(), messages));
  EXPECT_EQ(messages.lastMessage(), "The Master Frequency List file is empty.  Exiting...");
}

TEST(MasterListViewerOpen, ReadsEveryLineAndShowsTheLocaleSeparator) {
  ProgramFolder folder;
  WriteFileBytes(folder.exportFile(kMasterName), "9580\tRadio Alba\ta.320\r\n14230.5\tUtility\tb.320\r\n");
  MasterListViewer viewer(',');
  ScriptedMessageBoxes messages;
  ASSERT_TRUE(viewer.Open(folder.dir(), messages));
  EXPECT_TRUE(messages.shown().empty());
  ASSERT_EQ(viewer.LineCount(), 2u);
  EXPECT_EQ(viewer.CellText(1, MasterColumn::Frequency), "14230,5");
  EXPECT_EQ(viewer.CellText(1, MasterColumn::Station), "Utility");
  EXPECT_EQ(viewer.CellText(1, MasterColumn::File), "b.320");
  EXPECT_EQ(viewer.LineAt(1).freqValue, 14230.5);
  EXPECT_EQ(viewer.CellText(5, MasterColumn::Station), "");
  viewer.Close();
  EXPECT_EQ(viewer.LineCount(), 0u);
}

MasterListViewer ViewerOf(const std::vector<MasterListEntry>& entries) {
  MasterListViewer viewer;
  viewer.Load(entries);
  return viewer;
}

TEST(MasterListViewerSort, FrequencySortsAsNumbersThenFileThenStation) {
  auto viewer = ViewerOf({
      {"10000", "Ten", "z.320"},
      {"9580", "Beta", "b.320"},
      {"9580", "Alpha", "b.320"},
      {"9580", "Gamma", "a.320"},
      {"", "Empty", "e.320"},
      {"153", "Beacon", "c.320"},
  });
  viewer.SortByColumn(MasterColumn::Frequency);
  EXPECT_THAT(Stations(viewer), ElementsAre("Empty", "Beacon", "Gamma", "Alpha", "Beta", "Ten"));
}

TEST(MasterListViewerSort, EqualNumbersWrittenDifferentlyStayInPlace) {
  auto viewer = ViewerOf({{"9580.0", "Zulu", "a.320"}, {"9580", "Alpha", "a.320"}});
  viewer.SortByColumn(MasterColumn::Frequency);
  EXPECT_THAT(Stations(viewer), ElementsAre("Zulu", "Alpha"));
}

TEST(MasterListViewerSort, StationSortsCaseSensitivelyThenByFrequencyThenFile) {
  auto viewer = ViewerOf({
      {"9580", "radio b", "a.320"},
      {"9580", "Radio Alba", "b.320"},
      {"6005", "Radio Alba", "c.320"},
      {"6005", "Radio Alba", "a.320"},
      {"7000", "RADIO X", "a.320"},
  });
  viewer.SortByColumn(MasterColumn::Station);
  std::vector<std::string> keys;
  for (const auto& line : viewer.Lines()) keys.push_back(line.station + "/" + line.freq + "/" + line.file);
  EXPECT_THAT(keys, ElementsAre("RADIO X/7000/a.320", "Radio Alba/6005/a.320", "Radio Alba/6005/c.320",
                                "Radio Alba/9580/b.320", "radio b/9580/a.320"));
}

TEST(MasterListViewerSort, FileSortsByNameThenFrequencyThenStation) {
  auto viewer = ViewerOf({
      {"9580", "B", "b.320"},
      {"10000", "A", "a.320"},
      {"9580", "Z", "a.320"},
      {"9580", "Y", "a.320"},
      {"1", "C", "B.320"},
  });
  viewer.SortByColumn(MasterColumn::File);
  EXPECT_THAT(Stations(viewer), ElementsAre("C", "Y", "Z", "A", "B"));
}

TEST(MasterListViewerSort, HeaderZonesLeaveTheBordersFree) {
  const std::array<int, MasterColumnCount> widths{100, 120, 180};
  struct Case {
    int x;
    std::optional<MasterColumn> column;
  };
  const std::vector<Case> cases = {
      {0, std::nullopt},   {6, std::nullopt},   {7, MasterColumn::Frequency}, {95, MasterColumn::Frequency},
      {96, std::nullopt},  {107, std::nullopt}, {108, MasterColumn::Station}, {216, MasterColumn::Station},
      {217, std::nullopt}, {228, std::nullopt}, {229, MasterColumn::File},    {397, MasterColumn::File},
      {398, std::nullopt}, {900, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(MasterListViewer::HeaderZoneAt(c.x, widths), c.column) << c.x;
}

TEST(MasterListViewerSort, MouseUpClearsMarksAndSortsOnlyInTheHeader) {
  const std::array<int, MasterColumnCount> widths{100, 120, 180};
  auto viewer = ViewerOf({{"9580", "B", "b.320"}, {"153", "A", "a.320"}});
  ASSERT_EQ(viewer.FindSort("B", true), 1u);

  EXPECT_FALSE(viewer.GridMouseUp(50, 30, widths, 20));  // a row, not the header
  EXPECT_EQ(viewer.MatchCount(), 0u);
  EXPECT_THAT(Stations(viewer), ElementsAre("B", "A"));

  EXPECT_FALSE(viewer.GridMouseUp(101, 5, widths, 20));  // a border
  EXPECT_THAT(Stations(viewer), ElementsAre("B", "A"));

  viewer.topLine = 1;
  EXPECT_TRUE(viewer.GridMouseUp(50, 5, widths, 20));
  EXPECT_THAT(Stations(viewer), ElementsAre("A", "B"));
  EXPECT_EQ(viewer.topLine, 0u);
  EXPECT_TRUE(viewer.GridMouseUp(300, 5, widths, 20));  // file name
  EXPECT_THAT(Stations(viewer), ElementsAre("A", "B"));
}

std::vector<MasterListEntry> FindSortEntries() {
  return {
      {"6005", "Deutsche Welle", "europe.320"},
      {"9580", "Radio Alba", "asia.320"},
      {"7000", "RADIO X", "misc.320"},
      {"11000", "Beacon", "utility.320"},
      {"5000", "Radio Alba", "africa.320"},
  };
}

TEST(MasterListViewerFindSort, WithoutMatchCaseFoldsBothTexts) {
  auto viewer = ViewerOf(FindSortEntries());
  viewer.currentLine = 3;
  viewer.topLine = 2;
  EXPECT_EQ(viewer.FindSort("radio", false), 3u);
  // Matches first, ordered by station (case counting), then by frequency.
  EXPECT_THAT(Stations(viewer), ElementsAre("RADIO X", "Radio Alba", "Radio Alba", "Beacon", "Deutsche Welle"));
  EXPECT_EQ(viewer.LineAt(1).freq, "5000");
  EXPECT_EQ(viewer.LineAt(2).freq, "9580");
  EXPECT_THAT(Marked(viewer), ElementsAre("RADIO X", "Radio Alba", "Radio Alba"));
  EXPECT_EQ(viewer.currentLine, 0u);
  EXPECT_EQ(viewer.topLine, 0u);
}

TEST(MasterListViewerFindSort, MatchCaseComparesExactly) {
  auto viewer = ViewerOf(FindSortEntries());
  EXPECT_EQ(viewer.FindSort("radio", true), 0u);
  EXPECT_TRUE(Marked(viewer).empty());
  EXPECT_EQ(viewer.FindSort("RADIO", true), 1u);
  EXPECT_THAT(Marked(viewer), ElementsAre("RADIO X"));
  EXPECT_EQ(Stations(viewer).front(), "RADIO X");
}

TEST(MasterListViewerFindSort, SearchesFrequencyAndFileNameToo) {
  auto viewer = ViewerOf(FindSortEntries());
  EXPECT_EQ(viewer.FindSort("utility", false), 1u);
  EXPECT_THAT(Marked(viewer), ElementsAre("Beacon"));
  EXPECT_EQ(viewer.FindSort("958", false), 1u);
  EXPECT_THAT(Marked(viewer), ElementsAre("Radio Alba"));
  EXPECT_EQ(viewer.LineAt(0).freq, "9580");
  // The whole field, and no more than it.
  EXPECT_EQ(viewer.FindSort("beacon", false), 1u);
  EXPECT_EQ(viewer.FindSort("beacons", false), 0u);
}

TEST(MasterListViewerFindSort, NoMatchOrEmptyTextMarksNothingAndKeepsTheOrder) {
  auto viewer = ViewerOf(FindSortEntries());
  const auto before = Stations(viewer);
  EXPECT_EQ(viewer.FindSort("nothing like it", false), 0u);
  EXPECT_TRUE(Marked(viewer).empty());
  EXPECT_EQ(Stations(viewer), before);

  ASSERT_EQ(viewer.FindSort("alba", false), 2u);
  EXPECT_EQ(viewer.FindSort("", false), 0u);  // clears the marks, moves nothing
  EXPECT_TRUE(Marked(viewer).empty());
  EXPECT_THAT(Stations(viewer), ElementsAre("Radio Alba", "Radio Alba", "Deutsche Welle", "Beacon", "RADIO X"));
}

// ---- Open File -----------------------------------------------------------------

struct OpenRecorder {
  bool scanning = false;
  std::vector<std::string> opened;
  MasterListOpenHost host() {
    return {[this] { return scanning; }, [this](const std::string& name) { opened.push_back(name); }};
  }
};

TEST(MasterListViewerOpenFile, OpensTheFileOfTheCurrentLine) {
  ProgramFolder folder;
  WriteFileBytes(folder.freqDir() + "asia.320", StationLine("Radio Alba", "9.580000") + "\r\n");
  auto viewer = ViewerOf({{"6005", "X", "gone.320"}, {"9580", "Radio Alba", "asia.320"}});
  viewer.currentLine = 1;
  OpenRecorder recorder;
  ScriptedMessageBoxes messages;
  EXPECT_EQ(viewer.OpenCurrentFile(folder.freqDir(), recorder.host(), messages),
            MasterListViewer::OpenResult::Opened);
  EXPECT_THAT(recorder.opened, ElementsAre("asia.320"));
  EXPECT_TRUE(messages.shown().empty());
}

TEST(MasterListViewerOpenFile, AMissingFileIsReported) {
  ProgramFolder folder;
  auto viewer = ViewerOf({{"6005", "X", "gone.320"}});
  OpenRecorder recorder;
  ScriptedMessageBoxes messages;
  EXPECT_EQ(viewer.OpenCurrentFile(folder.freqDir(), recorder.host(), messages),
            MasterListViewer::OpenResult::Failed);
  EXPECT_EQ(messages.lastMessage(), "gone.320 does not exist in the default frequency file directory.  Exiting...");
  EXPECT_TRUE(recorder.opened.empty());
}

TEST(MasterListViewerOpenFile, AnInvalidNameIsRefused) {
  ProgramFolder folder;
  WriteFileBytes(folder.dir() + "outside.320", "");
  for (const std::string name : {"", "../outside.320"}) {
    auto viewer = ViewerOf({{"6005", "X", name}});
    OpenRecorder recorder;
    ScriptedMessageBoxes messages;
    EXPECT_EQ(viewer.OpenCurrentFile(folder.freqDir(), recorder.host(), messages),
              MasterListViewer::OpenResult::Failed);
    EXPECT_EQ(messages.lastMessage(), "Invalid frequency file name.  Exiting...");
    EXPECT_TRUE(recorder.opened.empty());
  }
}

TEST(MasterListViewerOpenFile, NothingHappensDuringAFileScan) {
  ProgramFolder folder;
  WriteFileBytes(folder.freqDir() + "asia.320", "");
  auto viewer = ViewerOf({{"9580", "Radio Alba", "asia.320"}});
  OpenRecorder recorder;
  recorder.scanning = true;
  ScriptedMessageBoxes messages;
  EXPECT_EQ(viewer.OpenCurrentFile(folder.freqDir(), recorder.host(), messages),
            MasterListViewer::OpenResult::Refused);
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_TRUE(recorder.opened.empty());
}

}  // namespace
}  // namespace ondaris
