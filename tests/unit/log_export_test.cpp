// The log display's export and report buttons: the exact bytes of the Ute, SWL,
// MW and ADIF exports and of the reports, written and previewed; the Ute line
// cutting at its edges; the bulk sorts of the selection; the ADIF file's
// fields (every length the byte count of its value, the text ASCII only); the
// report setup file at its exact size, short, long and damaged.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "logbook/AdifExport.h"
#include "logbook/LogDisplay.h"
#include "logbook/LogExport.h"
#include "logbook/LogExportRun.h"
#include "logbook/LogReportDialog.h"
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

// The log display over SmallLog with its export and report buttons connected,
// the stored signature "OLD" and the clock at a fixed time.
struct LogRig : TempFolder {
  LogRig() {
    std::filesystem::create_directories(path() / "LogFiles" / "ReportSetups");
    std::filesystem::create_directory(path() / "Export");
    WriteFileBytes(dir() + "LogFiles/OndarisLog.txt", SmallLog);
    WriteFileBytes(dir() + "LogFiles/LogSig.dat", "OLD\r\n");
    clock.setUtc(DateTime{2026, 12, 7, 9, 5, 3});
    ConnectLogExports(display, exporter, settings, clock);
    ConnectLogReport(display, report);
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
  LogReportDialog report{messages, dialogs, dir(), ','};
  std::vector<std::string> previews;
  std::string setupPath(const std::string& name) const { return dir() + "LogFiles/ReportSetups/" + name; }
  void open(int top, int bottom) {
    display.LogDispBtnClick();
    display.GridCursorMoved(top, top, bottom);
  }
};

// The ADIF file's header at the rig's time, and the record of the time signal.
const std::string AdifHeader =
    "ADIF export of the Ondaris log\r\n<ADIF_VER:5>3.1.4\r\n<CREATED_TIMESTAMP:15>20261207 090503\r\n"
    "<PROGRAMID:7>Ondaris\r\n<PROGRAMVERSION:3>1.1\r\n<EOH>\r\n";
const std::string AdifTimeSignal =
    "<SWL:1>Y <QSO_DATE:8>20001224 <TIME_ON:4>0230 <FREQ:5>0.153 <MODE:3>SSB <SUBMODE:3>USB "
    "<CALL:5>DCF49 <COMMENT:12>Time signal. <APP_ONDARIS_CODE:2>UT <EOR>\r\n";

TEST(ExportButtons, WriteAndPreviewTheListingOfTheSelectedBlock) {
  const auto Ute = &LogDisplay::uteExport, Swl = &LogDisplay::swlExport, Mw = &LogDisplay::mwExport;
  const auto Adif = &LogDisplay::adifExport;
  // The selected block top..bottom; no closing-text file when closingFile is null; `expected` empty when nothing is
  // written or previewed; `refusal` the start of the message shown instead of the one that says where the file went.
  const struct { const char* name; std::function<void(LogDisplay&)> LogDisplay::*button; int top, bottom;
                 std::string signature; const char* closingFile; bool bulkSorts, unwritable; const char* file;
                 std::string expected, refusal = {}; } cases[] = {
      {"swlSortedUnsignedWithClosing", Swl, 1, 3, "", "73 de me\r\nQTH here\r\n", true, false, "SwlExport.txt",
       "[COUNTRY] 153, 0230-, DCF49 Dec 24 Time signal. \r\n\r\n"
       "ARGENTINA 15345, 2100*-2200*, RAE Mar 1 . \r\n\r\n"
       "UTOPIA 9580.5, 1400-1457, Radio Example Jan 5 English news. \r\n\r\n73 de me\r\nQTH here\r\n"},
      {"swlClosingTextAloneIsNoExport", Swl, 5, 9, "", "closing\r\n", false, false, "SwlExport.txt", "",
       NothingExportedMessage},
      {"mwClosingWithoutLineEnd", Mw, 1, 3, "XYZ", "Good DX", false, false, "MwExport.txt",
       "9580.5 UTOPIA Capital Radio Example, Jan 5 1400 - English news. (XYZ)\r\n\r\n"
       "153 DCF49, Dec 24 0230 - Time signal. (XYZ)\r\n\r\n"
       "15345 ARGENTINA RAE, Mar 1 2100* - . (XYZ)\r\n\r\nGood DX\r\n"},
      {"mwEmptyClosingFile", Mw, 2, 2, "", "", true, false, "MwExport.txt",
       "153 DCF49, Dec 24 0230 - Time signal. \r\n"},
      {"mwClosingOfOneEmptyLine", Mw, 2, 2, "", "\r\n", false, false, "MwExport.txt",
       "153 DCF49, Dec 24 0230 - Time signal. \r\n\r\n\r\n"},
      {"uteSortedSigned", Ute, 1, 3, "XYZ", nullptr, true, false, "UteExport.txt",
       "  153   DCF49  0230  USB  Time signal.  24/Dec/2000  (XYZ)\r\n\r\n"
       "9580.5   Radio Example   1400  AM  English news  5/Jan/2001  (XYZ)\r\n\r\n"
       "15345   RAE  2100*  AM    1/Mar/2002  (XYZ)\r\n"},
      {"uteBlockClampedToTheLog", Ute, 3, 9, "", nullptr, false, false, "UteExport.txt",
       "15345   RAE  2100*  AM    1/Mar/2002\r\n"},
      {"adif", Adif, 2, 2, "XYZ", nullptr, false, false, "AdifExport.adi",
       AdifHeader + AdifTimeSignal},
      {"adifNoRecordSelected", Adif, 5, 9, "", nullptr, false, false, "AdifExport.adi", "", NothingExportedMessage},
      {"adifUnwritable", Adif, 1, 3, "", nullptr, false, true, "AdifExport.adi", "", "Could not write the file"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LogRig rig;
    if (c.closingFile) WriteFileBytes(rig.dir() + "LogFiles/Bragfile.dat", c.closingFile);
    if (c.unwritable) std::filesystem::remove(rig.path() / "Export");
    rig.settings.Export = c.bulkSorts ? LogExportSettings{true, true, true} : LogExportSettings{};
    rig.open(c.top, c.bottom);
    rig.display.SigEdit = c.signature;
    rig.display.HookBtnClick(c.button);
    EXPECT_EQ(ReadFileBytes(rig.dir() + "Export/" + c.file), c.expected);
    EXPECT_EQ(rig.previews, c.expected.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.expected});
    ASSERT_EQ(rig.messages.messages().size(), 1u);
    const std::string done = std::string("Your selected records have been exported to Export\\") + c.file +
                             " in the working directory.";
    const std::string& shown = rig.messages.lastMessage();
    EXPECT_EQ(shown.rfind(c.refusal.empty() ? done : c.refusal, 0), 0u) << shown;
    // An empty signature box leaves the stored signature alone; ADIF has none.
    const bool keepsSignature = c.signature.empty() || c.button == Adif;
    EXPECT_EQ(ReadFileBytes(rig.dir() + "LogFiles/LogSig.dat"), keepsSignature ? "OLD\r\n" : c.signature + "\r\n");
  }
}

TEST(ExportEmptyLog, ExportsNothingAndSaysNothing) {
  LogRig rig;
  WriteFileBytes(rig.dir() + "LogFiles/OndarisLog.txt", "");
  rig.display.LogDispBtnClick();
  rig.display.HookBtnClick(&LogDisplay::uteExport);
  EXPECT_TRUE(rig.messages.shown().empty());
  EXPECT_TRUE(rig.previews.empty());
  EXPECT_FALSE(std::filesystem::exists(rig.dir() + "Export/UteExport.txt"));
}

// ---- The ADIF file -------------------------------------------------------------

const char* const FixedLog =
    "BC\t9580.5\tAM\t1400\t1/5/2001\tRadio Example \tEnglish news\t\t\t45444\t\t1457\tUtopia\tCapital\t\t\r\n"
    "UT\t153\tusb\t0230\t12/24/00\tDCF49\tTime signal.\t\t\t\t\t\t\t\t\t\r\n"
    "\t15345\tAM\t2100*\t2/29/2000\tRAE\t\t3/2/2002 direct\tcard\t\t\t2200*\targentina\t\t\t\r\n"
    "X\tabc\tDRM\t905\t2/29/2001\tR\xE9union 1\tCaf\xE9 \x93news\x94 \x80 5\xB0\t"
    "\t\tS9\t\xB1\t2460\t\xD6sterreich\t\t\t\r\n";

TEST(AdifExport, WritesEveryRecordWithItsFields) {
  LogTable table;
  table.Load(FixedLog, ',');
  // The last record: not a frequency, not a date (2001 is no leap year), a
  // time without its leading zero, an off time with minute 60, a mode outside
  // the ADIF list, text outside ASCII.
  EXPECT_EQ(AdifFileText(table, {1, 2, 0, 3, 4, 5}, ',', DateTime{2026, 12, 7, 9, 5, 3}),
            AdifHeader +
                "<SWL:1>Y <QSO_DATE:8>20010105 <TIME_ON:4>1400 <TIME_OFF:4>1457 <FREQ:6>9.5805 <MODE:2>AM "
                "<NAME:13>Radio Example <QTH:7>Capital <COUNTRY:6>Utopia <RST_RCVD:5>45444 <COMMENT:12>English news "
                "<APP_ONDARIS_CODE:2>BC <EOR>\r\n" +
                AdifTimeSignal +
                "<SWL:1>Y <QSO_DATE:8>20000229 <TIME_ON:4>2100 <TIME_OFF:4>2200 <FREQ:6>15.345 <MODE:2>AM "
                "<NAME:3>RAE <COUNTRY:9>argentina <QSL_SENT:1>Y <QSL_RCVD:1>Y <APP_ONDARIS_SENT:15>3/2/2002 direct "
                "<APP_ONDARIS_RCVD:4>card <EOR>\r\n"
                "<SWL:1>Y <TIME_ON:4>0905 <NAME:9>Reunion 1 <COUNTRY:10>Osterreich <RST_RCVD:2>S9 "
                "<COMMENT:20>Cafe \"news\" EUR 5deg <APP_ONDARIS_CODE:1>X <APP_ONDARIS_MODE:3>DRM "
                "<APP_ONDARIS_RPT2:3>+/- <EOR>\r\n");
}

// Reads the file the way loggers do: "<NAME:LENGTH[:TYPE]>" then exactly
// LENGTH bytes, only blanks up to the next tag, <EOH> and <EOR> closing the
// header and each record. A wrong length shows up as stray text or a lost tag.
using AdifFields = std::vector<std::pair<std::string, std::string>>;
std::vector<AdifFields> ReadAdif(const std::string& text) {
  std::vector<AdifFields> parts(1);  // the header, then one per record
  for (std::size_t at = text.find('<'); at != std::string::npos;) {
    const std::size_t close = text.find('>', at);
    if (close == std::string::npos) { ADD_FAILURE() << "unclosed tag at " << at; break; }
    const std::string tag = text.substr(at + 1, close - at - 1);
    std::size_t next = close + 1;
    if (tag == "EOH" || tag == "EOR") {
      parts.emplace_back();
    } else if (const std::size_t colon = tag.find(':'); colon == std::string::npos) {
      ADD_FAILURE() << "no length in <" << tag << ">";
    } else {
      const std::size_t length = std::stoul(tag.substr(colon + 1));
      const std::string value = text.substr(next, length);
      // A length one too long takes the blank before the next tag, more takes the tag.
      EXPECT_TRUE(value.find('<') == std::string::npos && (value.empty() || value.back() != ' ')) << tag;
      parts.back().emplace_back(tag.substr(0, colon), value);
      next += length;
    }
    at = text.find('<', next);
    const std::string gap = text.substr(next, at == std::string::npos ? std::string::npos : at - next);
    EXPECT_EQ(gap.find_first_not_of(" \r\n"), std::string::npos) << "stray '" << gap << "' after <" << tag << ">";
  }
  EXPECT_TRUE(parts.back().empty()) << "fields after the last <EOR>";
  parts.pop_back();
  return parts;
}

TEST(AdifExport, ReadsBackWithEveryLengthRight) {
  LogTable table;
  table.Load(FixedLog, ',');
  const std::string text = AdifFileText(table, {1, 2, 3, 4}, ',', DateTime{2026, 12, 7, 9, 5, 3});
  for (char c : text) ASSERT_TRUE(c == '\r' || c == '\n' || (c >= 32 && c < 127)) << int(c);
  const std::vector<AdifFields> parts = ReadAdif(text);
  ASSERT_EQ(parts.size(), 5u);  // the header and four records
  EXPECT_EQ(parts[0], (AdifFields{{"ADIF_VER", "3.1.4"}, {"CREATED_TIMESTAMP", "20261207 090503"},
                                  {"PROGRAMID", "Ondaris"}, {"PROGRAMVERSION", "1.1"}}));
  const auto field = [&](int record, const std::string& name) {
    for (const auto& [n, v] : parts[record]) if (n == name) return v;
    return std::string("(none)");
  };
  EXPECT_EQ(field(1, "NAME"), "Radio Example");
  EXPECT_EQ(field(2, "CALL"), "DCF49");
  EXPECT_EQ(field(3, "APP_ONDARIS_SENT"), "3/2/2002 direct");
  EXPECT_EQ(field(4, "COMMENT"), "Cafe \"news\" EUR 5deg");
  EXPECT_EQ(field(4, "QSO_DATE"), "(none)");
}

// ---- Cutting the Ute line ----------------------------------------------------

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(UteWrap, CutsAtSpacesAndIndentsToColumn9) {
  const std::string sp7(7, ' '), sp8(8, ' ');
  const struct { const char* name; std::string line; std::vector<std::string> expected; } cases[] = {
      {"exactly72", Repeat("A", 30) + " " + Repeat("B", 41), {Repeat("A", 30) + " " + Repeat("B", 41)}},
      {"73", Repeat("A", 60) + " " + Repeat("B", 12), {Repeat("A", 60), sp7 + " " + Repeat("B", 12)}},
      {"spaceAt72", Repeat("A", 71) + " B", {Repeat("A", 71), sp7 + " B"}},
      {"twoSpacesAt72", Repeat("A", 71) + "  B", {Repeat("A", 71), std::string(6, ' ') + "  B"}},
      {"continuation", Repeat("abcdefghi ", 15),
       {Repeat("abcdefghi ", 6) + "abcdefghi", sp7 + " " + Repeat("abcdefghi ", 6),
        sp7 + " " + Repeat("abcdefghi ", 2)}},
      {"noSpaceInFirst72", Repeat("X", 100), {Repeat("X", 72), sp8 + Repeat("X", 28)}},
      {"noSpaceInContinuation", Repeat("A", 10) + " " + Repeat("B", 150),
       {Repeat("A", 10), sp7 + " " + Repeat("B", 62), sp8 + Repeat("B", 63), sp8 + Repeat("B", 25)}}};
  for (const auto& c : cases) EXPECT_EQ(WrapUteLine(c.line), c.expected) << c.name;
}

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

TEST(ExportSort, OrdersTheSelectionOnly) {
  using enum LogExportKind;
  const struct { const char* name; LogExportKind kind; bool bulk; std::vector<int> selection, expected; } cases[] = {
      {"logOrderWhenOff", Swl, false, {3, 1, 2, 2, 0, 9}, {1, 2, 3}},
      {"swlCountryThenFreqNumber", Swl, true, {1, 2, 5, 6, 3}, {6, 5, 3, 1, 2}},
      {"mwFreqFirst", Mw, true, {1, 2, 3, 5, 6}, {6, 5, 3, 1, 2}},
      {"mwSameNumberOtherText", Mw, true, {3, 4}, {3, 4}},
      {"mwSameTextByCountry", Mw, true, {3, 7}, {7, 3}},
      {"mwSameCountryByMisc", Mw, true, {7, 8}, {8, 7}},
      {"uteSameTextByIdIgnoringCase", Ute, true, {3, 7}, {3, 7}},
      {"uteById", Ute, true, {7, 8}, {8, 7}}};
  for (const auto& c : cases) {
    LogTable table;
    table.Load(SortLog, '.');
    EXPECT_EQ(ExportSelection(table, c.selection, c.kind, {c.bulk, c.bulk, c.bulk}, '.'), c.expected) << c.name;
    EXPECT_EQ(table.Cell(1, LogField::ID), "Zed") << c.name;  // the log keeps its order
  }
}

TEST(ReportBytes, GenerateWritesTheMarkedColumns) {
  // What the listener does in the window before Generate: marks clicked, a column dragged (when movedFrom >= 0),
  // the boxes; then the file written.
  const struct { const char* name; std::vector<int> marksClicked; int movedFrom, movedTo; std::string heading, outfile;
                 bool selectedOnly; std::string outputFile, expected; } cases[] = {
      {"freqDraggedBeforeCodeAllRecords", {0, 1}, 1, 0, "My log", "", false, "Report.txt",
       "My log\r\n\r\nFreq\tCode\r\n\r\n9580.5\tBC\r\n153\tUT\r\n15345\tBC\r\n"},
      {"selectedWithFlag", {6, 15}, -1, 0, "", "Weekly.txt", true, "Weekly.txt",
       "ID\tS(Y)\r\n\r\nDCF49\t\r\nRAE\tY\r\n"},
      {"toggledTwiceIsOff", {3, 3}, -1, 0, "", "", true, "Report.txt", "\r\n\r\n"},
      {"emptyLinesLeftOut", {10, -1, 18}, -1, 0, "", "", false, "Report.txt", "Misc\r\n\r\nCapital\r\n"},
      {"nameStaysInExport", {2}, -1, 0, "", "..\\SysFiles/x.txt", true, "x.txt", "Mode\r\n\r\nusb\r\nAM\r\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LogRig rig;
    rig.report.FormCreate();
    bool closed = false;
    rig.report.close = [&] { closed = true; };
    rig.report.show = [&](LogReportDialog& d) {
      for (int column : c.marksClicked) d.MarkCellClick(column);
      if (c.movedFrom >= 0) d.GridColumnMoved(c.movedFrom, c.movedTo);
      d.HeaderEdit = c.heading;
      d.OutfileEdit = c.outfile;
      d.SelCheckbox = c.selectedOnly;
      EXPECT_TRUE(d.OKBtnClick());
    };
    rig.open(2, 3);
    rig.display.HookBtnClick(&LogDisplay::report);
    EXPECT_TRUE(closed);
    EXPECT_EQ(ReadFileBytes(rig.dir() + "Export/" + c.outputFile), c.expected);
    EXPECT_EQ(rig.previews, std::vector<std::string>{c.expected});
    EXPECT_EQ(rig.messages.messages(), std::vector<std::string>{ReportGeneratedMessage(c.outputFile)});
  }
}

// ---- The setup file ---------------------------------------------------------------

void PutInt(std::string& image, std::size_t at, int value) {
  for (int i = 0; i < 4; ++i) image[at + i] = static_cast<char>((static_cast<unsigned>(value) >> (8 * i)) & 0xFF);
}

TEST(ReportSetupFile, SavedAtItsExactSizeReadBackDamagedStartedWithAndReopened) {
  LogRig f;
  f.report.FormCreate(600);  // columns 600 / 18 - 1 = 32 pixels
  f.report.MarkCellClick(5);
  f.report.GridColumnMoved(5, 0);  // Date first, its mark with it
  f.report.HeaderEdit = "Heard";
  f.report.OutfileEdit = "w.txt";
  f.report.SelCheckbox = false;
  f.dialogs.chooseNext(f.setupPath("Default.rpt"));
  f.report.SaveBtnClick();

  std::string expected(469, '\0');
  expected.replace(0, 6, "\x05Heard");
  expected.replace(82, 6, "\x05w.txt");
  const int order[18] = {5, 0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
  for (int p = 0; p < 18; ++p) {
    PutInt(expected, 163 + 4 * p, order[p]);
    PutInt(expected, 235 + 8 * p, 1 + 33 * p + 3);
    PutInt(expected, 239 + 8 * p, 1 + 33 * p + 29);
    PutInt(expected, 379 + 4 * order[p], p);
    expected[451 + p] = p == 0 ? 'Y' : 'N';
  }
  EXPECT_EQ(ReadFileBytes(f.setupPath("Default.rpt")), expected);
  EXPECT_EQ(f.report.CurrentSetupName, "Default.rpt");

  // Other files: bytes beyond the setup ignored, a short file read as far as
  // it goes (the rest as in a fresh setup), a length byte beyond 80 read as
  // 80, an order that is not a permutation made the identity.
  const ReportSetup& saved = f.report.setup;
  EXPECT_EQ(ParseReportSetup(expected + "extra"), saved);
  EXPECT_EQ(ParseReportSetup(""), FreshReportSetup());
  ReportSetup partly = FreshReportSetup();
  partly.Heading = "Heard";
  partly.SelectedOnly = false;
  partly.OutputName = std::string("w.\0\0\0", 5);  // its length byte and two characters were there
  EXPECT_EQ(ParseReportSetup(expected.substr(0, 85)), partly);
  ReportSetup damaged = saved;
  damaged.Heading = std::string("Heard") + std::string(75, '\0');
  EXPECT_EQ(ParseReportSetup(std::string(expected).replace(0, 1, "\xC8")), damaged);
  damaged = saved;
  damaged.ColumnOrder = damaged.ColumnPositions = FreshReportSetup().ColumnOrder;
  std::string twice = expected;
  PutInt(twice, 163 + 4, 5);  // field 5 in two columns
  EXPECT_EQ(ParseReportSetup(twice), damaged);

  // Default.rpt is the setup the next run starts with.
  LogReportDialog again{f.messages, f.dialogs, f.dir(), ','};
  again.FormCreate(600);
  EXPECT_EQ(again.setup, f.report.setup);
  EXPECT_EQ(std::tuple(again.HeadingText(0), again.MarkText(0), again.MarkText(1), again.HeaderEdit, again.OutfileEdit,
                       again.SelCheckbox), std::tuple("Date", "  Y", "  N", "Heard", "w.txt", false));
  again.NewBtnClick();
  EXPECT_EQ(again.HeadingText(0) + "|" + again.HeaderEdit + again.OutfileEdit, "Code|");
  f.dialogs.chooseNext(f.setupPath("Default.rpt"));
  again.OpenBtnClick();
  EXPECT_EQ(std::tuple(again.setup, again.CurrentSetupName), std::tuple(f.report.setup, "Default.rpt"));
}

}  // namespace
}  // namespace ondaris
