// SPDX-License-Identifier: MIT
#pragma once
#include "check/catalogue_index.h"
#include "check/catalogue_rows.h"
#include "check/findings.h"
#include <QStringList>
#include <QTest>

namespace check_test {

using check::CatalogueRows;
using check::DetailRow;
using check::FieldValue;
using check::Finding;
using check::Findings;
using check::MainRow;
using check::Severity;

inline FieldValue Text(const char* text) { return FieldValue(QString::fromUtf8(text)); }
inline FieldValue Whole(qint64 number) { return FieldValue(number); }
inline FieldValue Real(double number) { return FieldValue(number); }
inline FieldValue Null() { return FieldValue(); }

inline MainRow Main(const char* series, const char* type, FieldValue multi = Text("1"),
                    FieldValue owner = Whole(0))
{
    return {Text(series), Text(type), multi, owner};
}

// A Fluid_Detail row; bounds as numbers, the first stroke, no file by default.
inline DetailRow Detail(const char* series, const char* type, const char* bore, qint64 sortId,
                        FieldValue min, FieldValue max, FieldValue process = Text("1"),
                        FieldValue file = Null())
{
    return {Text(series), Text(type), Text(bore), Whole(sortId), min, max, process, file};
}

inline CatalogueRows Rows(std::vector<MainRow> main, std::vector<DetailRow> detail)
{
    CatalogueRows rows;
    rows.hasMain = rows.hasDetail = true;
    rows.main = std::move(main);
    rows.detail = std::move(detail);
    return rows;
}

// The findings of one check, in order.
inline std::vector<Finding> Only(const Findings& findings, const char* check)
{
    std::vector<Finding> kept;
    for (const Finding& finding : findings) {
        if (finding.check == QLatin1String(check))
            kept.push_back(finding);
    }
    return kept;
}

inline QStringList Checks(const Findings& findings)
{
    QStringList list;
    for (const Finding& finding : findings)
        list.append(finding.check);
    return list;
}

// "Series/Type/Bore/SortID" of a finding, for compact comparisons.
inline QString Where(const Finding& finding)
{
    const check::Location& l = finding.location;
    QStringList parts{l.series, l.type, l.bore, l.sortId};
    if (!l.path.isEmpty())
        parts.append(l.path);
    return parts.join(u'/');
}

inline QStringList Wheres(const std::vector<Finding>& findings)
{
    QStringList list;
    for (const Finding& finding : findings)
        list.append(Where(finding));
    return list;
}

} // namespace check_test
