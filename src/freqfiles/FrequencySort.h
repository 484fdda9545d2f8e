#pragma once
// The nine sorts of the frequency grid, one per grid column. Each orders a
// row order (the records themselves never move) with the one Shell sort of
// common/ShellSort.h, comparing up to three keys:
//
//   column     first key                         second key        third key
//   0 Lk       locked out (Lockout not "0") first Freq as number    Name as text
//   1 Freq     Freq as number                     Name as text      OnAir as number
//   2 Name     Name as text                       Freq as number    OnAir as number
//   3 On Air   OnAir as number                    Name as text      Freq as number
//   4 Off Air  OffAir as number                   Name as text      Freq as number
//   5 Language Language as text                   Name as text      Freq as number
//   6 Location Location as text                   Name as text      Freq as number
//   7 Mode     Mode as text                       Name as text      Freq as number
//   8 Filt     Filter as number                   Name as text      Freq as number
//
// "As text" compares the 8-bit codes after turning A..Z into a..z (nothing
// else is folded). "As number" reads Freq as a decimal number written with the
// locale separator and OnAir, OffAir and Filter as whole numbers. A later key
// is consulted only when the keys before it are equal, and keys are equal
// when their texts are: after the case folding for text keys, character for
// character for the others (so two Freq texts of the same number but written
// differently, "9580" and "9580.0", are equal as numbers yet not equal keys,
// and stay where they are). For the lockout key, Lockout texts that differ
// but are both locked out ("1" and "2") likewise stay where they are.
//
// A number field whose text is not a number (an empty OnAir, say) sorts
// before every number; two such texts that differ are not equal keys.
// Records with fully equal keys are never swapped.

#include <vector>

#include "freqfiles/FrequencyList.h"

namespace ondaris {

// The grid column a sort belongs to.
enum class SortColumn : int {
  Lockout = 0,
  Freq = 1,
  Name = 2,
  StartTime = 3,
  EndTime = 4,
  Language = 5,
  Location = 6,
  Mode = 7,
  Filter = 8,
};
constexpr int SortColumnCount = 9;

// Sorts `order` (record numbers of `list`) by the keys of `column`.
void SortRowOrder(const FrequencyList& list, std::vector<int>& order, SortColumn column, char separator);

// Sorts the view the grid shows (RowOrder, or OnAirRowOrder in the on-air
// view). Sorting the full view changes the order in which the file is saved.
void SortView(FrequencyList& list, SortColumn column, char separator);

void SortByLockout(FrequencyList& list, char separator);
void SortByFreq(FrequencyList& list, char separator);
void SortByName(FrequencyList& list, char separator);
void SortByStartTime(FrequencyList& list, char separator);
void SortByEndTime(FrequencyList& list, char separator);
void SortByLanguage(FrequencyList& list, char separator);
void SortByLocation(FrequencyList& list, char separator);
void SortByMode(FrequencyList& list, char separator);
void SortByFilter(FrequencyList& list, char separator);

// The "full view is in frequency order" mark after a sort: set by the Freq
// sort, kept by the On Air sort, cleared by the seven others; a sort of the
// on-air view keeps it.
bool FreqSortedAfterSort(SortColumn column, bool onAirView, bool freqSortedBefore);

}  // namespace ondaris
