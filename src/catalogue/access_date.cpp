// SPDX-License-Identifier: MIT
#include "access_date.h"
#include <QDate>
#include <cmath>

namespace catalogue {

namespace {

constexpr qint64 kSecondsPerDay = 86400;
// 10000-01-01 counted from 1899-12-30: the first day Access cannot hold.
constexpr qint64 kEndOfDates = 2958466;

// Writes value as width decimal digits at text and returns the end.
char* Digits(char* text, int value, int width)
{
    for (int i = width - 1; i >= 0; --i, value /= 10)
        text[i] = char('0' + value % 10);
    return text + width;
}

} // namespace

std::optional<DateText> AccessDateText(double days)
{
    // Written so that NaN fails the test too.
    if (!(days >= 0.0 && days < double(kEndOfDates)))
        return std::nullopt;
    const qint64 seconds = std::llround(days * double(kSecondsPerDay));
    const qint64 day = seconds / kSecondsPerDay;
    if (day >= kEndOfDates)  // the last second of 9999 rounded up
        return std::nullopt;
    const qint64 second = seconds % kSecondsPerDay;
    const QDate date = QDate(1899, 12, 30).addDays(day);
    DateText text;
    char* end = Digits(text.text, date.year(), 4);
    *end++ = '-';
    end = Digits(end, date.month(), 2);
    *end++ = '-';
    end = Digits(end, date.day(), 2);
    *end++ = ' ';
    end = Digits(end, int(second / 3600), 2);
    *end++ = ':';
    end = Digits(end, int(second / 60 % 60), 2);
    *end++ = ':';
    end = Digits(end, int(second % 60), 2);
    *end = '\0';
    return text;
}

} // namespace catalogue
