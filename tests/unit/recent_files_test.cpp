// The Reopen list: moving files to the top, SysFiles/Reopen.dat read and
// written, the ten menu items, and reopening an entry through the grid.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "freqfiles/RecentFiles.h"
#include "support/StationListRig.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

Texts Entries(const RecentFileList& list) { return Texts(list.entries().begin(), list.entries().end()); }

Texts Padded(Texts entries) {
  entries.resize(RecentFileCount);
  return entries;
}

// ---- The list alone ----------------------------------------------------------

TEST(RecentFileListTest, AddMovesToTheTopWithoutDuplicatesAndKeepsTen) {
  Texts eleven, tenFromEleven;
  for (int i = 1; i <= 11; ++i) eleven.push_back("/f" + std::to_string(i));
  for (int i = 11; i >= 2; --i) tenFromEleven.push_back("/f" + std::to_string(i));
  Texts tenthBack = eleven;
  tenthBack.push_back("/f2");  // the tenth entry comes back to the top
  const struct {
    const char* name;
    Texts adds;
    Texts entries;  // top first
    bool lastAddChanges;
  } cases[] = {
      {"entry further down moves up", {"/5", "/4", "/3", "/2", "/1", "/4"}, {"/4", "/1", "/2", "/3", "/5"}, true},
      {"top entry again", {"/a", "/b", "/b"}, {"/b", "/a"}, false},
      {"paths compare as texts", {"/f/a.320", "/f/../f/a.320"}, {"/f/../f/a.320", "/f/a.320"}, true},
      {"eleventh drops the oldest", eleven, tenFromEleven, true},
      {"tenth again", tenthBack, {"/f2", "/f11", "/f10", "/f9", "/f8", "/f7", "/f6", "/f5", "/f4", "/f3"}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecentFileList list;
    for (std::size_t i = 0; i + 1 < c.adds.size(); ++i) list.Add(c.adds[i]);
    EXPECT_EQ(list.Add(c.adds.back()), c.lastAddChanges);
    EXPECT_EQ(Entries(list), Padded(c.entries));
  }
}

// Reopen.dat is written as ten CR LF lines (see the menu test); reading takes
// either line end and at most ten lines.
TEST(RecentFileListTest, ReadingReopenDatGivesTenEntries) {
  const std::pair<std::string, Texts> files[] = {
      {"", {}},
      {"/a.320\r\n/b.320", {"/a.320", "/b.320"}},  // no final line end
      {"/a.320\n\n/c.320\n", {"/a.320", "", "/c.320"}},
      {"/1\r\n/2\r\n/3\r\n/4\r\n/5\r\n/6\r\n/7\r\n/8\r\n/9\r\n/10\r\n/11\r\n/12\r\n",
       {"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9", "/10"}},
      {"/My Files/Asia list.320\r\n", {"/My Files/Asia list.320"}},
  };
  for (const auto& [bytes, entries] : files)
    EXPECT_EQ(Entries(RecentFileList::FromReopenDat(bytes)), Padded(entries)) << bytes;
}

// ---- With the menu and the grid ------------------------------------------------------

class RecentFilesTest : public StationListFixture {
 protected:
  Texts Captions() const {
    Texts captions;
    for (int i = 0; i < RecentFileCount; ++i) captions.push_back(panel[ReopenItem(i)].caption);
    return captions;
  }
  std::vector<bool> Enabled() const {
    std::vector<bool> enabled;
    for (int i = 0; i < RecentFileCount; ++i) enabled.push_back(panel[ReopenItem(i)].enabled);
    return enabled;
  }
  std::string A() const { return WriteList("a.320", {StationLine("A", "6.000000")}); }

  RecentFiles recent{ctx, files, dir};
};

TEST_F(RecentFilesTest, ReopenDatFillsTheTenItemsAndIsWrittenBackByteForByte) {
  // Without the file every item is empty and disabled, without a message;
  // items left over from a previous state are reset too.
  panel.setCaption(ReopenItem(3), "stale");
  recent.ReadReopenDat();
  EXPECT_EQ(Captions(), Texts(RecentFileCount));
  EXPECT_EQ(Enabled(), std::vector<bool>(RecentFileCount, false));
  EXPECT_TRUE(messages.shown().empty());

  const std::string reopenDat = dir + "SysFiles/Reopen.dat";
  WriteFileBytes(reopenDat, "/data/asia.320\r\n\r\n/data/europe.320\r\n");
  recent.ReadReopenDat();
  EXPECT_EQ(Captions(), Padded({"/data/asia.320", "", "/data/europe.320"}));
  EXPECT_EQ(Enabled(), (std::vector<bool>{true, false, true, false, false, false, false, false, false, false}));
  fs::remove(reopenDat);
  recent.WriteReopenDat();
  EXPECT_EQ(ReadWholeFile(reopenDat), "/data/asia.320\r\n\r\n/data/europe.320\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");

  // A Reopen.dat that cannot be read is raised and leaves the items empty.
  fs::remove(reopenDat);
  fs::create_directory(reopenDat);
  EXPECT_THROW(recent.ReadReopenDat(), FileError);
  EXPECT_EQ(Captions(), Texts(RecentFileCount));
  // Writing into a missing folder throws.
  fs::remove_all(dir + "SysFiles");
  EXPECT_ANY_THROW(recent.WriteReopenDat());
}

TEST_F(RecentFilesTest, LoadingSavingAsAndTheStartupReloadEnterTheFileAtTheTop) {
  const std::string a = A();
  const std::string b = WriteList("b.320", {StationLine("B", "7.000000")});
  state.LastFreqFile = "a.320";
  files.LoadLastFrequencyFile();
  EXPECT_EQ(Captions(), Padded({a}));
  for (const std::string& path : {b, a}) {
    dialogs.chooseNext(path);
    files.LoadFileItemClick();
  }
  EXPECT_EQ(Captions(), Padded({a, b}));
  EXPECT_TRUE(Enabled()[1] && !Enabled()[2]);
  const std::string copy = dir + "FreqFiles/copy.320";
  dialogs.chooseNext(copy);
  files.SaveFileAsItemClick();
  EXPECT_EQ(Entries(recent.list()), Padded({copy, a, b}));
  EXPECT_TRUE(fs::exists(copy));
}

TEST_F(RecentFilesTest, TheTenItemsReopenTheirOwnEntriesAndMoveThemToTheTop) {
  Texts paths;
  for (int i = 0; i < RecentFileCount; ++i)
    paths.push_back(WriteList("f" + std::to_string(i) + ".320", {StationLine("F" + std::to_string(i), "6.000000")}));
  for (auto it = paths.rbegin(); it != paths.rend(); ++it) recent.AddToRecentFiles(*it);
  ASSERT_EQ(Captions(), paths);
  EXPECT_TRUE(recent.ReopenItemClick(Ctl::Reopen10Item));
  EXPECT_EQ(state.LastFreqFile + "|" + stations.CellText(1, 2), "f9.320|F9");
  EXPECT_EQ(stations.list.RecordCount(), 1);
  EXPECT_TRUE(recent.ReopenItemClick(Ctl::Reopen3Item));  // f1 after the move
  EXPECT_EQ(state.LastFreqFile, "f1.320");
  EXPECT_EQ(Captions()[0] + Captions()[1], paths[1] + paths[9]);
  EXPECT_FALSE(recent.ReopenItemClick(Ctl::ReopenMainItem));

  // Reopening the top file loads it again and leaves the menu untouched.
  int menuChanges = 0;
  panel.onChanged = [&](Ctl control) {
    for (int i = 0; i < RecentFileCount; ++i) menuChanges += control == ReopenItem(i);
  };
  stations.list.Changed = true;
  messages.answerNext(true);
  recent.ReopenItemClick(0);
  panel.onChanged = nullptr;
  EXPECT_EQ(menuChanges, 0);
  EXPECT_EQ(messages.questions(), Texts{"Your frequency file has been changed.  Do you want to save it?"});
  EXPECT_FALSE(stations.list.Changed);
}

TEST_F(RecentFilesTest, AGoneFileIsReportedAndAnEmptyOrMissingEntryIgnored) {
  for (int index : {0, -1, 10}) recent.ReopenItemClick(index);
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(stations.list.RecordCount(), 0);

  const std::string a = A();
  const std::string gone = dir + "FreqFiles/gone.320";
  recent.AddToRecentFiles(gone);
  recent.AddToRecentFiles(a);
  recent.ReopenItemClick(0);
  recent.ReopenItemClick(1);
  EXPECT_EQ(messages.messages(), Texts{"Could not find the requested frequency file"});
  EXPECT_EQ(state.LastFreqFile + "|" + stations.CellText(1, 2), "a.320|A");
  EXPECT_EQ(Captions(), Padded({a, gone}));
}

}  // namespace
}  // namespace ondaris
