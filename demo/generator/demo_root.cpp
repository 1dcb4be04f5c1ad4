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

namespace demo {

namespace {

// Tall enough to cover the help page's fixed scroll range of 27500 twips
// below a 3370-twip viewport.
constexpr int kHelpPageMinHeightPx = 2064;

bool ReadBytes(const QString& path, QByteArray& bytes, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    bytes = file.readAll();
    return true;
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

bool WriteJpeg(OutputTree& tree, const QString& path, const QImage& image)
{
    const QByteArray bytes = EncodeJpeg(image);
    return !bytes.isEmpty() && tree.write(path, bytes);
}

bool WriteDocs(const CatalogueModel& catalogue, const QString& contentDir, OutputTree& tree,
               DemoReport& report, QString& error)
{
    ContentFile cover;
    ContentFile help;
    if (!ReadContentFile(QDir(contentDir).filePath(QStringLiteral("default.txt")), cover, error)
        || !ReadContentFile(QDir(contentDir).filePath(QStringLiteral("talvex2017.txt")), help, error))
        return false;
    const PreviewMeasures measures;
    if (!tree.write(QStringLiteral("Docs/default.rtf"), RenderRtf(cover, {}))
        || !WriteJpeg(tree, QStringLiteral("Docs/default.jpg"), RenderCoverPage(cover, measures.pageWidthPx))) {
        error = tree.error();
        return false;
    }
    int tallestSeriesPage = 0;
    for (const SeriesEntry& series : catalogue.series) {
        const QString contentPath = QDir(contentDir).filePath(series.code + QStringLiteral(".txt"));
        ContentFile content;
        QString missing;
        if (!ReadContentFile(contentPath, content, missing)) {
            report.warnings.append(QStringLiteral("no text for Series %1, a generic page is drawn").arg(series.code));
            content = GenericSeriesContent(series);
        }
        const PageLayout layout = LayOutSeriesPage(series.typeCodes(), measures);
        if (!layout.ok()) {
            error = QStringLiteral("Series %1: %2").arg(series.code, layout.problem);
            return false;
        }
        tallestSeriesPage = std::max(tallestSeriesPage, layout.heightPx);
        const QByteArray document = RenderRtf(content, [&](const QString& table) {
            if (table == QLatin1String("types"))
                return TypeTable(series, content);
            if (table == QLatin1String("specs"))
                return SpecTable(content);
            return QList<QStringList>{};
        });
        if (!tree.write(QStringLiteral("Docs/%1.rtf").arg(series.code), document)
            || !WriteJpeg(tree, QStringLiteral("Docs/%1.jpg").arg(series.code),
                          RenderSeriesPage(series, content, cover, layout, measures))) {
            error = tree.error();
            return false;
        }
    }
    // A preview refresh after the help page sets its range from the help
    // picture; as tall as any Series page, it never cuts a Type's position.
    const int helpHeight = std::min(std::max(kHelpPageMinHeightPx, tallestSeriesPage),
                                    measures.maxPageHeightPx);
    if (!tree.write(QStringLiteral("Docs/talvex2017.rtf"), RenderRtf(help, {}))
        || !WriteJpeg(tree, QStringLiteral("Docs/talvex2017.jpg"),
                      RenderHelpPage(help, measures.pageWidthPx, helpHeight))) {
        error = tree.error();
        return false;
    }
    return true;
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

bool WriteFiles(const CatalogueModel& catalogue, const QString& contentDir, OutputTree& tree,
                DemoReport& report, QString& error)
{
    QStringList staged{QStringLiteral("3dstretch.VLX")};
    QStringList drawings;
    for (const StandInDrawing& drawing : CollectStandInDrawings(catalogue)) {
        if (!IsSafeStagedName(drawing.name)) {
            report.warnings.append(QStringLiteral("drawing name \"%1\" cannot be a stand-in file").arg(drawing.name));
            continue;
        }
        if (!tree.write(QStringLiteral("Files/") + drawing.name, StandInDrawingText(drawing))) {
            error = tree.error();
            return false;
        }
        drawings.append(drawing.name);
    }
    staged += drawings;
    RemoveStaleDrawings(tree.path(QStringLiteral("Files")), drawings);

    QStringList skipped;
    const QByteArray batch = BuildCleanBatch(staged, &skipped);
    for (const QString& name : skipped)
        report.warnings.append(QStringLiteral("\"%1\" is not listed in TEMP CLEAR.bat").arg(name));
    if (!tree.write(QStringLiteral("Files/3dstretch.VLX"), LispStandIn())
        || !tree.write(QStringLiteral("Files/TEMP CLEAR.bat"), batch)
        || !tree.write(QStringLiteral("Files/TEMP CLEAR.sh"), BuildCleanShell(staged), true)) {
        error = tree.error();
        return false;
    }
    const QDir accessories(QDir(contentDir).filePath(QStringLiteral("accessories")));
    for (const QFileInfo& entry : accessories.entryInfoList(QDir::Files, QDir::Name)) {
        QByteArray bytes;
        if (!ReadBytes(entry.absoluteFilePath(), bytes, error))
            return false;
        if (entry.suffix() == QLatin1String("txt"))
            bytes = WindowsText(bytes);
        if (!tree.write(QStringLiteral("Files/Accessories/") + entry.fileName(), bytes)) {
            error = tree.error();
            return false;
        }
    }
    return true;
}

} // namespace

bool BuildDemoRoot(const DemoSources& sources, const QString& root, DemoReport& report,
                   QString& error)
{
    OutputTree tree(root);
    QByteArray catalogueBytes;
    if (!ReadBytes(sources.catalogueFile, catalogueBytes, error))
        return false;
    if (!tree.write(QStringLiteral("Database/TALVEX.mdb"), catalogueBytes)) {
        error = tree.error();
        return false;
    }
    // Read back the shipped copy: the root describes what it holds.
    const std::optional<CatalogueModel> catalogue =
        ReadCatalogueModel(tree.path(QStringLiteral("Database/TALVEX.mdb")), error);
    if (!catalogue)
        return false;
    const bool ok = WriteDocs(*catalogue, sources.contentDir, tree, report, error)
        && WriteFiles(*catalogue, sources.contentDir, tree, report, error);
    report.filesWritten = tree.written();
    return ok;
}

} // namespace demo
