// SPDX-License-Identifier: MIT
#include "code_key.h"

namespace catalogue {

QString CodeKey(const QString& code)
{
    QString key = code;
    for (QChar& c : key) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return key;
}

} // namespace catalogue
