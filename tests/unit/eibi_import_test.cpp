// File > Import EiBi Schedule... over the panel's fakes: the chosen schedule's
// stations join the list the way Append adds a file's, filtered by the
// options dialog; refusals, cancels and unreadable files leave the list.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
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

class EibiImportDialogTest : public ::testing::Test, public EibiImportRig {};

TEST(EibiImport, AddsTheChosenStationsAsAppendDoes) {
  const Names all = {"Radio Nacional", "Radio Alba", "Night Owl", "Andrews VOLMET"};
  const std::string badLines = "abc;0800-0900;;X;Bad;E;X;;1;;\r\n9600;0800-0900;;X;Short\r\n"
                               "9610;2500-0100;;X;Late;E;X;;1;;\r\n";
  const struct {
    bool withLoadedFile;
    std::string schedule;
    bool onAir, range;
    const char *from, *to;
    int utcHour;
    Names names;     // the list afterwards, in order
    Names messages;  // shown once each, in order
  } cases[] = {
      {false, Schedule, false, false, "", "", 9, all, {}},
      {true, Schedule, false, false, "", "", 9, {"Coast Guard", "Radio Nacional", "Radio Alba", "Night Owl",
                                                 "Andrews VOLMET"}, {}},
      {false, Schedule, true, false, "", "", 9, {"Radio Nacional", "Radio Alba", "Andrews VOLMET"}, {}},
      {false, Schedule, false, true, "6000", " 9580 ", 9, {"Radio Alba", "Night Owl"}, {}},
      {true, Schedule, true, true, "5000", "10000", 23, {"Coast Guard", "Radio Nacional", "Night Owl"}, {}},
      {true, Schedule, false, true, "20000", "21000", 9, {"Coast Guard"}, {EibiNoMatchMessage}},
      {false, Schedule + badLines, false, false, "", "", 9, all,
       {"3 lines of the schedule could not be read and were skipped (the first is line 6)."}},
      {false, Schedule.substr(0, Schedule.find('\n') + 1), false, false, "", "", 9, {},
       {"Aborting:  Empty file - sked.csv"}}};  // the header only
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.withLoadedFile << c.onAir << c.range << c.from << "-" << c.to);
    EibiImportRig rig;
    if (c.withLoadedFile) rig.LoadOne();
    const bool addsSome = c.names.size() > (c.withLoadedFile ? 1u : 0u);
    rig.clock.setUtc({2026, 3, 7, c.utcHour, 0, 0});
    rig.Import(c.schedule, c.onAir, c.range, c.from, c.to);
    EXPECT_TRUE(rig.closed);
    EXPECT_EQ(rig.RowNames(), c.names);
    EXPECT_EQ(rig.messages.messages(), c.messages);
    EXPECT_EQ(rig.stations.list.Changed, addsSome);
    EXPECT_EQ(rig.stations.list.RowOrder.size(), c.names.size());
    // Unnamed like an appended list (Save asks for a name), Save and the grid enabled.
    if (addsSome) {
      EXPECT_EQ(std::tuple(rig[Ctl::SaveFileItem].enabled, rig[Ctl::Grid].enabled, rig.state.LastFreqFile,
                           rig[Ctl::StatusPanel].caption, rig[Ctl::FileOpBtn1].colour),
                std::tuple(true, true, "", ":  " + std::to_string(c.names.size()) + " records", Colour::Maroon));
    }
  }
}

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
                                        "Could not open the schedule FreqFiles.",
                                        "Aborting:  Empty file - empty.csv"}));
  EXPECT_EQ(std::tuple(RowNames(), stations.list.Changed, state.LastFreqFile),
            std::tuple(Names{"Coast Guard"}, false, "A.320"));

  // Not while a file scan walks the rows.
  ctx.scan.ScanState = 1;
  import.ImportEibiItemClick();
  EXPECT_EQ(dialogs.shown().size(), 9u);
}

}  // namespace
}  // namespace ondaris
