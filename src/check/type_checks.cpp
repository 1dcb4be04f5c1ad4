// SPDX-License-Identifier: MIT
#include "type_checks.h"
#include "catalogue/code_key.h"
#include "read_catalogue.h"
#include <QSet>
#include <QStringList>

namespace check {

namespace {

Location TypeLocation(const TypeEntry& type)
{
    return Location{type.series, type.type, {}, {}, {}};
}

QString ValueText(const FieldValue& value)
{
    return value.isNull() ? QStringLiteral("null") : QLatin1Char('"') + value.toText() + QLatin1Char('"');
}

QString TruthText(const std::optional<bool>& value)
{
    return !value ? QStringLiteral("no truth value") : *value ? QStringLiteral("true") : QStringLiteral("false");
}

void CheckAgreement(const CatalogueRows& rows, const TypeEntry& type, Findings& findings)
{
    QStringList multiValues, ownerValues;
    QSet<bool> secondStroke;
    QSet<int> fixed;  // 0 false, 1 true, 2 no truth value
    for (const size_t index : type.mainRows) {
        const MainRow& row = rows.main[index];
        secondStroke.insert(!row.multiProcess.equalsOne());
        const std::optional<bool> owner = row.ownerProcess.toBool();
        fixed.insert(owner ? int(*owner) : 2);
        if (!multiValues.contains(ValueText(row.multiProcess)))
            multiValues.append(ValueText(row.multiProcess));
        if (!ownerValues.contains(ValueText(row.ownerProcess)))
            ownerValues.append(ValueText(row.ownerProcess));
    }
    if (secondStroke.size() > 1) {
        findings.push_back(
            {Severity::Warning, QStringLiteral("main-multiprocess-disagree"), kMainTable, TypeLocation(type),
             QStringLiteral("The %1 rows of this Type disagree on MultiProcess (%2): the last row "
                            "the engine returns decides whether the second stroke is shown, here %3.")
                 .arg(type.mainRows.size())
                 .arg(multiValues.join(QStringLiteral(", ")),
                      type.secondStroke ? QStringLiteral("shown") : QStringLiteral("hidden")),
             QStringLiteral("Give every row of the Type the same MultiProcess, or keep one row.")});
    }
    if (fixed.size() > 1) {
        findings.push_back(
            {Severity::Warning, QStringLiteral("main-ownerprocess-disagree"), kMainTable, TypeLocation(type),
             QStringLiteral("The %1 rows of this Type disagree on OwnerProcess (%2): the first row "
                            "the engine returns decides, here the strokes are %3.")
                 .arg(type.mainRows.size())
                 .arg(ownerValues.join(QStringLiteral(", ")),
                      type.strokesFixed ? QStringLiteral("fixed") : QStringLiteral("typed by the user")),
             QStringLiteral("Give every row of the Type the same OwnerProcess, or keep one row.")});
    }
}

void CheckOwnerValues(const CatalogueRows& rows, const TypeEntry& type, Findings& findings)
{
    for (const size_t index : type.mainRows) {
        const FieldValue& owner = rows.main[index].ownerProcess;
        if (owner.toBool().has_value())
            continue;
        findings.push_back(
            {Severity::Error, QStringLiteral("main-ownerprocess-null"), kMainTable, TypeLocation(type),
             QStringLiteral("OwnerProcess is %1 (%2): the program locks the strokes at \"0\" and "
                            "sends the fixed-stroke command.")
                 .arg(ValueText(owner), TruthText(owner.toBool())),
             QStringLiteral("Set OwnerProcess to No (the user types the strokes) or Yes (fixed).")});
        return;  // once per Type
    }
}

} // namespace

Findings CheckTypes(const CatalogueRows& rows, const CatalogueIndex& index)
{
    Findings findings;
    for (const TypeEntry& type : index.types) {
        CheckAgreement(rows, type, findings);
        CheckOwnerValues(rows, type, findings);
        if (type.bores.empty() && rows.hasDetail) {
            findings.push_back(
                {Severity::Warning, QStringLiteral("type-no-bores"), kMainTable, TypeLocation(type),
                 QStringLiteral("Fluid_Detail has no rows for this Series and Type: the Bore list "
                                "stays empty, so the Type is offered but leads nowhere."),
                 QStringLiteral("Add the Type's bores and ranges to Fluid_Detail, or remove the "
                                "Type from Fluid_Main.")});
        }
    }
    // Fluid_Detail rows whose Series and Type no Type list offers, told once a Type.
    QSet<QString> told;
    for (const BoreEntry& bore : index.bores) {
        if (bore.typeEntry || !rows.hasMain)
            continue;
        const QString key = catalogue::CodeKey(bore.series) + QChar(0x1f) + catalogue::CodeKey(bore.type);
        if (told.contains(key))
            continue;
        told.insert(key);
        findings.push_back(
            {Severity::Warning, QStringLiteral("detail-unreachable"), kDetailTable,
             Location{bore.series, bore.type, bore.bore, {}, {}},
             QStringLiteral("Fluid_Main lists no Type %1 in Series %2: these ranges are never "
                            "reached.")
                 .arg(bore.type, bore.series),
             QStringLiteral("Add the Type to Fluid_Main, or correct the codes of these rows.")});
    }
    return findings;
}

} // namespace check
