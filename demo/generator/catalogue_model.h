// SPDX-License-Identifier: MIT
#pragma once
#include "base/result.h"
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace demo {

// What the demo root is drawn from: the sample catalogue, read once.
struct StrokeRange {
    QString minText;   // bounds as the range boxes write them
    QString maxText;
    bool firstStroke = true;
    std::optional<QString> fileName;  // as stored; nothing when null

    bool singleValue() const { return !minText.isEmpty() && minText == maxText; }
    QString text() const { return singleValue() ? minText : minText + u'-' + maxText; }
    bool namesFile() const { return fileName && !fileName->trimmed().isEmpty(); }
};

struct BoreEntry {
    QString code;
    QList<StrokeRange> ranges;  // in SortID order
};

struct TypeEntry {
    QString code;
    bool secondStroke = false;
    bool strokesFixed = false;
    QList<BoreEntry> bores;

    QStringList boreCodes() const;
    // Range texts of one stroke over all bores, each distinct text once.
    QStringList rangeTexts(bool firstStroke) const;
};

struct SeriesEntry {
    QString code;
    QList<TypeEntry> types;

    // The series whose Bore list holds feature numbers.
    bool listsFeatures() const;
    QStringList typeCodes() const;
};

struct CatalogueModel {
    QList<SeriesEntry> series;
};

// Reads the catalogue through the program's own catalogue engine.
base::Result<CatalogueModel> ReadCatalogueModel(const QString& catalogueFile);

} // namespace demo
