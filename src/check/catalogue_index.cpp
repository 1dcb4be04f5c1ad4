// SPDX-License-Identifier: MIT
#include "catalogue_index.h"
#include "catalogue/code_key.h"
#include "findings.h"
#include <algorithm>

namespace check {

namespace {

int SortClass(const FieldValue& value)
{
    if (value.isNull())
        return 0;
    if (value.isText())
        return 2;
    return 1;
}

QString Key(std::initializer_list<QString> codes)
{
    QString key;
    for (const QString& code : codes) {
        key += catalogue::CodeKey(code);
        key += QChar(0x1f);  // a separator no code holds
    }
    return key;
}

bool SameText(const FieldValue& a, const FieldValue& b)
{
    return a.isText() && b.isText() && a.toText() == b.toText();
}

bool SameCodes(const DetailRow& a, const DetailRow& b)
{
    return SameText(a.diaSpec, b.diaSpec) && SameText(a.styleDetail, b.styleDetail) &&
           SameText(a.style, b.style);
}

} // namespace

bool IsListedCode(const FieldValue& code)
{
    return !code.isNull() && !code.toText().trimmed().isEmpty();
}

bool SortIdBefore(const FieldValue& a, const FieldValue& b)
{
    const int classA = SortClass(a), classB = SortClass(b);
    if (classA != classB)
        return classA < classB;
    if (classA == 1)
        return *a.toNumber() < *b.toNumber();
    if (classA == 2)
        return catalogue::CodeKey(a.toText()) < catalogue::CodeKey(b.toText());
    return false;
}

Location RowLocation(const BoreEntry& bore, const DetailRow& row)
{
    return Location{bore.series, bore.type, bore.bore, row.sortId.toText(), {}};
}

CatalogueIndex IndexCatalogue(const CatalogueRows& rows)
{
    CatalogueIndex index;
    QHash<QString, size_t> typeByKey;
    for (size_t i = 0; i < rows.main.size(); ++i) {
        const MainRow& row = rows.main[i];
        if (!IsListedCode(row.style) || !IsListedCode(row.styleDetail))
            continue;
        const QString series = row.style.toText(), type = row.styleDetail.toText();
        const QString key = Key({series, type});
        auto found = typeByKey.constFind(key);
        if (found == typeByKey.constEnd()) {
            TypeEntry entry;
            entry.series = series;
            entry.type = type;
            const std::optional<bool> fixed = row.ownerProcess.toBool();
            entry.strokesFixed = !fixed.has_value() || *fixed;
            found = typeByKey.insert(key, index.types.size());
            index.types.push_back(std::move(entry));
        }
        TypeEntry& entry = index.types[*found];
        entry.mainRows.push_back(i);
        entry.secondStroke = !row.multiProcess.equalsOne();
    }

    QHash<QString, size_t> boreByKey;
    const DetailRow* previous = nullptr;  // the rows of a bore mostly follow each other
    size_t previousBore = 0;
    for (size_t i = 0; i < rows.detail.size(); ++i) {
        const DetailRow& row = rows.detail[i];
        if (previous && SameCodes(*previous, row)) {
            index.bores[previousBore].rows.push_back(i);
            continue;
        }
        if (!IsListedCode(row.style) || !IsListedCode(row.styleDetail) || !IsListedCode(row.diaSpec))
            continue;
        const QString series = row.style.toText(), type = row.styleDetail.toText(),
                      bore = row.diaSpec.toText();
        const QString key = Key({series, type, bore});
        auto found = boreByKey.constFind(key);
        if (found == boreByKey.constEnd()) {
            BoreEntry entry{series, type, bore, {}, std::nullopt};
            if (const auto owner = typeByKey.constFind(Key({series, type})); owner != typeByKey.constEnd()) {
                entry.typeEntry = *owner;
                entry.series = index.types[*owner].series;
                entry.type = index.types[*owner].type;
                index.types[*owner].bores.push_back(index.bores.size());
            }
            found = boreByKey.insert(key, index.bores.size());
            index.bores.push_back(std::move(entry));
        }
        index.bores[*found].rows.push_back(i);
        previous = &row;
        previousBore = *found;
    }
    for (BoreEntry& bore : index.bores) {
        std::stable_sort(bore.rows.begin(), bore.rows.end(), [&](size_t a, size_t b) {
            return SortIdBefore(rows.detail[a].sortId, rows.detail[b].sortId);
        });
    }
    return index;
}

} // namespace check
