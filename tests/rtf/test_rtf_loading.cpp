// SPDX-License-Identifier: MIT
#include "test_rtf_reader.h"

#include "rtf_test_support.h"

#include <QAbstractTextDocumentLayout>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace rtf_test;

void TestRtfReader::rejectsDataWithoutHeader_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("ok");
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("blank") << QByteArray(" \r\n ") << false;
    QTest::newRow("plain text") << QByteArray("Series AXN") << false;
    QTest::newRow("html") << QByteArray("<html><body>x</body></html>") << false;
    QTest::newRow("brace only") << QByteArray("{") << false;
    QTest::newRow("other word") << QByteArray("{\\rtfx1 text}") << false;
    QTest::newRow("word without group") << QByteArray("\\rtf1 text") << false;
    QTest::newRow("minimal") << QByteArray("{\\rtf1}") << true;
    QTest::newRow("no version") << QByteArray("{\\rtf text}") << true;
    QTest::newRow("leading white space") << QByteArray("\r\n  {\\rtf1 text}") << true;
}

void TestRtfReader::rejectsDataWithoutHeader()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, ok);
    QTextDocument document;
    const auto result = rtf::ReadRtf(data, document);
    QCOMPARE(result.ok(), ok);
    QCOMPARE(result.error(), ok ? QString() : QStringLiteral("not in Rich Text Format"));
}

void TestRtfReader::failedReadLeavesDocumentAsItWas()
{
    QTextDocument document;
    QVERIFY(Load("{\\rtf1 old {\\b text}" + PictureGroup(QImage(3, 2, QImage::Format_RGB32), "PNG", "\\pngblip") + "}",
                 document));
    const QString before = document.toPlainText();
    const QTextImageFormat image = Images(document).value(0);

    QVERIFY(!rtf::ReadRtf("plain words", document).ok());
    QVERIFY(!rtf::LoadRtfFile(DataPath("no-such-file.rtf"), document).ok());

    QCOMPARE(document.toPlainText(), before);
    QCOMPARE(ImageResource(document, image).size(), QSize(3, 2));
    QVERIFY(FindRun(Runs(document), "text")->format.fontWeight() == QFont::Bold);
}

void TestRtfReader::loadReplacesWholeContent()
{
    QTextDocument document;
    QVERIFY(Load("{\\rtf1 first" + PictureGroup(QImage(4, 4, QImage::Format_RGB32), "PNG", "\\pngblip") + "}",
                 document));
    const QTextImageFormat oldImage = Images(document).value(0);
    QVERIFY(!ImageResource(document, oldImage).isNull());

    // A pane's document is laid out as it changes: the whole new content
    // arrives as one change, so that it is laid out once rather than after
    // every paragraph.
    document.documentLayout();
    QSignalSpy changes(&document, &QTextDocument::contentsChange);
    QVERIFY(Load("{\\rtf1 second\\par \\b third\\b0\\par fourth}", document));
    QCOMPARE(document.toPlainText(), QStringLiteral("second\nthird\nfourth"));
    QVERIFY(!changes.isEmpty());
    const QList<QVariant> filled = changes.last();  // position, removed, added
    QCOMPARE(filled.at(0).toInt(), 0);
    QCOMPARE(filled.at(2).toInt(), document.characterCount());
    QVERIFY(Images(document).isEmpty());
    // The old picture must not linger as a resource of the new document.
    QVERIFY(ImageResource(document, oldImage).isNull());
    // A load is not an edit the user could undo.
    QVERIFY(!document.isUndoAvailable());
    QVERIFY(!document.isModified());
}

void TestRtfReader::loadFileFailsForMissingOrUnusableFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QTextDocument document;
    document.setPlainText(QStringLiteral("kept"));

    const auto missing = rtf::LoadRtfFile(dir.filePath("AXN.rtf"), document);
    QVERIFY(!missing.ok());
    QVERIFY(missing.error().contains("AXN.rtf"));

    QVERIFY(!rtf::LoadRtfFile(dir.path(), document).ok());

    QFile text(dir.filePath("notes.rtf"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("just some notes\r\n");
    text.close();
    const auto notRtf = rtf::LoadRtfFile(text.fileName(), document);
    QVERIFY(!notRtf.ok());
    QCOMPARE(notRtf.error(), QStringLiteral("not in Rich Text Format"));

    QCOMPARE(document.toPlainText(), QStringLiteral("kept"));
}

void TestRtfReader::loadFileReadsRtfFile()
{
    QTextDocument document;
    const auto result = rtf::LoadRtfFile(DataPath("formatting.rtf"), document);
    QVERIFY2(result.ok(), qPrintable(result.error()));
    QVERIFY(document.toPlainText().startsWith(QStringLiteral("plain bold italic both bold again after")));
}
