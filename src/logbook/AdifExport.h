#pragma once
// The log in ADIF 3.1.4 (.adi), so that a listener's log opens in the usual
// amateur loggers. Each log record becomes one ADIF record marked SWL:1>Y.
//
// ADI text fields hold ASCII only, so every value is written through
// AdifAscii: the letters and signs of the log's single-byte code page become
// their nearest ASCII spelling (é e, ß ss, € EUR, curly quotes straight) and
// anything else "?". Every field length is the byte count of that value.
//
// Log fields without an ADIF counterpart go into application fields
// APP_ONDARIS_<name>, which ADIF readers keep or skip.

#include <string>
#include <string_view>
#include <vector>

#include "logbook/LogTable.h"

namespace ondaris {

struct DateTime;

inline constexpr const char* AdifExportFileName = "AdifExport.adi";

struct AdifField {
  std::string name, value;
  bool operator==(const AdifField&) const = default;
};

std::string AdifAscii(std::string_view text);
// A stored month/day/year date as YYYYMMDD; empty when it is not a date
// (a two-digit year counts from 2000).
std::string AdifDate(std::string_view date);
// A Time or Off text as HHMM ("*" marks dropped, 905 -> 0905); empty when it
// is not a time of day.
std::string AdifTime(std::string_view time);
// The kHz text (locale separator) in MHz; empty unless a positive number.
std::string AdifFreqMHz(std::string_view kHz, char separator);
// True for a text shaped like a call sign (letters, digits and "/", at least
// one of each, 3 to 15 characters).
bool LooksLikeCallSign(std::string_view id);

// The fields of one record in the order written; empty values are left out.
std::vector<AdifField> AdifRecordFields(const LogTable& table, int record, char separator);
// "<NAME:length>value".
std::string AdifFieldText(const AdifField& field);
// The header and one record per entry of `records`, CR LF line ends.
std::string AdifFileText(const LogTable& table, const std::vector<int>& records, char separator,
                         const DateTime& created);

}  // namespace ondaris
