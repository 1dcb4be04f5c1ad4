// SPDX-License-Identifier: MIT
#include "cad_commands.h"

namespace generation {

namespace {
const QString kCr = QStringLiteral("\r");
const QString kQuote = QStringLiteral("\"");

QString StretchHead(const QString& typeCode, const QString& boreCode)
{
    return QStringLiteral("(3dstretch ") + kQuote + typeCode.toLower() + kQuote
        + QStringLiteral(" ") + boreCode;
}
} // namespace

QString LoadCommand()
{
    return QStringLiteral("(load \"3dstretch\")") + kCr;
}

QString StretchCommand(const QString& typeCode, const QString& boreCode,
                       const QString& firstStroke, const QString& secondValue)
{
    return StretchHead(typeCode, boreCode) + QStringLiteral(" ") + firstStroke
        + QStringLiteral(" ") + secondValue + QStringLiteral(")") + kCr;
}

QString FixedStretchCommand(const QString& typeCode, const QString& boreCode)
{
    return StretchHead(typeCode, boreCode) + QStringLiteral(" 0 0)") + kCr;
}

QString StretchCommandFor(bool strokeEntryAllowed, const QString& typeCode,
                          const QString& boreCode, const QString& firstStroke,
                          const QString& secondStroke, bool secondStrokeVisible)
{
    if (!strokeEntryAllowed)
        return FixedStretchCommand(typeCode, boreCode);
    return StretchCommand(typeCode, boreCode, firstStroke,
                          secondStrokeVisible ? secondStroke : QStringLiteral("0"));
}

bool IsSafeCatalogueCode(const QString& code)
{
    for (const QChar c : code) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\') || c == QLatin1Char('(')
            || c == QLatin1Char(')') || c == QLatin1Char('/') || c.unicode() < 0x20
            || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

bool IsSafeBoreCode(const QString& code)
{
    if (!IsSafeCatalogueCode(code))
        return false;
    for (const QChar c : code) {
        if (c == QLatin1Char(';') || c == QLatin1Char('\'') || c.isSpace())
            return false;
    }
    return true;
}

bool CommandAccepts(CommandCode which, const QString& code)
{
    switch (which) {
    case CommandCode::Type: return IsSafeCatalogueCode(code);
    case CommandCode::Bore: return IsSafeBoreCode(code);
    }
    return false;
}

} // namespace generation
