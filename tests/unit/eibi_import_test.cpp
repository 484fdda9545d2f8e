// File > Import EiBi Schedule... over the panel's fakes: the chosen schedule's
// stations join the list the way Append adds a file's, filtered by the
// options dialog; refusals, cancels and unreadable files leave the list.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "freqfiles/EibiImport.h"
#include "support/StationListRig.h"

namespace ondaris {
namespace {

using Names = std::vector<std::string>;

const std::string Schedule =
    "kHz:75;Time(UTC):93;Days:59;ITU:49;Station:201;Lng:49;Target:62;Remarks:135;P:35;Start:60;Stop:60;\r\n"
    "5005;0000-2400;;GNE;Radio Nacional;S;WAf;;1;;\r\n"
    "9580;0800-1200;Mo-Fr;AUS;Radio Alba;E;Pac;/NZL;1;;\r\n"
    "6030;2200-0200;;USA;Night Owl;E;NAm;;1;;\r\n"
    "11175;0000-2400;USB;USA;Andrews VOLMET;E;NAm;;1;;\r\n";
const std::string Loaded = R"("Coast Guard",14.230500,USB,2400,1,1000,-150,"Harbour","English","0000","2400","",0,1)";

struct ImportCase {
  const char* what;
  bool withLoadedFile;
  std::string schedule;
  bool onAir, range;
  const char *from, *to;
  int utcHour;
  Names names;          // the list afterwards, in order
  Names messages;       // shown once each, in order
};

// The import over a station list.
struct EibiImportRig : StationListRig {
  EibiImportRig() {
    import.show = [this](EibiImport& dialog) {
      ++shown;
      if (answer) answer(dialog);
    };
  }

  // Chooses a schedule file with these bytes and presses OK with the options
  // (Cancel after a refusal).
  void Import(const std::string& bytes, bool onAir = false, bool range = false, const char* from = "",
              const char* to = "") {
    WriteFileBytes(folder.file("sked.csv"), bytes);
    dialogs.chooseNext(folder.file("sked.csv"));
    answer = [=, this](EibiImport& d) {
      d.OnAirOnly = onAir, d.RangeOnly = range, d.FromEdit = from, d.ToEdit = to;
      closed = d.OKBtnClick();
      if (!closed) d.CancelBtnClick();
    };
    import.ImportEibiItemClick();
  }
  void LoadOne() { Load({Loaded}, "A.320"); }

  EibiImport import{ctx, files, dialogs};
  std::function<void(EibiImport&)> answer;
  int shown = 0;
  bool closed = false;
};

class EibiImportTest : public ::testing::TestWithParam<ImportCase>, public EibiImportRig {};
class EibiImportDialogTest : public ::testing::Test, public EibiImportRig {};

TEST_P(EibiImportTest, AddsTheChosenStationsAsAppendDoes) {
  const ImportCase& c = GetParam();
  if (c.withLoadedFile) LoadOne();
  const bool addsSome = c.names.size() > (c.withLoadedFile ? 1u : 0u);
  clock.setUtc({2026, 3, 7, c.utcHour, 0, 0});
  Import(c.schedule, c.onAir, c.range, c.from, c.to);
  EXPECT_TRUE(closed);
  EXPECT_EQ(RowNames(), c.names);
  EXPECT_EQ(messages.messages(), c.messages);
  EXPECT_EQ(stations.list.Changed, addsSome);
  EXPECT_EQ(stations.list.RowOrder.size(), c.names.size());
  if (addsSome) {
    EXPECT_TRUE(panel[Ctl::SaveFileItem].enabled);
    EXPECT_TRUE(panel[Ctl::Grid].enabled);
    // Unnamed like an appended list: Save asks for a name.
    EXPECT_EQ(state.LastFreqFile, "");
    EXPECT_EQ(panel[Ctl::StatusPanel].caption, ":  " + std::to_string(c.names.size()) + " records");
    EXPECT_EQ(panel[Ctl::FileOpBtn1].colour, Colour::Maroon);
  }
}

const Names All = {"Radio Nacional", "Radio Alba", "Night Owl", "Andrews VOLMET"};

INSTANTIATE_TEST_SUITE_P(
    Cases, EibiImportTest,
    ::testing::Values(
        ImportCase{"IntoEmpty", false, Schedule, false, false, "", "", 9, All, {}},
        ImportCase{"BehindLoaded", true, Schedule, false, false, "", "", 9,
                   {"Coast Guard", "Radio Nacional", "Radio Alba", "Night Owl", "Andrews VOLMET"}, {}},
        ImportCase{"OnAirMorning", false, Schedule, true, false, "", "", 9,
                   {"Radio Nacional", "Radio Alba", "Andrews VOLMET"}, {}},
        ImportCase{"Range", false, Schedule, false, true, "6000", " 9580 ", 9, {"Radio Alba", "Night Owl"}, {}},
        ImportCase{"RangeAndOnAir", true, Schedule, true, true, "5000", "10000", 23,
                   {"Coast Guard", "Radio Nacional", "Night Owl"}, {}},
        ImportCase{"NothingMatches", true, Schedule, false, true, "20000", "21000", 9, {"Coast Guard"},
                   {EibiNoMatchMessage}},
        ImportCase{"BadLinesOnce", false,
                   Schedule + "abc;0800-0900;;X;Bad;E;X;;1;;\r\n9600;0800-0900;;X;Short\r\n"
                              "9610;2500-0100;;X;Late;E;X;;1;;\r\n",
                   false, false, "", "", 9, All,
                   {"3 lines of the schedule could not be read and were skipped (the first is line 6)."}},
        ImportCase{"HeaderOnly", false, Schedule.substr(0, Schedule.find('\n') + 1), false, false, "", "", 9, {},
                   {"Aborting:  Empty file - sked.csv"}}),
    [](const auto& info) { return std::string(info.param.what); });

// A typed range that is refused keeps the dialog open; cancelling either
// dialog, or a schedule that cannot be opened or is empty, leaves the list;
// the options dialog only comes for a readable file.
TEST_F(EibiImportDialogTest, RefusalsCancelsAndUnreadableFilesLeaveTheList) {
  LoadOne();
  const char* ranges[][2] = {{"abc", "100"}, {"9000", ""}, {"10000", "9000"}, {"-5", "100"}};
  for (const auto& range : ranges) {
    messages.clear();
    Import(Schedule, false, true, range[0], range[1]);
    EXPECT_FALSE(closed) << range[0] << " " << range[1];
    EXPECT_EQ(messages.messages(), Names{EibiRangeRefusedMessage});
  }
  messages.clear();
  shown = 0;
  dialogs.cancelNext();
  import.ImportEibiItemClick();
  dialogs.chooseNext(folder.file("sked.csv"));
  answer = [](EibiImport& d) { d.CancelBtnClick(); };
  import.ImportEibiItemClick();
  EXPECT_EQ(shown, 1);

  WriteFileBytes(folder.file("empty.csv"), "");
  for (const char* name : {"missing.csv", "FreqFiles", "empty.csv"}) {
    dialogs.chooseNext(folder.file(name));
    import.ImportEibiItemClick();
  }
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(messages.messages(), (Names{"Could not open the schedule missing.csv.",
                                        "Could not open the schedule FreqFiles.", "Aborting:  Empty file - empty.csv"}));
  EXPECT_EQ(RowNames(), Names{"Coast Guard"});
  EXPECT_FALSE(stations.list.Changed);
  EXPECT_EQ(state.LastFreqFile, "A.320");

  // Not while a file scan walks the rows.
  ctx.scan.ScanState = 1;
  import.ImportEibiItemClick();
  EXPECT_EQ(dialogs.shown().size(), 9u);
}

}  // namespace
}  // namespace ondaris
