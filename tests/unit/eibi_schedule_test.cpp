// Reading the EiBi schedule into station entries: the shipped schedule, the
// line rules, the mode and filter rules and the import options.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <tuple>

#include "freqfiles/EibiSchedule.h"

namespace ondaris {
namespace {

const EibiModeDefaults kDefaults;  // AM 6000 Hz / 500 Hz, SSB 2550 / 1000, CW 300 / 1000

std::string ShippedSchedule() {
  std::ifstream in(std::string(ONDARIS_DATA_DIR) + "/eibi-sked-b25.csv", std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

FrequencyRecord Rec(const char* name, const char* freq, const char* mode, const char* filter, int filterIndex,
                    const char* step, int stepIndex, const char* location, const char* language, const char* on,
                    const char* off, const char* notes) {
  return {name, freq, mode, filter, "0", step, "0", location, language, on, off, notes, "0", "0", filterIndex,
          stepIndex};
}

TEST(EibiSchedule, ReadsTheShippedScheduleWholeAndItsLinesExactly) {
  const std::string bytes = ShippedSchedule();
  ASSERT_FALSE(bytes.empty()) << "no schedule in " << ONDARIS_DATA_DIR;
  const EibiImportResult result = ImportEibiSchedule(bytes, {}, kDefaults, '.');
  EXPECT_EQ(result.entryLines, 10060u);
  EXPECT_EQ(result.badLines, 0);
  ASSERT_EQ(result.records.size(), 10060u);

  // Entries made from lines of the shipped schedule (1-based, line 1 the header), checked by hand against the file.
  const struct { std::size_t line; FrequencyRecord expected; } cases[] = {
      // 16.3;0000-2400;;IND;VTX1 Indian Navy;;SAs;v;1;;
      {2, Rec("VTX1 Indian Navy", "16.3", "AM", "6000", 1, "500", 4, "IND to SAs", "", "0000", "2400", "Remarks: v")},
      // 17.2;0800-0900;24Dec;S;SAQ Grimeton;-CW;Glo;gr;6;0812;2412
      {5, Rec("SAQ Grimeton", "17.2", "CW", "300", 23, "1000", 5, "S to Glo", "-CW", "0800", "0900",
              "Days: 24Dec; Remarks: gr")},
      // 690;0000-2400;;B;R\xe1dio Clube do Par\xe1;P;B;be;1;; (ISO-8859-1 kept as it is)
      {152, Rec("R\xe1" "dio Clube do Par\xe1", "690", "AM", "6000", 1, "500", 4, "B to B", "P", "0000", "2400",
                "Remarks: be")},
      // 963;2000-0100;;TUN;Radio Tunis Chaine Int.;F;TUN;;1;;[1223]  (name cut to 20)
      {306, Rec("Radio Tunis Chaine I", "963", "AM", "6000", 1, "500", 4, "TUN to TUN", "F", "2000", "0100", "")},
      // 3458;0000-2400;LSB;CHN;Beijing Volmet x15,x45;E;FE;;1;;[0122]
      {1818, Rec("Beijing Volmet x15,x", "3458", "LSB", "2550", 13, "1000", 5, "CHN to FE", "E", "0000", "2400", "")},
      // 7750;0300-0600;irr;SOM;Warsan Radio USB;SO;EAf;b;1;;[0325]
      {4349, Rec("Warsan Radio USB", "7750", "USB", "2550", 13, "1000", 5, "SOM to EAf", "SO", "0300", "0600",
                 "Days: irr; Remarks: b")},
      // 15555;1358-2200;;USA;WJHR Milton, FL (USB);E;NAm;mi;1;;[0326]
      {8867, Rec("WJHR Milton, FL (USB", "15555", "USB", "2550", 13, "1000", 5, "USA to NAm", "E", "1358", "2200",
                 "Remarks: mi")},
      // 28320;2300-2400;Sa;AUS;VK2WI News Broadcast;E;AUS;du;4;;  (the last line)
      {10061, Rec("VK2WI News Broadcast", "28320", "AM", "6000", 1, "500", 4, "AUS to AUS", "E", "2300", "2400",
                  "Days: Sa; Remarks: du")},
  };
  for (const auto& c : cases) EXPECT_EQ(result.records[c.line - 2], c.expected) << "line " << c.line;
  EXPECT_EQ(EibiBadLinesMessage(1, 12), "1 line of the schedule could not be read and was skipped (line 12).");
}

// ---- Single lines: which are read, and the mode, filter and step of each.

// Read lines with the entry made.
TEST(EibiLine, ReadsAndMakesItsEntry) {
  const std::pair<const char*, const char*> read[] = {
      // Freq|Mode|Filter|Notes. Mode rules: Days, Lng "-CW", a word of the station name; else AM.
      {"9580;0800-1200;;AUS;Radio;E;Pac;;1;;", "9580|AM|6000|"},
      {"8849;0000-2400;usb;CHN;Volmet;E;FE;;1;;", "8849|USB|2550|"},
      {"4000;0000-2400;Mo-Fr;D;Beacon;-CW;Eu;;1;;", "4000|CW|300|Days: Mo-Fr"},
      {"4000;0000-2400;;D;Beacon;-CWX;Eu;;1;;", "4000|CW|300|"},
      {"5000;0000-2400;;F;Navy LSB/FSK;F;Eu;x;1;;", "5000|LSB|2550|Remarks: x"},
      {"5000;0000-2400;;F;USBEKISTAN;F;Eu;;1;;", "5000|AM|6000|"},
      {"4810;0000-2400;;USA;CODAR (CW IDs);;WNA;ob;1;;", "4810|AM|6000|Remarks: ob"},
      {"3044;0000-2400;;F;Teletype;-TY;NAO;br;1;;", "3044|AM|6000|Remarks: br"},
      // Fields up to Remarks suffice; the file's decimal point is ".", the entry's the locale's.
      {"9580.5;0800-1200;;AUS;Radio;E;Pac;", "9580,5|AM|6000|"}};
  EibiEntry entry;
  for (const auto& [line, made] : read) {
    ASSERT_TRUE(ParseEibiLine(line, entry)) << line;
    const FrequencyRecord r = EibiRecord(entry, kDefaults, ',');
    EXPECT_EQ(r.Freq + "|" + r.Mode + "|" + r.Filter + "|" + r.Notes, made) << line;
  }
  // Too few fields; garbage; kHz a comma decimal, text, 0 or above 30 MHz; minutes past 59, hours past 24:00;
  // times not HHMM-HHMM.
  for (const char* line : {"9580;0800-1200;;AUS;Radio;E;Pac", "\x01\xff\xfe;;;;;;;;"})
    EXPECT_FALSE(ParseEibiLine(line, entry)) << line;
  for (const char* start : {"9580,5;0800-1200", "kHz;0800-1200", "0;0800-1200", "30001;0800-1200", "9580;0800-1260",
                            "9580;2401-0100", "9580;2500-0100", "9580;800-1200", "9580;0800:1200"})
    EXPECT_FALSE(ParseEibiLine(std::string(start) + ";;AUS;Radio;E;Pac;;1;;", entry)) << start;
}

// ---- A whole file with the options.

const char* const kFile =
    "kHz:75;Time(UTC):93;Days:59;ITU:49;Station:201;Lng:49;Target:62;Remarks:135;P:35;Start:60;Stop:60;\r\n"
    "5000;0000-2400;;USA;WWV;-TS;NAm;;1;;\r\n"       // line 2: all day
    "6000;2330-0030;;CUB;Night;S;Car;;1;;\r\n"       // line 3: across midnight
    "7000;1200-1300;;G;Noon;E;Eu;;1;;\r\n"           // line 4
    "garbage\r\n"                                    // line 5: bad
    "\r\n"                                           // line 6: empty, not counted
    "9000;1200-1300;;G;Late;E;Eu;;1;;\r\n"           // line 7
    "9000;1200-99;;G;Broken;E;Eu;;1;;\n"             // line 8: bad
    "15000;0000-0100;;G;Early;E;Eu;;1;;";            // line 9, no line end

// The options as {onAirOnly, hhmmNow, rangeOnly, fromKHz, toKHz}.
TEST(EibiOptions, TakeTheEntriesAndCountTheRest) {
  const struct {
    EibiImportOptions options;
    std::vector<std::string> names;
  } cases[] = {{{}, {"WWV", "Night", "Noon", "Late", "Early"}},
               {{true, 1230}, {"WWV", "Noon", "Late"}},
               {{true, 15}, {"WWV", "Night", "Early"}},
               {{true, 1300}, {"WWV"}},
               {{false, 0, true, 6000, 9000}, {"Night", "Noon", "Late"}},
               {{false, 0, true, 9000.5, 10000}, {}},
               {{true, 15, true, 5500, 30000}, {"Night", "Early"}}};
  for (const auto& c : cases) {
    const EibiImportResult result = ImportEibiSchedule(kFile, c.options, kDefaults, '.');
    std::vector<std::string> names;
    for (const FrequencyRecord& r : result.records) names.push_back(r.Name);
    SCOPED_TRACE(testing::Message() << c.options.hhmmNow << " " << c.options.fromKHz << "-" << c.options.toKHz);
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(std::tuple(result.entryLines, result.badLines, result.firstBadLine, result.leftOut),
              std::tuple(7u, 2, 5u, 5 - static_cast<int>(names.size())));
  }
  EXPECT_EQ(EibiBadLinesMessage(2, 5),
            "2 lines of the schedule could not be read and were skipped (the first is line 5).");
}

}  // namespace
}  // namespace ondaris
