// SPDX-License-Identifier: MIT
#pragma once
#include "catalogue_model.h"
#include "content_file.h"
#include "page_layout.h"
#include <QImage>

namespace demo {

// The catalogue page of one Series: title and overview above, then each
// band of Type panels at the height where the preview scrolls for them.
QImage RenderSeriesPage(const SeriesEntry& series, const ContentFile& content,
                        const ContentFile& cover, const PageLayout& layout,
                        const PreviewMeasures& measures = {});

// "12 · 16 · 20" style list of the bore codes, and the stroke texts.
QString BoreLine(const SeriesEntry& series, const TypeEntry& type);
QString StrokeLine(const TypeEntry& type);

} // namespace demo
