// SPDX-License-Identifier: MIT
#include "test_rtf_reader.h"

#include "rtf_test_support.h"
#include "rtf/code_page.h"
#include "rtf/tokenizer.h"

#include <QTest>
#include <QTextBlock>

#include <climits>

using namespace rtf_test;

void TestRtfReader::tokenizerSplitsControlWords()
{
    using rtf::TokenKind;
    rtf::Tokenizer tokenizer("{\\fs-12 x\\b0\\i\\'4g\\foo-bar\\~\\\r\n}");
    rtf::Token t = tokenizer.next();
    QCOMPARE(t.kind, TokenKind::GroupOpen);
    t = tokenizer.next();
    QCOMPARE(t.kind, TokenKind::ControlWord);
    QCOMPARE(t.text, std::string_view("fs"));
    QVERIFY(t.hasParameter);
    QCOMPARE(t.parameter, -12);
    t = tokenizer.next();
    QCOMPARE(t.kind, TokenKind::Text);
    QCOMPARE(t.text, std::string_view("x")); // the space after the word is its delimiter
    t = tokenizer.next();
    QCOMPARE(t.text, std::string_view("b"));
    QCOMPARE(t.parameter, 0);
    QVERIFY(t.hasParameter);
    t = tokenizer.next();
    QCOMPARE(t.text, std::string_view("i"));
    QVERIFY(!t.hasParameter);
    t = tokenizer.next();
    QCOMPARE(t.kind, TokenKind::HexByte); // one hex digit, then text
    QCOMPARE(t.parameter, 4);
    t = tokenizer.next();
    QCOMPARE(t.text, std::string_view("g"));
    t = tokenizer.next();
    QCOMPARE(t.text, std::string_view("foo"));
    QVERIFY(!t.hasParameter); // "-" without digits is text
    t = tokenizer.next();
    QCOMPARE(t.text, std::string_view("-bar"));
    t = tokenizer.next();
    QCOMPARE(t.kind, TokenKind::ControlSymbol);
    QCOMPARE(t.parameter, int('~'));
    t = tokenizer.next();
    QCOMPARE(t.kind, TokenKind::ControlSymbol); // backslash + line break is a paragraph mark
    QCOMPARE(t.parameter, int('\n'));
    QCOMPARE(tokenizer.next().kind, TokenKind::GroupClose);
    QCOMPARE(tokenizer.next().kind, TokenKind::End);
    QCOMPARE(tokenizer.next().kind, TokenKind::End);

    rtf::Tokenizer huge("\\fs99999999999999999999999 \\li-99999999999999\\");
    QCOMPARE(huge.next().parameter, INT_MAX);
    QCOMPARE(huge.next().parameter, -INT_MAX);
    QCOMPARE(huge.next().kind, TokenKind::End);

    rtf::Tokenizer binary("\\bin3 a}\\b{");
    t = binary.next();
    QCOMPARE(binary.takeBinary(t.parameter), std::string_view("a}\\"));
    QCOMPARE(binary.next().text, std::string_view("b"));
    QCOMPARE(binary.takeBinary(1000), std::string_view("{"));
}

void TestRtfReader::decoderJoinsSplitMultiByteCharacters()
{
    rtf::CodePageDecoder decoder;
    QString out;
    decoder.feed(950, 0xBE, out);
    QVERIFY(out.isEmpty());
    QVERIFY(decoder.hasPending());
    decoder.feed(950, 0xF7, out);
    QCOMPARE(out, QStringLiteral("機"));

    // A lead byte whose trail is not valid is replaced; the next byte is read afresh.
    out.clear();
    decoder.feed(950, 0xBE, out);
    decoder.feed(950, 0x0A, out);
    QCOMPARE(out, QStringLiteral("\uFFFD\n"));

    // A lead byte left dangling, or cut off by a change of code page.
    out.clear();
    decoder.feed(950, 0xBE, out);
    decoder.flush(out);
    QCOMPARE(out, QStringLiteral("\uFFFD"));
    out.clear();
    decoder.feed(950, 0xBE, out);
    decoder.feed(1252, 0xE9, out);
    QCOMPARE(out, QStringLiteral("\uFFFDé"));

    out.clear();
    for (const unsigned char b : {0xE6, 0xA9, 0x9F})
        decoder.feed(65001, b, out);
    QCOMPARE(out, QStringLiteral("機"));

    out.clear();
    decoder.feed(4242, 0x80, out); // no such code page: read as Western
    QCOMPARE(out, QStringLiteral("€"));

    QCOMPARE(rtf::CodePageForCharset(136), 950);
    QCOMPARE(rtf::CodePageForCharset(134), 936);
    QCOMPARE(rtf::CodePageForCharset(128), 932);
    QCOMPARE(rtf::CodePageForCharset(1), 0);
}

void TestRtfReader::big5HexPairsWithFontCharset()
{
    QTextDocument document;
    QVERIFY(Load(ReadDataFile("big5_hex.rtf"), document));
    QCOMPARE(document.toPlainText(), QStringLiteral("機種 AXN\n"));
    const QList<Run> runs = Runs(document);
    const Run* chinese = FindRun(runs, QStringLiteral("機種"));
    QVERIFY(chinese);
    // The font name itself is Big5 in a font whose charset is 136.
    QCOMPARE(chinese->format.fontFamilies().toStringList(), QStringList{QStringLiteral("新細明體")});
    QCOMPARE(FindRun(runs, "AXN")->format.fontFamilies().toStringList(), QStringList{"Times New Roman"});
}

void TestRtfReader::big5RawBytes()
{
    QTextDocument document;
    QVERIFY(Load(ReadDataFile("big5_raw.rtf"), document));
    // Raw pairs; a raw lead before an escaped and an unescaped backslash trail;
    // an escaped lead before a literal trail.
    QCOMPARE(document.toPlainText(), QStringLiteral("機種許許x一\n"));
}

void TestRtfReader::codePages_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("cp1252") << QByteArray("{\\rtf1\\ansi caf\\'e9 \\'80}") << QStringLiteral("café €");
    QTest::newRow("cp1250") << QByteArray("{\\rtf1\\ansi\\ansicpg1250 \\'c5}") << QStringLiteral("Ĺ");
    QTest::newRow("cp1251") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'c6}") << QStringLiteral("Ж");
    QTest::newRow("font charset 204 in a Western file")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial Cyr;}}\\f0\\'c6\\f1\\'c6}")
        << QStringLiteral("ÆЖ");
    QTest::newRow("gb2312")
        << QByteArray("{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset134 SimSun;}}\\f0\\'bb\\'fa\\'d6\\'d6}")
        << QStringLiteral("机种");
    QTest::newRow("shift-jis with literal trail byte")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 MS Gothic;}}\\f0\\'8b@\\'8e\\'ed}")
        << QStringLiteral("機種");
    QTest::newRow("cpg overrides charset")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0\\cpg950 X;}}\\f0\\'be\\'f7}") << QStringLiteral("機");
    QTest::newRow("default font applies before any \\f")
        << QByteArray("{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0 A;}{\\f1\\fcharset136 B;}}\\'be\\'f7}") << QStringLiteral("機");
    QTest::newRow("mac roman") << QByteArray("{\\rtf1\\mac \\'8e}") << QStringLiteral("é");
}

void TestRtfReader::codePages()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QTextDocument document;
    QVERIFY(Load(rtf, document));
    QCOMPARE(document.toPlainText(), text);
}

void TestRtfReader::unicodeEscapesWithFallbackSkipping_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("default skip of one") << QByteArray("{\\rtf1 \\u27231?\\u31278?!}") << QStringLiteral("機種!");
    QTest::newRow("negative value") << QByteArray("{\\rtf1 \\u-21280?}") << QStringLiteral("고");
    QTest::newRow("skip two hex bytes")
        << QByteArray("{\\rtf1\\ansi\\ansicpg950\\uc2 \\u27231\\'be\\'f7\\u31278\\'ba\\'d8 AXN}") << QStringLiteral("機種 AXN");
    QTest::newRow("no fallback") << QByteArray("{\\rtf1\\uc0 \\u27231 x}") << QStringLiteral("機x");
    QTest::newRow("skip count is per group")
        << QByteArray("{\\rtf1 {\\uc2\\u27231\\'be\\'f7}\\u31278?x}") << QStringLiteral("機種x");
    QTest::newRow("fallback control word") << QByteArray("{\\rtf1 \\u8220\\ldblquote x}") << QStringLiteral("“x");
    QTest::newRow("fallback cut by group end") << QByteArray("{\\rtf1\\uc3 {\\u27231?}abc}") << QStringLiteral("機abc");
    QTest::newRow("surrogate pair") << QByteArray("{\\rtf1 \\u-10179?\\u-8704?}") << QStringLiteral("😀");
}

void TestRtfReader::unicodeEscapesWithFallbackSkipping()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QTextDocument document;
    QVERIFY(Load(rtf, document));
    QCOMPARE(document.toPlainText(), text);
}

void TestRtfReader::specialCharactersAndBreaks()
{
    QTextDocument document;
    QVERIFY(Load("{\\rtf1 a\\emdash b\\endash c\\bullet\\lquote q\\rquote\\ldblquote w\\rdblquote "
                 "\\~\\_\\-\\{\\}\\\\\\tab t\\line l\\par second\\\r\nthird}",
                 document));
    QCOMPARE(document.blockCount(), 3);
    QCOMPARE(document.begin().text(),
             QStringLiteral("a—b–c•‘q’“w”\u00a0\u2011\u00ad{}\\\tt\u2028l"));
    QCOMPARE(document.begin().next().text(), QStringLiteral("second"));
    QCOMPARE(document.lastBlock().text(), QStringLiteral("third"));
}
