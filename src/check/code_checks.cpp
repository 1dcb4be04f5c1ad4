// SPDX-License-Identifier: MIT
#include "code_checks.h"
#include "catalogue/code_key.h"
#include "catalogue_index.h"
#include "generation/cad_commands.h"
#include "read_catalogue.h"
#include <QMap>
#include <QSet>
#include <QStringList>

namespace check {

namespace {

struct CodeRef {
    CodeField field;
    const FieldValue* value;
};

QString FieldName(CodeField field)
{
    switch (field) {
    case CodeField::Series: return QStringLiteral("Style");
    case CodeField::Type: return QStringLiteral("StyleDetail");
    case CodeField::Bore: return QStringLiteral("DiaSpec");
    }
    return QString();
}

QString ListName(CodeField field)
{
    switch (field) {
    case CodeField::Series: return QStringLiteral("Series");
    case CodeField::Type: return QStringLiteral("Type");
    case CodeField::Bore: return QStringLiteral("Bore");
    }
    return QString();
}

bool HasPadding(const QString& text)
{
    return !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
}

QString Quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The codes of one row, and where the row is.
struct RowCodes {
    QString table;
    Location location;
    std::vector<CodeRef> codes;
};

Location CodesLocation(const FieldValue& series, const FieldValue& type, const FieldValue* bore)
{
    Location location;
    location.series = series.toText();
    location.type = type.toText();
    if (bore)
        location.bore = bore->toText();
    return location;
}

class CodeChecker {
public:
    void row(const RowCodes& row)
    {
        // A row with the codes of the row before it adds only its null or blank codes.
        const bool repeated = sameAsPrevious(row);
        for (const CodeRef& code : row.codes) {
            if (!repeated || !IsListedCode(*code.value))
                checkOne(row, code);
        }
        if (!repeated)
            collectSpellings(row);
        previous_ = row.codes;
        previousTable_ = row.table;
    }

    Findings finish()
    {
        for (auto group = spellings_.cbegin(); group != spellings_.cend(); ++group) {
            if (group->spellings.size() < 2)
                continue;
            QStringList quoted;
            for (const QString& spelling : group->spellings)
                quoted.append(Quoted(spelling));
            findings_.push_back(
                {Severity::Warning, QStringLiteral("code-case"), group->table, group->location,
                 QStringLiteral("%1 codes %2 differ only in letter case: the catalogue engine "
                                "compares them as one, so the %3 list shows one of them and its "
                                "rows merge.")
                     .arg(FieldName(group->field), quoted.join(QStringLiteral(", ")), ListName(group->field)),
                 QStringLiteral("Spell the %1 code the same way on every row.").arg(ListName(group->field))});
        }
        return std::move(findings_);
    }

private:
    bool sameAsPrevious(const RowCodes& row) const
    {
        if (row.table != previousTable_ || row.codes.size() != previous_.size())
            return false;
        for (size_t i = 0; i < row.codes.size(); ++i) {
            const FieldValue& a = *row.codes[i].value;
            const FieldValue& b = *previous_[i].value;
            if (a.isNull() != b.isNull() || a.toText() != b.toText())
                return false;
        }
        return true;
    }

    struct SpellingGroup {
        CodeField field;
        QString table;
        Location location;  // of the first spelling
        QStringList spellings;
    };

    void add(Severity severity, const char* check, const RowCodes& row, const QString& message,
             const QString& change)
    {
        findings_.push_back({severity, QLatin1String(check), row.table, row.location, message, change});
    }

    // Each table, field and spelling is told once.
    bool firstTime(const RowCodes& row, const CodeRef& code, const char* check)
    {
        const QString key = row.table + QLatin1Char('\x1f') + FieldName(code.field) +
                            QLatin1Char('\x1f') + QLatin1String(check) + QLatin1Char('\x1f') +
                            code.value->toText();
        if (told_.contains(key))
            return false;
        told_.insert(key);
        return true;
    }

    void checkOne(const RowCodes& row, const CodeRef& code)
    {
        const QString field = FieldName(code.field);
        if (code.value->isNull()) {
            add(Severity::Warning, "code-null", row,
                QStringLiteral("%1 is null: the lists skip the row, so it is never offered.").arg(field),
                QStringLiteral("Enter the %1 code, or delete the row.").arg(ListName(code.field)));
            return;
        }
        const QString text = code.value->toText();
        if (text.trimmed().isEmpty()) {
            add(Severity::Warning, "code-blank", row,
                QStringLiteral("%1 is blank (%2): the %3 list shows an entry that looks empty.")
                    .arg(field, Quoted(text), ListName(code.field)),
                QStringLiteral("Enter the %1 code, or delete the row.").arg(ListName(code.field)));
            return;
        }
        if (!GenerateAccepts(code.field, text) && firstTime(row, code, "code-refused")) {
            add(Severity::Error, "code-refused", row,
                QStringLiteral("%1 %2 holds a character the generate command refuses (it would "
                               "change the command sent to the CAD host): the %3 can be chosen "
                               "but no drawing is made.")
                    .arg(field, Quoted(text), ListName(code.field)),
                QStringLiteral("Use only letters, digits, \"_\", \"-\" and \".\" in %1 codes.")
                    .arg(ListName(code.field)));
        }
        if (HasPadding(text) && firstTime(row, code, "code-padded")) {
            add(Severity::Warning, "code-padded", row,
                QStringLiteral("%1 %2 has leading or trailing blanks: the lists show them and the "
                               "file names built from the code carry them.")
                    .arg(field, Quoted(text)),
                QStringLiteral("Remove the blanks around the %1 code.").arg(ListName(code.field)));
        }
    }

    // Spellings that the engine takes for one code, per field and per the
    // codes it is chosen under (a Type within its Series, a Bore within its
    // Series and Type).
    void collectSpellings(const RowCodes& row)
    {
        QString scope;
        Location location;  // the codes down to this one
        for (const CodeRef& code : row.codes) {
            if (code.value->isNull())
                return;
            const QString text = code.value->toText();
            (code.field == CodeField::Series ? location.series
             : code.field == CodeField::Type ? location.type
                                             : location.bore) = text;
            const QString key = QString::number(int(code.field)) + QLatin1Char('\x1f') + scope +
                                catalogue::CodeKey(text);
            auto group = spellings_.find(key);
            if (group == spellings_.end())
                group = spellings_.insert(key, SpellingGroup{code.field, row.table, location, {}});
            if (!group->spellings.contains(text))
                group->spellings.append(text);
            scope += catalogue::CodeKey(text) + QLatin1Char('\x1f');
        }
    }

    Findings findings_;
    std::vector<CodeRef> previous_;
    QString previousTable_;
    QSet<QString> told_;
    QMap<QString, SpellingGroup> spellings_;
};

} // namespace

bool GenerateAccepts(CodeField field, const QString& code)
{
    switch (field) {
    case CodeField::Series: return true;
    case CodeField::Type: return generation::CommandAccepts(generation::CommandCode::Type, code);
    case CodeField::Bore: return generation::CommandAccepts(generation::CommandCode::Bore, code);
    }
    return true;
}

Findings CheckCodes(const CatalogueRows& rows)
{
    CodeChecker checker;
    for (const MainRow& row : rows.main) {
        checker.row({kMainTable, CodesLocation(row.style, row.styleDetail, nullptr),
                     {{CodeField::Series, &row.style}, {CodeField::Type, &row.styleDetail}}});
    }
    for (const DetailRow& row : rows.detail) {
        Location location = CodesLocation(row.style, row.styleDetail, &row.diaSpec);
        location.sortId = row.sortId.toText();
        checker.row({kDetailTable, location,
                     {{CodeField::Series, &row.style},
                      {CodeField::Type, &row.styleDetail},
                      {CodeField::Bore, &row.diaSpec}}});
    }
    return checker.finish();
}

} // namespace check
