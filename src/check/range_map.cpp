// SPDX-License-Identifier: MIT
#include "range_map.h"
#include "drawing_lookup.h"
#include "generation/staging_paths.h"
#include "range_overlaps.h"
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <algorithm>

namespace check {

namespace {

QString Number(double value)
{
    return QString::number(value, 'g', 15);
}

QString Strokes(double from, double to)
{
    return from == to ? Number(from) : Number(from) + QLatin1Char('-') + Number(to);
}

QString StrokeName(bool firstStroke)
{
    return firstStroke ? QStringLiteral("first stroke") : QStringLiteral("second stroke");
}

// Why a row is left off the map; empty when its bounds can be drawn.
QString UnreadableBounds(const DetailRow& row)
{
    for (const auto& [value, name] : {std::pair{&row.minValue, "MinValue"}, std::pair{&row.maxValue, "MaxValue"}}) {
        if (value->isNull())
            return QStringLiteral("%1 null").arg(QLatin1String(name));
        if (!value->toNumber())
            return QStringLiteral("%1 not a number").arg(QLatin1String(name));
    }
    if (*row.minValue.toNumber() > *row.maxValue.toNumber())
        return QStringLiteral("MinValue above MaxValue");
    return {};
}

// Puts each range of one stroke into the first lane where it overlaps no
// range already there; returns the number of lanes used.
int PackLanes(std::vector<MapRange*>& ranges, int firstLane)
{
    std::stable_sort(ranges.begin(), ranges.end(), [](const MapRange* a, const MapRange* b) { return a->min < b->min; });
    std::vector<double> laneEnds;
    for (MapRange* range : ranges) {
        auto free = std::find_if(laneEnds.begin(), laneEnds.end(), [&](double end) { return end < range->min; });
        if (free == laneEnds.end()) {
            laneEnds.push_back(range->max);
            range->lane = firstLane + int(laneEnds.size()) - 1;
        } else {
            *free = range->max;
            range->lane = firstLane + int(free - laneEnds.begin());
        }
    }
    return int(laneEnds.size());
}

class BoreMapper {
public:
    BoreMapper(const CatalogueRows& rows, const BoreEntry& bore, const std::optional<QSet<QString>>& onDisc)
        : rows_(rows), bore_(bore), onDisc_(onDisc)
    {
    }

    BoreMap run()
    {
        BoreMap map;
        map.bore = bore_.bore;
        for (const size_t index : bore_.rows) {
            const DetailRow& row = rows_.detail[index];
            if (const QString why = UnreadableBounds(row); !why.isEmpty()) {
                map.notDrawn.append(QStringLiteral("SortID %1: %2").arg(SortIdText(row), why));
                continue;
            }
            map.ranges.push_back(range(index));
        }
        std::vector<MapRange*> first, second;
        for (MapRange& range : map.ranges)
            (range.firstStroke ? first : second).push_back(&range);
        map.firstLanes = PackLanes(first, 0);
        map.lanes = map.firstLanes + PackLanes(second, map.firstLanes);

        QHash<size_t, int> laneOfRow;
        for (const MapRange& range : map.ranges)
            laneOfRow.insert(range.row, range.lane);
        for (const RangeOverlap& overlap : RangeOverlaps(rows_, bore_)) {
            const int a = laneOfRow.value(overlap.earlier), b = laneOfRow.value(overlap.later);
            map.overlaps.push_back({overlap.strokes.min, overlap.strokes.max, std::min(a, b), std::max(a, b),
                                    overlapText(overlap)});
        }
        return map;
    }

private:
    static QString SortIdText(const DetailRow& row)
    {
        return row.sortId.isNull() ? QStringLiteral("null") : row.sortId.toText();
    }

    MapRange range(size_t index) const
    {
        const DetailRow& row = rows_.detail[index];
        MapRange range;
        range.row = index;
        range.firstStroke = row.processId.equalsOne();
        range.min = *row.minValue.toNumber();
        range.max = *row.maxValue.toNumber();
        range.sortId = SortIdText(row);
        range.drawing = StagedDrawing(rows_, bore_, index);
        range.fallback = LookedUpName(row) != range.drawing;
        range.missing = onDisc_ && !onDisc_->contains(range.drawing);
        return range;
    }

    QString rangeText(size_t index) const
    {
        const DetailRow& row = rows_.detail[index];
        return QStringLiteral("SortID %1, %2 %3-%4").arg(SortIdText(row), StrokeName(row.processId.equalsOne()),
                                                        row.minValue.toText(), row.maxValue.toText());
    }

    QString overlapText(const RangeOverlap& overlap) const
    {
        const QString strokes = Strokes(overlap.strokes.min, overlap.strokes.max);
        const QString earlier = rangeText(overlap.earlier), later = rangeText(overlap.later);
        const QString winner = StagedDrawing(rows_, bore_, overlap.later);
        if (overlap.tie) {
            return QStringLiteral("Strokes %1 in %2 and %3: the engine's order decides between %4 and %5.")
                .arg(strokes, earlier, later, StagedDrawing(rows_, bore_, overlap.earlier), winner);
        }
        return QStringLiteral("Strokes %1 in %2 and %3: the lookup takes SortID %4 and stages %5.")
            .arg(strokes, earlier, later, SortIdText(rows_.detail[overlap.later]), winner);
    }

    const CatalogueRows& rows_;
    const BoreEntry& bore_;
    const std::optional<QSet<QString>>& onDisc_;
};

TypeMap MapType(const CatalogueRows& rows, const CatalogueIndex& index, const TypeEntry& type,
                const std::optional<QSet<QString>>& onDisc)
{
    TypeMap map;
    map.series = type.series;
    map.type = type.type;
    map.strokesFixed = type.strokesFixed;
    if (map.strokesFixed)
        return map;
    bool any = false;
    for (const size_t bore : type.bores) {
        map.bores.push_back(BoreMapper(rows, index.bores[bore], onDisc).run());
        for (const MapRange& range : map.bores.back().ranges) {
            map.axisMin = any ? std::min(map.axisMin, range.min) : std::min(0.0, range.min);
            map.axisMax = any ? std::max(map.axisMax, range.max) : range.max;
            any = true;
        }
    }
    return map;
}

} // namespace

std::optional<QSet<QString>> DrawingsOnDisc(const QString& installRoot)
{
    if (installRoot.isEmpty())
        return std::nullopt;
    const QDir folder(generation::DrawingFolder(installRoot));
    if (!QFileInfo(folder.path()).isDir())
        return std::nullopt;
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    return QSet<QString>(names.begin(), names.end());
}

std::vector<SeriesMaps> BuildRangeMaps(const CatalogueRows& rows, const CatalogueIndex& index,
                                       const std::optional<QSet<QString>>& drawingsOnDisc)
{
    std::vector<SeriesMaps> series;
    QHash<QString, size_t> seriesByName;
    for (const TypeEntry& type : index.types) {
        auto found = seriesByName.constFind(type.series);
        if (found == seriesByName.constEnd()) {
            found = seriesByName.insert(type.series, series.size());
            series.push_back({type.series, {}});
        }
        series[*found].types.push_back(MapType(rows, index, type, drawingsOnDisc));
    }
    return series;
}

} // namespace check
