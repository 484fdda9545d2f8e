#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/DateRoutines.h"

namespace ondaris {
namespace {

TEST(FormatHHMM, PadsEachHalf) {
  struct Case {
    int t;
    const char* text;
  } cases[] = {{930, "0930"}, {0, "0000"}, {5, "0005"}, {2359, "2359"}, {1200, "1200"}, {100, "0100"}};
  for (const Case& c : cases) EXPECT_EQ(FormatHHMM(c.t), c.text) << c.t;
}

TEST(HHMMToMinutes, ConvertsAndKeepsNegatives) {
  EXPECT_EQ(HHMMToMinutes(0), 0);
  EXPECT_EQ(HHMMToMinutes(930), 570);
  EXPECT_EQ(HHMMToMinutes(2359), 1439);
  EXPECT_EQ(HHMMToMinutes(-1), -1);
  EXPECT_EQ(HHMMToMinutes(-930), -930);
}

TEST(SplitDate, MonthFirstAndDayFirst) {
  int m = 0, d = 0, y = 0;
  ASSERT_TRUE(SplitDate("3/7/2026", m, d, y));
  EXPECT_EQ(m, 3);
  EXPECT_EQ(d, 7);
  EXPECT_EQ(y, 2026);

  ASSERT_TRUE(SplitDate("3/7/2026", m, d, y, /*useEuroDate=*/true));
  EXPECT_EQ(m, 7);
  EXPECT_EQ(d, 3);
  EXPECT_EQ(y, 2026);
}

TEST(SplitDate, TwoDigitYearIsThisCentury) {
  int m = 0, d = 0, y = 0;
  ASSERT_TRUE(SplitDate("12/31/26", m, d, y));
  EXPECT_EQ(y, 2026);
  ASSERT_TRUE(SplitDate("01/02/07", m, d, y));
  EXPECT_EQ(m, 1);
  EXPECT_EQ(d, 2);
  EXPECT_EQ(y, 2007);
}

TEST(SplitDate, FalseOnlyForEmptyText) {
  int m = 9, d = 9, y = 9;
  EXPECT_FALSE(SplitDate("", m, d, y));
  EXPECT_TRUE(SplitDate("5", m, d, y));
  EXPECT_EQ(m, 5);
  EXPECT_EQ(d, 0);
  EXPECT_TRUE(SplitDate("x/y/z", m, d, y));
  EXPECT_EQ(m, 0);
  EXPECT_EQ(d, 0);
}

TEST(IsValidDayMonth, FebruaryAlwaysHas28Days) {
  struct Case {
    int day, month;
    bool valid;
  } cases[] = {{28, 2, true},  {29, 2, false}, {31, 1, true},  {32, 1, false}, {30, 4, true},
               {31, 4, false}, {31, 12, true}, {1, 13, false}, {0, 5, false},  {1, 0, false}};
  for (const Case& c : cases) EXPECT_EQ(IsValidDayMonth(c.day, c.month), c.valid) << c.day << "/" << c.month;
}

TEST(NextDay, RollsDaysMonthsAndYears) {
  struct Case {
    const char* date;
    bool euro;
    const char* next;
  } cases[] = {
      {"2/28/2028", false, "3/1/2028"},   // 29 February is never produced
      {"12/31/2026", false, "1/1/2027"},
      {"31/12/2026", true, "1/1/2027"},
      {"3/7/2026", false, "3/8/2026"},
      {"7/3/2026", true, "8/3/2026"},
      {"4/30/2026", false, "5/1/2026"},
      {"30/4/2026", true, "1/5/2026"},
      {"1/31/26", false, "2/1/2026"},     // the year comes back with four digits
      {"28/02/27", true, "1/3/2027"},
  };
  for (const Case& c : cases) {
    const std::optional<std::string> next = NextDay(c.date, c.euro);
    ASSERT_TRUE(next.has_value()) << c.date;
    EXPECT_EQ(*next, c.next) << c.date;
  }
  EXPECT_FALSE(NextDay("").has_value());
}

TEST(DateToDayOfYear, LeapYearsAndLimits) {
  struct Case {
    const char* date;
    bool euro;
    int day;
  } cases[] = {
      {"3/1/2028", false, 61},  {"3/1/2027", false, 60}, {"3/1/2000", false, -1}, {"1/1/2001", false, 1},
      {"12/31/2026", false, 365}, {"12/31/2028", false, 366}, {"2/29/2028", false, 60}, {"01/01/26", false, 1},
      {"1/3/2028", true, 61},   {"3/1/00", false, -1},   {"003/1/2027", false, -1}, {"3/001/2027", false, -1},
      {"/1/2027", false, -1},   {"3/1", false, -1},       {"13/1/2027", false, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(DateToDayOfYear(c.date, c.euro), c.day) << c.date;
}

TEST(DateYearText, ThirdPartAsWritten) {
  EXPECT_EQ(DateYearText("3/7/2026"), "2026");
  EXPECT_EQ(DateYearText("3/7/26"), "26");
  EXPECT_EQ(DateYearText("3/7"), "");
}

TEST(DateToMinutes, ComparisonKey) {
  // y = 26: (66 + 26*365 + 25/4) * 1440
  EXPECT_EQ(DateToMinutes("3/7/2026"), (66 + 26 * 365 + 6) * 1440LL);
  // y = 1: (y - 1) div 4 = 0
  EXPECT_EQ(DateToMinutes("1/1/2001"), (1 + 365) * 1440LL);
  EXPECT_EQ(DateToMinutes("3/1/2000"), -1);
  // Consecutive days are a day apart, also over a year's end.
  EXPECT_EQ(DateToMinutes("3/8/2026") - DateToMinutes("3/7/2026"), 1440);
  EXPECT_EQ(DateToMinutes("1/1/2027") - DateToMinutes("12/31/2026"), 1440);
  EXPECT_LT(DateToMinutes("12/31/2027"), DateToMinutes("1/1/2028"));
  EXPECT_EQ(DateToMinutes("7/3/2026", true), DateToMinutes("3/7/2026", false));
}

TEST(FormatSeconds, HoursMinutesSeconds) {
  struct Case {
    long long s;
    const char* text;
  } cases[] = {{3725, "1:02:05"}, {65, "1:05"}, {0, "0:00"}, {59, "0:59"},  {600, "10:00"},
               {3599, "59:59"},   {3600, "1:00:00"}, {36000, "10:00:00"}, {-1, ""}, {-3725, ""}};
  for (const Case& c : cases) EXPECT_EQ(FormatSeconds(c.s), c.text) << c.s;
}

TEST(ClockTexts, FormatAMoment) {
  const DateTime t{2026, 3, 7, 7, 5, 9};
  EXPECT_EQ(ClockDisplayText(t), "07:05:09");
  EXPECT_EQ(UtcTimeText(t), "0705");
  EXPECT_EQ(UtcDateText(t), "3/7/2026");
}

TEST(ClockTexts, MidnightRollover) {
  const DateTime before{2026, 12, 31, 23, 59, 59};
  const DateTime after{2027, 1, 1, 0, 0, 0};
  EXPECT_EQ(ClockDisplayText(before), "23:59:59");
  EXPECT_EQ(UtcTimeText(before), "2359");
  EXPECT_EQ(UtcDateText(before), "12/31/2026");
  EXPECT_EQ(ClockDisplayText(after), "00:00:00");
  EXPECT_EQ(UtcTimeText(after), "0000");
  EXPECT_EQ(UtcDateText(after), "1/1/2027");
  // The date the clock shows after midnight is the day after the one before.
  EXPECT_EQ(NextDay(UtcDateText(before)).value(), UtcDateText(after));
}

}  // namespace
}  // namespace ondaris
