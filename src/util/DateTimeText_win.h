#pragma once
#include <string>

// A date-time value (days since 1899-12-30 00:00, the time of day as the fraction) as text, by the
// user's locale formatting: the date picture's part followed directly by the time picture's, each
// left out when its picture is shorter than 3 bytes. Empty text when the value is no date the
// platform can represent or a part cannot be formatted.
std::string DateTimeToText(double value, const std::string& datePicture, const std::string& timePicture,
                           bool force24Hour);
