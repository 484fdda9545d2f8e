// The Reopen list: moving files to the top, SysFiles/Reopen.dat read and
// written, the ten menu items, and reopening an entry through the grid.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/AtomicFile.h"
#include "freqfiles/RecentFiles.h"
#include "support/StationListRig.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

std::vector<std::string> Entries(const RecentFileList& list) {
  return std::vector<std::string>(list.entries().begin(), list.entries().end());
}

std::vector<std::string> Padded(std::vector<std::string> entries) {
  entries.resize(RecentFileCount);
  return entries;
}

// ---- The list alone ----------------------------------------------------------

struct AddCase {
  const char* name;
  std::vector<std::string> adds;
  std::vector<std::string> entries;  // top first
  bool lastAddChanges;
};

TEST(RecentFileListTest, AddMovesToTheTopWithoutDuplicatesAndKeepsTen) {
  std::vector<std::string> eleven, tenFromEleven;
  for (int i = 1; i <= 11; ++i) eleven.push_back("/f" + std::to_string(i));
  for (int i = 11; i >= 2; --i) tenFromEleven.push_back("/f" + std::to_string(i));
  std::vector<std::string> tenthBack = eleven;
  tenthBack.push_back("/f2");  // the tenth entry comes back to the top
  const AddCase cases[] = {
      {"A B A", {"/A", "/B", "/A"}, {"/A", "/B"}, true},
      {"entry further down moves up", {"/5", "/4", "/3", "/2", "/1", "/4"}, {"/4", "/1", "/2", "/3", "/5"}, true},
      {"last entry moves up", {"/5", "/4", "/3", "/2", "/1", "/4", "/5"}, {"/5", "/4", "/1", "/2", "/3"}, true},
      {"top entry again", {"/a", "/b", "/b"}, {"/b", "/a"}, false},
      {"paths compare as texts", {"/f/a.320", "/f/../f/a.320"}, {"/f/../f/a.320", "/f/a.320"}, true},
      {"eleventh drops the oldest", eleven, tenFromEleven, true},
      {"tenth again", tenthBack, {"/f2", "/f11", "/f10", "/f9", "/f8", "/f7", "/f6", "/f5", "/f4", "/f3"}, true},
  };
  for (const AddCase& c : cases) {
    SCOPED_TRACE(c.name);
    RecentFileList list;
    for (std::size_t i = 0; i + 1 < c.adds.size(); ++i) list.Add(c.adds[i]);
    const RecentFileList before = list;
    EXPECT_EQ(list.Add(c.adds.back()), c.lastAddChanges);
    if (!c.lastAddChanges) EXPECT_EQ(list, before);
    EXPECT_EQ(Entries(list), Padded(c.entries));
  }
}

TEST(RecentFileListTest, ReopenDatIsTenCrLfLinesWithEmptySlotsAsEmptyLines) {
  RecentFileList list;
  list.Add("/f/b.320");
  list.Add("/f/a.320");
  EXPECT_EQ(list.ReopenDatText(), "/f/a.320\r\n/f/b.320\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
  EXPECT_EQ(RecentFileList::FromReopenDat(list.ReopenDatText()), list);
  EXPECT_EQ(RecentFileList().ReopenDatText(), "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

TEST(RecentFileListTest, ReadingReopenDatGivesTenEntries) {
  const struct {
    const char* label;
    std::string bytes;
    std::vector<std::string> entries;
  } cases[] = {
      {"empty file", "", {}},
      {"three lines", "/a.320\r\n/b.320\r\n/c.320\r\n", {"/a.320", "/b.320", "/c.320"}},
      {"no final line end", "/a.320\r\n/b.320", {"/a.320", "/b.320"}},
      {"LF ends", "/a.320\n\n/c.320\n", {"/a.320", "", "/c.320"}},
      {"gap in the middle", "/a.320\r\n\r\n\r\n/d.320\r\n", {"/a.320", "", "", "/d.320"}},
      {"twelve lines", "/1\r\n/2\r\n/3\r\n/4\r\n/5\r\n/6\r\n/7\r\n/8\r\n/9\r\n/10\r\n/11\r\n/12\r\n",
       {"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9", "/10"}},
      {"names with blanks", "/My Files/Asia list.320\r\n", {"/My Files/Asia list.320"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Entries(RecentFileList::FromReopenDat(c.bytes)), Padded(c.entries)) << c.label;
}

// ---- With the menu and the grid ------------------------------------------------------

class RecentFilesTest : public StationListFixture {
 protected:
  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (int i = 0; i < RecentFileCount; ++i) captions.push_back(panel[ReopenItem(i)].caption);
    return captions;
  }
  std::vector<bool> Enabled() const {
    std::vector<bool> enabled;
    for (int i = 0; i < RecentFileCount; ++i) enabled.push_back(panel[ReopenItem(i)].enabled);
    return enabled;
  }

  RecentFiles recent{ctx, files, dir};
};

TEST_F(RecentFilesTest, WithoutReopenDatAllTenItemsAreEmptyAndDisabledWithoutAMessage) {
  // Items left over from a previous state must be reset too.
  panel.setCaption(ReopenItem(3), "stale");
  recent.ReadReopenDat();
  EXPECT_EQ(Captions(), std::vector<std::string>(RecentFileCount));
  EXPECT_EQ(Enabled(), std::vector<bool>(RecentFileCount, false));
  EXPECT_THAT(messages.messages(), IsEmpty());
}

TEST_F(RecentFilesTest, AShortReopenDatGivesEmptyItemsForTheMissingLines) {
  WriteFileBytes(dir + "SysFiles/Reopen.dat", "/x/one.320\r\n/x/two.320\r\n");
  recent.ReadReopenDat();
  EXPECT_EQ(Captions(), Padded({"/x/one.320", "/x/two.320"}));
  std::vector<bool> enabled(RecentFileCount, false);
  enabled[0] = enabled[1] = true;
  EXPECT_EQ(Enabled(), enabled);
  // It is written back as ten lines.
  recent.WriteReopenDat();
  EXPECT_EQ(ReadWholeFile(dir + "SysFiles/Reopen.dat"),
            "/x/one.320\r\n/x/two.320\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

TEST_F(RecentFilesTest, ReopenDatRoundTripsByteForByte) {
  const std::string original =
      "/data/FreqFiles/asia.320\r\n\r\n/data/FreqFiles/europe.320\r\n\r\n\r\n\r\n\r\n\r\n\r\n/old/last.320\r\n";
  WriteFileBytes(dir + "SysFiles/Reopen.dat", original);
  recent.ReadReopenDat();
  EXPECT_EQ(recent.list()[2], "/data/FreqFiles/europe.320");
  EXPECT_FALSE(panel[ReopenItem(1)].enabled);
  EXPECT_TRUE(panel[ReopenItem(9)].enabled);
  fs::remove(dir + "SysFiles/Reopen.dat");
  recent.WriteReopenDat();
  EXPECT_EQ(ReadWholeFile(dir + "SysFiles/Reopen.dat"), original);
  // Writing into a missing folder throws.
  fs::remove_all(dir + "SysFiles");
  EXPECT_ANY_THROW(recent.WriteReopenDat());
}

TEST_F(RecentFilesTest, OpeningAFileEntersItAtTheTopOfTheMenu) {
  const std::string a = WriteList("a.320", {StationLine("A", "6.000000")});
  const std::string b = WriteList("b.320", {StationLine("B", "7.000000")});
  recent.BuildMenuItems();
  dialogs.chooseNext(a);
  files.LoadFileItemClick();
  dialogs.chooseNext(b);
  files.LoadFileItemClick();
  dialogs.chooseNext(a);
  files.LoadFileItemClick();
  EXPECT_EQ(Captions(), Padded({a, b}));
  EXPECT_TRUE(panel[ReopenItem(1)].enabled);
  EXPECT_FALSE(panel[ReopenItem(2)].enabled);
}

TEST_F(RecentFilesTest, SaveAsEntersTheNewName) {
  const std::string a = WriteList("a.320", {StationLine("A", "6.000000")});
  dialogs.chooseNext(a);
  files.LoadFileItemClick();
  const std::string copy = dir + "FreqFiles/copy.320";
  dialogs.chooseNext(copy);
  files.SaveFileAsItemClick();
  EXPECT_EQ(Entries(recent.list()), Padded({copy, a}));
  EXPECT_TRUE(fs::exists(copy));
}

TEST_F(RecentFilesTest, ReopenItemLoadsItsFileAndMovesItToTheTop) {
  const std::string a = WriteList("a.320", {StationLine("A", "6.000000")});
  const std::string b = WriteList("b.320", {StationLine("B1", "7.000000"), StationLine("B2", "7.100000")});
  recent.AddToRecentFiles(b);
  recent.AddToRecentFiles(a);
  recent.ReopenItemClick(1);
  EXPECT_EQ(state.LastFreqFile, "b.320");
  EXPECT_EQ(stations.list.RecordCount(), 2);
  EXPECT_EQ(stations.CellText(1, 2), "B1");
  EXPECT_EQ(Captions(), Padded({b, a}));
}

TEST_F(RecentFilesTest, TheTenItemsReopenTheirOwnEntries) {
  std::vector<std::string> paths;
  for (int i = 0; i < RecentFileCount; ++i)
    paths.push_back(WriteList("f" + std::to_string(i) + ".320", {StationLine("F" + std::to_string(i), "6.000000")}));
  for (auto it = paths.rbegin(); it != paths.rend(); ++it) recent.AddToRecentFiles(*it);
  ASSERT_EQ(Captions(), paths);
  EXPECT_TRUE(recent.ReopenItemClick(Ctl::Reopen10Item));
  EXPECT_EQ(state.LastFreqFile, "f9.320");
  EXPECT_TRUE(recent.ReopenItemClick(Ctl::Reopen3Item));  // f1 after the move
  EXPECT_EQ(state.LastFreqFile, "f1.320");
  EXPECT_EQ(recent.list()[0], paths[1]);
  EXPECT_EQ(recent.list()[1], paths[9]);
  EXPECT_FALSE(recent.ReopenItemClick(Ctl::ReopenMainItem));
}

TEST_F(RecentFilesTest, ReopeningTheTopFileLeavesTheMenuUntouched) {
  const std::string a = WriteList("a.320", {StationLine("A", "6.000000")});
  recent.AddToRecentFiles(a);
  int menuChanges = 0;
  panel.onChanged = [&](Ctl control) {
    for (int i = 0; i < RecentFileCount; ++i)
      if (control == ReopenItem(i)) ++menuChanges;
  };
  recent.ReopenItemClick(0);
  EXPECT_EQ(stations.list.RecordCount(), 1);
  EXPECT_EQ(menuChanges, 0);
  panel.onChanged = nullptr;
}

TEST_F(RecentFilesTest, AGoneFileIsReportedAndTheListAndMenuStay) {
  const std::string a = WriteList("a.320", {StationLine("A", "6.000000")});
  const std::string gone = dir + "FreqFiles/gone.320";
  recent.AddToRecentFiles(gone);
  recent.AddToRecentFiles(a);
  recent.ReopenItemClick(0);
  ASSERT_EQ(state.LastFreqFile, "a.320");
  recent.ReopenItemClick(1);
  EXPECT_THAT(messages.messages(), ElementsAre("Could not find the requested frequency file"));
  EXPECT_EQ(state.LastFreqFile, "a.320");
  EXPECT_EQ(stations.CellText(1, 2), "A");
  EXPECT_EQ(Captions(), Padded({a, gone}));
}

TEST_F(RecentFilesTest, ReopenAsksToSaveAChangedListFirst) {
  const std::string a = WriteList("a.320", {StationLine("A", "6.000000")});
  const std::string b = WriteList("b.320", {StationLine("B", "7.000000")});
  recent.AddToRecentFiles(b);
  recent.AddToRecentFiles(a);
  recent.ReopenItemClick(0);
  stations.list.Changed = true;
  messages.answerNext(true);
  recent.ReopenItemClick(1);
  EXPECT_THAT(messages.questions(), ElementsAre("Your frequency file has been changed.  Do you want to save it?"));
  EXPECT_EQ(state.LastFreqFile, "b.320");
  EXPECT_FALSE(stations.list.Changed);
}

TEST_F(RecentFilesTest, AnEmptyEntryAndAnIndexOutsideTheListDoNothing) {
  recent.ReopenItemClick(0);
  recent.ReopenItemClick(-1);
  recent.ReopenItemClick(10);
  EXPECT_THAT(messages.shown(), IsEmpty());
  EXPECT_EQ(stations.list.RecordCount(), 0);
}

TEST_F(RecentFilesTest, TheStartupReloadEntersTheLastFile) {
  const std::string a = WriteList("a.320", {StationLine("A", "6.000000")});
  state.LastFreqFile = "a.320";
  files.LoadLastFrequencyFile();
  EXPECT_EQ(recent.list()[0], a);
  EXPECT_EQ(panel[ReopenItem(0)].caption, a);
}

}  // namespace
}  // namespace ondaris
