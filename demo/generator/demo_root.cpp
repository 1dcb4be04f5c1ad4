// SPDX-License-Identifier: MIT
#include "demo_root.h"
#include "catalogue_model.h"
#include "clean_scripts.h"
#include "content_file.h"
#include "drawing_names.h"
#include "extra_pages.h"
#include "output_tree.h"
#include "page_layout.h"
#include "page_painter.h"
#include "series_page.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <functional>

namespace demo {

namespace {

// Tall enough to cover the help page's fixed scroll range of 27500 twips
// below a 3370-twip viewport.
constexpr int kHelpPageMinHeightPx = 2064;

base::Result<QByteArray> ReadBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return base::Fail(path + QStringLiteral(": ") + file.errorString());
    return file.readAll();
}

ContentFile GenericSeriesContent(const SeriesEntry& series)
{
    return ParseContent(QStringLiteral("title: %1 系列 | %1 Series\n---\n# %1 系列 %1 Series\n"
                                       "## 型式 Types\n@types\n")
                            .arg(series.code));
}

QList<QStringList> TypeTable(const SeriesEntry& series, const ContentFile& content)
{
    QList<QStringList> rows{{QStringLiteral("型式 Type"), QStringLiteral("說明 Description"),
                             series.listsFeatures() ? QStringLiteral("特徵編號 Features")
                                                    : QStringLiteral("內徑 Bore"),
                             QStringLiteral("行程範圍 Stroke range")}};
    for (const TypeEntry& type : series.types) {
        QString description;
        for (const QStringList& values : content.all(QStringLiteral("type"))) {
            if (values.value(0) == type.code)
                description = values.mid(1).join(u' ');
        }
        QString strokes = StrokeLine(type);
        if (type.secondStroke && !type.rangeTexts(false).isEmpty())
            strokes += QStringLiteral("; 第二段 2nd: ") + type.rangeTexts(false).join(QStringLiteral("; "));
        if (type.strokesFixed)
            strokes += QStringLiteral(" (行程固定 fixed)");
        rows.append({type.code, description, BoreLine(series, type), strokes});
    }
    return rows;
}

QList<QStringList> SpecTable(const ContentFile& content)
{
    QList<QStringList> rows;
    for (const QStringList& values : content.all(QStringLiteral("spec")))
        rows.append(values);
    if (!rows.isEmpty())
        rows.prepend({QStringLiteral("項目 Item"), QStringLiteral("規格 Value")});
    return rows;
}

base::Status WriteJpeg(OutputTree& tree, const QString& path, const QImage& image)
{
    const QByteArray bytes = EncodeJpeg(image);
    if (bytes.isEmpty())
        return base::Fail(path + QStringLiteral(": the picture cannot be encoded"));
    return tree.write(path, bytes);
}

// Runs the writes in turn; the first failure ends them.
base::Status AllOf(std::initializer_list<std::function<base::Status()>> writes)
{
    for (const auto& write : writes) {
        if (base::Status written = write(); !written)
            return written;
    }
    return {};
}

base::Status WriteDocs(const CatalogueModel& catalogue, const QString& contentDir,
                       OutputTree& tree, DemoReport& report)
{
    const auto cover = ReadContentFile(QDir(contentDir).filePath(QStringLiteral("default.txt")));
    if (!cover)
        return cover.failure();
    const auto help = ReadContentFile(QDir(contentDir).filePath(QStringLiteral("talvex2017.txt")));
    if (!help)
        return help.failure();
    const PreviewMeasures measures;
    if (base::Status written = AllOf({
            [&] { return tree.write(QStringLiteral("Docs/default.rtf"), RenderRtf(*cover, {})); },
            [&] {
                return WriteJpeg(tree, QStringLiteral("Docs/default.jpg"),
                                 RenderCoverPage(*cover, measures.pageWidthPx));
            }});
        !written)
        return written;
    int tallestSeriesPage = 0;
    for (const SeriesEntry& series : catalogue.series) {
        const QString contentPath = QDir(contentDir).filePath(series.code + QStringLiteral(".txt"));
        const auto written = ReadContentFile(contentPath);
        if (!written)
            report.warnings.append(QStringLiteral("no text for Series %1, a generic page is drawn").arg(series.code));
        const ContentFile content = written ? *written : GenericSeriesContent(series);
        const auto laidOut = LayOutSeriesPage(series.typeCodes(), measures);
        if (!laidOut)
            return base::Fail(QStringLiteral("Series %1: %2").arg(series.code, laidOut.error()));
        const PageLayout& layout = *laidOut;
        tallestSeriesPage = std::max(tallestSeriesPage, layout.heightPx);
        const QByteArray document = RenderRtf(content, [&](const QString& table) {
            if (table == QLatin1String("types"))
                return TypeTable(series, content);
            if (table == QLatin1String("specs"))
                return SpecTable(content);
            return QList<QStringList>{};
        });
        if (base::Status pageWritten = AllOf({
                [&] { return tree.write(QStringLiteral("Docs/%1.rtf").arg(series.code), document); },
                [&] {
                    return WriteJpeg(tree, QStringLiteral("Docs/%1.jpg").arg(series.code),
                                     RenderSeriesPage(series, content, *cover, layout, measures));
                }});
            !pageWritten)
            return pageWritten;
    }
    // A preview refresh after the help page sets its range from the help
    // picture; as tall as any Series page, it never cuts a Type's position.
    const int helpHeight = std::min(std::max(kHelpPageMinHeightPx, tallestSeriesPage),
                                    measures.maxPageHeightPx);
    return AllOf({
        [&] { return tree.write(QStringLiteral("Docs/talvex2017.rtf"), RenderRtf(*help, {})); },
        [&] {
            return WriteJpeg(tree, QStringLiteral("Docs/talvex2017.jpg"),
                             RenderHelpPage(*help, measures.pageWidthPx, helpHeight));
        }});
}

QByteArray LispStandIn()
{
    return QStringLiteral(
               "TALVEX stand-in for 3dstretch.VLX\r\n"
               "3D TALVEX 的 CAD 端 LISP 程式 3dstretch 之代用檔。\r\n"
               "On a maker's disc this is the compiled Visual LISP application that AutoCAD loads\r\n"
               "with (load \"3dstretch\") and runs as (3dstretch \"type\" bore stroke stroke2).\r\n"
               "This text file only stands in for it in the demo install root.\r\n")
        .toUtf8();
}

// Drawings of an earlier catalogue would otherwise stay behind unlisted.
void RemoveStaleDrawings(const QString& filesDir, const QStringList& current)
{
    const QDir dir(filesDir);
    for (const QFileInfo& entry : dir.entryInfoList({QStringLiteral("*.dwg")}, QDir::Files)) {
        if (!current.contains(entry.fileName()))
            QFile::remove(entry.absoluteFilePath());
    }
}

base::Status WriteFiles(const CatalogueModel& catalogue, const QString& contentDir,
                        OutputTree& tree, DemoReport& report)
{
    QStringList staged{QStringLiteral("3dstretch.VLX")};
    QStringList drawings;
    for (const StandInDrawing& drawing : CollectStandInDrawings(catalogue)) {
        if (!IsSafeStagedName(drawing.name)) {
            report.warnings.append(QStringLiteral("drawing name \"%1\" cannot be a stand-in file").arg(drawing.name));
            continue;
        }
        if (base::Status written = tree.write(QStringLiteral("Files/") + drawing.name,
                                              StandInDrawingText(drawing));
            !written)
            return written;
        drawings.append(drawing.name);
    }
    staged += drawings;
    RemoveStaleDrawings(tree.path(QStringLiteral("Files")), drawings);

    QStringList skipped;
    const QByteArray batch = BuildCleanBatch(staged, &skipped);
    for (const QString& name : skipped)
        report.warnings.append(QStringLiteral("\"%1\" is not listed in TEMP CLEAR.bat").arg(name));
    if (base::Status written = AllOf({
            [&] { return tree.write(QStringLiteral("Files/3dstretch.VLX"), LispStandIn()); },
            [&] { return tree.write(QStringLiteral("Files/TEMP CLEAR.bat"), batch); },
            [&] { return tree.write(QStringLiteral("Files/TEMP CLEAR.sh"), BuildCleanShell(staged), true); }});
        !written)
        return written;
    const QDir accessories(QDir(contentDir).filePath(QStringLiteral("accessories")));
    for (const QFileInfo& entry : accessories.entryInfoList(QDir::Files, QDir::Name)) {
        const auto bytes = ReadBytes(entry.absoluteFilePath());
        if (!bytes)
            return bytes.failure();
        const bool text = entry.suffix() == QLatin1String("txt");
        if (base::Status written = tree.write(QStringLiteral("Files/Accessories/") + entry.fileName(),
                                              text ? WindowsText(*bytes) : *bytes);
            !written)
            return written;
    }
    return {};
}

} // namespace

base::Status BuildDemoRoot(const DemoSources& sources, const QString& root, DemoReport& report)
{
    OutputTree tree(root);
    const auto catalogueBytes = ReadBytes(sources.catalogueFile);
    if (!catalogueBytes)
        return catalogueBytes.failure();
    if (base::Status written = tree.write(QStringLiteral("Database/TALVEX.mdb"), *catalogueBytes);
        !written)
        return written;
    // Read back the shipped copy: the root describes what it holds.
    const auto catalogue = ReadCatalogueModel(tree.path(QStringLiteral("Database/TALVEX.mdb")));
    if (!catalogue)
        return catalogue.failure();
    base::Status built = WriteDocs(*catalogue, sources.contentDir, tree, report);
    if (built)
        built = WriteFiles(*catalogue, sources.contentDir, tree, report);
    report.filesWritten = tree.written();
    return built;
}

} // namespace demo
