#pragma once
#include <QString>

namespace app {

// A modal message box with one OK button.
struct MessageBoxRequest {
    enum class Icon { None, Critical };
    QString text;
    QString title;  // empty: the box has no title of its own (the program's name shows)
    Icon icon = Icon::None;
};

// An error box: critical icon, title "錯誤".
inline MessageBoxRequest CriticalMessage(const QString& text)
{
    return {text, QStringLiteral("錯誤"), MessageBoxRequest::Icon::Critical};
}

// The system's convention for an error: Chinese line, CR LF, English line.
inline MessageBoxRequest ErrorMessage(const QString& chineseLine, const QString& englishLine)
{
    return CriticalMessage(chineseLine + QStringLiteral("\r\n") + englishLine);
}

// A box with the text alone: no icon and no title of its own.
inline MessageBoxRequest PlainMessage(const QString& text)
{
    return {text, QString(), MessageBoxRequest::Icon::None};
}

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void show(const MessageBoxRequest& request) = 0;  // returns when dismissed
};

} // namespace app
