// SPDX-License-Identifier: MIT
#include "page_layout.h"
#include "selection/type_positions.h"
#include "selection/preview_arithmetic.h"
#include <algorithm>

namespace demo {

namespace {

QList<TypeBand> GroupByShare(const QStringList& typeCodes)
{
    QList<TypeBand> bands;
    for (const QString& code : typeCodes) {
        const std::optional<selection::TypePosition> row = selection::LookupTypePosition(code);
        const double share = row ? row->numerator / row->denominator : 0;
        auto same = std::find_if(bands.begin(), bands.end(),
                                 [&](const TypeBand& band) { return band.share == share; });
        if (same == bands.end())
            bands.append(TypeBand{share, {code}});
        else
            same->typeCodes.append(code);
    }
    std::stable_sort(bands.begin(), bands.end(),
                     [](const TypeBand& a, const TypeBand& b) { return a.share < b.share; });
    return bands;
}

// Places the bands for one page height; false when a rule is broken.
bool PlaceBands(int heightPx, const PreviewMeasures& m, QList<TypeBand>& bands)
{
    const int heightTwips = heightPx * m.twipsPerPx;
    if (heightTwips > m.maxScrollTwips)
        return false;
    int freeFromPx = 0;
    for (int i = 0; i < bands.size(); ++i) {
        TypeBand& band = bands[i];
        // The preview's own arithmetic, so the page agrees with it to the twip.
        const std::optional<qint16> position =
            band.share == 0 ? std::optional<qint16>(0)
                            : selection::TypeScrollTarget(heightTwips, band.typeCodes.first());
        if (!position || *position < 0 || *position > heightTwips - m.viewportTwips)
            return false;
        band.positionTwips = *position;
        band.topPx = (*position + m.twipsPerPx - 1) / m.twipsPerPx;
        // A band at the very top shares its room with the title.
        const int needed = (i == 0 && band.topPx > 0) ? m.headerPx : freeFromPx;
        if (band.topPx < needed)
            return false;
        freeFromPx = band.topPx + m.bandPx;
    }
    return heightPx >= freeFromPx + m.footerPx;
}

} // namespace

base::Result<PageLayout> LayOutSeriesPage(const QStringList& typeCodes,
                                          const PreviewMeasures& measures)
{
    PageLayout layout;
    layout.bands = GroupByShare(typeCodes);
    const int lowest = measures.headerPx + measures.bandPx + measures.footerPx;
    for (int height = lowest; height <= measures.maxPageHeightPx; ++height) {
        QList<TypeBand> placed = layout.bands;
        if (PlaceBands(height, measures, placed)) {
            layout.heightPx = height;
            layout.bands = placed;
            return layout;
        }
    }
    return base::Fail(QStringLiteral("the Types' scroll positions cannot all be met within %1 px")
                          .arg(measures.maxPageHeightPx));
}

} // namespace demo
