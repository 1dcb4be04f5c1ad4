// SPDX-License-Identifier: MIT
#include "series_page.h"
#include "cylinder_sketch.h"
#include "page_painter.h"
#include <QFontMetricsF>
#include <algorithm>

namespace demo {

namespace {

constexpr qreal kMargin = 14;
constexpr qreal kTitleBarPx = 52;

const TypeEntry* FindType(const SeriesEntry& series, const QString& code)
{
    for (const TypeEntry& type : series.types) {
        if (type.code == code)
            return &type;
    }
    return nullptr;
}

QStringList TypeCaption(const ContentFile& content, const QString& typeCode)
{
    for (const QStringList& values : content.all(QStringLiteral("type"))) {
        if (!values.isEmpty() && values.first() == typeCode)
            return values.mid(1);
    }
    return {QStringLiteral("型式 %1").arg(typeCode), QStringLiteral("Type %1").arg(typeCode)};
}

void DrawTitleBar(QPainter& painter, const SeriesEntry& series, const ContentFile& content, qreal width)
{
    painter.fillRect(QRectF(0, 0, width, kTitleBarPx), palette::kNavy);
    painter.fillRect(QRectF(0, kTitleBarPx, width, 3), palette::kAccent);
    const QFont codeFont = SansFont(30, true);
    const qreal codeWidth = QFontMetricsF(codeFont).horizontalAdvance(series.code) + 16;
    DrawElided(painter, QRectF(kMargin, 0, codeWidth, kTitleBarPx), series.code, codeFont, Qt::white);
    const qreal textLeft = kMargin + codeWidth + 6;
    const QRectF textArea(textLeft, 6, width - textLeft - kMargin, kTitleBarPx - 10);
    DrawElided(painter, QRectF(textArea.left(), 6, textArea.width(), 22),
               content.text(QStringLiteral("title"), 0, QStringLiteral("%1 系列").arg(series.code)),
               SansFont(18, true), Qt::white);
    DrawElided(painter, QRectF(textArea.left(), 28, textArea.width(), 18),
               content.text(QStringLiteral("title"), 1, QStringLiteral("%1 Series").arg(series.code)),
               SansFont(13), QColor(0xd6, 0xe0, 0xee));
}

// Draws one block if it fits between top and bottom; returns the new top.
qreal DrawTextBlock(QPainter& painter, qreal top, qreal bottom, qreal width, const QString& text,
                    const QFont& font, const QColor& colour)
{
    if (text.isEmpty())
        return top;
    const qreal used = DrawWrapped(painter, QRectF(kMargin, top, width - 2 * kMargin, bottom - top),
                                   text, font, colour);
    return used < 0 ? top : top + used + 4;
}

qreal DrawTable(QPainter& painter, qreal top, qreal bottom, qreal width, const QString& heading,
                const QList<QStringList>& rows, const QList<qreal>& columnShares)
{
    const qreal rowHeight = 18;
    const qreal needed = 22 + rowHeight * rows.size() + 6;
    if (rows.isEmpty() || top + needed > bottom)
        return top;
    DrawElided(painter, QRectF(kMargin, top, width - 2 * kMargin, 20), heading, SansFont(13, true),
               palette::kNavy);
    qreal y = top + 22;
    const qreal tableWidth = width - 2 * kMargin;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (r % 2 == 0)
            painter.fillRect(QRectF(kMargin, y, tableWidth, rowHeight), palette::kPanel);
        qreal x = kMargin;
        for (qsizetype c = 0; c < rows.at(r).size() && c < columnShares.size(); ++c) {
            const qreal cellWidth = tableWidth * columnShares.at(c);
            DrawElided(painter, QRectF(x + 6, y, cellWidth - 10, rowHeight), rows.at(r).at(c),
                       SansFont(11, c == 0), c == 0 ? palette::kInk : palette::kMuted);
            x += cellWidth;
        }
        y += rowHeight;
    }
    painter.setPen(QPen(palette::kRule, 1));
    painter.drawLine(QPointF(kMargin, y), QPointF(kMargin + tableWidth, y));
    return y + 8;
}

// The four choices of the window, as boxes joined by arrows.
qreal DrawSelectionSteps(QPainter& painter, const SeriesEntry& series, qreal top, qreal bottom,
                         qreal width)
{
    const qreal needed = 22 + 44 + 10;
    if (top + needed > bottom)
        return top;
    DrawElided(painter, QRectF(kMargin, top, width - 2 * kMargin, 20),
               QStringLiteral("選型步驟 How to choose"), SansFont(13, true), palette::kNavy);
    const QStringList steps = {
        QStringLiteral("機種 Series\n") + series.code,
        QStringLiteral("型式 Type"),
        series.listsFeatures() ? QStringLiteral("特徵編號 Features") : QStringLiteral("內徑 Bore"),
        QStringLiteral("行程 Stroke\n角度 Rotation"),
    };
    const qreal gap = 22;
    const qreal boxWidth = (width - 2 * kMargin - gap * (steps.size() - 1)) / steps.size();
    painter.save();
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const QRectF box(kMargin + i * (boxWidth + gap), top + 24, boxWidth, 42);
        painter.setPen(QPen(palette::kNavy, 1.2));
        painter.setBrush(i == 0 ? palette::kPanel : QBrush(Qt::white));
        painter.drawRoundedRect(box, 5, 5);
        painter.setFont(SansFont(11, true));
        painter.setPen(palette::kInk);
        painter.drawText(box, Qt::AlignCenter, steps.at(i));
        if (i + 1 < steps.size()) {
            const qreal y = box.center().y();
            painter.setPen(QPen(palette::kAccent, 2));
            painter.drawLine(QPointF(box.right() + 4, y), QPointF(box.right() + gap - 6, y));
            painter.setBrush(palette::kAccent);
            painter.setPen(Qt::NoPen);
            painter.drawPolygon(QPolygonF({QPointF(box.right() + gap - 3, y),
                                           QPointF(box.right() + gap - 9, y - 4),
                                           QPointF(box.right() + gap - 9, y + 4)}));
        }
    }
    painter.restore();
    return top + needed;
}

void DrawOverview(QPainter& painter, const SeriesEntry& series, const ContentFile& content,
                  qreal top, qreal bottom, qreal width)
{
    qreal y = top;
    y = DrawTextBlock(painter, y, bottom, width,
                      content.text(QStringLiteral("caption"), 0) + u' '
                          + content.text(QStringLiteral("caption"), 1),
                      SansFont(12, true), palette::kInk);
    y = DrawTextBlock(painter, y, bottom, width,
                      content.text(QStringLiteral("intro"), 0) + u' '
                          + content.text(QStringLiteral("intro"), 1),
                      SansFont(11), palette::kMuted);
    y += 4;
    QList<QStringList> specRows;
    for (const QStringList& values : content.all(QStringLiteral("spec")))
        specRows.append(values);
    y = DrawTable(painter, y, bottom, width, QStringLiteral("規格 Specifications"), specRows, {0.42, 0.58});
    QList<QStringList> typeRows;
    const QString boreHeading = series.listsFeatures() ? QStringLiteral("特徵編號 Features")
                                                       : QStringLiteral("內徑 Bore");
    for (const TypeEntry& type : series.types)
        typeRows.append({type.code, BoreLine(series, type), StrokeLine(type)});
    y = DrawTable(painter, y, bottom, width,
                  QStringLiteral("型式一覽 Types — ") + boreHeading + QStringLiteral(" / 行程範圍 Stroke range"),
                  typeRows, {0.2, 0.45, 0.35});
    QList<QStringList> featureRows;
    for (const QStringList& values : content.all(QStringLiteral("feature")))
        featureRows.append(values);
    y = DrawTable(painter, y, bottom, width, QStringLiteral("特徵編號 Features"), featureRows, {0.2, 0.8});
    y = DrawSelectionSteps(painter, series, y, bottom, width);
    // What room is left shows the outline of the Series' first Type.
    const qreal room = bottom - y - 8;
    if (room >= 120 && !series.types.isEmpty()) {
        const TypeEntry& first = series.types.first();
        DrawElided(painter, QRectF(kMargin, y, width - 2 * kMargin, 20),
                   QStringLiteral("外觀圖 Outline — %1").arg(first.code), SansFont(13, true), palette::kNavy);
        const qreal sketchHeight = std::min<qreal>(room - 26, 260);
        const qreal sketchWidth = std::min<qreal>(width - 2 * kMargin, sketchHeight * 2.4);
        DrawCylinderSketch(painter,
                           QRectF((width - sketchWidth) / 2, y + 24, sketchWidth, sketchHeight),
                           SketchStyleFor(series.code, first.code, first.secondStroke));
    }
}

void DrawTypePanel(QPainter& painter, const SeriesEntry& series, const ContentFile& content,
                   const QString& typeCode, const QRectF& panel)
{
    const TypeEntry* type = FindType(series, typeCode);
    const QStringList caption = TypeCaption(content, typeCode);
    painter.save();
    painter.setPen(QPen(palette::kRule, 1));
    painter.setBrush(palette::kPanel);
    painter.drawRect(panel);
    const QRectF strip(panel.left(), panel.top(), panel.width(), 28);
    painter.fillRect(strip, palette::kNavy);
    painter.fillRect(QRectF(strip.left(), strip.top(), 5, strip.height()), palette::kAccent);
    DrawElided(painter, strip.adjusted(11, 0, -6, 0), QStringLiteral("型式 ") + typeCode,
               SansFont(16, true), Qt::white);
    const qreal inner = panel.width() - 14;
    qreal y = strip.bottom() + 3;
    DrawElided(painter, QRectF(panel.left() + 7, y, inner, 18), caption.value(0), SansFont(13, true),
               palette::kInk);
    DrawElided(painter, QRectF(panel.left() + 7, y + 17, inner, 15), caption.value(1), SansFont(11),
               palette::kMuted);
    y += 34;

    QStringList facts;
    if (type) {
        facts.append((series.listsFeatures() ? QStringLiteral("特徵編號 Features: ")
                                              : QStringLiteral("內徑 Bore: "))
                     + BoreLine(series, *type));
        facts.append(QStringLiteral("行程範圍 Stroke range: ") + StrokeLine(*type));
        if (type->secondStroke) {
            const QStringList second = type->rangeTexts(false);
            facts.append(QStringLiteral("第二段行程 2nd stroke: ")
                         + (second.isEmpty() ? QStringLiteral("—") : second.join(QStringLiteral("; "))));
        }
        if (type->strokesFixed)
            facts.append(QStringLiteral("行程固定 Strokes fixed by the catalogue"));
    }
    // Facts wrap inside the panel; the sketch takes what height is left.
    const QFont factFont = SansFont(10);
    const QFontMetricsF factMetrics(factFont);
    QList<qreal> factHeights;
    qreal factsHeight = 4;
    for (const QString& fact : facts) {
        const qreal height = factMetrics.boundingRect(QRectF(0, 0, inner, 1e4), Qt::TextWordWrap, fact).height();
        factHeights.append(height);
        factsHeight += height;
    }
    const QRectF sketch(panel.left() + 6, y, panel.width() - 12, panel.bottom() - y - factsHeight - 4);
    if (sketch.height() > 30)
        DrawCylinderSketch(painter, sketch, SketchStyleFor(series.code, typeCode, type && type->secondStroke));
    qreal factTop = panel.bottom() - factsHeight;
    for (qsizetype i = 0; i < facts.size(); ++i) {
        DrawWrapped(painter, QRectF(panel.left() + 7, factTop, inner, factHeights.at(i) + 1), facts.at(i),
                    factFont, palette::kInk);
        factTop += factHeights.at(i);
    }
    painter.restore();
}

void DrawFooter(QPainter& painter, const SeriesEntry& series, const ContentFile& cover, qreal width,
                qreal height, qreal footer)
{
    const qreal top = height - footer;
    painter.setPen(QPen(palette::kRule, 1));
    painter.drawLine(QPointF(kMargin, top + 4), QPointF(width - kMargin, top + 4));
    DrawElided(painter, QRectF(kMargin, top + 6, width * 0.7, footer - 8),
               QStringLiteral("3D TALVEX 2017  ") + cover.text(QStringLiteral("maker"), 0) + u' '
                   + cover.text(QStringLiteral("maker"), 1),
               SansFont(10), palette::kMuted);
    DrawElided(painter, QRectF(width * 0.7, top + 6, width * 0.3 - kMargin, footer - 8),
               series.code + QStringLiteral(" 系列 Series"), SansFont(10, true), palette::kMuted,
               Qt::AlignRight | Qt::AlignVCenter);
}

} // namespace

QString BoreLine(const SeriesEntry&, const TypeEntry& type)
{
    QStringList codes = type.boreCodes();
    if (codes.isEmpty())
        return QStringLiteral("—");
    // Bores read best from small to large; feature numbers as they come.
    const bool numeric = std::all_of(codes.cbegin(), codes.cend(), [](const QString& code) {
        bool ok = false;
        code.toDouble(&ok);
        return ok;
    });
    if (numeric) {
        std::stable_sort(codes.begin(), codes.end(),
                         [](const QString& a, const QString& b) { return a.toDouble() < b.toDouble(); });
    }
    return codes.join(QStringLiteral(" · "));
}

QString StrokeLine(const TypeEntry& type)
{
    const QStringList texts = type.rangeTexts(true);
    return texts.isEmpty() ? QStringLiteral("—") : texts.join(QStringLiteral("; "));
}

QImage RenderSeriesPage(const SeriesEntry& series, const ContentFile& content,
                        const ContentFile& cover, const PageLayout& layout,
                        const PreviewMeasures& measures)
{
    const qreal width = measures.pageWidthPx;
    QImage page = BlankPage(measures.pageWidthPx, layout.heightPx);
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    DrawTitleBar(painter, series, content, width);

    const qreal firstBand = layout.bands.isEmpty() ? layout.heightPx - measures.footerPx
                                                   : layout.bands.first().topPx;
    if (firstBand > kTitleBarPx + 40)
        DrawOverview(painter, series, content, kTitleBarPx + 10, firstBand - 6, width);

    for (const TypeBand& band : layout.bands) {
        const qreal top = std::max<qreal>(band.topPx, band.topPx == 0 ? kTitleBarPx + 4 : 0) + 2;
        const qreal bottom = band.topPx + measures.bandPx - 4;
        const int count = static_cast<int>(band.typeCodes.size());
        const qreal panelWidth = (width - 2 * 6) / count;
        for (int i = 0; i < count; ++i) {
            const QRectF panel(6 + panelWidth * i + 3, top, panelWidth - 6, bottom - top);
            DrawTypePanel(painter, series, content, band.typeCodes.at(i), panel);
        }
    }
    DrawFooter(painter, series, cover, width, layout.heightPx, measures.footerPx);
    painter.end();
    return page;
}

} // namespace demo
