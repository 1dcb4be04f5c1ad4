#pragma once
#include "app/message_box.h"

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
app::MessageBoxRequest CheckMessage(StrokeCheck check);

// The error box shown when a catalogue query fails while the window runs.
app::MessageBoxRequest CatalogueReadFailureMessage(const QString& error);

} // namespace validation
