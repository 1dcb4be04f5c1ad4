// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

namespace messages {

// A modal message box with one OK button.
struct MessageBoxRequest {
    enum class Icon { None, Critical };
    QString text;
    QString title;  // empty: the box has no title of its own
    Icon icon = Icon::None;
};

// An error box: critical icon, title "錯誤".
MessageBoxRequest CriticalMessage(const QString& text);
// The system's convention for an error: Chinese line, CR LF, English line.
MessageBoxRequest ErrorMessage(const QString& chineseLine, const QString& englishLine);
// A box with the text alone: no icon and no title of its own.
MessageBoxRequest PlainMessage(const QString& text);

// Where the boxes appear: on screen in the program, recorded in tests.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void show(const MessageBoxRequest& request) = 0;  // returns when dismissed
};

} // namespace messages
