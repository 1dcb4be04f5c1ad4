// SPDX-License-Identifier: MIT
// The install root the build writes beside the program: complete for the
// sample catalogue as the program's own queries read it.
#include "test_files.h"
#include "catalogue/connection.h"
#include "catalogue/queries.h"
#include "selection/preview_arithmetic.h"
#include "rtf/rtf_reader.h"
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using testing::ReadAll;
using testing::WriteFile;

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kViewportTwips = 3370;  // the viewport box; its inside is smaller
constexpr int kViewportWidthPx = 672;

QString RootPath(const QString& relative)
{
    return QDir(QStringLiteral(TALVEX_ROOT_DIR)).filePath(relative);
}

struct ListCollector : catalogue::ListTarget {
    QStringList items;
    void clear() override { items.clear(); }
    void append(const QString& item) override { items.append(item); }
};

struct TextBox : catalogue::TextTarget {
    QString value;
    QString text() const override { return value; }
    void setText(const QString& text) override { value = text; }
};

struct Selection {
    QString series, type, bore;
};

// Every stroke worth trying for a bore: each bound of each entry of the two
// range texts, a value inside each range, and 0 (the fixed strokes).
QStringList StrokesToTry(const QString& rangeText)
{
    QStringList strokes{QStringLiteral("0")};
    for (const QString& entry : rangeText.split(QRegularExpression(QStringLiteral("[;\\r\\n]")), Qt::SkipEmptyParts)) {
        const QStringList bounds = entry.split(u'-');
        strokes += bounds;
        if (bounds.size() == 2)
            strokes.append(QString::number((bounds.at(0).toDouble() + bounds.at(1).toDouble()) / 2));
    }
    return strokes;
}

QStringList StagedNamesOfScript(const QByteArray& script, const QRegularExpression& pattern)
{
    QStringList names;
    for (const QString& line : QString::fromUtf8(script).split(u'\n')) {
        const QRegularExpressionMatch match = pattern.match(line.trimmed());
        if (match.hasMatch())
            names.append(match.captured(1));
    }
    return names;
}

QStringList SeriesDocuments()
{
    return QDir(RootPath(QStringLiteral("Docs"))).entryList({QStringLiteral("*.rtf")}, QDir::Files);
}

} // namespace

class TestDemoRoot : public QObject {
    Q_OBJECT

    catalogue::CatalogueSession session_;
    catalogue::Connection* connection_ = nullptr;
    QStringList series_;
    QList<Selection> selections_;

    QStringList typesOf(const QString& series)
    {
        ListCollector types;
        catalogue::FillTypeList(connection_, types, series);
        return types.items;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo::exists(RootPath(QStringLiteral("Database/TALVEX.mdb"))),
                 "build the default target first: it writes the demo root");
        const auto opened = catalogue::OpenCatalogueConnection(
            session_, QString(), QString(), true, true, RootPath(QStringLiteral("Database/TALVEX.mdb")));
        QVERIFY2(opened.ok(), qPrintable(opened.error()));
        connection_ = session_.connection.get();
        ListCollector series;
        QVERIFY(catalogue::FillSeriesList(connection_, series).ok());
        series_ = series.items;
        for (const QString& code : series_) {
            for (const QString& type : typesOf(code)) {
                ListCollector bores;
                QVERIFY(catalogue::FillBoreList(connection_, bores, code, type).ok());
                for (const QString& bore : bores.items)
                    selections_.append({code, type, bore});
            }
        }
    }

    void cleanupTestCase() { catalogue::CloseCatalogueConnection(connection_); }

    void catalogueIsTheSampleCatalogue()
    {
        const QByteArray shipped = ReadAll(RootPath(QStringLiteral("Database/TALVEX.mdb")));
        const QByteArray sample = ReadAll(QStringLiteral(TALVEX_TEST_DATA "/TALVEX.mdb"));
        QVERIFY(!sample.isEmpty());
        QCOMPARE(QCryptographicHash::hash(shipped, QCryptographicHash::Sha256),
                 QCryptographicHash::hash(sample, QCryptographicHash::Sha256));
        QCOMPARE(QSet<QString>(series_.cbegin(), series_.cend()),
                 QSet<QString>({"AX", "TA", "UMO", "QR", "YQ", "ZQ", "XUF", "HMN", "UJ"}));
    }

    void everySeriesHasItsDocumentAndPicture()
    {
        for (const QString& name : {QStringLiteral("default"), QStringLiteral("talvex2017")}) {
            QVERIFY2(QFileInfo(RootPath("Docs/" + name + ".rtf")).size() > 0, qPrintable(name));
            QVERIFY2(!QImage(RootPath("Docs/" + name + ".jpg")).isNull(), qPrintable(name));
        }
        for (const QString& code : series_) {
            QVERIFY2(QFileInfo(RootPath("Docs/" + code + ".rtf")).size() > 0, qPrintable(code));
            QVERIFY2(QFileInfo(RootPath("Docs/" + code + ".jpg")).size() > 0, qPrintable(code));
        }
    }

    void everyDrawingTheProgramCanStageIsThere()
    {
        QStringList missing;
        auto expect = [&](const QString& name, const Selection& s) {
            if (!QFileInfo(RootPath("Files/" + name)).isFile())
                missing.append(QStringLiteral("%1 (%2 %3 %4)").arg(name, s.series, s.type, s.bore));
        };
        for (const Selection& s : selections_) {
            TextBox first, second;
            QVERIFY(catalogue::BuildRangeText(connection_, s.series, s.type, s.bore, true, first, second).ok());
            for (const QString& stroke : StrokesToTry(first.value + u';' + second.value)) {
                const base::Result<QString> file =
                    catalogue::LookupDrawingFile(connection_, s.series, s.type, s.bore, stroke);
                QVERIFY(file.ok());
                expect(file->isEmpty() ? s.type + s.bore + QStringLiteral(".dwg") : *file, s);
            }
        }
        // Also every stored name and every Type + bore name, selectable or not.
        catalogue::Recordset rows;
        QString error;
        QVERIFY2(catalogue::OpenRecordset(QStringLiteral("SELECT StyleDetail, DiaSpec, FileName FROM Fluid_Detail"),
                                          connection_, rows, error), qPrintable(error));
        int rowCount = 0;
        while (!rows.eof()) {
            const Selection s{QString(), rows.field(QStringLiteral("StyleDetail")).toText(),
                              rows.field(QStringLiteral("DiaSpec")).toText()};
            const catalogue::FieldValue name = rows.field(QStringLiteral("FileName"));
            if (!name.isNull() && !name.toText().trimmed().isEmpty())
                expect(name.toText(), s);
            expect(s.type + s.bore + QStringLiteral(".dwg"), s);
            rows.moveNext();
            ++rowCount;
        }
        QCOMPARE(rowCount, 241);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
    }

    void standInsSayWhatTheyAre()
    {
        const QString drawing = QString::fromUtf8(ReadAll(RootPath(QStringLiteral("Files/TAA20L.dwg"))));
        QVERIFY(drawing.startsWith(QStringLiteral("TALVEX stand-in drawing TAA20L.dwg")));
        QVERIFY(drawing.contains(QStringLiteral("Type TAA, bore 20: stroke range 101-600")));
        QVERIFY(ReadAll(RootPath(QStringLiteral("Files/3dstretch.VLX"))).startsWith("TALVEX stand-in for 3dstretch.VLX"));
        const QStringList accessories = QDir(RootPath(QStringLiteral("Files/Accessories"))).entryList(QDir::Files);
        QVERIFY(accessories.contains(QStringLiteral("README.txt")));
        QVERIFY(accessories.filter(QStringLiteral(".dwg")).size() >= 2);
    }

    void seriesPicturesPutEachTypeAtTheTopOfTheViewport()
    {
        for (const QString& code : series_) {
            const QImage picture(RootPath("Docs/" + code + ".jpg"));
            QVERIFY2(!picture.isNull(), qPrintable(code));
            QVERIFY(picture.width() <= kViewportWidthPx);
            const int heightTwips = picture.height() * kTwipsPerPixel;
            QVERIFY(heightTwips <= 32767);
            for (const QString& type : typesOf(code)) {
                const std::optional<qint16> position = selection::TypeScrollTarget(heightTwips, type);
                QVERIFY2(position, qPrintable(type));
                QVERIFY2(*position > 0 && *position <= heightTwips - kViewportTwips, qPrintable(type));
                // A Type panel begins with its dark title strip right below
                // the viewport's top edge.
                const int topRow = (*position + kTwipsPerPixel - 1) / kTwipsPerPixel;
                int bestStripRow = 0;
                for (int y = topRow; y < topRow + 12 && y < picture.height(); ++y) {
                    int dark = 0;
                    for (int x = 0; x < picture.width(); ++x) {
                        const QColor c = picture.pixelColor(x, y);
                        dark += c.blue() > c.red() + 40 && c.value() < 130;
                    }
                    bestStripRow = std::max(bestStripRow, dark);
                }
                QVERIFY2(bestStripRow > picture.width() / 2, qPrintable(code + u' ' + type));
            }
        }
    }

    void helpPictureIsTheTallest()
    {
        // After the help page the next refresh takes its scroll range from
        // the help picture; a shorter one would refuse a Type's position.
        const QImage help(RootPath(QStringLiteral("Docs/talvex2017.jpg")));
        QVERIFY(help.height() * kTwipsPerPixel >= 27500 + kViewportTwips);
        QVERIFY(help.height() * kTwipsPerPixel <= 32767);
        for (const QString& code : series_)
            QVERIFY2(QImage(RootPath("Docs/" + code + ".jpg")).height() <= help.height(), qPrintable(code));
    }

    void documentsAreChineseRichText()
    {
        const QStringList documents = SeriesDocuments();
        QCOMPARE(documents.size(), series_.size() + 2);
        for (const QString& name : documents) {
            const QByteArray bytes = ReadAll(RootPath("Docs/" + name));
            QVERIFY2(bytes.startsWith("{\\rtf1\\ansi\\ansicpg950"), qPrintable(name));
            QVERIFY(bytes.contains("\\fcharset136"));
            QVERIFY(bytes.contains("\\b"));
            QVERIFY(bytes.contains("\\'"));
            for (const char byte : bytes)
                QVERIFY2(static_cast<unsigned char>(byte) < 0x80, qPrintable(name));  // 7-bit, as RTF is
        }
    }

    void documentsReadBackWithChineseTextAndTheirTypes()
    {
        static const QRegularExpression han(QStringLiteral("[\\x{4E00}-\\x{9FFF}]{4}"));
        for (const QString& name : SeriesDocuments()) {
            QTextDocument document;
            const auto result = rtf::LoadRtfFile(RootPath("Docs/" + name), document);
            QVERIFY2(result.ok(), qPrintable(name + u' ' + result.error()));
            const QString text = document.toPlainText();
            QVERIFY2(han.match(text).hasMatch(), qPrintable(name));
            const QString code = QFileInfo(name).completeBaseName();
            if (!series_.contains(code))
                continue;
            for (const QString& type : typesOf(code))
                QVERIFY2(text.contains(type), qPrintable(code + u' ' + type));
        }
        QTextDocument help;
        QVERIFY(rtf::LoadRtfFile(RootPath(QStringLiteral("Docs/talvex2017.rtf")), help).ok());
        for (const char* word : {"APPLOAD", "3dstretch", "信任的位置", "支援檔案搜尋路徑"})
            QVERIFY2(help.toPlainText().contains(QString::fromUtf8(word)), word);
    }

    void cleanUpScriptsListExactlyWhatCanBeStaged()
    {
        QSet<QString> staged{QStringLiteral("3dstretch.VLX")};
        for (const QString& name : QDir(RootPath(QStringLiteral("Files"))).entryList({QStringLiteral("*.dwg")}, QDir::Files))
            staged.insert(name);
        const QStringList fromBatch = StagedNamesOfScript(ReadAll(RootPath(QStringLiteral("Files/TEMP CLEAR.bat"))),
                                                          QRegularExpression(QStringLiteral("^call :drop \"(.+)\"$")));
        const QStringList fromShell = StagedNamesOfScript(ReadAll(RootPath(QStringLiteral("Files/TEMP CLEAR.sh"))),
                                                          QRegularExpression(QStringLiteral("^'(.+)' \\\\$")));
        QCOMPARE(QSet<QString>(fromBatch.cbegin(), fromBatch.cend()), staged);
        QCOMPARE(QSet<QString>(fromShell.cbegin(), fromShell.cend()), staged);
        QCOMPARE(fromBatch.size(), staged.size());
        QVERIFY(!ReadAll(RootPath(QStringLiteral("Files/TEMP CLEAR.bat"))).contains('*'));
    }

#ifdef Q_OS_UNIX  // the shell script runs under POSIX sh
    void shellCleanUpRemovesStagedFilesAndNothingElse()
    {
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        // The program's work folder when there is no runtime folder.
        const QDir dir(temp.filePath(QStringLiteral("talvex-%1").arg(::geteuid())));
        QVERIFY(QDir().mkdir(dir.path()));
        const QStringList staged = QStringList{QStringLiteral("3dstretch.VLX"), QStringLiteral("AXN12.dwg"),
                                               QStringLiteral("YQOH_K20.dwg"), QStringLiteral("TAA100L.dwg")};
        const QStringList others = {QStringLiteral("Acaddoc.vlx"), QStringLiteral("mine.dwg"),
                                    QStringLiteral("AXN12.dwg.bak"), QStringLiteral("axn12.dwg"),
                                    QStringLiteral("3dstretch.vlx.old")};
        for (const QString& name : staged + others) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QProcess shell;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), temp.path());
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        shell.setProcessEnvironment(environment);
        shell.start(QStringLiteral("/bin/sh"), {RootPath(QStringLiteral("Files/TEMP CLEAR.sh"))});
        QVERIFY(shell.waitForFinished(10000));
        QCOMPARE(shell.exitCode(), 0);
        for (const QString& name : staged)
            QVERIFY2(!QFileInfo::exists(dir.filePath(name)), qPrintable(name));
        for (const QString& name : others)
            QVERIFY2(QFileInfo::exists(dir.filePath(name)), qPrintable(name));
        QVERIFY(QFileInfo(RootPath(QStringLiteral("Files/TEMP CLEAR.sh"))).permissions() & QFileDevice::ExeOwner);
    }
#endif
};

QTEST_MAIN(TestDemoRoot)
#include "test_demo_root.moc"
