#include <windows.h>
#include <oleauto.h>

#include <random>

#include <gtest/gtest.h>

#include "util/Clock_win.h"
#include "util/DateTimeParse.h"
#include "util/DateTimeText_win.h"

namespace {

// The history's time stamp, exactly as the encode command writes it.
std::string TimeStamp(double value) { return DateTimeToText(value, "yyyy.M.d ", "hh:mm:ss", true); }

}  // namespace

TEST(HistoryTimeText, EveryTimeStampReadsBackAsTheVeryValueItWasWrittenFrom) {
  std::mt19937 random(7);
  std::vector<double> values = {CurrentDateTime()};
  for (int i = 0; i < 3000; ++i) {
    // Whole seconds of any day the locale formatting can write (from 1601 on).
    SYSTEMTIME fields{static_cast<WORD>(1601 + random() % (9999 - 1601 + 1)), static_cast<WORD>(1 + random() % 12),
                      0, static_cast<WORD>(1 + random() % 28), static_cast<WORD>(random() % 24),
                      static_cast<WORD>(random() % 60), static_cast<WORD>(random() % 60), 0};
    double value = 0;
    ASSERT_TRUE(::SystemTimeToVariantTime(&fields, &value));
    values.push_back(value);
  }
  for (double value : values) {
    std::string text = TimeStamp(value);
    ASSERT_FALSE(text.empty());
    double readBack = TextToDateTime(text);
    EXPECT_EQ(readBack, value) << text;
    EXPECT_EQ(SecondsBetween(value, readBack), 0) << text;
  }
}

TEST(HistoryTimeText, StampsASecondApartAreASecondApartAcrossMidnightAndTheYearsEnd) {
  SYSTEMTIME lastSecond{2021, 12, 0, 31, 23, 59, 59, 0};
  double before = 0;
  ASSERT_TRUE(::SystemTimeToVariantTime(&lastSecond, &before));
  SYSTEMTIME firstSecond{2022, 1, 0, 1, 0, 0, 0, 0};
  double after = 0;
  ASSERT_TRUE(::SystemTimeToVariantTime(&firstSecond, &after));
  EXPECT_EQ(TimeStamp(before), "2021.12.31 23:59:59");
  EXPECT_EQ(TimeStamp(after), "2022.1.1 00:00:00");
  EXPECT_EQ(SecondsBetween(TextToDateTime(TimeStamp(after)), TextToDateTime(TimeStamp(before))), 1);
  EXPECT_EQ(SecondsBetween(TextToDateTime(TimeStamp(before)), TextToDateTime(TimeStamp(after))), -1);
}
