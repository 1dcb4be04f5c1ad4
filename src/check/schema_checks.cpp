// SPDX-License-Identifier: MIT
#include "schema_checks.h"
#include "read_catalogue.h"
#include <optional>
#include <span>

namespace check {

namespace {

using catalogue::FieldKind;

enum class Expect {
    Text,      // a code or a file name
    Number,    // a bound
    SortKey,   // SortID
    TextOne,   // compared with the text "1": MultiProcess, ProcessID
    YesNo,     // OwnerProcess
};

struct ExpectedField {
    const char* name;
    Expect expect;
};

const ExpectedField kMainFields[] = {
    {"Style", Expect::Text},
    {"StyleDetail", Expect::Text},
    {"MultiProcess", Expect::TextOne},
    {"OwnerProcess", Expect::YesNo},
};

const ExpectedField kDetailFields[] = {
    {"Style", Expect::Text},       {"StyleDetail", Expect::Text}, {"DiaSpec", Expect::Text},
    {"SortID", Expect::SortKey},   {"MinValue", Expect::Number},  {"MaxValue", Expect::Number},
    {"ProcessID", Expect::TextOne}, {"FileName", Expect::Text},
};

struct Verdict {
    Severity severity;
    QString why;
};

// What the program makes of a field of this kind; nothing when it reads it
// as intended.
std::optional<Verdict> Judge(Expect expect, FieldKind kind)
{
    if (kind == FieldKind::Other)
        return Verdict{Severity::Error, QStringLiteral("the program cannot read values of this type")};
    switch (expect) {
    case Expect::Text:
        if (kind == FieldKind::Text)
            return std::nullopt;
        if (kind == FieldKind::YesNo)
            return Verdict{Severity::Error, QStringLiteral("the lists would show -1 and 0")};
        return Verdict{Severity::Warning,
                       QStringLiteral("the program reads it as text between apostrophes; a number "
                                      "field compares as text only on this engine, not on Access")};
    case Expect::Number:
        if (kind == FieldKind::Number)
            return std::nullopt;
        return Verdict{Severity::Error,
                       QStringLiteral("the drawing lookup compares it with the stroke as a number; "
                                      "this type compares otherwise")};
    case Expect::SortKey:
        if (kind == FieldKind::Number)
            return std::nullopt;
        return Verdict{Severity::Warning,
                       QStringLiteral("\"Order By SortID\" orders this type otherwise than by number "
                                      "(text puts 10 before 2)")};
    case Expect::TextOne:
        if (kind == FieldKind::Text || kind == FieldKind::Number)
            return std::nullopt;
        return Verdict{Severity::Error,
                       QStringLiteral("it is compared with \"1\"; Yes/No holds -1 and 0, so no row "
                                      "ever equals \"1\"")};
    case Expect::YesNo:
        if (kind == FieldKind::YesNo || kind == FieldKind::Number)
            return std::nullopt;
        return Verdict{Severity::Warning,
                       QStringLiteral("only \"True\", \"False\", \"Yes\", \"No\" and numbers convert "
                                      "to a truth value; any other text locks the strokes")};
    }
    return std::nullopt;
}

QString WantedType(Expect expect)
{
    switch (expect) {
    case Expect::Text: return QStringLiteral("Text");
    case Expect::Number:
    case Expect::SortKey: return QStringLiteral("a Number type (Long Integer or Double)");
    case Expect::TextOne: return QStringLiteral("Text or a Number type");
    case Expect::YesNo: return QStringLiteral("Yes/No");
    }
    return QString();
}

void CheckTable(const std::vector<catalogue::TableDescription>& tables, const QString& name,
                std::span<const ExpectedField> expected, Findings& findings)
{
    const catalogue::TableDescription* table = FindTable(tables, name);
    if (!table) {
        findings.push_back({Severity::Error, QStringLiteral("table-missing"), name, {},
                            QStringLiteral("The catalogue has no table %1: every list and check of "
                                           "the program that reads it fails.")
                                .arg(name),
                            QStringLiteral("Add the table %1 with its fields.").arg(name)});
        return;
    }
    for (const ExpectedField& wanted : expected) {
        const QString fieldName = QLatin1String(wanted.name);
        const catalogue::FieldDescription* field = FindField(*table, fieldName);
        if (!field) {
            findings.push_back({Severity::Error, QStringLiteral("field-missing"), name, {},
                                QStringLiteral("Table %1 has no field %2: the statements that "
                                               "name it fail.")
                                    .arg(name, fieldName),
                                QStringLiteral("Add the field %1 as %2.").arg(fieldName, WantedType(wanted.expect))});
            continue;
        }
        if (const std::optional<Verdict> verdict = Judge(wanted.expect, field->kind)) {
            findings.push_back({verdict->severity, QStringLiteral("field-type"), name, {},
                                QStringLiteral("Field %1.%2 is %3: %4.")
                                    .arg(name, field->name, field->accessType, verdict->why),
                                QStringLiteral("Change the type of %1 to %2.")
                                    .arg(field->name, WantedType(wanted.expect))});
        }
    }
}

} // namespace

Findings CheckSchema(const std::vector<catalogue::TableDescription>& tables)
{
    Findings findings;
    CheckTable(tables, kMainTable, kMainFields, findings);
    CheckTable(tables, kDetailTable, kDetailFields, findings);
    return findings;
}

} // namespace check
