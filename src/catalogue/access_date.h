// SPDX-License-Identifier: MIT
#pragma once
#include <optional>

namespace catalogue {

// "yyyy-mm-dd hh:mm:ss" and its terminating zero.
struct DateText {
    char text[20];
};

// Access keeps a date as days since 1899-12-30 00:00, the fraction being the
// time of day. Gives the text of the dates from 1899-12-30 to 9999-12-31, to
// the nearest second; nothing for any other number (NaN, infinite, earlier,
// later), which the loader stores as null rather than a made-up date.
std::optional<DateText> AccessDateText(double days);

} // namespace catalogue
