// SPDX-License-Identifier: MIT
#include "install_root_checks.h"
#include "catalogue/code_key.h"
#include "drawing_lookup.h"
#include "generation/staging_paths.h"
#include "medium/utility_paths.h"
#include "rtf/rtf_reader.h"
#include "selection/preview_arithmetic.h"
#include "selection/preview_picture.h"
#include "selection/type_positions.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTextDocument>

namespace check {

namespace {

const QString kFiles = QStringLiteral("Files");
const QString kDocs = QStringLiteral("Docs");

// The files of one folder by exact name, and by name without regard to case.
class FolderListing {
public:
    explicit FolderListing(const QString& folder)
    {
        for (const QFileInfo& entry : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
            exact_.insert(entry.fileName());
            folded_[entry.fileName().toCaseFolded()].append(entry.fileName());
        }
    }
    bool contains(const QString& name) const { return exact_.contains(name); }
    // Another spelling of the name on disk, as a case-blind file system finds it.
    QString otherCase(const QString& name) const { return folded_.value(name.toCaseFolded()).value(0); }
    QStringList names() const
    {
        QStringList list(exact_.begin(), exact_.end());
        list.sort();
        return list;
    }

private:
    QSet<QString> exact_;
    QHash<QString, QStringList> folded_;
};

bool Readable(const QString& path)
{
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly);
}

Location PathLocation(const QString& relative)
{
    Location location;
    location.path = relative;
    return location;
}

class RootChecker {
public:
    RootChecker(const QString& root, const CatalogueRows& rows, const CatalogueIndex& index,
                const PreviewGeometry& preview, Progress& progress)
        : root_(root), rows_(rows), index_(index), preview_(preview), progress_(progress)
    {
    }

    Findings run()
    {
        checkUtilityFiles();
        if (QFileInfo(generation::DrawingFolder(root_)).isDir()) {
            const FolderListing files(generation::DrawingFolder(root_));
            checkDrawings(files);
            checkUnselectable(files);
        }
        checkDocuments();
        return std::move(findings_);
    }

private:
    void add(Severity severity, const char* check, const QString& table, const Location& location,
             const QString& message, const QString& change)
    {
        findings_.push_back({severity, QLatin1String(check), table, location, message, change});
    }

    QString relative(const QString& path) const { return QDir(root_).relativeFilePath(path); }

    void checkUtilityFiles()
    {
        const QString folder = generation::DrawingFolder(root_);
        if (!QFileInfo(folder).isDir()) {
            add(Severity::Error, "root-files-missing", kFiles, PathLocation(kFiles),
                QStringLiteral("The install root has no Files folder: the generate command takes it "
                               "for the wrong disc and opens the drive tray."),
                QStringLiteral("Copy the Files folder with the drawings onto the disc."));
            return;
        }
        struct Needed {
            QString path;
            bool folder;
            QString use;
        };
        const Needed needed[] = {
            {generation::LispApplicationSource(root_), false,
             QStringLiteral("the generate command cannot stage the CAD-side application")},
            {medium::AccessoriesFolder(root_), true, QStringLiteral("the accessories button opens nothing")},
            {medium::CleanUpBatchFile(root_), false, QStringLiteral("the clean-up button runs nothing")},
        };
        for (const Needed& file : needed) {
            const QFileInfo info(file.path);
            const bool present = file.folder ? info.isDir() : Readable(file.path);
            if (!present) {
                add(Severity::Error, "root-file-missing", kFiles, PathLocation(relative(file.path)),
                    QStringLiteral("%1 is missing or unreadable: %2.").arg(relative(file.path), file.use),
                    QStringLiteral("Put %1 on the disc.").arg(relative(file.path)));
            }
        }
    }

    void checkDrawings(const FolderListing& files)
    {
        progress_.stage(QStringLiteral("checking the drawings in Files"));
        for (size_t i = 0; i < index_.bores.size(); ++i) {
            progress_.advance(qint64(i), qint64(index_.bores.size()));
            const BoreEntry& bore = index_.bores[i];
            for (const SelectableDrawing& drawing : SelectableDrawings(rows_, index_, bore))
                checkDrawing(files, bore, drawing);
        }
    }

    void checkDrawing(const FolderListing& files, const BoreEntry& bore, const SelectableDrawing& drawing)
    {
        if (selectable_.contains(drawing.name))
            return;  // told once, where it is first selected
        selectable_.insert(drawing.name);
        Location location{bore.series, bore.type, bore.bore,
                          drawing.row ? rows_.detail[*drawing.row].sortId.toText() : QString(),
                          kFiles + QLatin1Char('/') + drawing.name};
        const QString how = drawing.fallback
                                ? QStringLiteral("the fallback Type code + bore code + \".dwg\"")
                                : QStringLiteral("the FileName of this row");
        const QString path = generation::DrawingSource(root_, drawing.name);
        if (files.contains(drawing.name)) {
            if (!Readable(path)) {
                add(Severity::Error, "drawing-unreadable", kFiles, location,
                    QStringLiteral("Drawing %1 (%2) cannot be read: staging it fails.").arg(drawing.name, how),
                    QStringLiteral("Replace Files/%1 with a readable copy.").arg(drawing.name));
            }
            return;
        }
        const QString other = files.otherCase(drawing.name);
        if (!other.isEmpty()) {
            selectable_.insert(other);
            add(Severity::Warning, "drawing-case", kFiles, location,
                QStringLiteral("Drawing %1 (%2) is on the disc as %3: found on Windows, where case "
                               "does not count, missing elsewhere.").arg(drawing.name, how, other),
                QStringLiteral("Rename Files/%1 to %2, or change the catalogue's name.").arg(other, drawing.name));
            return;
        }
        add(Severity::Error, "drawing-missing", kFiles, location,
            QStringLiteral("Drawing %1 (%2) is not in Files: the program stages nothing and the CAD "
                           "host opens an old copy or nothing.").arg(drawing.name, how),
            QStringLiteral("Add Files/%1, or correct the catalogue.").arg(drawing.name));
    }

    void checkUnselectable(const FolderListing& files)
    {
        QSet<QString> ownFiles{generation::kLispApplicationFile,
                               QFileInfo(medium::CleanUpBatchFile(root_)).fileName()};
        const QString script = medium::ScriptForBatchFile(medium::CleanUpBatchFile(root_));
        if (!script.isEmpty())
            ownFiles.insert(QFileInfo(script).fileName());
        for (const QString& name : files.names()) {
            if (selectable_.contains(name) || ownFiles.contains(name))
                continue;
            add(Severity::Note, "file-unselectable", kFiles, PathLocation(kFiles + QLatin1Char('/') + name),
                QStringLiteral("No range of the catalogue selects %1.").arg(name),
                QStringLiteral("Nothing, unless a range should name it; otherwise it can go."));
        }
    }

    QString docsPath(const QString& name) const
    {
        return root_ + QDir::separator() + kDocs + QDir::separator() + name;
    }

    // The Series in the order the Series list would first meet them, one
    // spelling each.
    std::vector<const TypeEntry*> seriesFirstTypes() const
    {
        std::vector<const TypeEntry*> first;
        QSet<QString> seen;
        for (const TypeEntry& type : index_.types) {
            const QString key = catalogue::CodeKey(type.series);
            if (!seen.contains(key)) {
                seen.insert(key);
                first.push_back(&type);
            }
        }
        return first;
    }

    void checkDocuments()
    {
        progress_.stage(QStringLiteral("checking the documents and pictures in Docs"));
        for (const QString& page : {QStringLiteral("default"), QStringLiteral("talvex2017")}) {
            checkRtf(page + QStringLiteral(".rtf"), {});
            checkPicture(page + QStringLiteral(".jpg"), {});
        }
        for (const TypeEntry* first : seriesFirstTypes()) {
            const Location series{first->series, {}, {}, {}, {}};
            checkRtf(first->series + QStringLiteral(".rtf"), series);
            const QImage picture = checkPicture(first->series + QStringLiteral(".jpg"), series);
            if (!picture.isNull())
                checkTypePositions(first->series, picture);
        }
    }

    void checkRtf(const QString& name, Location location)
    {
        location.path = kDocs + QLatin1Char('/') + name;
        if (!QFileInfo::exists(docsPath(name))) {
            add(Severity::Error, "doc-missing", kDocs, location,
                QStringLiteral("Document %1 is missing: the description pane keeps what it showed "
                               "before.").arg(location.path),
                QStringLiteral("Add %1 (Rich Text Format).").arg(location.path));
            return;
        }
        QTextDocument document;
        const auto loaded = rtf::LoadRtfFile(docsPath(name), document);
        if (!loaded) {
            add(Severity::Error, "doc-unreadable", kDocs, location,
                QStringLiteral("Document %1 does not load: %2.").arg(location.path, loaded.error()),
                QStringLiteral("Save %1 again as Rich Text Format.").arg(location.path));
        } else if (loaded->cut) {
            add(Severity::Warning, "doc-cut", kDocs, location,
                QStringLiteral("Document %1 is taller than the description pane can lay out: the pane shows "
                               "its first %2 characters and a last paragraph \"\u2026\".")
                    .arg(location.path)
                    .arg(document.toPlainText().chopped(1).trimmed().size()),
                QStringLiteral("Shorten %1, or make its text and pictures smaller.").arg(location.path));
        }
    }

    QImage checkPicture(const QString& name, Location location)
    {
        location.path = kDocs + QLatin1Char('/') + name;
        if (!QFileInfo::exists(docsPath(name))) {
            add(Severity::Error, "picture-missing", kDocs, location,
                QStringLiteral("Picture %1 is missing: the preview keeps the picture it showed "
                               "before.").arg(location.path),
                QStringLiteral("Add %1 (JPEG).").arg(location.path));
            return {};
        }
        const QImage picture = selection::LoadPreviewPicture(docsPath(name));
        if (picture.isNull()) {
            add(Severity::Error, "picture-unreadable", kDocs, location,
                QStringLiteral("Picture %1 is not a readable picture: the preview keeps the picture "
                               "it showed before.").arg(location.path),
                QStringLiteral("Save %1 again as JPEG.").arg(location.path));
            return {};
        }
        add(Severity::Note, "picture-size", kDocs, location,
            QStringLiteral("Picture %1 is %2 × %3 pixels.").arg(location.path).arg(picture.width()).arg(picture.height()),
            QString());
        return picture;
    }

    // Scrolls as a refresh of the preview does, for each Type of the Series
    // that has a fixed position, and tells where the scroll bar refuses it.
    void checkTypePositions(const QString& series, const QImage& picture)
    {
        const double height = selection::PixelsToTwips(picture.height(), preview_.dotsPerInch);
        const QString key = catalogue::CodeKey(series);
        for (const TypeEntry& type : index_.types) {
            if (catalogue::CodeKey(type.series) != key)
                continue;
            if (!selection::LookupTypePosition(type.type))
                continue;
            const std::optional<qint16> target = selection::TypeScrollTarget(height, type.type);
            selection::ScrollSettings scroll;
            selection::ResetPreviewScroll(scroll, height, preview_.viewportTwips,
                                          selection::RangeRule::ImageMinusViewport);
            selection::ScrollToTypePosition(scroll, height, type.type);
            if (target && scroll.position() == *target)
                continue;
            add(Severity::Note, "type-position-out-of-range", kDocs,
                Location{type.series, type.type, {}, {}, kDocs + QLatin1Char('/') + series + QStringLiteral(".jpg")},
                QStringLiteral("The Type's preview position (%1 twips) lies outside the scroll range "
                               "0-%2 of the %3-pixel-high picture: the picture shows from its top.")
                    .arg(target ? QString::number(*target) : QStringLiteral("beyond 32767"))
                    .arg(scroll.maximum())
                    .arg(picture.height()),
                QStringLiteral("Make the picture taller, so the Type's part lies within reach."));
        }
    }

    const QString root_;
    const CatalogueRows& rows_;
    const CatalogueIndex& index_;
    const PreviewGeometry preview_;
    Progress& progress_;
    Findings findings_;
    QSet<QString> selectable_;
};

} // namespace

Findings CheckInstallRoot(const QString& root, const CatalogueRows& rows, const CatalogueIndex& index,
                          const PreviewGeometry& preview, Progress& progress)
{
    return RootChecker(root, rows, index, preview, progress).run();
}

} // namespace check
