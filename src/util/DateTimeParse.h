#pragma once
// Reading the history's time texts back into date-time values (days since 1899-12-30 00:00,
// the time of day as the fraction), and comparing two such values in whole seconds.
#include <string>

inline constexpr double EarliestDateTime = -657434.0;  // 100-01-01 00:00:00
inline constexpr double LatestDateTime = 2958465.0;    // 9999-12-31 00:00:00

// Reads year, month, day, hour, minute and second, in that order, each a run of at most 4 (the
// year) or 2 digits, a missing one counting as 0. After each of the first five one separator may
// follow: "-", ".", "/", ":" or its unit 年 月 日 时 分 (after the day a space too); after the
// second the text ends, or 秒 ends it. Full-width characters read as their ASCII counterparts.
// Years 100 to 9999 of the Gregorian calendar. Anything else, the empty text included, gives
// EarliestDateTime.
double TextToDateTime(const std::string& text);

// later - earlier in whole seconds, truncated toward zero; both are first brought into the range
// from EarliestDateTime to LatestDateTime.
double SecondsBetween(double later, double earlier);
