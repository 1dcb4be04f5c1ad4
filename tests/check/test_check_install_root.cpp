// SPDX-License-Identifier: MIT
// Install roots built here, complete and then with one planted fault each.
#include "check/install_root_checks.h"
#include "check_fixtures.h"
#include "test_files.h"
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace check;
using namespace check_test;
using testing::WriteFile;

namespace {

// AX/AXN types its strokes: bore 12 names its drawing, bore 16 falls back.
// TA/CBV has fixed strokes: "0" lies outside its range, so it falls back.
CatalogueRows SampleRows()
{
    return Rows({Main("AX", "AXN"), Main("TA", "CBV", Text("1"), Whole(-1))},
                {Detail("AX", "AXN", "12", 1, Real(5), Real(100), Text("1"), Text("AXN12.dwg")),
                 Detail("AX", "AXN", "16", 1, Real(5), Real(100), Text("1"), Null()),
                 Detail("TA", "CBV", "20", 1, Real(5), Real(100), Text("1"), Text("CBV20S.dwg"))});
}

QByteArray Jpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

class SampleRoot {
public:
    SampleRoot()
    {
        QDir(dir.path()).mkpath(QStringLiteral("Files/Accessories"));
        QDir(dir.path()).mkpath(QStringLiteral("Docs"));
        for (const char* name : {"Files/AXN12.dwg", "Files/AXN16.dwg", "Files/CBV20.dwg", "Files/3dstretch.VLX",
                                 "Files/TEMP CLEAR.bat", "Files/TEMP CLEAR.sh"})
            write(name, "stand-in");
        for (const char* page : {"default", "talvex2017", "AX", "TA"}) {
            write(QStringLiteral("Docs/%1.rtf").arg(QLatin1String(page)), "{\\rtf1\\ansi hello}");
            write(QStringLiteral("Docs/%1.jpg").arg(QLatin1String(page)), Jpeg(100, 600));
        }
    }

    QString path(const QString& relative) const { return QDir(dir.path()).filePath(relative); }
    void write(const QString& relative, const QByteArray& content) const
    {
        QVERIFY(WriteFile(path(relative), content));
    }
    void remove(const QString& relative) const { QVERIFY(QFile::remove(path(relative))); }

    Findings check() const
    {
        const CatalogueRows rows = SampleRows();
        Progress quiet;
        return CheckInstallRoot(dir.path(), rows, IndexCatalogue(rows), PreviewGeometry{}, quiet);
    }

    QTemporaryDir dir;
};

std::vector<Finding> AllBut(const Findings& findings, const char* check)
{
    std::vector<Finding> kept;
    for (const Finding& finding : findings) {
        if (finding.check != QLatin1String(check))
            kept.push_back(finding);
    }
    return kept;
}

} // namespace

class InstallRootTest : public QObject {
    Q_OBJECT

private slots:
    void completeRootGivesOnlyPictureSizes()
    {
        const SampleRoot root;
        const Findings findings = root.check();
        QCOMPARE(Checks(AllBut(findings, "picture-size")), QStringList());
        const auto sizes = Only(findings, "picture-size");
        QCOMPARE(sizes.size(), size_t(4));
        QCOMPARE(sizes[0].location.path, QStringLiteral("Docs/default.jpg"));
        QVERIFY2(sizes[0].message.contains(QStringLiteral("100 × 600 pixels")), qPrintable(sizes[0].message));
        QCOMPARE(sizes[0].severity, Severity::Note);
    }

    void missingDrawings_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("how");
        QTest::newRow("named by the range") << "AXN12.dwg" << "AX/AXN/12/1/Files/AXN12.dwg" << "FileName";
        QTest::newRow("fallback of a blank name") << "AXN16.dwg" << "AX/AXN/16//Files/AXN16.dwg" << "fallback";
        QTest::newRow("fallback of fixed strokes") << "CBV20.dwg" << "TA/CBV/20//Files/CBV20.dwg" << "fallback";
    }

    void missingDrawings()
    {
        QFETCH(QString, file);
        QFETCH(QString, where);
        QFETCH(QString, how);
        const SampleRoot root;
        root.remove(QStringLiteral("Files/") + file);
        const auto missing = Only(root.check(), "drawing-missing");
        QCOMPARE(Wheres(missing), QStringList{where});
        QCOMPARE(missing[0].severity, Severity::Error);
        QCOMPARE(missing[0].table, QStringLiteral("Files"));
        QVERIFY2(missing[0].message.contains(how), qPrintable(missing[0].message));
    }

    void drawingThatDiffersInCase()
    {
        const SampleRoot root;
        root.remove(QStringLiteral("Files/AXN12.dwg"));
        root.write(QStringLiteral("Files/axn12.DWG"), "drawing");
        const Findings findings = root.check();
        const auto cased = Only(findings, "drawing-case");
        QCOMPARE(Wheres(cased), QStringList{QStringLiteral("AX/AXN/12/1/Files/AXN12.dwg")});
        QCOMPARE(cased[0].severity, Severity::Warning);
        QVERIFY2(cased[0].message.contains(QStringLiteral("axn12.DWG")), qPrintable(cased[0].message));
        // The file on disk is the one meant: it is not told as unselectable.
        QVERIFY(Only(findings, "file-unselectable").empty());
        QVERIFY(Only(findings, "drawing-missing").empty());
    }

    void unreadableDrawing()
    {
        const SampleRoot root;
#ifdef Q_OS_WIN
        // Another program holds the drawing open without sharing it.
        const HANDLE held = CreateFileW(reinterpret_cast<const wchar_t*>(root.path(QStringLiteral("Files/AXN12.dwg")).utf16()),
                                        GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        QVERIFY(held != INVALID_HANDLE_VALUE);
        const auto unreadable = Only(root.check(), "drawing-unreadable");
        CloseHandle(held);
#else
        // A link that leads nowhere: listed, but nothing to read.
        root.remove(QStringLiteral("Files/AXN12.dwg"));
        QVERIFY(QFile::link(root.path(QStringLiteral("Files/nowhere.dwg")), root.path(QStringLiteral("Files/AXN12.dwg"))));
        const auto unreadable = Only(root.check(), "drawing-unreadable");
#endif
        QCOMPARE(Wheres(unreadable), QStringList{QStringLiteral("AX/AXN/12/1/Files/AXN12.dwg")});
        QCOMPARE(unreadable[0].severity, Severity::Error);
    }

    void filesNoRangeSelects()
    {
        const SampleRoot root;
        root.write(QStringLiteral("Files/OLD.dwg"), "old");
        const auto unselectable = Only(root.check(), "file-unselectable");
        // CBV20S.dwg is never staged either, but it is not on the disc.
        QCOMPARE(Wheres(unselectable), QStringList{QStringLiteral("////Files/OLD.dwg")});
        QCOMPARE(unselectable[0].severity, Severity::Note);
    }

    void utilityFiles_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("CAD-side application") << "Files/3dstretch.VLX";
        QTest::newRow("clean-up batch file") << "Files/TEMP CLEAR.bat";
        QTest::newRow("accessories folder") << "Files/Accessories";
    }

    void utilityFiles()
    {
        QFETCH(QString, relative);
        const SampleRoot root;
        QVERIFY(QFileInfo(root.path(relative)).isDir() ? QDir(root.path(relative)).removeRecursively()
                                                        : QFile::remove(root.path(relative)));
        const auto missing = Only(root.check(), "root-file-missing");
        QCOMPARE(missing.size(), size_t(1));
        QCOMPARE(missing[0].location.path, relative);
        QCOMPARE(missing[0].severity, Severity::Error);
    }

    void noFilesFolder()
    {
        const SampleRoot root;
        QVERIFY(QDir(root.path(QStringLiteral("Files"))).removeRecursively());
        const Findings findings = root.check();
        QCOMPARE(Checks(AllBut(findings, "picture-size")), QStringList{QStringLiteral("root-files-missing")});
        QCOMPARE(findings[0].severity, Severity::Error);
    }

    void documentsAndPictures_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QByteArray>("content");  // empty: the file is removed
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("where");
        QTest::addColumn<Severity>("severity");
        QTest::newRow("default document missing") << "Docs/default.rtf" << QByteArray() << "doc-missing" << "////Docs/default.rtf" << Severity::Error;
        QTest::newRow("Series document not RTF") << "Docs/AX.rtf" << QByteArray("plain text") << "doc-unreadable" << "AX////Docs/AX.rtf" << Severity::Error;
        // Taller than Qt can lay out: the reader cuts it.
        QTest::newRow("Series document cut") << "Docs/TA.rtf" << QByteArray("{\\rtf1 \\fs3276 " + QByteArray("a ").repeated(5000) + "}")
                                             << "doc-cut" << "TA////Docs/TA.rtf" << Severity::Warning;
        QTest::newRow("help picture missing") << "Docs/talvex2017.jpg" << QByteArray() << "picture-missing" << "////Docs/talvex2017.jpg" << Severity::Error;
        QTest::newRow("Series picture damaged") << "Docs/TA.jpg" << QByteArray("\xff\xd8 not a picture") << "picture-unreadable" << "TA////Docs/TA.jpg" << Severity::Error;
    }

    void documentsAndPictures()
    {
        QFETCH(QString, relative);
        QFETCH(QByteArray, content);
        QFETCH(QString, check);
        QFETCH(QString, where);
        QFETCH(Severity, severity);
        const SampleRoot root;
        if (content.isEmpty())
            root.remove(relative);
        else
            root.write(relative, content);
        const auto found = AllBut(root.check(), "picture-size");
        QCOMPARE(Checks(found), QStringList{check});
        QCOMPARE(Where(found[0]), where);
        QCOMPARE(found[0].severity, severity);
        QCOMPARE(found[0].table, QStringLiteral("Docs"));
    }

    void typePositionBeyondTheScrollRange()
    {
        // 250 pixels are 3750 twips: AXN's position 1875 lies beyond the
        // maximum 3750 - 3315 = 435, so the picture shows from its top.
        const SampleRoot root;
        root.write(QStringLiteral("Docs/AX.jpg"), Jpeg(100, 250));
        const auto positions = Only(root.check(), "type-position-out-of-range");
        QCOMPARE(Wheres(positions), QStringList{QStringLiteral("AX/AXN///Docs/AX.jpg")});
        QCOMPARE(positions[0].severity, Severity::Note);
        QVERIFY2(positions[0].message.contains(QStringLiteral("(1875 twips)")), qPrintable(positions[0].message));
        QVERIFY2(positions[0].message.contains(QStringLiteral("0-435")), qPrintable(positions[0].message));
        // A viewport as tall as the pictures leaves no range at all: AXN and CBV.
        const CatalogueRows rows = SampleRows();
        Progress quiet;
        PreviewGeometry tall;
        tall.viewportTwips = 9000;
        root.write(QStringLiteral("Docs/AX.jpg"), Jpeg(100, 600));
        QCOMPARE(Only(CheckInstallRoot(root.dir.path(), rows, IndexCatalogue(rows), tall, quiet),
                      "type-position-out-of-range").size(), size_t(2));
    }
};

QTEST_MAIN(InstallRootTest)
#include "test_check_install_root.moc"
