#include "util/DateTimeParse.h"

#include <cmath>
#include <string_view>

#include "util/CodePage936.h"

namespace {

// The units of the Chinese date form, in code page 936.
constexpr std::string_view Year = "\xC4\xEA";    /* 年 */
constexpr std::string_view Month = "\xD4\xC2";   /* 月 */
constexpr std::string_view Day = "\xC8\xD5";     /* 日 */
constexpr std::string_view Hour = "\xCA\xB1";    /* 时 */
constexpr std::string_view Minute = "\xB7\xD6";  /* 分 */
constexpr std::string_view Second = "\xC3\xEB";  /* 秒 */

// In code page 936 the full-width form of an ASCII character c is A3, c + 0x80, and the
// ideographic space is A1 A1. Every other character is kept, both its bytes together.
std::string ToHalfWidth(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    auto lead = static_cast<unsigned char>(text[i]);
    if (!IsLeadByte(text[i]) || i + 1 == text.size()) {
      result.push_back(text[i]);
      continue;
    }
    auto trail = static_cast<unsigned char>(text[++i]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      result.push_back(static_cast<char>(trail - 0x80));
    } else if (lead == 0xA1 && trail == 0xA1) {
      result.push_back(' ');
    } else {
      result.push_back(static_cast<char>(lead));
      result.push_back(static_cast<char>(trail));
    }
  }
  return result;
}

// Walks the text by whole characters: digits and separators are ASCII or a whole unit, so the
// position never lands inside a two-byte character.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  int Number(int maxDigits) {
    int value = 0;
    for (int count = 0; count < maxDigits && position_ < text_.size(); ++count) {
      char c = text_[position_];
      if (c < '0' || c > '9') break;
      value = value * 10 + (c - '0');
      ++position_;
    }
    return value;
  }

  void SkipSeparator(std::string_view unit, bool spaceToo = false) {
    if (position_ == text_.size()) return;
    char c = text_[position_];
    if (c == '-' || c == '.' || c == '/' || c == ':' || (spaceToo && c == ' ')) {
      ++position_;
    } else if (text_.substr(position_).starts_with(unit)) {
      position_ += unit.size();
    }
  }

  bool AtEndOrLast(std::string_view unit) const {
    std::string_view rest = text_.substr(position_);
    return rest.empty() || rest == unit;
  }

 private:
  std::string_view text_;
  size_t position_ = 0;
};

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar (H. Hinnant's days_from_civil).
long DaysFromCivil(int year, int month, int day) {
  year -= month <= 2;
  const long era = (year >= 0 ? year : year - 399) / 400;
  const long yearOfEra = year - era * 400;
  const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

// Before 1899-12-30 the day counts down but the time of day still counts up, as a fraction of
// the same sign (-1.25 is 06:00 on 1899-12-29); on this line time simply counts up.
double ToLinearDays(double value) {
  if (!(value < 0)) return value;
  double day = std::ceil(value);
  return day + (day - value);
}

// From 100-01-01 00:00:00 to 9999-12-31 00:00:00 in time; NaN counts as the earliest.
double Clamped(double linearDays) {
  if (!(linearDays >= EarliestDateTime)) return EarliestDateTime;
  return linearDays > LatestDateTime ? LatestDateTime : linearDays;
}

}  // namespace

double TextToDateTime(const std::string& text) {
  if (text.empty()) return EarliestDateTime;
  std::string halfWidth = ToHalfWidth(text);
  Reader reader(halfWidth);
  int year = reader.Number(4);
  reader.SkipSeparator(Year);
  int month = reader.Number(2);
  reader.SkipSeparator(Month);
  int day = reader.Number(2);
  reader.SkipSeparator(Day, /*spaceToo=*/true);
  int hour = reader.Number(2);
  reader.SkipSeparator(Hour);
  int minute = reader.Number(2);
  reader.SkipSeparator(Minute);
  int second = reader.Number(2);
  if (!reader.AtEndOrLast(Second)) return EarliestDateTime;

  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
      hour > 23 || minute > 59 || second > 59) {
    return EarliestDateTime;
  }
  double value = static_cast<double>(DaysFromCivil(year, month, day) - DaysFromCivil(1899, 12, 30));
  // Summed part by part in the order oleaut32's SystemTimeToVariantTime sums them, so that a
  // time written as text reads back as the very value it was written from.
  double sign = value < 0 ? -1.0 : 1.0;
  value += hour / 24.0 * sign;
  value += minute / 1440.0 * sign;
  value += second / 86400.0 * sign;
  return value;
}

double SecondsBetween(double later, double earlier) {
  later = Clamped(ToLinearDays(later));
  earlier = Clamped(ToLinearDays(earlier));
  if (later == earlier) return 0;
  double seconds = (later - earlier) * 86400;
  // The addend keeps a product that falls a rounding error short of a whole second from losing
  // it; it goes with the difference's sign so that swapping the two only swaps the sign.
  return std::trunc(seconds + std::copysign(0.000005787037037037037, seconds));
}
