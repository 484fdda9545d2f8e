// The Ute, SWL, MW and ADIF exports: the exact bytes written and previewed,
// the display's buttons, the Ute line cutting at its edges, and the bulk sorts
// of the selection.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "logbook/LogDisplay.h"
#include "logbook/LogExport.h"
#include "logbook/LogExportRun.h"
#include "platform/Shell.h"
#include "support/FakeClock.h"
#include "support/FakeTimeline.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

// Three records as the log file holds them; loaded with a decimal comma.
const char* const SmallLog =
    "BC\t9580.5\tAM\t1400\t1/5/2001\tRadio Example \tEnglish news\t\t\t45444\t\t1457\tUtopia\tCapital\t\t\r\n"
    "UT\t153\tusb\t0230\t12/24/2000\tDCF49\tTime signal.\t\t\t\t\t\t\t\t\t\r\n"
    "BC\t15345\tAM\t2100*\t3/1/2002\tRAE\t\t3/2/2002\tcard\t\t\t2200*\targentina\t\t\t\r\n";

struct NoShell : Shell {
  bool open(const std::string&, std::string&) override { return false; }
};

// The log display over SmallLog with its export buttons connected, the
// stored signature "OLD" and the clock at a fixed time.
struct ExportRig : TempFolder {
  ExportRig() {
    std::filesystem::create_directory(path() / "LogFiles");
    std::filesystem::create_directory(path() / "Export");
    WriteFileBytes(dir() + "LogFiles/OndarisLog.txt", SmallLog);
    WriteFileBytes(dir() + "LogFiles/LogSig.dat", "OLD\r\n");
    clock.setUtc(DateTime{2026, 12, 7, 9, 5, 3});
    ConnectLogExports(display, exporter, settings, clock);
    display.preview.show = [this](LogPreview& preview) { previews.push_back(preview.text); };
  }
  ScriptedMessageBoxes messages;
  ScriptedFileDialogs dialogs;
  NoShell shell;
  LogbookSettings settings;
  FakeTimeline timeline;
  FakeClock clock{timeline};
  LogDisplay display{messages, dialogs, shell, dir(), ',', settings};
  LogExporter exporter{dir(), ',', messages};
  std::vector<std::string> previews;
};

struct ExportCase {
  const char* name;
  std::function<void(LogDisplay&)> LogDisplay::*button;
  int top, bottom;  // the selected block
  std::string signature;
  std::optional<std::string> closingFile;
  bool bulkSorts, unwritable;
  const char* file;
  std::string expected, message;  // expected empty: nothing written or previewed
};

class ExportButtons : public ::testing::TestWithParam<ExportCase> {};

TEST_P(ExportButtons, WriteAndPreviewTheListingOfTheSelectedBlock) {
  const ExportCase& c = GetParam();
  ExportRig rig;
  if (c.closingFile) WriteFileBytes(rig.dir() + "LogFiles/Bragfile.dat", *c.closingFile);
  if (c.unwritable) std::filesystem::remove(rig.path() / "Export");
  rig.settings.Export = c.bulkSorts ? LogExportSettings{true, true, true} : LogExportSettings{};
  rig.display.LogDispBtnClick();
  rig.display.GridCursorMoved(c.top, c.top, c.bottom);
  rig.display.SigEdit = c.signature;
  rig.display.HookBtnClick(c.button);
  EXPECT_EQ(ReadFileBytes(rig.dir() + "Export/" + c.file), c.expected);
  EXPECT_EQ(rig.previews, c.expected.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.expected});
  ASSERT_EQ(rig.messages.messages().size(), 1u);
  EXPECT_NE(rig.messages.lastMessage().find(c.message), std::string::npos) << rig.messages.lastMessage();
  // An empty signature box leaves the stored signature alone; ADIF has none.
  const bool keepsSignature = c.signature.empty() || c.button == &LogDisplay::adifExport;
  EXPECT_EQ(ReadFileBytes(rig.dir() + "LogFiles/LogSig.dat"), keepsSignature ? "OLD\r\n" : c.signature + "\r\n");
}

const auto Ute = &LogDisplay::uteExport;
const auto Swl = &LogDisplay::swlExport;
const auto Mw = &LogDisplay::mwExport;
const auto Adif = &LogDisplay::adifExport;
const std::string AdifDone = "exported to Export\\AdifExport.adi in the working directory.";
using E = ExportCase;

INSTANTIATE_TEST_SUITE_P(
    Exports, ExportButtons,
    ::testing::Values(
        E{"swlSigned", Swl, 1, 3, "XYZ", std::nullopt, false, false, "SwlExport.txt",
          "UTOPIA 9580.5, 1400-1457, Radio Example Jan 5 English news. (XYZ)\r\n\r\n"
          "[COUNTRY] 153, 0230-, DCF49 Dec 24 Time signal. (XYZ)\r\n\r\n"
          "ARGENTINA 15345, 2100*-2200*, RAE Mar 1 . (XYZ)\r\n",
          LogExportDoneMessage(LogExportKind::Swl)},
        E{"swlSortedUnsignedWithClosing", Swl, 1, 3, "", "73 de me\r\nQTH here\r\n", true, false, "SwlExport.txt",
          "[COUNTRY] 153, 0230-, DCF49 Dec 24 Time signal. \r\n\r\n"
          "ARGENTINA 15345, 2100*-2200*, RAE Mar 1 . \r\n\r\n"
          "UTOPIA 9580.5, 1400-1457, Radio Example Jan 5 English news. \r\n\r\n73 de me\r\nQTH here\r\n",
          LogExportDoneMessage(LogExportKind::Swl)},
        E{"swlClosingTextAloneIsNoExport", Swl, 5, 9, "", "closing\r\n", false, false, "SwlExport.txt", "",
          NothingExportedMessage},
        E{"mwClosingWithoutLineEnd", Mw, 1, 3, "XYZ", "Good DX", false, false, "MwExport.txt",
          "9580.5 UTOPIA Capital Radio Example, Jan 5 1400 - English news. (XYZ)\r\n\r\n"
          "153 DCF49, Dec 24 0230 - Time signal. (XYZ)\r\n\r\n"
          "15345 ARGENTINA RAE, Mar 1 2100* - . (XYZ)\r\n\r\nGood DX\r\n",
          LogExportDoneMessage(LogExportKind::Mw)},
        E{"mwEmptyClosingFile", Mw, 2, 2, "", "", true, false, "MwExport.txt",
          "153 DCF49, Dec 24 0230 - Time signal. \r\n", LogExportDoneMessage(LogExportKind::Mw)},
        E{"mwClosingOfOneEmptyLine", Mw, 2, 2, "", "\r\n", false, false, "MwExport.txt",
          "153 DCF49, Dec 24 0230 - Time signal. \r\n\r\n\r\n", LogExportDoneMessage(LogExportKind::Mw)},
        E{"uteSortedSigned", Ute, 1, 3, "XYZ", std::nullopt, true, false, "UteExport.txt",
          "  153   DCF49  0230  USB  Time signal.  24/Dec/2000  (XYZ)\r\n\r\n"
          "9580.5   Radio Example   1400  AM  English news  5/Jan/2001  (XYZ)\r\n\r\n"
          "15345   RAE  2100*  AM    1/Mar/2002  (XYZ)\r\n",
          LogExportDoneMessage(LogExportKind::Ute)},
        E{"uteBlockClampedToTheLog", Ute, 3, 9, "", std::nullopt, false, false, "UteExport.txt",
          "15345   RAE  2100*  AM    1/Mar/2002\r\n", LogExportDoneMessage(LogExportKind::Ute)},
        E{"adif", Adif, 2, 2, "XYZ", std::nullopt, false, false, "AdifExport.adi",
          "ADIF export of the Ondaris log\r\n<ADIF_VER:5>3.1.4\r\n<CREATED_TIMESTAMP:15>20261207 090503\r\n"
          "<PROGRAMID:7>Ondaris\r\n<PROGRAMVERSION:3>1.1\r\n<EOH>\r\n"
          "<SWL:1>Y <QSO_DATE:8>20001224 <TIME_ON:4>0230 <FREQ:5>0.153 <MODE:3>SSB <SUBMODE:3>USB "
          "<CALL:5>DCF49 <COMMENT:12>Time signal. <APP_ONDARIS_CODE:2>UT <EOR>\r\n",
          AdifDone},
        E{"adifNoRecordSelected", Adif, 5, 9, "", std::nullopt, false, false, "AdifExport.adi", "",
          NothingExportedMessage},
        E{"adifUnwritable", Adif, 1, 3, "", std::nullopt, false, true, "AdifExport.adi", "",
          "Could not write the file"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExportEmptyLog, ExportsNothingAndSaysNothing) {
  ExportRig rig;
  WriteFileBytes(rig.dir() + "LogFiles/OndarisLog.txt", "");
  rig.display.LogDispBtnClick();
  rig.display.HookBtnClick(&LogDisplay::uteExport);
  EXPECT_TRUE(rig.messages.shown().empty());
  EXPECT_TRUE(rig.previews.empty());
  EXPECT_FALSE(std::filesystem::exists(rig.dir() + "Export/UteExport.txt"));
}

// ---- Cutting the Ute line ----------------------------------------------------

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

struct WrapCase {
  const char* name;
  std::string line;
  std::vector<std::string> expected;
};

class UteWrap : public ::testing::TestWithParam<WrapCase> {};

TEST_P(UteWrap, CutsAtSpacesAndIndentsToColumn9) { EXPECT_EQ(WrapUteLine(GetParam().line), GetParam().expected); }

const std::string Sp7(7, ' '), Sp8(8, ' ');

INSTANTIATE_TEST_SUITE_P(
    Edges, UteWrap,
    ::testing::Values(
        WrapCase{"exactly72", Repeat("A", 30) + " " + Repeat("B", 41), {Repeat("A", 30) + " " + Repeat("B", 41)}},
        WrapCase{"73", Repeat("A", 60) + " " + Repeat("B", 12), {Repeat("A", 60), Sp7 + " " + Repeat("B", 12)}},
        WrapCase{"spaceAt72", Repeat("A", 71) + " B", {Repeat("A", 71), Sp7 + " B"}},
        WrapCase{"twoSpacesAt72", Repeat("A", 71) + "  B", {Repeat("A", 71), std::string(6, ' ') + "  B"}},
        WrapCase{"continuation", Repeat("abcdefghi ", 15),
                 {Repeat("abcdefghi ", 6) + "abcdefghi", Sp7 + " " + Repeat("abcdefghi ", 6),
                  Sp7 + " " + Repeat("abcdefghi ", 2)}},
        WrapCase{"noSpaceInFirst72", Repeat("X", 100), {Repeat("X", 72), Sp8 + Repeat("X", 28)}},
        WrapCase{"noSpaceInContinuation", Repeat("A", 10) + " " + Repeat("B", 150),
                 {Repeat("A", 10), Sp7 + " " + Repeat("B", 62), Sp8 + Repeat("B", 63), Sp8 + Repeat("B", 25)}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Bulk sorts of the selection -----------------------------------------------

// Freq, Country, Misc and ID of each record (in the file, at offsets 1, 12,
// 13 and 5); record 4 has the number of record 3 in other words, record 6 a
// Freq that is no number.
const char* const SortLog =
    "\t9580\t\t\t\tZed\t\t\t\t\t\t\tutopia\tb\t\t\r\n"
    "\t15345\t\t\t\talpha\t\t\t\t\t\t\tUtopia\ta\t\t\r\n"
    "\t6000\t\t\t\tMid\t\t\t\t\t\t\tBravo\tz\t\t\r\n"
    "\t6000.0\t\t\t\tAble\t\t\t\t\t\t\talpha\ta\t\t\r\n"
    "\t5000\t\t\t\tbeta\t\t\t\t\t\t\talpha\tc\t\t\r\n"
    "\tx12\t\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n"
    "\t6000\t\t\t\tmid\t\t\t\t\t\t\talpha\tb\t\t\r\n"
    "\t6000\t\t\t\tAaa\t\t\t\t\t\t\tALPHA\ta\t\t\r\n";

struct SortCase {
  const char* name;
  LogExportKind kind;
  bool bulk;
  std::vector<int> selection, expected;
};

class ExportSort : public ::testing::TestWithParam<SortCase> {};

TEST_P(ExportSort, OrdersTheSelectionOnly) {
  LogTable table;
  table.Load(SortLog, '.');
  const SortCase& c = GetParam();
  const LogExportSettings s{c.bulk, c.bulk, c.bulk};
  EXPECT_EQ(ExportSelection(table, c.selection, c.kind, s, '.'), c.expected);
  EXPECT_EQ(table.Cell(1, LogField::ID), "Zed");  // the log keeps its order
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ExportSort,
    ::testing::Values(SortCase{"logOrderWhenOff", LogExportKind::Swl, false, {3, 1, 2, 2, 0, 9}, {1, 2, 3}},
                      SortCase{"swlCountryThenFreqNumber", LogExportKind::Swl, true, {1, 2, 5, 6, 3}, {6, 5, 3, 1, 2}},
                      SortCase{"mwFreqFirst", LogExportKind::Mw, true, {1, 2, 3, 5, 6}, {6, 5, 3, 1, 2}},
                      SortCase{"mwSameNumberOtherText", LogExportKind::Mw, true, {3, 4}, {3, 4}},
                      SortCase{"mwSameTextByCountry", LogExportKind::Mw, true, {3, 7}, {7, 3}},
                      SortCase{"mwSameCountryByMisc", LogExportKind::Mw, true, {7, 8}, {8, 7}},
                      SortCase{"uteSameTextByIdIgnoringCase", LogExportKind::Ute, true, {3, 7}, {3, 7}},
                      SortCase{"uteById", LogExportKind::Ute, true, {7, 8}, {8, 7}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ondaris
