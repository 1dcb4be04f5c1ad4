// SPDX-License-Identifier: MIT
// The texts and names the generate command builds: the two CAD commands, the
// drawing file name, the code check and the paths of staging.
#include "generation/cad_commands.h"
#include "generation/staging_paths.h"
#include <QDir>
#include <QTest>

using namespace generation;

class GenerationRulesTest : public QObject {
    Q_OBJECT
private slots:
    void loadCommandIsExact()
    {
        QCOMPARE(LoadCommand(), QString::fromUtf8("(load \"3dstretch\")\r"));
    }

    void stretchCommand_data()
    {
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("bore");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("secondVisible");
        QTest::addColumn<QString>("expected");

        QTest::newRow("typed, second hidden gives 0")
            << true << "TAA" << "32" << "150" << "75" << false
            << "(3dstretch \"taa\" 32 150 0)\r";
        QTest::newRow("typed, second shown is carried")
            << true << "KKJ" << "40" << "100" << "25" << true
            << "(3dstretch \"kkj\" 40 100 25)\r";
        QTest::newRow("values as they stand, no trimming or formatting")
            << true << "AxN" << "16" << " 007.50" << "1e2 " << true
            << "(3dstretch \"axn\" 16  007.50 1e2 )\r";
        QTest::newRow("fixed strokes ignore the boxes")
            << false << "CBV" << "63" << "150" << "75" << true
            << "(3dstretch \"cbv\" 63 0 0)\r";
        QTest::newRow("only the type is lowered")
            << false << "TAA" << "M6X" << "0" << "0" << false
            << "(3dstretch \"taa\" M6X 0 0)\r";
    }

    void stretchCommand()
    {
        QFETCH(bool, allowed);
        QFETCH(QString, type);
        QFETCH(QString, bore);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, secondVisible);
        QFETCH(QString, expected);
        QCOMPARE(StretchCommandFor(allowed, type, bore, first, second, secondVisible), expected);
    }

    void fixedFormEndsInTwoZeros()
    {
        QVERIFY(FixedStretchCommand(QStringLiteral("AB"), QStringLiteral("32"))
                    .endsWith(QStringLiteral(" 0 0)\r")));
    }

    // A Type code stands inside a LISP string, a bore code unquoted.
    void catalogueCodes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("safeType");
        QTest::addColumn<bool>("safeBore");
        QTest::newRow("plain") << "TAA" << true << true;
        QTest::newRow("digits") << "32" << true << true;
        QTest::newRow("dash and dot") << "M6X0.75-B" << true << true;
        QTest::newRow("chinese") << QString::fromUtf8("氣缸") << true << true;
        QTest::newRow("empty") << "" << true << true;
        QTest::newRow("blank") << "CJ2-B 16" << true << false;
        QTest::newRow("semicolon") << "32;x" << true << false;
        QTest::newRow("apostrophe") << "'32" << true << false;
        QTest::newRow("ideographic blank") << QString::fromUtf8("32\u3000") << true << false;
        QTest::newRow("double quote") << "TA\"A" << false << false;
        QTest::newRow("backslash") << "TA\\A" << false << false;
        QTest::newRow("opening parenthesis") << "TA(A" << false << false;
        QTest::newRow("closing parenthesis") << "32)" << false << false;
        QTest::newRow("slash") << "../32" << false << false;
        QTest::newRow("carriage return") << "32\r" << false << false;
        QTest::newRow("line feed") << "3\n2" << false << false;
        QTest::newRow("tab") << "3\t2" << false << false;
    }

    void catalogueCodes()
    {
        QFETCH(QString, code);
        QFETCH(bool, safeType);
        QFETCH(bool, safeBore);
        QCOMPARE(IsSafeCatalogueCode(code), safeType);
        QCOMPARE(IsSafeBoreCode(code), safeBore);
    }

    void drawingFileName_data()
    {
        QTest::addColumn<QString>("lookedUp");
        QTest::addColumn<QString>("expected");
        QTest::newRow("stored name used unchanged") << "TAA32L.dwg" << "TAA32L.dwg";
        QTest::newRow("no .dwg added") << "TAA32L" << "TAA32L";
        QTest::newRow("other extension kept") << "TAA32L.DWG" << "TAA32L.DWG";
        QTest::newRow("empty falls back") << "" << "AB32.dwg";
        QTest::newRow("slash falls back") << "sub/TAA32.dwg" << "AB32.dwg";
        QTest::newRow("backslash falls back") << "..\\..\\secret.dwg" << "AB32.dwg";
        QTest::newRow("dot dot falls back") << "..x.dwg" << "AB32.dwg";
        QTest::newRow("absolute falls back") << "/etc/passwd" << "AB32.dwg";
    }

    void drawingFileName()
    {
        QFETCH(QString, lookedUp);
        QFETCH(QString, expected);
        QCOMPARE(DrawingFileName(lookedUp, QStringLiteral("AB"), QStringLiteral("32")), expected);
    }

    void installRootPaths()
    {
        const QString s = QDir::separator();
        const QString root = s + QStringLiteral("media") + s + QStringLiteral("cd");
        QCOMPARE(DrawingFolder(root), root + s + "Files");
        QCOMPARE(DrawingSource(root, QStringLiteral("AB32.dwg")), root + s + "Files" + s + "AB32.dwg");
        QCOMPARE(LispApplicationSource(root), root + s + "Files" + s + "3dstretch.VLX");
    }

    void workFolderEndsInOneSeparator()
    {
        const QString s = QDir::separator();
        const QString temp = s + QStringLiteral("tmp");
        QCOMPARE(WorkFolder(temp), temp + s);
        QCOMPARE(WorkFolder(temp + s), temp + s);
        QCOMPARE(WorkFolder(s), s);
        QCOMPARE(WorkFolder(QString()), QString());  // never the root folder
    }
};

QTEST_GUILESS_MAIN(GenerationRulesTest)
#include "test_generation_rules.moc"
