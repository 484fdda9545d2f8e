#pragma once
// The log display's sorts and searches over the column store.
//
// Every sort is the one Shell sort of common/ShellSort.h over a range of
// records, comparing up to four keys in turn. A key is read as
//
//   CaseFolded  the text with A..Z folded to a..z, compared byte by byte
//   Number      the text as a decimal number with the locale separator
//   Date        DateKey (LogDates.h)
//   Time        TimeKey (LogDates.h)
//   Flag        the text compared byte by byte, descending ("Y" first)
//
// and every key is ascending except Flag. A later key is consulted only when
// the earlier ones compare equal, and, for the earlier keys named in its
// `sameAs` mask, when their texts are identical too (so "9580" and "9580.0"
// are equal Freq numbers but not the same Freq). Records that are not to be
// exchanged never are, so where equal records end up depends on where they
// stood. A text that cannot be read as its kind sorts with the empty ones
// (Number 0, Date -1, Time 0): a damaged entry goes to one end instead of
// stopping the sort.
//
// Exchanging two records empties both marks, except where said otherwise.
// Sorting does not set Changed.

#include <string>
#include <string_view>
#include <vector>

#include "logbook/LogTable.h"

namespace ondaris {

enum class LogKeyKind { CaseFolded, Number, Date, Time, Flag };

struct LogSortKey {
  LogField field;
  LogKeyKind kind;
  // Bit i set: the text of key i (an earlier key) must be identical for this
  // key to be consulted.
  unsigned sameAs = 0;
};

// Sorts records first..last (1-based, clamped to the table) by `keys`.
// Exchanged records lose their marks unless `keepMarks`.
void SortLogRecords(LogTable& table, const std::vector<LogSortKey>& keys, char separator, int first = 1,
                    int last = -1, bool keepMarks = false);

// The sort of a grid column's header, by the field shown there (Code..Att).
std::vector<LogSortKey> HeaderSortKeys(LogField field);
void SortLogByHeader(LogTable& table, LogField field, char separator);

// The four sort buttons of the display.
enum class LogButtonSort {
  DateFreq,  // SortDateFreqBtn: Code, Date, Freq
  FreqID,    // SortFreqIDBtn: Code, Date, Freq, ID
  FreqCtry,  // SortFreqCtryBtn: Code, Date, Freq, Country
  CtryFreq,  // SortCtryFreqBtn: Code, Date, Country, Freq
};
std::vector<LogSortKey> ButtonSortKeys(LogButtonSort sort);
void SortLogByButton(LogTable& table, LogButtonSort sort, char separator);

// FindInText: the 1-based place of the first occurrence of `needle` in
// `text`, 0 when there is none or either is empty. Without `matchCase` both
// are compared with A..Z folded.
std::size_t FindInText(std::string_view needle, std::string_view text, bool matchCase);
// Whether any of the record's 18 fields contains `needle`.
bool LogRecordMatches(const LogTable& table, int record, std::string_view needle, bool matchCase);
// The first record from `from` on that matches; 0 when none.
int FindLogRecord(const LogTable& table, int from, std::string_view needle, bool matchCase);

// Find-Sort: the records that match go to the top (marks cleared first),
// are marked "T" and are then put in Date then Time order among themselves,
// keeping their marks. Returns how many were gathered.
int GatherMatchingRecords(LogTable& table, std::string_view needle, bool matchCase, char separator);

}  // namespace ondaris
