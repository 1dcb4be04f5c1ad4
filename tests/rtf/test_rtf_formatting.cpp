// SPDX-License-Identifier: MIT
#include "test_rtf_reader.h"

#include "rtf_test_support.h"

#include <QTest>
#include <QTextBlock>

using namespace rtf_test;

namespace {

QTextCharFormat FormatOf(const QList<Run>& runs, const QString& text)
{
    const Run* run = FindRun(runs, text);
    if (!run)
        qWarning("no run holds \"%s\"", qPrintable(text));
    return run ? run->format : QTextCharFormat();
}

} // namespace

void TestRtfReader::boldAndItalicRuns()
{
    QTextDocument document;
    QVERIFY(Load(ReadDataFile("formatting.rtf"), document));
    const QList<Run> runs = Runs(document);

    struct Expected {
        const char* text;
        bool bold;
        bool italic;
    };
    for (const Expected& e : {Expected{"plain", false, false}, Expected{"bold", true, false},
                              Expected{"italic", false, true}, Expected{"both", true, true},
                              Expected{"bold again", true, false}, Expected{"after", false, false}}) {
        const QTextCharFormat format = FormatOf(runs, e.text);
        QVERIFY2((format.fontWeight() == QFont::Bold) == e.bold, e.text);
        QVERIFY2(format.fontItalic() == e.italic, e.text);
    }
    // Groups restore what was in force before them.
    QCOMPARE(FormatOf(runs, "plain").fontPointSize(), 10.0);
    QCOMPARE(FormatOf(runs, "after").fontFamilies().toStringList(), QStringList{"Arial"});
}

void TestRtfReader::characterFormatting()
{
    QTextDocument document;
    QVERIFY(Load(ReadDataFile("formatting.rtf"), document));
    const QList<Run> runs = Runs(document);

    QVERIFY(FormatOf(runs, "under").fontUnderline());
    QVERIFY(!FormatOf(runs, "none").fontUnderline());
    QVERIFY(FormatOf(runs, "struck").fontStrikeOut());
    QCOMPARE(FormatOf(runs, "big").fontPointSize(), 18.0);
    QCOMPARE(FormatOf(runs, "red").foreground().color(), QColor(255, 0, 0));
    QCOMPARE(FormatOf(runs, "marked").background().color(), QColor(255, 255, 0));
    QCOMPARE(FormatOf(runs, "times").fontFamilies().toStringList(), QStringList{"Times New Roman"});
    QVERIFY(!FormatOf(runs, "none").hasProperty(QTextFormat::ForegroundBrush));

    // \plain drops everything but the default font; \cf0 is the automatic colour.
    QTextDocument plain;
    QVERIFY(Load("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier;}}{\\colortbl;\\red0\\green128\\blue0;}\\deff0"
                 "\\f1\\b\\i\\ul\\strike\\fs40\\cf1 x\\plain y\\cf1 g\\cf0 a\\super s\\nosupersub\\sub d}",
                 plain));
    const QList<Run> plainRuns = Runs(plain);
    const QTextCharFormat y = FormatOf(plainRuns, "y");
    QVERIFY(y.fontWeight() == QFont::Normal && !y.fontItalic() && !y.fontUnderline() && !y.fontStrikeOut());
    QCOMPARE(y.fontPointSize(), 12.0);
    QCOMPARE(y.fontFamilies().toStringList(), QStringList{"Arial"});
    QCOMPARE(FormatOf(plainRuns, "g").foreground().color(), QColor(0, 128, 0));
    QVERIFY(!FormatOf(plainRuns, "a").hasProperty(QTextFormat::ForegroundBrush));
    QCOMPARE(FormatOf(plainRuns, "s").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    QCOMPARE(FormatOf(plainRuns, "d").verticalAlignment(), QTextCharFormat::AlignSubScript);
}

void TestRtfReader::paragraphFormatting()
{
    QTextDocument document;
    QVERIFY(Load(ReadDataFile("formatting.rtf"), document));
    QTextBlock block = document.begin();
    QCOMPARE(block.blockFormat().alignment(), Qt::AlignLeft);
    block = block.next();
    QCOMPARE(block.blockFormat().alignment(), Qt::AlignHCenter);
    block = block.next();
    QCOMPARE(block.text(), QStringLiteral("right"));
    QCOMPARE(block.blockFormat().alignment(), Qt::AlignRight);
    QCOMPARE(block.blockFormat().leftMargin(), 48.0); // 720 twips at 96 dpi
    QCOMPARE(block.blockFormat().rightMargin(), 24.0);
    QCOMPARE(block.blockFormat().textIndent(), -24.0);
    block = block.next();
    QCOMPARE(block.text(), QStringLiteral("justified"));
    QCOMPARE(block.blockFormat().alignment(), Qt::AlignJustify);
    QCOMPARE(block.blockFormat().leftMargin(), 0.0); // \pard resets the indents

    // Paragraph properties in force at \par belong to that paragraph.
    QTextDocument late;
    QVERIFY(Load("{\\rtf1 centred\\qc\\par left\\par}", late));
    QCOMPARE(late.begin().blockFormat().alignment(), Qt::AlignHCenter);
}
