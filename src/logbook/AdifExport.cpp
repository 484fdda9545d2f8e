#include "logbook/AdifExport.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

#include "common/NumberText.h"
#include "common/Version.h"
#include "platform/Clock.h"

namespace ondaris {

namespace {

// Bytes 0x80..0xFF of Windows-1252 (Latin-1 above 0x9F) in ASCII.
constexpr std::array<const char*, 128> HighBytes = {
    "EUR", "?", ",", "f", "\"", "...", "+", "+", "^", "%", "S", "<", "OE", "?", "Z", "?",           // 80
    "?", "'", "'", "\"", "\"", "*", "-", "-", "~", "TM", "s", ">", "oe", "?", "z", "Y",             // 90
    " ", "!", "c", "GBP", "?", "JPY", "|", "S", "\"", "(C)", "a", "<<", "-", "-", "(R)", "-",       // A0
    "deg", "+/-", "2", "3", "'", "u", "P", ".", ",", "1", "o", ">>", "1/4", "1/2", "3/4", "?",      // B0
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",                // C0
    "D", "N", "O", "O", "O", "O", "O", "x", "O", "U", "U", "U", "U", "Y", "TH", "ss",               // D0
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",                // E0
    "d", "n", "o", "o", "o", "o", "o", "/", "o", "u", "u", "u", "u", "y", "th", "y"};               // F0

// The modes of the ADIF mode list that a receiver's log is likely to name.
constexpr std::array<std::string_view, 21> AdifModes = {
    "AM",    "ATV", "CW",  "DIGITALVOICE", "DSTAR", "FAX", "FM",   "FT8",  "HELL", "JT65", "MFSK",
    "MT63",  "OLIVIA", "PKT", "PSK",      "RTTY",  "SSB", "SSTV", "THOR", "TOR",  "WSPR"};

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return out;
}

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int DaysInMonth(int month, int year) {
  static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

std::string Digits(int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
  return buffer;
}

void Add(std::vector<AdifField>& fields, const char* name, std::string value) {
  if (!value.empty()) fields.push_back({name, std::move(value)});
}

}  // namespace

std::string AdifAscii(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0x80) {
      out += HighBytes[c - 0x80];
    } else {
      out += (c < 32 || c == 127) ? ' ' : ch;
    }
  }
  return out;
}

std::string AdifDate(std::string_view date) {
  const auto first = date.find('/');
  if (first == std::string_view::npos) return {};
  const auto second = date.find('/', first + 1);
  if (second == std::string_view::npos) return {};
  const std::string_view m = TrimBlanks(date.substr(0, first)), d = TrimBlanks(date.substr(first + 1, second - first - 1)),
                         y = TrimBlanks(date.substr(second + 1));
  if (!AllDigits(m) || !AllDigits(d) || !AllDigits(y) || m.size() > 2 || d.size() > 2 || y.size() > 4) return {};
  const int month = static_cast<int>(*TryReadWhole(m)), day = static_cast<int>(*TryReadWhole(d));
  int year = static_cast<int>(*TryReadWhole(y));
  if (y.size() <= 2) year += 2000;
  // ADIF dates start in 1930.
  if (year < 1930 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(month, year)) return {};
  return Digits(year, 4) + Digits(month, 2) + Digits(day, 2);
}

std::string AdifTime(std::string_view time) {
  std::string digits;
  for (char c : TrimBlanks(time))
    if (c != '*') digits += c;
  if (!AllDigits(digits) || digits.size() > 4) return {};
  const int value = static_cast<int>(*TryReadWhole(digits));
  if (value / 100 > 23 || value % 100 > 59) return {};
  return Digits(value, 4);
}

std::string AdifFreqMHz(std::string_view kHz, char separator) {
  const auto value = TryReadDecimal(kHz, separator);
  if (!value || !(*value > 0) || *value > 1e9) return {};
  // to_chars, not printf: the desktop's locale must not turn the point into
  // a comma.
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, *value / 1000.0, std::chars_format::fixed, 9);
  std::string text(buffer, result.ptr);
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

bool LooksLikeCallSign(std::string_view id) {
  if (id.size() < 3 || id.size() > 15) return false;
  bool letter = false, digit = false;
  for (char c : id) {
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
      letter = true;
    } else if (c != '/') {
      return false;
    }
  }
  return letter && digit;
}

std::vector<AdifField> AdifRecordFields(const LogTable& table, int record, char separator) {
  const auto cell = [&](LogField f) { return std::string(TrimBlanks(table.Cell(record, f))); };
  const auto text = [&](LogField f) { return AdifAscii(cell(f)); };
  std::vector<AdifField> fields;
  fields.push_back({"SWL", "Y"});
  Add(fields, "QSO_DATE", AdifDate(cell(LogField::Date)));
  Add(fields, "TIME_ON", AdifTime(cell(LogField::Time)));
  Add(fields, "TIME_OFF", AdifTime(cell(LogField::Off)));
  Add(fields, "FREQ", AdifFreqMHz(cell(LogField::Freq), separator));

  const std::string mode = UpperAscii(text(LogField::Mode));
  std::string otherMode;
  if (mode == "USB" || mode == "LSB") {
    Add(fields, "MODE", "SSB");
    Add(fields, "SUBMODE", mode);
  } else if (std::find(AdifModes.begin(), AdifModes.end(), mode) != AdifModes.end()) {
    Add(fields, "MODE", mode);
  } else {
    otherMode = text(LogField::Mode);  // kept, but not as a mode loggers would refuse
  }

  const std::string id = text(LogField::ID);
  if (LooksLikeCallSign(id)) {
    Add(fields, "CALL", UpperAscii(id));
  } else {
    Add(fields, "NAME", id);
  }
  Add(fields, "QTH", text(LogField::Misc));
  Add(fields, "COUNTRY", text(LogField::Country));
  Add(fields, "RST_RCVD", text(LogField::Rpt1));
  if (!cell(LogField::Sent).empty()) Add(fields, "QSL_SENT", "Y");
  if (!cell(LogField::Rcvd).empty()) Add(fields, "QSL_RCVD", "Y");
  Add(fields, "COMMENT", text(LogField::Notes));
  Add(fields, "APP_ONDARIS_CODE", text(LogField::Code));
  Add(fields, "APP_ONDARIS_MODE", otherMode);
  Add(fields, "APP_ONDARIS_RPT2", text(LogField::Rpt2));
  Add(fields, "APP_ONDARIS_SENT", text(LogField::Sent));
  Add(fields, "APP_ONDARIS_RCVD", text(LogField::Rcvd));
  return fields;
}

std::string AdifFieldText(const AdifField& field) {
  return "<" + field.name + ":" + std::to_string(field.value.size()) + ">" + field.value;
}

std::string AdifFileText(const LogTable& table, const std::vector<int>& records, char separator,
                         const DateTime& created) {
  std::string text = std::string("ADIF export of the Ondaris log\r\n");
  const std::string stamp = Digits(created.year, 4) + Digits(created.month, 2) + Digits(created.day, 2) + " " +
                            Digits(created.hour, 2) + Digits(created.minute, 2) + Digits(created.second, 2);
  for (const AdifField& field : {AdifField{"ADIF_VER", "3.1.4"}, AdifField{"CREATED_TIMESTAMP", stamp},
                                 AdifField{"PROGRAMID", "Ondaris"}, AdifField{"PROGRAMVERSION", ProgramVersion}})
    text.append(AdifFieldText(field)).append("\r\n");
  text += "<EOH>\r\n";
  for (int record : records) {
    if (!table.IsRecord(record)) continue;
    for (const AdifField& field : AdifRecordFields(table, record, separator)) text.append(AdifFieldText(field)).append(" ");
    text += "<EOR>\r\n";
  }
  return text;
}

}  // namespace ondaris
