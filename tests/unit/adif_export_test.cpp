// The ADIF export read back by a small ADIF reader of its own: every field's
// length must be the byte count of its value, the text ASCII only.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "logbook/AdifExport.h"
#include "platform/Clock.h"

namespace ondaris {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

struct AdifFile {
  std::string headerText;
  Fields header;
  std::vector<Fields> records;
};

// Reads ADI the way loggers do: "<NAME:LENGTH[:TYPE]>" then exactly LENGTH
// bytes; <EOH> ends the header, <EOR> a record. Anything between fields
// must be blank, so a wrong length shows up as stray text.
AdifFile ReadAdif(const std::string& text) {
  AdifFile file;
  std::size_t at = text.find('<');
  file.headerText = text.substr(0, at);
  Fields current;
  bool inHeader = true;
  while (at != std::string::npos && at < text.size()) {
    const std::size_t close = text.find('>', at);
    if (close == std::string::npos) {
      ADD_FAILURE() << "unclosed tag at " << at;
      break;
    }
    const std::string tag = text.substr(at + 1, close - at - 1);
    std::size_t next = close + 1;
    if (tag == "EOH" || tag == "eoh") {
      file.header = std::move(current);
      current.clear();
      inHeader = false;
    } else if (tag == "EOR" || tag == "eor") {
      EXPECT_FALSE(inHeader);
      file.records.push_back(std::move(current));
      current.clear();
    } else {
      const std::size_t colon = tag.find(':');
      EXPECT_NE(colon, std::string::npos) << tag;
      const std::string lengthText = tag.substr(colon + 1, tag.find(':', colon + 1) - colon - 1);
      const std::size_t length = std::stoul(lengthText);
      current.emplace_back(tag.substr(0, colon), text.substr(next, length));
      next += length;
    }
    const std::size_t following = text.find('<', next);
    const std::string gap = text.substr(next, following == std::string::npos ? std::string::npos : following - next);
    EXPECT_EQ(gap.find_first_not_of(" \r\n"), std::string::npos) << "stray text '" << gap << "' after " << tag;
    at = following;
  }
  EXPECT_TRUE(current.empty());
  return file;
}

const char* const FixedLog =
    "BC\t9580.5\tAM\t1400\t1/5/2001\tRadio Example \tEnglish news\t\t\t45444\t\t1457\tUtopia\tCapital\t\t\r\n"
    "UT\t153\tusb\t0230\t12/24/00\tDCF49\tTime signal.\t\t\t\t\t\t\t\t\t\r\n"
    "\t15345\tAM\t2100*\t2/29/2000\tRAE\t\t3/2/2002 direct\tcard\t\t\t2200*\targentina\t\t\t\r\n"
    "X\tabc\tDRM\t905\t2/29/2001\tR\xE9union 1\tCaf\xE9 \x93news\x94 \x80 5\xB0\t\t\tS9\t\xB1\t2460\t\xD6sterreich\t\t\t\r\n";

TEST(AdifExport, ReadsBackEveryRecordWithItsFields) {
  LogTable table;
  table.Load(FixedLog, ',');
  const std::string text = AdifFileText(table, {1, 2, 3, 4}, ',', DateTime{2026, 12, 7, 9, 5, 3});
  for (char c : text) ASSERT_TRUE(c == '\r' || c == '\n' || (c >= 32 && c < 127)) << int(c);

  const AdifFile file = ReadAdif(text);
  EXPECT_FALSE(file.headerText.empty());  // a header must not start with '<'
  EXPECT_EQ(file.header, (Fields{{"ADIF_VER", "3.1.4"},
                                 {"CREATED_TIMESTAMP", "20261207 090503"},
                                 {"PROGRAMID", "Ondaris"},
                                 {"PROGRAMVERSION", "1.1"}}));
  ASSERT_EQ(file.records.size(), 4u);
  EXPECT_EQ(file.records[0], (Fields{{"SWL", "Y"},
                                     {"QSO_DATE", "20010105"},
                                     {"TIME_ON", "1400"},
                                     {"TIME_OFF", "1457"},
                                     {"FREQ", "9.5805"},
                                     {"MODE", "AM"},
                                     {"NAME", "Radio Example"},
                                     {"QTH", "Capital"},
                                     {"COUNTRY", "Utopia"},
                                     {"RST_RCVD", "45444"},
                                     {"COMMENT", "English news"},
                                     {"APP_ONDARIS_CODE", "BC"}}));
  EXPECT_EQ(file.records[1], (Fields{{"SWL", "Y"},
                                     {"QSO_DATE", "20001224"},
                                     {"TIME_ON", "0230"},
                                     {"FREQ", "0.153"},
                                     {"MODE", "SSB"},
                                     {"SUBMODE", "USB"},
                                     {"CALL", "DCF49"},
                                     {"COMMENT", "Time signal."},
                                     {"APP_ONDARIS_CODE", "UT"}}));
  EXPECT_EQ(file.records[2], (Fields{{"SWL", "Y"},
                                     {"QSO_DATE", "20000229"},
                                     {"TIME_ON", "2100"},
                                     {"TIME_OFF", "2200"},
                                     {"FREQ", "15.345"},
                                     {"MODE", "AM"},
                                     {"NAME", "RAE"},
                                     {"COUNTRY", "argentina"},
                                     {"QSL_SENT", "Y"},
                                     {"QSL_RCVD", "Y"},
                                     {"APP_ONDARIS_SENT", "3/2/2002 direct"},
                                     {"APP_ONDARIS_RCVD", "card"}}));
  // Not a frequency, not a date (2001 is no leap year), a time without its
  // leading zero, an off time with minute 60, a mode outside the ADIF list,
  // text outside ASCII.
  EXPECT_EQ(file.records[3], (Fields{{"SWL", "Y"},
                                     {"TIME_ON", "0905"},
                                     {"NAME", "Reunion 1"},
                                     {"COUNTRY", "Osterreich"},
                                     {"RST_RCVD", "S9"},
                                     {"COMMENT", "Cafe \"news\" EUR 5deg"},
                                     {"APP_ONDARIS_CODE", "X"},
                                     {"APP_ONDARIS_MODE", "DRM"},
                                     {"APP_ONDARIS_RPT2", "+/-"}}));
}

}  // namespace
}  // namespace ondaris
