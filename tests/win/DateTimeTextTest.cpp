#include <windows.h>
#include <oleauto.h>

#include <string>

#include <gtest/gtest.h>

#include "util/DateTimeText_win.h"

namespace {

double DateTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
  SYSTEMTIME fields{year, month, 0, day, hour, minute, second, 0};
  double value = 0;
  EXPECT_TRUE(::SystemTimeToVariantTime(&fields, &value));
  return value;
}

struct TextCase {
  double value;
  const char* datePicture;
  const char* timePicture;
  bool force24Hour;
  std::string text;
};

TEST(DateTimeToText, GivesTheHistoryTimeStamp) {
  const TextCase cases[] = {
      // The value counts days from 1899-12-30, so this one pins the epoch without the platform's help.
      {44512 + (12 * 3600 + 10 * 60 + 12) / 86400.0, "yyyy.M.d ", "hh:mm:ss", true, "2021.11.12 12:10:12"},
      {DateTime(2021, 1, 5, 21, 3, 7), "yyyy.M.d ", "hh:mm:ss", true, "2021.1.5 21:03:07"},
      {DateTime(2021, 3, 4, 0, 0, 0), "yyyy.M.d ", "hh:mm:ss", true, "2021.3.4 00:00:00"},
      {DateTime(2021, 3, 4, 12, 0, 0), "yyyy.M.d ", "hh:mm:ss", true, "2021.3.4 12:00:00"},
      {DateTime(2021, 3, 4, 13, 0, 0), "yyyy.M.d ", "hh:mm:ss", true, "2021.3.4 13:00:00"},
      {DateTime(1999, 12, 31, 23, 59, 59), "yyyy.M.d ", "hh:mm:ss", true, "1999.12.31 23:59:59"},
      {DateTime(2000, 2, 29, 9, 8, 7), "yyyy.M.d ", "hh:mm:ss", true, "2000.2.29 09:08:07"},
      {0.0, "yyyy.M.d ", "hh:mm:ss", true, "1899.12.30 00:00:00"},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(DateTimeToText(c.value, c.datePicture, c.timePicture, c.force24Hour), c.text) << c.text;
  }
}

TEST(DateTimeToText, LeavesOutAPartWhosePictureIsShorterThanThreeBytes) {
  const double value = DateTime(2021, 11, 12, 13, 5, 9);
  const TextCase cases[] = {
      {value, "yyyy.M.d ", "", true, "2021.11.12 "},
      {value, "yyyy.M.d ", "hh", true, "2021.11.12 "},
      {value, "", "hh:mm:ss", true, "13:05:09"},
      {value, "yy", "hh:mm:ss", true, "13:05:09"},
      {value, "d.M", "h:m", true, "12.1113:5"},
      {value, "", "", true, ""},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(DateTimeToText(c.value, c.datePicture, c.timePicture, c.force24Hour), c.text)
        << "'" << c.datePicture << "' '" << c.timePicture << "'";
  }
}

TEST(DateTimeToText, CountsTheHoursOnTheTwelveHourClockUnlessForcedTo24) {
  EXPECT_EQ(DateTimeToText(DateTime(2021, 3, 4, 13, 0, 0), "", "hh:mm:ss", false), "01:00:00");
  EXPECT_EQ(DateTimeToText(DateTime(2021, 3, 4, 0, 30, 0), "", "hh:mm:ss", false), "12:30:00");
}

TEST(DateTimeToText, GivesEmptyTextForValuesThePlatformCannotRepresentOrPartsTooLong) {
  EXPECT_EQ(DateTimeToText(3000000.0, "yyyy.M.d ", "hh:mm:ss", true), "");   // past the year 9999
  EXPECT_EQ(DateTimeToText(-1000000.0, "yyyy.M.d ", "hh:mm:ss", true), "");  // before the year 100
  // 60 characters do not fit a part's 50.
  EXPECT_EQ(DateTimeToText(44512.5, std::string(60, '.'), "hh:mm:ss", true), "");
}

}  // namespace
