#pragma once
// Dates as the high-score file keeps them: days since 30 December 1899 00:00, local time,
// with the time of day as the fraction.

// The date and time given, in that form. `month` and `day` count from 1.
double EncodeDateTime(int year, unsigned month, unsigned day, int hour, int minute, int second,
                      int millisecond);

// The local date and time now, in that form.
double LocalDateTimeNow();
