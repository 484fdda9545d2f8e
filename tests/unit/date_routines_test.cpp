#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/DateRoutines.h"

namespace ondaris {
namespace {

TEST(DateRoutines, TimeTexts) {
  for (const auto& [t, text] : {std::pair{930, "0930"}, {5, "0005"}, {2359, "2359"}})
    EXPECT_EQ(FormatHHMM(t), text) << t;
  for (const auto& [hhmm, minutes] : {std::pair{930, 570}, {2359, 1439}, {-930, -930}})
    EXPECT_EQ(HHMMToMinutes(hhmm), minutes) << hhmm;
  for (const auto& [s, text] :
       {std::pair{3725LL, "1:02:05"}, {65LL, "1:05"}, {3599LL, "59:59"}, {36000LL, "10:00:00"}, {-1LL, ""}})
    EXPECT_EQ(FormatSeconds(s), text) << s;
  const DateTime t{2026, 12, 31, 7, 5, 9};
  EXPECT_EQ(std::vector<std::string>({ClockDisplayText(t), UtcTimeText(t), UtcDateText(t)}),
            std::vector<std::string>({"07:05:09", "0705", "12/31/2026"}));
}

TEST(DateRoutines, SplitDate) {
  const struct {
    const char* text;
    bool euro;
    int m, d, y;
  } cases[] = {{"3/7/2026", true, 7, 3, 2026}, {"01/02/07", false, 1, 2, 2007}, {"5", false, 5, 0, 2000},
               {"x/y/z", false, 0, 0, 2000}};
  for (const auto& c : cases) {
    int m = 9, d = 9, y = 9;
    ASSERT_TRUE(SplitDate(c.text, m, d, y, c.euro)) << c.text;
    EXPECT_EQ(std::vector<int>({m, d, y}), std::vector<int>({c.m, c.d, c.y})) << c.text;
  }
  int m, d, y;
  EXPECT_FALSE(SplitDate("", m, d, y));
}

TEST(DateRoutines, FebruaryAlwaysHas28Days) {
  const struct {
    int day, month;
    bool valid;
  } cases[] = {{28, 2, true}, {29, 2, false}, {31, 1, true},  {32, 1, false}, {30, 4, true},
               {31, 4, false}, {31, 12, true}, {1, 13, false}, {0, 5, false},  {1, 0, false}};
  for (const auto& c : cases) EXPECT_EQ(IsValidDayMonth(c.day, c.month), c.valid) << c.day << "/" << c.month;
}

TEST(DateRoutines, NextDayRollsDaysMonthsAndYears) {
  const struct {
    const char* date;
    bool euro;
    const char* next;
  } cases[] = {{"2/28/2028", false, "3/1/2028"},  // 29 February is never produced
               {"12/31/2026", false, "1/1/2027"}, {"31/12/2026", true, "1/1/2027"}, {"3/7/2026", false, "3/8/2026"},
               {"1/31/26", false, "2/1/2026"}};
  for (const auto& c : cases) EXPECT_EQ(NextDay(c.date, c.euro).value_or("none"), c.next) << c.date;
  EXPECT_FALSE(NextDay("").has_value());
}

TEST(DateRoutines, DayOfYearAndMinutes) {
  const struct {
    const char* date;
    bool euro;
    int day;
  } cases[] = {{"3/1/2028", false, 61},    {"3/1/2027", false, 60},   {"3/1/2000", false, -1},
               {"12/31/2028", false, 366}, {"2/29/2028", false, 60},  {"1/3/2028", true, 61},
               {"003/1/2027", false, -1},  {"3/001/2027", false, -1}, {"/1/2027", false, -1},
               {"3/1", false, -1},         {"13/1/2027", false, -1}};
  for (const auto& c : cases) EXPECT_EQ(DateToDayOfYear(c.date, c.euro), c.day) << c.date;
  EXPECT_EQ(std::pair(DateYearText("3/7/26"), DateYearText("3/7")), std::pair(std::string("26"), std::string()));
  // y = 26: (66 + 26*365 + 25/4) * 1440
  EXPECT_EQ(DateToMinutes("3/7/2026"), (66 + 26 * 365 + 6) * 1440LL);
  EXPECT_EQ(DateToMinutes("3/1/2000"), -1);
  EXPECT_EQ(DateToMinutes("1/1/2027") - DateToMinutes("12/31/2026"), 1440);
  EXPECT_LT(DateToMinutes("12/31/2027"), DateToMinutes("1/1/2028"));
  EXPECT_EQ(DateToMinutes("7/3/2026", true), DateToMinutes("3/7/2026", false));
}

}  // namespace
}  // namespace ondaris
