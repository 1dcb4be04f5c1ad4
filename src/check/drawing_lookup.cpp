// SPDX-License-Identifier: MIT
#include "drawing_lookup.h"
#include "catalogue/queries.h"
#include "catalogue/range_text_writer.h"
#include "generation/staging_paths.h"
#include "validation/stroke_range.h"
#include <algorithm>

namespace check {

namespace {

struct TextHolder : catalogue::TextTarget {
    QString value;
    QString text() const override { return value; }
    void setText(const QString& text) override { value = text; }
};

// A stroke worth trying and the text a user would type for it.
struct Sample {
    double value;
    QString text;
};

QString DecimalText(double value)
{
    QString text = QString::number(value, 'f', 6);
    while (text.contains(QLatin1Char('.')) && (text.endsWith(QLatin1Char('0')) || text.endsWith(QLatin1Char('.'))))
        text.chop(1);
    return text;
}

// Between two neighbouring bounds the winner and the admission do not
// change, so the bounds themselves (as the range text writes them), a value
// between each two, and one beyond each end cover every stroke.
std::vector<Sample> StrokeSamples(const CatalogueRows& rows, const BoreEntry& bore)
{
    std::vector<Sample> bounds;
    for (const size_t index : bore.rows) {
        const DetailRow& row = rows.detail[index];
        for (const FieldValue* value : {&row.minValue, &row.maxValue}) {
            if (const std::optional<double> number = value->toNumber())
                bounds.push_back({*number, value->toText()});
        }
    }
    std::sort(bounds.begin(), bounds.end(), [](const Sample& a, const Sample& b) { return a.value < b.value; });
    bounds.erase(std::unique(bounds.begin(), bounds.end(),
                             [](const Sample& a, const Sample& b) { return a.value == b.value; }),
                 bounds.end());
    if (bounds.empty())
        return {{1, QStringLiteral("1")}};
    std::vector<Sample> samples;
    samples.push_back({bounds.front().value - 1, DecimalText(bounds.front().value - 1)});
    for (size_t i = 0; i < bounds.size(); ++i) {
        samples.push_back(bounds[i]);
        if (i + 1 < bounds.size()) {
            const double between = (bounds[i].value + bounds[i + 1].value) / 2;
            samples.push_back({between, DecimalText(between)});
        }
    }
    samples.push_back({bounds.back().value + 1, DecimalText(bounds.back().value + 1)});
    return samples;
}

} // namespace

QString LookedUpName(const DetailRow& row)
{
    const QString text = row.fileName.toText();
    return catalogue::StripBlanks(text).isEmpty() ? QString() : text;
}

std::optional<Bounds> NumericBounds(const DetailRow& row)
{
    const std::optional<double> low = row.minValue.toNumber();
    const std::optional<double> high = row.maxValue.toNumber();
    if (!low || !high)
        return std::nullopt;
    return Bounds{*low, *high};
}

QString RangeText(const CatalogueRows& rows, const BoreEntry& bore, bool firstStroke)
{
    TextHolder box;
    catalogue::RangeTextWriter writer(box);
    for (const size_t index : bore.rows) {
        const DetailRow& row = rows.detail[index];
        if (row.processId.equalsOne() == firstStroke)
            writer.append(row.minValue, row.maxValue);
    }
    writer.finish();
    return box.value;
}

std::optional<size_t> LookupWinner(const CatalogueRows& rows, const BoreEntry& bore, double stroke)
{
    std::optional<size_t> winner;
    for (const size_t index : bore.rows) {
        const std::optional<Bounds> bounds = NumericBounds(rows.detail[index]);
        if (bounds && bounds->min <= stroke && stroke <= bounds->max)
            winner = index;
    }
    return winner;
}

QString StagedDrawing(const CatalogueRows& rows, const BoreEntry& bore, std::optional<size_t> winner)
{
    const QString name = winner ? LookedUpName(rows.detail[*winner]) : QString();
    return generation::DrawingFileName(name, bore.type, bore.bore);
}

std::vector<SelectableDrawing> SelectableDrawings(const CatalogueRows& rows, const CatalogueIndex& index,
                                                  const BoreEntry& bore)
{
    if (!bore.typeEntry)
        return {};
    const TypeEntry& type = index.types[*bore.typeEntry];
    std::vector<Sample> strokes;
    if (type.strokesFixed) {
        strokes.push_back({0, QStringLiteral("0")});
    } else {
        const QString firstRanges = RangeText(rows, bore, true);
        for (const Sample& sample : StrokeSamples(rows, bore)) {
            if (sample.value != 0 && validation::StrokeInRange(firstRanges, sample.text))
                strokes.push_back(sample);
        }
    }
    std::vector<SelectableDrawing> drawings;
    for (const Sample& stroke : strokes) {
        const std::optional<size_t> winner = LookupWinner(rows, bore, stroke.value);
        const QString name = StagedDrawing(rows, bore, winner);
        const bool fallback = !winner || LookedUpName(rows.detail[*winner]) != name;
        const bool known = std::any_of(drawings.begin(), drawings.end(),
                                       [&](const SelectableDrawing& d) { return d.name == name; });
        if (!known)
            drawings.push_back({name, fallback, fallback ? std::nullopt : winner});
    }
    return drawings;
}

} // namespace check
