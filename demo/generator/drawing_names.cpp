// SPDX-License-Identifier: MIT
#include "drawing_names.h"
#include <QMap>

namespace demo {

namespace {

QString RangesNaming(const BoreEntry& bore, const QString& fileName)
{
    QStringList texts;
    for (const StrokeRange& range : bore.ranges) {
        if (range.namesFile() && *range.fileName == fileName)
            texts.append(range.text());
    }
    return QStringLiteral("stroke range ") + texts.join(QStringLiteral("; "));
}

QString FallbackStrokes(const BoreEntry& bore, bool strokesFixed)
{
    QStringList unnamed;
    for (const StrokeRange& range : bore.ranges) {
        if (!range.namesFile() && !unnamed.contains(range.text()))
            unnamed.append(range.text());
    }
    QString text = QStringLiteral("named by Type code + bore code, for ");
    text += unnamed.isEmpty() ? QStringLiteral("strokes outside the named ranges")
                              : QStringLiteral("stroke range ") + unnamed.join(QStringLiteral("; "))
                                    + QStringLiteral(" (no file name in the catalogue)");
    if (strokesFixed)
        text += QStringLiteral(" and for the strokes the catalogue fixes");
    return text;
}

} // namespace

QList<StandInDrawing> CollectStandInDrawings(const CatalogueModel& catalogue)
{
    QMap<QString, StandInDrawing> byName;
    auto addUse = [&](const QString& name, const DrawingUse& use) {
        StandInDrawing& drawing = byName[name];
        drawing.name = name;
        drawing.uses.append(use);
    };
    for (const SeriesEntry& series : catalogue.series) {
        for (const TypeEntry& type : series.types) {
            for (const BoreEntry& bore : type.bores) {
                QStringList named;
                // The lookup matches the first stroke against every range of
                // the bore, second-stroke rows included.
                for (const StrokeRange& range : bore.ranges) {
                    if (range.namesFile() && !named.contains(*range.fileName))
                        named.append(*range.fileName);
                }
                for (const QString& name : named)
                    addUse(name, {series.code, type.code, bore.code, RangesNaming(bore, name), false});
                addUse(type.code + bore.code + QStringLiteral(".dwg"),
                       {series.code, type.code, bore.code, FallbackStrokes(bore, type.strokesFixed), true});
            }
        }
    }
    return byName.values();
}

bool IsSafeStagedName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    if (name.front().isSpace() || name.back().isSpace() || name.front() == u'.' || name.back() == u'.')
        return false;
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|%^&!$`'()[]{};=,~#");
    for (const QChar character : name) {
        if (character.category() == QChar::Other_Control || character.category() == QChar::Other_Format)
            return false;
        if (character.unicode() < 0x80 && forbidden.contains(character))
            return false;
    }
    return true;
}

QByteArray StandInDrawingText(const StandInDrawing& drawing)
{
    QString text = QStringLiteral("TALVEX stand-in drawing %1\r\n").arg(drawing.name);
    text += QStringLiteral("TALVEX 示範圖檔 (代用檔，非 AutoCAD 圖面)\r\n");
    for (const DrawingUse& use : drawing.uses) {
        text += QStringLiteral("Series %1, Type %2, bore %3: %4\r\n")
                    .arg(use.series, use.type, use.bore, use.strokes);
    }
    text += QStringLiteral("This text file stands in for the AutoCAD drawing of the same name "
                           "in the demo install root.\r\n");
    return text.toUtf8();
}

} // namespace demo
