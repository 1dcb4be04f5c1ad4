// SPDX-License-Identifier: MIT
#include "message_box.h"

namespace messages {

MessageBoxRequest CriticalMessage(const QString& text)
{
    return {text, QStringLiteral("錯誤"), MessageBoxRequest::Icon::Critical};
}

MessageBoxRequest ErrorMessage(const QString& chineseLine, const QString& englishLine)
{
    return CriticalMessage(chineseLine + QStringLiteral("\r\n") + englishLine);
}

MessageBoxRequest PlainMessage(const QString& text)
{
    return {text, QString(), MessageBoxRequest::Icon::None};
}

} // namespace messages
