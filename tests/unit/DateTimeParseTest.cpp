#include "util/DateTimeParse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

namespace {

struct Fields {
  int year, month, day, hour, minute, second;
  bool operator==(const Fields&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Fields& f) {
  return out << f.year << '-' << f.month << '-' << f.day << ' ' << f.hour << ':' << f.minute << ':' << f.second;
}

// The calendar date a day number stands for, counted from 1899-12-30 (H. Hinnant's
// civil_from_days, the inverse of the reader's direction).
Fields DateOfDay(long long dayNumber) {
  long long z = dayNumber + 693899;  // 1899-12-30 is day 693899 after 0000-03-01
  long long era = (z >= 0 ? z : z - 146096) / 146097;
  long long dayOfEra = z - era * 146097;
  long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  long long shiftedMonth = (5 * dayOfYear + 2) / 153;
  int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
  return {year, month, day, 0, 0, 0};
}

// Walks the calendar one day at a time by its own rules.
struct CalendarWalk {
  int year, month, day;
  void Next() {
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    int length = month == 2 && leap ? 29 : lengths[month - 1];
    if (++day > length) {
      day = 1;
      if (++month > 12) {
        month = 1;
        ++year;
      }
    }
  }
};

// The shape of the history's time texts: "yyyy.M.d hh:mm:ss".
std::string TimeText(const Fields& f) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d.%d.%d %02d:%02d:%02d", f.year, f.month, f.day, f.hour, f.minute, f.second);
  return text;
}

// The calendar fields a date-time value stands for. Before the epoch the day counts down while
// the time of day, a fraction of the same sign, counts up.
Fields FieldsOf(double value) {
  double dayNumber = std::trunc(value);
  long long seconds = std::llround(std::fabs(value - dayNumber) * 86400);
  Fields fields = DateOfDay(static_cast<long long>(dayNumber));
  fields.hour = static_cast<int>(seconds / 3600);
  fields.minute = static_cast<int>(seconds / 60 % 60);
  fields.second = static_cast<int>(seconds % 60);
  return fields;
}

Fields WithTime(Fields date, int secondOfDay) {
  date.hour = secondOfDay / 3600;
  date.minute = secondOfDay / 60 % 60;
  date.second = secondOfDay % 60;
  return date;
}

void ExpectReadsBack(const Fields& fields) {
  std::string text = TimeText(fields);
  double value = TextToDateTime(text);
  ASSERT_NE(value, EarliestDateTime) << text;
  ASSERT_EQ(FieldsOf(value), fields) << text;
}

// Full-width forms in code page 936.
std::string FullWidth(const std::string& ascii) {
  std::string wide;
  for (char c : ascii) {
    if (c == ' ') {
      wide += "\xA1\xA1";
    } else {
      wide += '\xA3';
      wide += static_cast<char>(static_cast<unsigned char>(c) + 0x80);
    }
  }
  return wide;
}

}  // namespace

TEST(TextToDateTime, EveryDayFromTheFirstToTheLastIsOneDayAfterThePrevious) {
  CalendarWalk walk{100, 1, 1};
  double previous = TextToDateTime("0100.1.1 00:00:00");
  ASSERT_EQ(previous, -657434.0);
  while (walk.year < 9999 || walk.month < 12 || walk.day < 31) {
    walk.Next();
    std::string text = TimeText({walk.year, walk.month, walk.day, 0, 0, 0});
    double value = TextToDateTime(text);
    ASSERT_EQ(value, previous + 1) << text;
    previous = value;
  }
  EXPECT_EQ(previous, 2958465.0);
}

TEST(TextToDateTime, TimeTextsOfEveryDayFrom1800To2200ReadBack) {
  std::mt19937 random(1);
  for (CalendarWalk walk{1800, 1, 1}; walk.year <= 2200; walk.Next()) {
    ExpectReadsBack(WithTime({walk.year, walk.month, walk.day, 0, 0, 0}, static_cast<int>(random() % 86400)));
  }
}

TEST(TextToDateTime, RandomTimeTextsOverTheWholeRangeReadBack) {
  std::mt19937 random(2);
  const long long first = -657434, last = 2958465;
  for (int i = 0; i < 50000; ++i) {
    long long day = first + static_cast<long long>(random() % (last - first + 1));
    ExpectReadsBack(WithTime(DateOfDay(day), static_cast<int>(random() % 86400)));
  }
}

TEST(TextToDateTime, EverySecondOfADayReadsBackOneSecondAfterThePrevious) {
  const Fields day{2021, 11, 12, 0, 0, 0};
  double previous = TextToDateTime("2021.11.11 23:59:59");
  for (int second = 0; second < 86400; ++second) {
    Fields fields = WithTime(day, second);
    double value = TextToDateTime(TimeText(fields));
    ASSERT_EQ(FieldsOf(value), fields);
    ASSERT_EQ(SecondsBetween(value, previous), 1) << TimeText(fields);
    ASSERT_EQ(SecondsBetween(previous, value), -1) << TimeText(fields);
    ASSERT_EQ(SecondsBetween(value, value), 0);
    previous = value;
  }
}

TEST(TextToDateTime, ReadsTheSeparatorsFullWidthFormsAndChineseUnitsAndRefusesTheRest) {
  const Fields none{0, 0, 0, 0, 0, 0};
  const std::string 年 = "\xC4\xEA", 月 = "\xD4\xC2", 日 = "\xC8\xD5", 时 = "\xCA\xB1", 分 = "\xB7\xD6",
                    秒 = "\xC3\xEB";
  struct Case {
    std::string text;
    Fields expected;  // year 0: the text is refused
  } cases[] = {
      {"2021.11.12 12:10:12", {2021, 11, 12, 12, 10, 12}},
      {"2021.1.5 21:03:07", {2021, 1, 5, 21, 3, 7}},
      {"2021-01-05 00:00:00", {2021, 1, 5, 0, 0, 0}},
      {"2021/1/5/21/3/7", {2021, 1, 5, 21, 3, 7}},
      {"2021:1:5:21:3:7", {2021, 1, 5, 21, 3, 7}},
      {"2021.11.12", {2021, 11, 12, 0, 0, 0}},
      {"2021.11.12 12", {2021, 11, 12, 12, 0, 0}},
      {"2021111212:10:12", {2021, 11, 12, 12, 10, 12}},
      {FullWidth("2021.1.5 21:03:07"), {2021, 1, 5, 21, 3, 7}},
      {FullWidth("2021") + ".1.5" + "\xA1\xA1" + "21:03:07", {2021, 1, 5, 21, 3, 7}},
      {"2021" + 年 + "11" + 月 + "12" + 日 + "12" + 时 + "10" + 分 + "12" + 秒, {2021, 11, 12, 12, 10, 12}},
      {"2021" + 年 + "1" + 月 + "5" + 日 + "21" + 时 + "3" + 分 + "7", {2021, 1, 5, 21, 3, 7}},
      {FullWidth("2021") + 年 + FullWidth("1") + 月 + FullWidth("5") + 日, {2021, 1, 5, 0, 0, 0}},
      {"2020.2.29 10:00:00", {2020, 2, 29, 10, 0, 0}},
      {"2000.2.29 10:00:00", {2000, 2, 29, 10, 0, 0}},
      {"100.1.1 00:00:00", {100, 1, 1, 0, 0, 0}},
      {"9999.12.31 23:59:59", {9999, 12, 31, 23, 59, 59}},
      {"1899.12.29 06:00:00", {1899, 12, 29, 6, 0, 0}},
      {"2021.2.29 10:00:00", none},
      {"1900.2.29 10:00:00", none},
      {"2021.4.31 10:00:00", none},
      {"2021.13.1 10:00:00", none},
      {"2021.0.1 10:00:00", none},
      {"2021.1.0 10:00:00", none},
      {"99.1.1 00:00:00", none},
      {"2021.11.12 24:00:00", none},
      {"2021.11.12 12:60:00", none},
      {"2021.11.12 12:10:60", none},
      {"2021.11.12 12:10:123", none},
      {"2021.11.12 12:10:12x", none},
      {"2021.11.12 12:10:12" + 秒 + "x", none},
      {"2021.11.12  12:10:12", none},
      {" 2021.11.12 12:10:12", none},
      {"2021", none},
      {"", none},
      {"not a date", none},
      {"a.png", none},
      {年 + 月 + 日, none},
      {std::string("\xA3"), none},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    double value = TextToDateTime(c.text);
    if (c.expected.year == 0) {
      EXPECT_EQ(value, EarliestDateTime);
    } else {
      EXPECT_EQ(FieldsOf(value), c.expected);
    }
  }
}

TEST(TextToDateTime, TheEndsOfTheRangeAndDaysBeforeTheEpochHaveTheirKnownValues) {
  EXPECT_EQ(TextToDateTime("100.1.1 00:00:00"), -657434.0);
  EXPECT_EQ(TextToDateTime("9999.12.31 00:00:00"), 2958465.0);
  EXPECT_EQ(TextToDateTime("1899.12.30 00:00:00"), 0.0);
  EXPECT_EQ(TextToDateTime("1899.12.30 12:00:00"), 0.5);
  EXPECT_EQ(TextToDateTime("1899.12.29 00:00:00"), -1.0);
  EXPECT_EQ(TextToDateTime("1899.12.29 06:00:00"), -1.25);
  EXPECT_EQ(TextToDateTime("1900.1.1 06:00:00"), 2.25);
}

TEST(SecondsBetween, CountsWholeSecondsTruncatedTowardZero) {
  const double start = TextToDateTime("2021.11.12 12:10:12");
  const double second = 1.0 / 86400;
  struct Case {
    double later, earlier, expected;
  } cases[] = {
      {start, start, 0},
      {start + second, start, 1},
      {start, start + second, -1},
      {start + 0.5 * second, start, 0},
      {start - 0.5 * second, start, 0},
      {start + 1.999 * second, start, 1},
      {start + 3600 * second, start, 3600},
      // A difference a rounding error short of a whole second still counts it.
      {start + second * (1 - 1e-11), start, 1},
      {start + second * (59 - 1e-10), start, 59},
      {TextToDateTime("2021.11.12 12:10:13"), start, 1},
      {TextToDateTime("2021.11.13 12:10:12"), start, 86400},
      {TextToDateTime("2022.11.12 12:10:12"), start, 365 * 86400},
      // Before the epoch the time of day still counts forward.
      {TextToDateTime("1899.12.29 06:00:00"), TextToDateTime("1899.12.29 00:00:00"), 6 * 3600},
      {TextToDateTime("1899.12.29 18:00:00"), TextToDateTime("1899.12.29 06:00:00"), 12 * 3600},
      {TextToDateTime("1899.12.30 00:00:01"), TextToDateTime("1899.12.29 23:59:59"), 2},
      {TextToDateTime("9999.12.31 00:00:00"), TextToDateTime("100.1.1 00:00:00"), 3615899.0 * 86400},
      // Values beyond the range are first brought into it.
      {1e9, 0, 2958465.0 * 86400},
      {0, -1e9, 657434.0 * 86400},
      {1e9, 2e9, 0},
      {-1e9, -657434.0, 0},
      {0, std::nan(""), 657434.0 * 86400},
      {TextToDateTime("100.1.1 00:00:01"), EarliestDateTime, 1},
      {TextToDateTime("9999.12.31 23:59:59"), LatestDateTime, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.later) + " - " + std::to_string(c.earlier));
    EXPECT_EQ(SecondsBetween(c.later, c.earlier), c.expected);
  }
}

TEST(SecondsBetween, AnUnreadableTimeIsOlderThanAnyRealTime) {
  double now = TextToDateTime("2021.11.12 12:10:12");
  EXPECT_GT(SecondsBetween(now, TextToDateTime("")), 1e-7);
  EXPECT_GT(SecondsBetween(now, TextToDateTime("2021.2.29 10:00:00")), 1e-7);
  EXPECT_LT(SecondsBetween(now, TextToDateTime("2099.1.1 00:00:00")), 1e-7);
  EXPECT_GT(SecondsBetween(TextToDateTime("100.1.1 00:00:01"), TextToDateTime("nonsense")), 1e-7);
}
