// SPDX-License-Identifier: MIT
#pragma once
#include "messages/message_box.h"

#include <QString>

namespace validation {

// The checks of the generate command, in the order they run.
enum class StrokeCheck {
    NoSeries,                // A
    NoType,                  // B
    NoBore,                  // C
    NotNonzeroNumber,        // D
    FirstStrokeOutOfRange,   // E
    SecondStrokeOutOfRange,  // F
};

// The error box of a failed check: Chinese line, CR LF, English line, under
// the title "錯誤" with the critical icon.
messages::MessageBoxRequest CheckMessage(StrokeCheck check);

} // namespace validation
