// SPDX-License-Identifier: MIT
#include "range_checks.h"
#include "drawing_lookup.h"
#include "range_overlaps.h"
#include "generation/staging_paths.h"
#include "read_catalogue.h"
#include "validation/stroke_range.h"
#include <QStringList>
#include <algorithm>

namespace check {

namespace {

QString Quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString RangeOf(const DetailRow& row)
{
    return row.minValue.toText() + QLatin1Char('-') + row.maxValue.toText();
}

QString Number(double value)
{
    return QString::number(value, 'g', 15);
}

QString DrawingText(const QString& name, bool fallback)
{
    return fallback ? name + QStringLiteral(" (Type code + bore code: no FileName)") : name;
}

class BoreRangeChecker {
public:
    BoreRangeChecker(const CatalogueRows& rows, const CatalogueIndex& index, const BoreEntry& bore,
                     Findings& findings)
        : rows_(rows), bore_(bore), findings_(findings),
          type_(bore.typeEntry ? &index.types[*bore.typeEntry] : nullptr)
    {
    }

    void run()
    {
        for (const size_t index : bore_.rows)
            checkBounds(rows_.detail[index]);
        checkProcessIds();
        checkDuplicateSortIds();
        checkOverlaps();
        checkGaps(true);
        checkGaps(false);
        checkFixedStrokes();
    }

private:
    void add(Severity severity, const char* check, const Location& location, const QString& message,
             const QString& change)
    {
        findings_.push_back({severity, QLatin1String(check), kDetailTable, location, message, change});
    }

    Location at(const DetailRow& row) const { return RowLocation(bore_, row); }
    Location boreLocation() const { return Location{bore_.series, bore_.type, bore_.bore, {}, {}}; }

    void checkBounds(const DetailRow& row)
    {
        const QString change = QStringLiteral("Enter both bounds as numbers of 0 or more, "
                                              "MinValue not above MaxValue.");
        const auto range = [&] { return RangeText(rows_, bore_, row.processId.equalsOne()); };
        for (const auto& [value, name] : {std::pair{&row.minValue, "MinValue"}, std::pair{&row.maxValue, "MaxValue"}}) {
            if (value->isNull()) {
                add(Severity::Error, "range-null-bound", at(row),
                    QStringLiteral("%1 is null: the range text reads %2 and this range admits no "
                                   "stroke.").arg(QLatin1String(name), Quoted(range())),
                    change);
                return;
            }
            if (!value->toNumber()) {
                add(Severity::Error, "range-not-a-number", at(row),
                    QStringLiteral("%1 %2 is not a number: this range admits no stroke.")
                        .arg(QLatin1String(name), Quoted(value->toText())),
                    change);
                return;
            }
        }
        const Bounds bounds = *NumericBounds(row);
        if (bounds.min < 0 || bounds.max < 0) {
            add(Severity::Error, "range-negative", at(row),
                QStringLiteral("Bound below 0 (%1): its \"-\" breaks the range text %2, so this range "
                               "admits no stroke.").arg(RangeOf(row), Quoted(range())),
                change);
        } else if (bounds.min > bounds.max) {
            add(Severity::Error, "range-min-above-max", at(row),
                QStringLiteral("MinValue %1 is above MaxValue %2: this range admits no stroke.")
                    .arg(row.minValue.toText(), row.maxValue.toText()),
                change);
        }
    }

    void checkProcessIds()
    {
        bool anySecond = false, anyFirst = false;
        for (const size_t index : bore_.rows) {
            const DetailRow& row = rows_.detail[index];
            if (row.processId.equalsOne()) {
                anyFirst = true;
                continue;
            }
            anySecond = true;
            const bool two = row.processId.toText() == QLatin1String("2");
            if (!two) {
                add(Severity::Warning, "range-processid-other", at(row),
                    QStringLiteral("ProcessID is %1: anything but \"1\" counts as the second stroke.")
                        .arg(row.processId.isNull() ? QStringLiteral("null") : Quoted(row.processId.toText())),
                    QStringLiteral("Set ProcessID to \"1\" (first stroke) or \"2\" (second stroke)."));
            }
            if (type_ && !type_->secondStroke) {
                add(Severity::Warning, "range-second-unused", at(row),
                    QStringLiteral("Second-stroke range %1, but the Type takes one stroke (MultiProcess "
                                   "\"1\"): it is never shown, yet the drawing lookup still matches "
                                   "the first stroke against it.").arg(RangeOf(row)),
                    QStringLiteral("Delete the row, or set MultiProcess of the Type to \"2\"."));
            }
        }
        if (!anyFirst && anySecond) {
            add(Severity::Warning, "range-first-missing", boreLocation(),
                QStringLiteral("The bore has second-stroke ranges only: the first range text is "
                               "empty, so any first stroke is accepted."),
                QStringLiteral("Add the first-stroke ranges (ProcessID \"1\")."));
        }
        if (type_ && type_->secondStroke && !anySecond) {
            add(Severity::Warning, "range-second-missing", boreLocation(),
                QStringLiteral("The Type takes a second stroke, but the bore has no ProcessID \"2\" "
                               "rows: any second stroke is accepted."),
                QStringLiteral("Add the second-stroke ranges (ProcessID \"2\"), or set MultiProcess "
                               "of the Type to \"1\"."));
        }
    }

    // The rows come in SortID order, so rows sharing one lie side by side.
    void checkDuplicateSortIds()
    {
        const auto same = [&](size_t a, size_t b) {
            const FieldValue& x = rows_.detail[a].sortId;
            const FieldValue& y = rows_.detail[b].sortId;
            return !SortIdBefore(x, y) && !SortIdBefore(y, x);
        };
        for (size_t first = 0; first < bore_.rows.size();) {
            size_t end = first + 1;
            while (end < bore_.rows.size() && same(bore_.rows[first], bore_.rows[end]))
                ++end;
            if (end - first > 1) {
                QStringList ranges;
                for (size_t i = first; i < end; ++i)
                    ranges.append(RangeOf(rows_.detail[bore_.rows[i]]));
                const FieldValue& sortId = rows_.detail[bore_.rows[first]].sortId;
                Location location = boreLocation();
                location.sortId = sortId.isNull() ? QStringLiteral("null") : sortId.toText();
                add(Severity::Warning, "range-duplicate-sortid", location,
                    QStringLiteral("SortID %1 is on %2 rows (%3): the engine orders them as it finds "
                                   "them, which decides the range text and the drawing lookup.")
                        .arg(location.sortId).arg(end - first).arg(ranges.join(QStringLiteral(", "))),
                    QStringLiteral("Give each row of the bore its own SortID."));
            }
            first = end;
        }
    }

    // Pairs of ranges that hold a stroke in common, each told with the row
    // the lookup takes there.
    void checkOverlaps()
    {
        for (const RangeOverlap& overlap : RangeOverlaps(rows_, bore_))
            reportOverlap(overlap);
    }

    void reportOverlap(const RangeOverlap& overlap)
    {
        const DetailRow& a = rows_.detail[overlap.earlier];
        const DetailRow& b = rows_.detail[overlap.later];
        const bool firstB = b.processId.equalsOne();
        const double from = overlap.strokes.min, to = overlap.strokes.max;
        const QString strokes = from == to ? Number(from) : Number(from) + QLatin1Char('-') + Number(to);
        const QString drawingA = StagedDrawing(rows_, bore_, overlap.earlier);
        const QString drawingB = StagedDrawing(rows_, bore_, overlap.later);
        const bool sameDrawing = drawingA == drawingB;
        QString message;
        if (overlap.tie) {
            message = QStringLiteral("Ranges %1 and %2 both hold strokes %3 under SortID %4: which of "
                                     "them the drawing lookup takes is up to the engine (%5 or %6).")
                          .arg(RangeOf(a), RangeOf(b), strokes, a.sortId.toText(), drawingA, drawingB);
        } else {
            const bool blank = LookedUpName(b) != drawingB;
            message = QStringLiteral("First-stroke range %1 (SortID %2) and %3 range %4 (SortID %5) "
                                     "both hold strokes %6: the drawing lookup takes the highest "
                                     "SortID, %5, and stages %7.")
                          .arg(RangeOf(a), a.sortId.toText(),
                               firstB ? QStringLiteral("first-stroke") : QStringLiteral("second-stroke"),
                               RangeOf(b), b.sortId.toText(), strokes, DrawingText(drawingB, blank));
        }
        add(sameDrawing ? Severity::Note : Severity::Warning, "range-overlap", at(b), message,
            sameDrawing ? QStringLiteral("Nothing is staged wrongly; make the ranges meet without overlapping.")
                        : QStringLiteral("Make the ranges meet without overlapping, so that each stroke "
                                         "has one drawing."));
    }

    // Strokes between two ranges of one stroke that no range admits, for
    // whole-number strokes; informational, a catalogue may leave them out.
    void checkGaps(bool firstStroke)
    {
        std::vector<Bounds> ranges;
        for (const size_t index : bore_.rows) {
            const DetailRow& row = rows_.detail[index];
            if (row.processId.equalsOne() != firstStroke)
                continue;
            const std::optional<Bounds> bounds = NumericBounds(row);
            if (bounds && bounds->min < bounds->max && bounds->min >= 0)
                ranges.push_back(*bounds);
        }
        std::sort(ranges.begin(), ranges.end(), [](const Bounds& a, const Bounds& b) { return a.min < b.min; });
        QStringList gaps;
        for (size_t i = 1; i < ranges.size(); ++i) {
            const double reached = ranges[i - 1].max;
            if (ranges[i].min > reached + 1)
                gaps.append(Number(reached) + QStringLiteral(" and ") + Number(ranges[i].min));
            ranges[i].max = std::max(ranges[i].max, reached);
        }
        if (gaps.isEmpty())
            return;
        add(Severity::Note, "range-gap", boreLocation(),
            QStringLiteral("No %1 range admits the strokes between %2.")
                .arg(firstStroke ? QStringLiteral("first-stroke") : QStringLiteral("second-stroke"),
                     gaps.join(QStringLiteral(", between "))),
            QStringLiteral("Nothing, if the gap is intended; otherwise widen a range."));
    }

    void checkFixedStrokes()
    {
        if (!type_ || !type_->strokesFixed)
            return;
        const QString range = RangeText(rows_, bore_, true);
        if (validation::StrokeInRange(range, QStringLiteral("0")))
            return;
        add(Severity::Note, "range-fixed-zero", boreLocation(),
            QStringLiteral("The Type's strokes are fixed (OwnerProcess), and the range text %1 does "
                           "not admit the \"0\" the locked boxes hold: the program skips the check and "
                           "stages %2.")
                .arg(Quoted(range), StagedDrawing(rows_, bore_, LookupWinner(rows_, bore_, 0))),
            QStringLiteral("Nothing, if that drawing is the one meant for the fixed strokes."));
    }

    const CatalogueRows& rows_;
    const BoreEntry& bore_;
    Findings& findings_;
    const TypeEntry* type_;
};

} // namespace

Findings CheckRanges(const CatalogueRows& rows, const CatalogueIndex& index)
{
    Findings findings;
    for (const BoreEntry& bore : index.bores)
        BoreRangeChecker(rows, index, bore, findings).run();
    return findings;
}

Findings CheckFileNames(const CatalogueRows& rows, const CatalogueIndex& index)
{
    Findings findings;
    for (const BoreEntry& bore : index.bores) {
        for (const size_t i : bore.rows) {
            const DetailRow& row = rows.detail[i];
            const QString name = LookedUpName(row);
            if (name.isEmpty())
                continue;
            if (!generation::IsPlainDrawingFileName(name)) {
                findings.push_back(
                    {Severity::Error, QStringLiteral("filename-path"), kDetailTable, RowLocation(bore, row),
                     QStringLiteral("FileName %1 holds a path separator or \"..\": the program refuses "
                                    "it and stages %2 instead.")
                         .arg(Quoted(name), generation::DrawingFileName(QString(), bore.type, bore.bore)),
                     QStringLiteral("Give the bare file name of a drawing in Files.")});
            } else if (name.front().isSpace() || name.back().isSpace()) {
                findings.push_back(
                    {Severity::Warning, QStringLiteral("filename-padded"), kDetailTable, RowLocation(bore, row),
                     QStringLiteral("FileName %1 has leading or trailing blanks: the program uses it as "
                                    "stored, so the file must carry them too.").arg(Quoted(name)),
                     QStringLiteral("Remove the blanks around the file name.")});
            }
        }
    }
    return findings;
}

} // namespace check
