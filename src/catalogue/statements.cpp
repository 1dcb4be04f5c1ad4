// SPDX-License-Identifier: MIT
#include "statements.h"
#include "queries.h"

namespace catalogue {

QString QuoteSqlValue(const QString& value)
{
    QString quoted = value;
    return quoted.replace(QLatin1Char('\''), QLatin1String("''"));
}

QString StripBlanks(const QString& text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

bool IsPlainDecimal(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto digits = [&] {
        const qsizetype start = i;
        while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
            ++i;
        return i > start;
    };
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    if (!digits())
        return false;
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        if (!digits())
            return false;
    }
    return i == n;
}

QString SeriesListStatement()
{
    return QStringLiteral("SELECT DISTINCT STYLE FROM Fluid_Main");
}

QString TypeListStatement(const QString& series)
{
    return QStringLiteral("SELECT DISTINCT STYLEDetail FROM Fluid_Main where Style='") +
           QuoteSqlValue(series) + QStringLiteral("'");
}

QString BoreListStatement(const QString& series, const QString& type)
{
    return QStringLiteral("SELECT DISTINCT DiaSpec FROM Fluid_Detail where Style='") +
           QuoteSqlValue(series) + QStringLiteral("' AND StyleDetail='") + QuoteSqlValue(type) +
           QStringLiteral("'");
}

QString SecondStrokeStatement(const QString& series, const QString& type)
{
    return QStringLiteral("SELECT DISTINCT MultiProcess FROM Fluid_Main where Style='") +
           QuoteSqlValue(series) + QStringLiteral("' AND StyleDetail='") + QuoteSqlValue(type) +
           QStringLiteral("'");
}

QString StrokeEntryStatement(const QString& series, const QString& type)
{
    return QStringLiteral("SELECT OwnerProcess FROM Fluid_Main where Style='") +
           QuoteSqlValue(series) + QStringLiteral("' AND StyleDetail='") + QuoteSqlValue(type) +
           QStringLiteral("'");
}

QString DrawingFileStatement(const QString& series, const QString& type, const QString& bore,
                             const QString& stroke)
{
    return QStringLiteral("SELECT FileName FROM Fluid_Detail where Style='") +
           QuoteSqlValue(series) + QStringLiteral("' AND StyleDetail='") + QuoteSqlValue(type) +
           QStringLiteral("' AND DiaSpec='") + QuoteSqlValue(bore) +
           QStringLiteral("' and  MinValue<=") + stroke + QStringLiteral(" and MaxValue >=") +
           stroke + QStringLiteral(" Order By SortID");
}

QString RangeTextStatement(const QString& series, const QString& type, const QString& bore)
{
    return QStringLiteral("SELECT SortID, MinValue, MaxValue,ProcessID FROM Fluid_Detail "
                          "where Style='") +
           QuoteSqlValue(series) + QStringLiteral("' AND StyleDetail='") + QuoteSqlValue(type) +
           QStringLiteral("' AND DiaSpec='") + QuoteSqlValue(bore) +
           QStringLiteral("' Order By SortID");
}

} // namespace catalogue
