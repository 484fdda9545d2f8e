// The master frequency list: the generator over a folder of frequency files,
// the list file itself, the conversion of the older comma-separated form, the
// lookup near a frequency, and the viewer's sorts, Find-Sort and Open File.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "freqfiles/MasterList.h"
#include "freqfiles/MasterListViewer.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/StationLine.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using Strings = std::vector<std::string>;

const std::string kMasterName = "Master320FrequencyList.txt";

// A fresh program folder with Export and FreqFiles, removed afterwards.
class MasterListTest : public ::testing::Test {
 protected:
  MasterListTest() {
    fs::create_directory(folder.path() / "Export");
    fs::create_directory(folder.path() / "FreqFiles");
  }
  std::string exportFile(const std::string& name) const { return dir + "Export/" + name; }
  void WriteFreqFile(const std::string& name, const std::string& bytes) const { WriteFileBytes(freqDir + name, bytes); }
  GeneratorResult Generate(const std::string& from, char separator = '.') {
    return GenerateMasterList(dir, from, separator, messages);
  }
  std::string Master() const { return ReadFileBytes(exportFile(kMasterName)); }

  TempFolder folder;
  std::string dir = folder.dir();
  std::string freqDir = dir + "FreqFiles/";
  ScriptedMessageBoxes messages;
};

// ---- Generator ---------------------------------------------------------------

TEST_F(MasterListTest, TheGeneratorGathersEveryFrequencyFileInNameOrderAndSkipsDamagedLines) {
  WriteFreqFile("b.320", StationLine("A Very Long Station Name Indeed", "6.005000") + "\r\n");
  WriteFreqFile("a.320", StationLine("Radio Alba", "9.580000") + "\r\n\"Broken,5.1\r\n" + StationLine("Bad", "abc") +
                             "\r\n\r\n" + StationLine("Beacon", "0.153000") + "\r\n");
  WriteFreqFile("A2.320", StationLine("Utility", "14.230500") + "\n");  // LF only
  WriteFreqFile("notes.txt", StationLine("Not Listed", "1.000000") + "\r\n");
  fs::create_directory(freqDir + "folder.320");
  // Again over the list it wrote, without the trailing slash and under a comma locale.
  const std::pair<std::string, char> runs[] = {{freqDir, '.'}, {freqDir, '.'}, {dir + "FreqFiles", ','}};
  for (const auto& [from, separator] : runs) {
    const GeneratorResult result = Generate(from, separator);
    EXPECT_TRUE(result.written);
    EXPECT_EQ((std::vector<std::size_t>{result.filesRead, result.entriesWritten, result.linesSkipped}),
              (std::vector<std::size_t>{3, 4, 3}));
    EXPECT_EQ(Master(),
              "9580\tRadio Alba\ta.320\r\n153\tBeacon\ta.320\r\n14230.5\tUtility\tA2.320\r\n"
              "6005\tA Very Long Station \tb.320\r\n");
  }
  // The skipped lines are not reported one by one.
  const std::string start = "Generating Master Frequency List:  Places all entries from the *.320 files in your "
                            "Frequency File directory into Export\\Master320FrequencyList.txt";
  const std::string done = "Done processing files.  The result is in Export\\Master320FrequencyList.txt";
  EXPECT_THAT(messages.messages(), ElementsAre(start, done, start, done, start, done));
  for (const char* name : {"B.320", "a10.320", "_x.320", "Z.320"}) WriteFreqFile(name, "");
  EXPECT_THAT(FrequencyFilesIn(freqDir),
              ElementsAre("_x.320", "a.320", "a10.320", "A2.320", "B.320", "b.320", "Z.320"));
}

// Without frequency files the old list stays; a list that cannot be written
// throws after the announcement only.
TEST_F(MasterListTest, WithoutFrequencyFilesOrAWritableListTheGeneratorKeepsTheOldList) {
  WriteFileBytes(exportFile(kMasterName), "9580\tOld\told.320\r\n");
  WriteFreqFile("readme.txt", "nothing here");
  const std::string missing = dir + "Elsewhere/";
  EXPECT_FALSE(Generate(freqDir).written || Generate(missing).written);
  EXPECT_THAT(messages.messages(),
              ElementsAre(::testing::_, "No *.320 files were found in the " + freqDir + " directory.", ::testing::_,
                          "No *.320 files were found in the " + missing + " directory."));
  EXPECT_EQ(Master(), "9580\tOld\told.320\r\n");
  WriteFreqFile("a.320", StationLine("Radio Alba", "9.580000") + "\r\n");
  fs::remove_all(dir + "Export");  // nowhere to write
  EXPECT_THROW(Generate(freqDir), FileError);
  EXPECT_EQ(messages.messages().size(), 5u);
}

// ---- The list file -------------------------------------------------------------

TEST_F(MasterListTest, TheListFileRoundTripsAndSplitsOnTabs) {
  EXPECT_FALSE(ReadMasterList(dir).has_value());
  const std::vector<MasterListEntry> entries = {
      {"9580", "Radio Alba", "a.320"}, {"14230.5", "Voice of A, B", "b.320"}, {"153", "", "c.320"}};
  WriteMasterList(dir, entries);
  EXPECT_EQ(Master(), "9580\tRadio Alba\ta.320\r\n14230.5\tVoice of A, B\tb.320\r\n153\t\tc.320\r\n");
  EXPECT_EQ(ReadMasterList(dir), entries);
  // Field separators inside a field become blanks.
  EXPECT_EQ(FormatMasterListLine({"9580", "Tab\there", "a\r\n.320"}), "9580\tTab here\ta  .320");

  const std::pair<std::string, MasterListEntry> lines[] = {
      {"9580\t\ta.320", {"9580", "", "a.320"}},        {"\tNo Freq\ta.320", {"", "No Freq", "a.320"}},
      {"9580\tOnly Station", {"9580", "Only Station", ""}}, {"9580", {"9580", "", ""}},
      {"", {"", "", ""}},                                {"9580\tA\tb.320\textra", {"9580", "A", "b.320"}}};
  for (const auto& [line, expected] : lines) EXPECT_EQ(ParseMasterListLine(line), expected) << line;
}

// ---- Conversion of the older form ----------------------------------------------

TEST_F(MasterListTest, TheOlderFormIsConvertedOnceAtStartUp) {
  const std::pair<std::string, std::string> lines[] = {
      {R"("6005","Voice of A, B","b.320")", "6005\tVoice of A, B\tb.320"},
      {"153,Beacon,c.320", "153\tBeacon\tc.320"},
      {R"(153,,c.320)", "153\t\tc.320"},
      {R"("open, never closed)", "open, never closed"}};
  for (const auto& [csv, tabs] : lines) EXPECT_EQ(OlderMasterLineToTabs(csv), tabs) << csv;

  EXPECT_FALSE(ConvertMasterListToTabs(dir, messages));  // nothing to convert
  const std::string csv = "\"9580\",\"Radio Alba\",\"a.320\"\r\n\"6005\",\"Voice of A, B\",\"b.320\"\r\n";
  WriteFileBytes(exportFile("Master320FrequencyList.csv"), csv);
  EXPECT_TRUE(ConvertMasterListToTabs(dir, messages));
  EXPECT_EQ(Master(), "9580\tRadio Alba\ta.320\r\n6005\tVoice of A, B\tb.320\r\n");
  EXPECT_EQ(ReadFileBytes(exportFile("Master320FrequencyList.bak")), csv);
  EXPECT_FALSE(FileExists(exportFile("Master320FrequencyList.csv")));
  EXPECT_THAT(messages.messages(),
              ElementsAre("Your Master Frequency file is being converted to a tab-delimited text file.\n"
                          "Storing a backup copy as 'Master320FrequencyList.bak' in the Export directory.",
                          "Your file, Export\\Master320FrequencyList.csv, has been converted to \n"
                          "the V1.1 format, saved as Export\\Master320FrequencyList.txt\n\n"
                          "You can now delete Export\\Master320FrequencyList.csv"));
  // With the new list present an older one is left alone.
  messages.clear();
  WriteFileBytes(exportFile("Master320FrequencyList.csv"), "\"1\",\"x\",\"y.320\"\r\n");
  fs::remove(exportFile("Master320FrequencyList.bak"));
  EXPECT_FALSE(ConvertMasterListToTabs(dir, messages));
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_TRUE(FileExists(exportFile("Master320FrequencyList.csv")) &&
              !FileExists(exportFile("Master320FrequencyList.bak")));
  EXPECT_EQ(Master(), "9580\tRadio Alba\ta.320\r\n6005\tVoice of A, B\tb.320\r\n");
}

// ---- Lookup (the edges and the short line: lookup_test) ------------------------

TEST_F(MasterListTest, TheLookupReadsTheProgramFoldersListAndShowsTheLocaleSeparator) {
  EXPECT_FALSE(LookupMasterList(dir, 9580.0, '.').has_value());
  WriteFileBytes(exportFile(kMasterName), "9582.5\tA\ta.320\r\n\t9580\tno frequency\r\nabcde\tX\tc.320\r\n");
  const auto matches = LookupMasterList(dir, 9580.0, ',');
  ASSERT_TRUE(matches.has_value() && matches->size() == 1u);
  EXPECT_EQ((*matches)[0].freq + "|" + (*matches)[0].station + "|" + (*matches)[0].file, "9582,5|A|a.320");
}

// ---- Viewer --------------------------------------------------------------------

MasterListViewer ViewerOf(const std::vector<MasterListEntry>& entries) {
  MasterListViewer viewer;
  viewer.Load(entries);
  return viewer;
}
// The stations of the lines, or of the lines Find-Sort marked.
Strings Stations(const MasterListViewer& viewer, bool markedOnly = false) {
  Strings out;
  for (const auto& line : viewer.Lines())
    if (line.matched || !markedOnly) out.push_back(line.station);
  return out;
}
Strings Marked(const MasterListViewer& viewer) { return Stations(viewer, true); }

TEST_F(MasterListTest, TheViewerOpensTheListOrSaysWhyNot) {
  MasterListViewer viewer(',');
  EXPECT_FALSE(viewer.Open(dir, messages));  // missing
  WriteFileBytes(exportFile(kMasterName), "");
  EXPECT_FALSE(viewer.Open(dir, messages));
  WriteFileBytes(exportFile(kMasterName), "9580\tRadio Alba\ta.320\r\n14230.5\tUtility\tb.320\r\n");
  ASSERT_TRUE(viewer.Open(dir, messages));
  EXPECT_THAT(messages.messages(),
              ElementsAre("The Master Frequency List file appears to be missing.  Regenerate it by clicking the "
                          "'Master Frequency List Generator' from the Tools menu.",
                          "The Master Frequency List file is empty.  Exiting..."));
  ASSERT_EQ(viewer.LineCount(), 2u);
  EXPECT_EQ(viewer.CellText(1, MasterColumn::Frequency) + "|" + viewer.CellText(1, MasterColumn::Station) + "|" +
                viewer.CellText(1, MasterColumn::File),
            "14230,5|Utility|b.320");
  EXPECT_EQ(viewer.LineAt(1).freqValue, 14230.5);
  EXPECT_EQ(viewer.CellText(5, MasterColumn::Station), "");
  viewer.Close();
  EXPECT_EQ(viewer.LineCount(), 0u);
}

TEST(MasterListViewerSort, EachColumnSortsWithItsTies) {
  const struct {
    MasterColumn column;
    std::vector<MasterListEntry> entries;
    Strings expected;
  } cases[] = {
      // As numbers, then file, then station.
      {MasterColumn::Frequency,
       {{"10000", "Ten", "z.320"}, {"9580", "Beta", "b.320"}, {"9580", "Alpha", "b.320"}, {"9580", "Gamma", "a.320"},
        {"", "Empty", "e.320"}, {"153", "Beacon", "c.320"}},
       {"Empty", "Beacon", "Gamma", "Alpha", "Beta", "Ten"}},
      // Equal numbers written differently stay in place.
      {MasterColumn::Frequency, {{"9580.0", "Zulu", "a.320"}, {"9580", "Alpha", "a.320"}}, {"Zulu", "Alpha"}},
      // Case counting, then by frequency, then file.
      {MasterColumn::Station,
       {{"9580", "radio b", "a.320"}, {"9580", "Radio Alba", "b.320"}, {"6005", "Radio Alba", "c.320"},
        {"6005", "Radio Alba", "a.320"}, {"7000", "RADIO X", "a.320"}},
       {"RADIO X", "Radio Alba/6005/a.320", "Radio Alba/6005/c.320", "Radio Alba/9580/b.320", "radio b"}},
      // By name, then frequency, then station.
      {MasterColumn::File,
       {{"9580", "B", "b.320"}, {"10000", "A", "a.320"}, {"9580", "Z", "a.320"}, {"9580", "Y", "a.320"},
        {"1", "C", "B.320"}},
       {"C", "Y", "Z", "A", "B"}},
  };
  for (const auto& c : cases) {
    auto viewer = ViewerOf(c.entries);
    viewer.SortByColumn(c.column);
    Strings keys;
    for (const auto& line : viewer.Lines())
      keys.push_back(line.station == "Radio Alba" ? line.station + "/" + line.freq + "/" + line.file : line.station);
    EXPECT_EQ(keys, c.expected) << static_cast<int>(c.column);
  }
}

TEST(MasterListViewerSort, AMouseUpClearsTheMarksAndSortsOnlyInsideAHeaderZone) {
  const std::array<int, MasterColumnCount> widths{100, 120, 180};
  const std::pair<int, std::optional<MasterColumn>> zones[] = {
      {0, std::nullopt},   {6, std::nullopt},   {7, MasterColumn::Frequency}, {95, MasterColumn::Frequency},
      {96, std::nullopt},  {107, std::nullopt}, {108, MasterColumn::Station}, {216, MasterColumn::Station},
      {217, std::nullopt}, {228, std::nullopt}, {229, MasterColumn::File},    {397, MasterColumn::File},
      {398, std::nullopt}, {900, std::nullopt}};
  for (const auto& [x, column] : zones) EXPECT_EQ(MasterListViewer::HeaderZoneAt(x, widths), column) << x;

  auto viewer = ViewerOf({{"9580", "B", "b.320"}, {"153", "A", "a.320"}});
  ASSERT_EQ(viewer.FindSort("B", true), 1u);
  EXPECT_FALSE(viewer.GridMouseUp(50, 30, widths, 20));  // a row, not the header
  EXPECT_EQ(viewer.MatchCount(), 0u);
  EXPECT_FALSE(viewer.GridMouseUp(101, 5, widths, 20));  // a border
  EXPECT_THAT(Stations(viewer), ElementsAre("B", "A"));
  viewer.topLine = 1;
  EXPECT_TRUE(viewer.GridMouseUp(50, 5, widths, 20));
  EXPECT_THAT(Stations(viewer), ElementsAre("A", "B"));
  EXPECT_EQ(viewer.topLine, 0u);
}

TEST(MasterListViewerFindSort, MatchesComeFirstByStationThenFrequency) {
  auto viewer = ViewerOf({{"6005", "Deutsche Welle", "europe.320"},
                          {"9580", "Radio Alba", "asia.320"},
                          {"7000", "RADIO X", "misc.320"},
                          {"11000", "Beacon", "utility.320"},
                          {"5000", "Radio Alba", "africa.320"}});
  const Strings before = Stations(viewer);
  EXPECT_EQ(viewer.FindSort("nothing like it", false), 0u);
  EXPECT_EQ(Stations(viewer), before);
  EXPECT_EQ(viewer.FindSort("radio", true), 0u);  // match case compares exactly
  EXPECT_EQ(viewer.FindSort("RADIO", true), 1u);
  EXPECT_THAT(Marked(viewer), ElementsAre("RADIO X"));
  EXPECT_EQ(viewer.FindSort("utility", false), 1u);  // the file name counts too
  EXPECT_THAT(Marked(viewer), ElementsAre("Beacon"));
  EXPECT_EQ(viewer.FindSort("beacons", false), 0u);  // no more than the field
  viewer.currentLine = 3;
  viewer.topLine = 2;
  EXPECT_EQ(viewer.FindSort("radio", false), 3u);
  EXPECT_THAT(Stations(viewer), ElementsAre("RADIO X", "Radio Alba", "Radio Alba", "Beacon", "Deutsche Welle"));
  EXPECT_EQ(viewer.LineAt(1).freq + " " + viewer.LineAt(2).freq, "5000 9580");
  EXPECT_THAT(Marked(viewer), ElementsAre("RADIO X", "Radio Alba", "Radio Alba"));
  EXPECT_EQ(viewer.currentLine + viewer.topLine, 0u);
  EXPECT_EQ(viewer.FindSort("958", false), 1u);  // and the frequency
  EXPECT_EQ(viewer.LineAt(0).freq, "9580");
  EXPECT_EQ(viewer.FindSort("", false), 0u);  // clears the marks, moves nothing
  EXPECT_TRUE(Marked(viewer).empty() && viewer.LineAt(0).freq == "9580");
}

// ---- Open File -----------------------------------------------------------------

TEST_F(MasterListTest, OpenFileHandsOverTheFileOfTheCurrentLineOrSaysWhyNot) {
  WriteFreqFile("asia.320", StationLine("Radio Alba", "9.580000") + "\r\n");
  WriteFileBytes(dir + "outside.320", "");
  bool scanning = false;
  Strings opened;
  const MasterListOpenHost host{[&] { return scanning; }, [&](const std::string& name) { opened.push_back(name); }};
  const std::string gone = "gone.320 does not exist in the default frequency file directory.  Exiting...";
  const std::string invalid = "Invalid frequency file name.  Exiting...";
  using Result = MasterListViewer::OpenResult;
  const struct {
    std::string file;  // of the current line, the second
    bool scanning;
    Result result;
    Strings messages;
  } cases[] = {{"gone.320", false, Result::Failed, {gone}},
               {"", false, Result::Failed, {invalid}},
               {"../outside.320", false, Result::Failed, {invalid}},
               {"asia.320", true, Result::Refused, {}},
               {"asia.320", false, Result::Opened, {}}};
  for (const auto& c : cases) {
    messages.clear();
    scanning = c.scanning;
    auto viewer = ViewerOf({{"6005", "X", "gone.320"}, {"9580", "Radio Alba", c.file}});
    viewer.currentLine = 1;
    EXPECT_EQ(viewer.OpenCurrentFile(freqDir, host, messages), c.result) << c.file;
    EXPECT_EQ(messages.messages(), c.messages) << c.file;
  }
  EXPECT_THAT(opened, ElementsAre("asia.320"));
}

}  // namespace
}  // namespace ondaris
