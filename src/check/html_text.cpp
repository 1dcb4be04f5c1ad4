// SPDX-License-Identifier: MIT
#include "html_text.h"

namespace check {

QString HtmlEscaped(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': escaped += QLatin1String("&amp;"); break;
        case '<': escaped += QLatin1String("&lt;"); break;
        case '>': escaped += QLatin1String("&gt;"); break;
        case '"': escaped += QLatin1String("&quot;"); break;
        case '\'': escaped += QLatin1String("&#39;"); break;
        case 0: escaped += QChar(0xfffd); break;  // a parser drops or replaces it anyway
        default: escaped += c;
        }
    }
    return escaped;
}

QString Pixels(double value)
{
    QString text = QString::number(value, 'f', 1);
    if (text.endsWith(QLatin1String(".0")))
        text.chop(2);
    return text;
}

} // namespace check
