// The Ute, SWL and MW exports: the exact bytes written and previewed, the
// Ute line cutting at its edges, and the bulk sorts of the selection.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "logbook/LogDisplay.h"
#include "logbook/LogExport.h"
#include "logbook/LogExportRun.h"
#include "platform/Shell.h"
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

struct ExportFolder : TempFolder {
  ExportFolder() {
    std::filesystem::create_directory(path() / "LogFiles");
    std::filesystem::create_directory(path() / "Export");
    table.Load(SmallLog, ',');
    WriteFileBytes(dir() + "LogFiles/LogSig.dat", "OLD\r\n");
  }
  LogTable table;
  ScriptedMessageBoxes messages;
  std::vector<std::string> previews;
  bool run(LogExportKind kind, const std::vector<int>& selection, const std::string& sig, LogExportSettings s = {}) {
    LogExporter exporter(dir(), ',', messages);
    exporter.showPreview = [this](const std::string& text) { previews.push_back(text); };
    return exporter.Export(kind, table, selection, sig, s);
  }
};

struct ExportCase {
  const char* name;
  LogExportKind kind;
  std::string signature;
  std::optional<std::string> closingFile;
  LogExportSettings settings;
  std::vector<int> selection;
  std::string expected;
};

class ExportBytes : public ::testing::TestWithParam<ExportCase> {};

TEST_P(ExportBytes, FileAndPreviewHoldTheListing) {
  const ExportCase& c = GetParam();
  ExportFolder f;
  if (c.closingFile) WriteFileBytes(f.dir() + "LogFiles/Bragfile.dat", *c.closingFile);
  ASSERT_TRUE(f.run(c.kind, c.selection, c.signature, c.settings));
  EXPECT_EQ(ReadFileBytes(f.dir() + "Export/" + LogExportFileName(c.kind)), c.expected);
  EXPECT_EQ(f.previews, std::vector<std::string>{c.expected});
  EXPECT_EQ(f.messages.messages(), std::vector<std::string>{LogExportDoneMessage(c.kind)});
  // An empty signature box leaves the stored signature alone.
  EXPECT_EQ(ReadFileBytes(f.dir() + "LogFiles/LogSig.dat"), c.signature.empty() ? "OLD\r\n" : c.signature + "\r\n");
}

const LogExportSettings AllSorted{true, true, true};

INSTANTIATE_TEST_SUITE_P(
    Exports, ExportBytes,
    ::testing::Values(
        ExportCase{"swlSigned", LogExportKind::Swl, "XYZ", std::nullopt, {}, {1, 2, 3},
                   "UTOPIA 9580.5, 1400-1457, Radio Example Jan 5 English news. (XYZ)\r\n\r\n"
                   "[COUNTRY] 153, 0230-, DCF49 Dec 24 Time signal. (XYZ)\r\n\r\n"
                   "ARGENTINA 15345, 2100*-2200*, RAE Mar 1 . (XYZ)\r\n"},
        ExportCase{"swlSortedUnsignedWithClosing", LogExportKind::Swl, "", "73 de me\r\nQTH here\r\n", AllSorted,
                   {1, 2, 3},
                   "[COUNTRY] 153, 0230-, DCF49 Dec 24 Time signal. \r\n\r\n"
                   "ARGENTINA 15345, 2100*-2200*, RAE Mar 1 . \r\n\r\n"
                   "UTOPIA 9580.5, 1400-1457, Radio Example Jan 5 English news. \r\n\r\n73 de me\r\nQTH here\r\n"},
        ExportCase{"mwClosingWithoutLineEnd", LogExportKind::Mw, "XYZ", "Good DX", {}, {3, 1},
                   "9580.5 UTOPIA Capital Radio Example, Jan 5 1400 - English news. (XYZ)\r\n\r\n"
                   "15345 ARGENTINA RAE, Mar 1 2100* - . (XYZ)\r\n\r\nGood DX\r\n"},
        ExportCase{"mwEmptyClosingFile", LogExportKind::Mw, "", "", AllSorted, {2},
                   "153 DCF49, Dec 24 0230 - Time signal. \r\n"},
        ExportCase{"mwClosingOfOneEmptyLine", LogExportKind::Mw, "", "\r\n", {}, {2},
                   "153 DCF49, Dec 24 0230 - Time signal. \r\n\r\n\r\n"},
        ExportCase{"uteSortedSigned", LogExportKind::Ute, "XYZ", std::nullopt, AllSorted, {3, 2, 1},
                   "  153   DCF49  0230  USB  Time signal.  24/Dec/2000  (XYZ)\r\n\r\n"
                   "9580.5   Radio Example   1400  AM  English news  5/Jan/2001  (XYZ)\r\n\r\n"
                   "15345   RAE  2100*  AM    1/Mar/2002  (XYZ)\r\n"},
        ExportCase{"uteOutsideRowsDropped", LogExportKind::Ute, "", std::nullopt, {}, {0, 3, 3, 9},
                   "15345   RAE  2100*  AM    1/Mar/2002\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExportFrame, NothingToExportWritesNothing) {
  ExportFolder f;
  WriteFileBytes(f.dir() + "LogFiles/Bragfile.dat", "closing\r\n");
  EXPECT_FALSE(f.run(LogExportKind::Swl, {7}, ""));  // a closing text alone is no export
  EXPECT_EQ(f.messages.messages(), std::vector<std::string>{NothingExportedMessage});
  f.table.Clear();
  EXPECT_FALSE(f.run(LogExportKind::Ute, {1}, ""));  // empty log: nothing at all
  EXPECT_EQ(f.messages.messages().size(), 1u);
  EXPECT_TRUE(f.previews.empty());
  EXPECT_FALSE(std::filesystem::exists(f.dir() + "Export/SwlExport.txt"));
}

TEST(ExportFrame, UnwritableFileIsReportedAndNotPreviewed) {
  ExportFolder f;
  std::filesystem::remove(f.path() / "Export");
  EXPECT_FALSE(f.run(LogExportKind::Mw, {1}, ""));
  ASSERT_EQ(f.messages.messages().size(), 1u);
  EXPECT_NE(f.messages.lastMessage().find("MwExport.txt"), std::string::npos);
  EXPECT_TRUE(f.previews.empty());
}

struct NoShell : Shell {
  bool open(const std::string&, std::string&) override { return false; }
};

TEST(ExportFrame, DisplayButtonsExportTheSelectedBlockIntoThePreview) {
  ExportFolder f;
  WriteFileBytes(f.dir() + "LogFiles/OndarisLog.txt", SmallLog);
  ScriptedFileDialogs dialogs;
  NoShell shell;
  LogbookSettings settings;
  settings.Export.SwlBulkSort = true;
  LogDisplay display{f.messages, dialogs, shell, f.dir(), ',', settings};
  display.tunedFrequency = [] { return 9580.0; };
  LogExporter exporter(f.dir(), ',', f.messages);
  ConnectLogExports(display, exporter, settings);
  display.LogDispBtnClick();
  display.GridCursorMoved(1, 1, 2);
  display.SigEdit = "me";
  display.SWLExportBtnClick();
  const std::string expected =
      "[COUNTRY] 153, 0230-, DCF49 Dec 24 Time signal. (me)\r\n\r\n"
      "UTOPIA 9580.5, 1400-1457, Radio Example Jan 5 English news. (me)\r\n";
  EXPECT_EQ(display.preview.text, expected);
  EXPECT_EQ(display.preview.title, LogPreview::Caption);
  EXPECT_EQ(ReadFileBytes(f.dir() + "Export/SwlExport.txt"), expected);
  EXPECT_EQ(ReadFileBytes(f.dir() + "LogFiles/LogSig.dat"), "me\r\n");
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
