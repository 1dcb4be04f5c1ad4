// SPDX-License-Identifier: MIT
#include "test_rtf_reader.h"

#include "rtf_test_support.h"
#include "rtf/symbol_fonts.h"

#include <QTest>
#include <QTextBlock>

#include <algorithm>

using namespace rtf_test;

namespace {

const QByteArray SymbolFonts = "{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fnil\\fcharset2 Symbol;}{\\f2\\fnil\\fcharset2 Wingdings;}"
                               "{\\f3\\fnil\\fcharset2 OpenSymbol;}{\\f4\\froman\\fcharset0 Symbol;}}";

QTextCharFormat FormatOf(const QTextDocument& document, const QString& text)
{
    const Run* run = FindRun(Runs(document), text);
    if (!run)
        qWarning("no run holds \"%s\"", qPrintable(text));
    return run ? run->format : QTextCharFormat();
}

} // namespace

void TestRtfReader::symbolFontCharacters_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");
    QTest::newRow("Symbol bullet") << QByteArray("{\\f1 \\'b7}") << QStringLiteral("•");
    QTest::newRow("Symbol letters are Greek") << QByteArray("{\\f1 abg}") << QStringLiteral("αβγ");
    QTest::newRow("Symbol arrows and signs") << QByteArray("{\\f1 \\'ae\\'b3\\'a5}") << QStringLiteral("→≥∞");
    QTest::newRow("Wingdings square") << QByteArray("{\\f2 \\'a7}") << QStringLiteral("▪");
    QTest::newRow("Wingdings arrowhead, check, diamond")
        << QByteArray("{\\f2 \\'d8\\'fc\\'76}") << QStringLiteral("➢✔❖");
    QTest::newRow("Wingdings pictures past the BMP") << QByteArray("{\\f2 \\'3a}") << QStringLiteral("\U0001F5B3");
    QTest::newRow("private-use Symbol code point") << QByteArray("{\\f1 \\u61623?}") << QStringLiteral("•");
    QTest::newRow("private-use Wingdings code point") << QByteArray("{\\f2 \\u-3929?}") << QStringLiteral("▪");
    QTest::newRow("OpenSymbol keeps Unicode") << QByteArray("{\\f3 \\u8226\\'95}") << QStringLiteral("•");
    QTest::newRow("OpenSymbol Wingdings glyphs") << QByteArray("{\\f3 \\u58479?\\u58526?}") << QStringLiteral("▪➢");
    QTest::newRow("OpenSymbol Western fallback") << QByteArray("{\\uc1\\f3 \\'95}") << QStringLiteral("•");
    QTest::newRow("Symbol by name, whatever its charset") << QByteArray("{\\f4 \\'b7}") << QStringLiteral("•");
    QTest::newRow("other fonts unchanged") << QByteArray("{\\f0 \\'b7a}") << QStringLiteral("·a");
    QTest::newRow("WordPad list bullet") << QByteArray("{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'B7}}item")
                                         << QStringLiteral("•\titem");
    QTest::newRow("Word list bullet") << QByteArray("{\\listtext\\pard\\plain\\f2 \\'a7\\tab}item")
                                      << QStringLiteral("▪\titem");
}

void TestRtfReader::symbolFontCharacters()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    QTextDocument document;
    QVERIFY(Load("{\\rtf1\\ansi\\deff0" + SymbolFonts + body + "}", document));
    QCOMPARE(document.toPlainText(), text);
}

void TestRtfReader::symbolTablesLineUp()
{
    // Both ends of each table: a row out of place would move all after it.
    using rtf::SymbolFont;
    QCOMPARE(rtf::SymbolFontCharacter(SymbolFont::Symbol, 0x20), U' ');
    QCOMPARE(rtf::SymbolFontCharacter(SymbolFont::Symbol, 0x41), U'\u0391');
    QCOMPARE(rtf::SymbolFontCharacter(SymbolFont::Symbol, 0xA0), U'€');
    QCOMPARE(rtf::SymbolFontCharacter(SymbolFont::Symbol, 0xFE), U'⎭');
    QCOMPARE(rtf::SymbolFontCharacter(SymbolFont::Symbol, 0xFF), U'\0');
    QCOMPARE(rtf::SymbolFontCharacter(SymbolFont::Symbol, 0x1F), U'\0');
    QCOMPARE(rtf::SymbolFontCharacter(SymbolFont::Wingdings, 0x21), U'✏');
    QCOMPARE(rtf::SymbolFontCharacter(SymbolFont::Wingdings, 0x80), U'⓪');
    QCOMPARE(rtf::SymbolFontCharacter(SymbolFont::Wingdings, 0x9F), U'•');
    QCOMPARE(rtf::SymbolFontCharacter(SymbolFont::Wingdings, 0xFE), U'☑');
    QCOMPARE(rtf::SymbolFontCharacter(SymbolFont::OpenSymbol, 0xB7), U'\0');
    QCOMPARE(rtf::SymbolFontCodePoint(SymbolFont::OpenSymbol, 0xE435), U'🙰');
    QCOMPARE(rtf::SymbolFontCodePoint(SymbolFont::OpenSymbol, 0xE4C4), U'☑');
    QCOMPARE(rtf::SymbolFontCodePoint(SymbolFont::OpenSymbol, 0xE4C5), U'\uE4C5'); // Wingdings 0xFF has none
    QCOMPARE(rtf::SymbolFontCodePoint(SymbolFont::None, 0xF0B7), U'\uF0B7');
    QCOMPARE(rtf::SymbolFontNamed(QStringLiteral(" wingdings ")), SymbolFont::Wingdings);
    QCOMPARE(rtf::SymbolFontNamed(QStringLiteral("Wingdings 2")), SymbolFont::None);
}

void TestRtfReader::floatingPicturesAndTextBoxesShowInline()
{
    const QByteArray png = PictureGroup(QImage(4, 3, QImage::Format_RGB32), "PNG", "\\pngblip");
    QTextDocument document;
    QVERIFY(Load("{\\rtf1 before "
                 "{\\shp{\\*\\shpinst\\shpleft0\\shpright100{\\sp{\\sn shapeType}{\\sv 75}}"
                 "{\\sp{\\sn pib}{\\sv " + png + "}}{\\sp{\\sn fillBlip}{\\sv " + png + "}}}"
                 "{\\shprslt{\\*\\do\\dobxcolumn{\\dptxbx{\\dptxbxtext old}}}" + png + "}}"
                 " middle "
                 "{\\shpgrp{\\*\\shpinst{\\sp{\\sn groupLeft}{\\sv 0}}"
                 "{\\shp{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 202}}{\\shptxt \\pard box one\\par}}}"
                 "{\\shp{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 202}}{\\shptxt box two}}{\\shprslt box two again}}}}"
                 " after}",
                 document));
    QCOMPARE(document.toPlainText(), QStringLiteral("before \uFFFC middle box one\nbox two after"));
    QCOMPARE(Images(document).size(), 1);
    QCOMPARE(ImageResource(document, Images(document)[0]).size(), QSize(4, 3));
}

void TestRtfReader::footnotesAndEndnotesAtTheEnd()
{
    // Word: the mark, then its note group; LibreOffice: the note group
    // inside the mark's group, starred. Notes follow the text in order,
    // footnotes before endnotes.
    QTextDocument document;
    QVERIFY(Load("{\\rtf1\\aftnnrlc "
                 "Body{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} First note.} more"
                 "{\\super\\chftn}{\\footnote\\ftnalt\\pard\\plain{\\super\\chftn} An endnote.\\par}.\\par "
                 "Second{{\\super \\chftn{\\*\\footnote \\chftn\\pard\\plain { }{\\b Second} note.}}} end"
                 "{\\chftn}{\\footnote\\par{\\chftn} Raised all the same.}\\par}",
                 document));
    QCOMPARE(document.toPlainText(), QStringLiteral("Body1 morei.\nSecond2 end3\n1 First note.\n2 Second note.\n"
                                                    "3 Raised all the same.\ni An endnote."));
    const QList<Run> runs = Runs(document);
    for (const QString& mark : {QStringLiteral("1"), QStringLiteral("i"), QStringLiteral("3")}) {
        const Run* run = FindRun(runs, mark);
        QVERIFY(run && run->text == mark);
        QCOMPARE(run->format.verticalAlignment(), QTextCharFormat::AlignSuperScript);
    }
    QVERIFY(std::any_of(runs.cbegin(), runs.cend(), [](const Run& run) {
        return run.text == QLatin1String("Second") && run.format.fontWeight() == QFont::Bold;
    }));
    QCOMPARE(FormatOf(document, QStringLiteral(" First note.")).verticalAlignment(), QTextCharFormat::AlignNormal);

    // A real Word file: the marks, the shapes and the notes together.
    QVERIFY(Load(ReadDataFile("word_shapes_notes.rtf"), document));
    QCOMPARE(document.toPlainText(),
             QStringLiteral("Cylinder AXN1 is shown below.\n\uFFFCMax. stroke 500 mm\n▪\tMagnetic piston\n"
                            "➢\tCushion both endsi\nEnd.\n1 Rated at 1 MPa.\ni Adjustable."));
}

void TestRtfReader::noteNumbering_data()
{
    QTest::addColumn<QByteArray>("numbering");
    QTest::addColumn<QString>("marks");
    QTest::newRow("arabic") << QByteArray("\\ftnnar") << QStringLiteral("1 2 3 4 5");
    QTest::newRow("letters") << QByteArray("\\ftnnalc") << QStringLiteral("a b c d e");
    QTest::newRow("capitals") << QByteArray("\\ftnnauc") << QStringLiteral("A B C D E");
    QTest::newRow("roman") << QByteArray("\\ftnnrlc") << QStringLiteral("i ii iii iv v");
    QTest::newRow("capital roman") << QByteArray("\\ftnnruc") << QStringLiteral("I II III IV V");
    QTest::newRow("chicago") << QByteArray("\\ftnnchi") << QStringLiteral("* † ‡ § **");
}

void TestRtfReader::noteNumbering()
{
    QFETCH(QByteArray, numbering);
    QFETCH(QString, marks);
    QByteArray rtf = "{\\rtf1" + numbering + " ";
    for (int i = 0; i < 5; ++i)
        rtf += (i ? " " : "") + QByteArray("{\\super\\chftn}{\\footnote x}");
    QTextDocument document;
    QVERIFY(Load(rtf + "}", document));
    QCOMPARE(document.begin().text(), marks);
}

void TestRtfReader::textPastDepthLimitKeepsDeepestFormatting()
{
    const int limit = 1000;
    // Bold in the deepest kept group; deeper groups may not change that,
    // nor open destinations, but their text, breaks and characters show.
    const QByteArray deep = QByteArray(limit - 2, '{') + "\\b kept " + QByteArray(10, '{') +
        "\\i\\ul\\fs80 deeper\\tab\\u8364? {\\*\\htmltag84 <p>}{\\fonttbl{\\f9 Nope;}}x\\par y" + QByteArray(10, '}') +
        " bold" + QByteArray(limit - 2, '}') + " after";
    QTextDocument document;
    QVERIFY(Load("{\\rtf1 " + deep + "}", document));
    QCOMPARE(document.toPlainText(), QStringLiteral("kept deeper\t€ x\ny bold after"));
    for (const QString& text : {QStringLiteral("kept"), QStringLiteral("deeper"), QStringLiteral("y bold")}) {
        const QTextCharFormat format = FormatOf(document, text);
        QVERIFY2(format.fontWeight() == QFont::Bold && !format.fontItalic() && !format.fontUnderline(), qPrintable(text));
        QCOMPARE(format.fontPointSize(), 12.0);
    }
    QVERIFY(FormatOf(document, QStringLiteral(" after")).fontWeight() == QFont::Normal);

    // Outlook's HTML in RTF: 2,714 groups deep, tags in skipped groups.
    QByteArray outlook = "{\\rtf1\\ansi\\fromhtml1 {\\*\\htmltag19 <html>}";
    for (int i = 0; i < 2714; ++i)
        outlook += "{\\*\\htmltag64 <div>}{\\htmlrtf \\pard\\htmlrtf0 ";
    outlook += "Deep text{\\*\\htmltag84 &nbsp;}\\htmlrtf\\par\\htmlrtf0";
    outlook += QByteArray(2714, '}');
    outlook += " tail}";
    QVERIFY(Load(outlook, document));
    QCOMPARE(document.toPlainText(), QStringLiteral("Deep text\n tail"));
}
