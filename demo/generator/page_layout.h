// SPDX-License-Identifier: MIT
#pragma once
#include "base/result.h"
#include <QList>
#include <QString>
#include <QStringList>

namespace demo {

// Measures of the preview the Series pages are drawn for. The viewport is
// taken at its outer height, so a page that fits it fits the inner one too.
struct PreviewMeasures {
    int pageWidthPx = 672;       // viewport width left of the scroll bar
    int twipsPerPx = 15;         // 96 dots per inch
    int viewportTwips = 3370;
    int maxScrollTwips = 32767;  // the scroll bar holds 16-bit values
    int bandPx = 220;            // what the viewport shows of one band
    int headerPx = 110;          // title block above the first band
    int footerPx = 28;
    int maxPageHeightPx = 2184;  // 32767 twips
};

// Types that the preview scrolls to the same position share one band; Types
// without a fixed position share the band at the top.
struct TypeBand {
    double share = 0;  // of the page height, as the position table gives it
    QStringList typeCodes;
    int positionTwips = 0;  // where the preview puts the viewport's top edge
    int topPx = 0;          // first pixel row fully inside the viewport there
};

struct PageLayout {
    int heightPx = 0;
    QList<TypeBand> bands;  // in ascending position
};

// Groups the Types by their position in the preview's Type position table
// and finds the lowest page height at which every band starts at its own scroll
// position, below the title, without overlapping the next band, and with the
// viewport still fitting under it. Fails when no page the scroll bar can take
// fits them all.
base::Result<PageLayout> LayOutSeriesPage(const QStringList& typeCodes, const PreviewMeasures& measures = {});

} // namespace demo
