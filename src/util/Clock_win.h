#pragma once

// The local wall-clock time to whole seconds, as a date-time value: days since 1899-12-30
// 00:00 with the time of day as the fraction.
double CurrentDateTime();
