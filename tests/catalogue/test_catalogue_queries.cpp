// SPDX-License-Identifier: MIT
// The catalogue queries on the real catalogue files: lists, the two yes/no
// questions and the drawing-file lookup, with their row rules.
#include "catalogue/statements.h"
#include "catalogue_fixtures.h"
#include <QtTest>

using namespace catalogue;
using namespace catalogue_test;

namespace {

QStringList Sorted(QStringList items)
{
    items.sort();
    return items;
}

// The MultiProcess values in the order the engine returns them.
QList<FieldValue> ReturnedRows(Connection* connection, const QString& sql, const QString& field)
{
    Recordset recordset;
    QString error;
    QList<FieldValue> values;
    if (OpenRecordset(sql, connection, recordset, error)) {
        for (; !recordset.eof(); recordset.moveNext())
            values.append(recordset.field(field));
    }
    return values;
}

} // namespace

class CatalogueQueriesTest : public QObject {
    Q_OBJECT

    void addEdgeFiles()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("text codes") << QStringLiteral("edge-text.mdb");
        QTest::newRow("numeric codes") << QStringLiteral("edge-numeric.mdb");
    }

    void addSampleCatalogues()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("Access 2000") << QStringLiteral("TALVEX.mdb");
        QTest::newRow("Access 2003") << QStringLiteral("demo-access2003.mdb");
    }

private slots:
    void sampleListsHoldEachCodeOnce_data() { addSampleCatalogues(); }
    void sampleListsHoldEachCodeOnce()
    {
        QFETCH(QString, file);
        auto catalogue = OpenDataFile(file);
        RecordingList list;
        QVERIFY(FillSeriesList(catalogue.get(), list).ok());
        QCOMPARE(list.sorted(), Sorted({"AX", "HMN", "QR", "TA", "UJ", "UMO", "XUF", "YQ", "ZQ"}));
        QCOMPARE(list.clears, 1);
        QVERIFY(FillTypeList(catalogue.get(), list, "QR").ok());
        QCOMPARE(list.sorted(), Sorted({"QRU", "VCU", "KZH_K", "KZH_G"}));
        QVERIFY(FillBoreList(catalogue.get(), list, "TA", "TAA").ok());
        QCOMPARE(list.sorted(), Sorted({"20", "25", "32", "40", "50", "63", "80", "100"}));
        QVERIFY(FillBoreList(catalogue.get(), list, "HMN", "SLG").ok());
        QCOMPARE(list.sorted(), Sorted({"F01", "F02", "F03"}));
        QCOMPARE(list.clears, 4);
        QVERIFY(FillTypeList(catalogue.get(), list, "NOPE").ok());
        QVERIFY(list.items.isEmpty());
    }

    void sampleQuestionsAndLookups_data() { addSampleCatalogues(); }
    void sampleQuestionsAndLookups()
    {
        QFETCH(QString, file);
        auto catalogue = OpenDataFile(file);
        Connection* c = catalogue.get();
        QVERIFY(HasSecondStroke(c, "UMO", "UMO_D").value());
        QVERIFY(HasSecondStroke(c, "XUF", "XUF_HK").value());
        QVERIFY(!HasSecondStroke(c, "TA", "TAA").value());
        QVERIFY(!HasSecondStroke(c, "TA", "NOPE").value());
        QVERIFY(StrokeEntryAllowed(c, "TA", "TAA").value());
        QVERIFY(!StrokeEntryAllowed(c, "TA", "CBV").value());  // OwnerProcess Yes
        QVERIFY(!StrokeEntryAllowed(c, "UJ", "WOE").value());
        QVERIFY(StrokeEntryAllowed(c, "UJ", "WOE_C").value());

        QCOMPARE(LookupDrawingFile(c, "TA", "TAA", "20", "5").value(), QStringLiteral("TAA20S.dwg"));
        QCOMPARE(LookupDrawingFile(c, "TA", "TAA", "20", "100").value(), QStringLiteral("TAA20S.dwg"));
        QCOMPARE(LookupDrawingFile(c, "TA", "TAA", "20", "101").value(), QStringLiteral("TAA20L.dwg"));
        QCOMPARE(LookupDrawingFile(c, "TA", "TAA", "20", "600").value(), QStringLiteral("TAA20L.dwg"));
        QCOMPARE(LookupDrawingFile(c, "TA", "TAA", "20", "601").value(), QString());
        QCOMPARE(LookupDrawingFile(c, "TA", "TAA", "20", "100.5").value(), QString());
        QCOMPARE(LookupDrawingFile(c, "YQ", "YQOH_K", "20", "50").value(), QString());  // null name
        QCOMPARE(LookupDrawingFile(c, "QR", "VCU", "12", "250").value(), QStringLiteral("VCU12C.dwg"));
    }

    void edgeListsSkipNullsAndDuplicates_data() { addEdgeFiles(); }
    void edgeListsSkipNullsAndDuplicates()
    {
        QFETCH(QString, file);
        auto edge = OpenDataFile(file);
        Connection* c = edge.get();
        RecordingList list;
        QVERIFY(FillSeriesList(c, list).ok());
        // "EDG" and "edg" are one value to a case-blind engine; the null series is no item
        QCOMPARE(list.items.size(), 4);
        QVERIFY(list.items.contains("O'K"));
        QVERIFY(list.items.contains("中文"));
        QVERIFY(list.items.contains(" PAD "));
        QCOMPARE(list.items.filter(QRegularExpression("^edg$", QRegularExpression::CaseInsensitiveOption)).size(), 1);

        const QStringList edgTypes = Sorted({"OVL", "TWO", "NUL", "DEC", "P2ONLY", "LOW", "ORPHAN"});
        QVERIFY(FillTypeList(c, list, "EDG").ok());
        QCOMPARE(list.sorted(), edgTypes);
        QVERIFY(FillTypeList(c, list, "edg").ok());
        QCOMPARE(list.sorted(), edgTypes);
        QVERIFY(FillTypeList(c, list, "O'K").ok());
        QCOMPARE(list.items, QStringList{"APO"});
        QVERIFY(FillTypeList(c, list, "中文").ok());
        QCOMPARE(list.items, QStringList{"缸徑"});
        QVERIFY(FillTypeList(c, list, " PAD ").ok());
        QCOMPARE(list.items, QStringList{" SP "});
        QVERIFY(FillTypeList(c, list, "PAD").ok());  // codes are not trimmed
        QVERIFY(list.items.isEmpty());

        QVERIFY(FillBoreList(c, list, "EDG", "OVL").ok());
        QCOMPARE(list.sorted(), Sorted({"32", "40", "50"}));
        QVERIFY(FillBoreList(c, list, "EDG", "DEC").ok());
        QCOMPARE(list.sorted(), Sorted({"32", "40", "50", "63"}));
        QVERIFY(FillBoreList(c, list, "edg", "low").ok());
        QCOMPARE(list.items, QStringList{"32"});
        QVERIFY(FillBoreList(c, list, "O'K", "APO").ok());
        QCOMPARE(list.items, QStringList{"32"});
        QVERIFY(FillBoreList(c, list, "中文", "缸徑").ok());
        QCOMPARE(list.items, QStringList{"三十二"});
        QVERIFY(FillBoreList(c, list, " PAD ", " SP ").ok());
        QCOMPARE(list.items, QStringList{" 32 "});
        QVERIFY(FillBoreList(c, list, "EDG", "ORPHAN").ok());
        QVERIFY(list.items.isEmpty());
        QVERIFY(FillBoreList(c, list, "EDG", "EDGNOMAIN").ok());  // ranges need no Fluid_Main row
        QCOMPARE(list.items, QStringList{"32"});
    }

    void secondStrokeTakesTheLastRow_data() { addEdgeFiles(); }
    void secondStrokeTakesTheLastRow()
    {
        QFETCH(QString, file);
        auto edge = OpenDataFile(file);
        Connection* c = edge.get();
        QCOMPARE(HasSecondStroke(c, "EDG", "OVL").value(), false);
        QCOMPARE(HasSecondStroke(c, "EDG", "NUL").value(), true);  // null is not "1"
        QCOMPARE(HasSecondStroke(c, "EDG", "P2ONLY").value(), false);
        QCOMPARE(HasSecondStroke(c, "edg", "low").value(), false);
        QCOMPARE(HasSecondStroke(c, "O'K", "APO").value(), false);
        QCOMPARE(HasSecondStroke(c, "中文", "缸徑").value(), false);
        QCOMPARE(HasSecondStroke(c, "EDG", "NOPE").value(), false);
        QVERIFY(HasSecondStroke(c, "EDG", "NOPE").ok());

        // "1" and "2" for one type: whichever row the engine returns last decides
        const QList<FieldValue> rows = ReturnedRows(c, SecondStrokeStatement("EDG", "TWO"),
                                                    QStringLiteral("MultiProcess"));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(HasSecondStroke(c, "EDG", "TWO").value(), !rows.last().equalsOne());
        QCOMPARE(rows.last().toText(), QStringLiteral("2"));
    }

    void strokeEntryFollowsTheFirstOwnerProcess_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("nullOwnerProcess");
        QTest::newRow("text codes") << QStringLiteral("edge-text.mdb") << false;
        QTest::newRow("numeric codes") << QStringLiteral("edge-numeric.mdb") << true;
    }
    void strokeEntryFollowsTheFirstOwnerProcess()
    {
        QFETCH(QString, file);
        QFETCH(bool, nullOwnerProcess);
        auto edge = OpenDataFile(file);
        Connection* c = edge.get();
        QVERIFY(StrokeEntryAllowed(c, "EDG", "OVL").value());
        QVERIFY(StrokeEntryAllowed(c, "O'K", "APO").value());
        QVERIFY(StrokeEntryAllowed(c, "edg", "LOW").value());
        // no row, or a null OwnerProcess, keeps the strokes locked
        const base::Result<bool> none = StrokeEntryAllowed(c, "EDG", "NOPE");
        QVERIFY(none.ok());
        QVERIFY(!none.value());
        QCOMPARE(StrokeEntryAllowed(c, "EDG", "NUL").value(), !nullOwnerProcess);
    }

    void drawingFileRules_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("bore");
        QTest::addColumn<QString>("stroke");
        QTest::addColumn<QString>("drawing");
        for (const QString& file : {QStringLiteral("edge-text.mdb"), QStringLiteral("edge-numeric.mdb")}) {
            const auto row = [&](const char* name) -> QTestData& {
                return QTest::newRow(qPrintable(file + ": " + name)) << file;
            };
            row("at MinValue") << "EDG" << "OVL" << "32" << "10" << "A.dwg";
            row("overlap: higher SortID wins") << "EDG" << "OVL" << "32" << "50" << "B.dwg";
            row("at MaxValue") << "EDG" << "OVL" << "32" << "150" << "B.dwg";
            row("below every range") << "EDG" << "OVL" << "32" << "9" << "";
            row("above every range") << "EDG" << "OVL" << "32" << "151" << "";
            row("signed stroke") << "EDG" << "OVL" << "32" << "+50" << "B.dwg";
            row("blank name of the last row wins") << "EDG" << "OVL" << "40" << "60" << "";
            row("before the blank range") << "EDG" << "OVL" << "40" << "20" << "A.dwg";
            row("padded name kept") << "EDG" << "OVL" << "50" << "50" << "  padded.dwg  ";
            row("second-stroke row matches last") << "EDG" << "TWO" << "32" << "15" << "";
            row("first-stroke row alone") << "EDG" << "TWO" << "32" << "50" << "TWO32.dwg";
            row("null MinValue never matches") << "EDG" << "NUL" << "32" << "100" << "";
            row("decimal bound") << "EDG" << "DEC" << "32" << "12.5" << "DEC32.dwg";
            row("decimal upper bound") << "EDG" << "DEC" << "32" << "99.75" << "DEC32.dwg";
            row("past decimal bound") << "EDG" << "DEC" << "32" << "99.76" << "";
            row("decimal lower bound") << "EDG" << "DEC" << "32" << "0.5" << "DEC32.dwg";
            row("lower-case series") << "EDG" << "low" << "32" << "50" << "low.dwg";
            row("apostrophe") << "O'K" << "APO" << "32" << "50" << "APO32.dwg";
            row("Chinese codes") << "中文" << "缸徑" << "三十二" << "50" << "中文零件.dwg";
            row("blanks in codes") << " PAD " << " SP " << " 32 " << "50" << "PAD.dwg";
            row("codes not trimmed") << "PAD" << "SP" << "32" << "50" << "";
            row("ranges without a main row") << "EDG" << "EDGNOMAIN" << "32" << "50" << "nomain.dwg";
        }
    }
    void drawingFileRules()
    {
        QFETCH(QString, file);
        QFETCH(QString, series);
        QFETCH(QString, type);
        QFETCH(QString, bore);
        QFETCH(QString, stroke);
        QFETCH(QString, drawing);
        auto edge = OpenDataFile(file);
        const base::Result<QString> answer = LookupDrawingFile(edge.get(), series, type, bore, stroke);
        QVERIFY(answer.ok());
        QCOMPARE(answer.value(), drawing);
    }

    void aStrokeThatIsNoPlainNumberRunsNothing()
    {
        auto edge = OpenDataFile(QStringLiteral("edge-text.mdb"));
        for (const QString stroke : {"", "abc", "1e2", "50 or 1=1", "50;", "5,5", "\t50", " "}) {
            const base::Result<QString> answer = LookupDrawingFile(edge.get(), "EDG", "OVL", "32", stroke);
            QVERIFY2(answer.ok(), qPrintable(stroke));
            QCOMPARE(answer.value(), QString());
        }
        // Nothing runs: even a closed connection reports no failure then.
        Connection closed;
        QVERIFY(LookupDrawingFile(&closed, "EDG", "OVL", "32", "abc").ok());
        QVERIFY(!LookupDrawingFile(&closed, "EDG", "OVL", "32", "50").ok());
    }

    void blanksAroundTheStrokeFindTheSameDrawing()
    {
        // The stroke check lets blanks around a number pass; the lookup must agree.
        auto edge = OpenDataFile(QStringLiteral("edge-text.mdb"));
        const QString plain = LookupDrawingFile(edge.get(), "EDG", "OVL", "40", "20").value();
        QVERIFY(!plain.isEmpty());
        QCOMPARE(LookupDrawingFile(edge.get(), "EDG", "OVL", "40", "  20 ").value(), plain);
    }

    void apostrophesCannotChangeAStatement()
    {
        auto edge = OpenDataFile(QStringLiteral("edge-text.mdb"));
        RecordingList list;
        const base::Status status = FillTypeList(edge.get(), list, "x' OR '1'='1");
        QVERIFY(status.ok());
        QVERIFY(list.items.isEmpty());
        QCOMPARE(LookupDrawingFile(edge.get(), "EDG' OR 'a'='a", "OVL", "32", "50").value(), QString());
        QVERIFY(!StrokeEntryAllowed(edge.get(), "O'K' --", "APO").value());
    }

    void aMissingTableFailsWithoutTouchingTheLists()
    {
        auto noDetail = OpenDataFile(QStringLiteral("no-detail-table.mdb"));
        Connection* c = noDetail.get();
        RecordingList bores;
        bores.items = {QStringLiteral("previous")};
        const base::Status fill = FillBoreList(c, bores, "AX", "AXN");
        QVERIFY(!fill.ok());
        QCOMPARE(fill.error(), QStringLiteral("no such table: Fluid_Detail"));
        QCOMPARE(bores.clears, 0);
        QCOMPARE(bores.items, QStringList{QStringLiteral("previous")});

        const base::Result<QString> lookup = LookupDrawingFile(c, "AX", "AXN", "12", "50");
        QVERIFY(!lookup.ok());
        QCOMPARE(lookup.error(), QStringLiteral("no such table: Fluid_Detail"));

        // Fluid_Main is there and answers
        RecordingList series;
        QVERIFY(FillSeriesList(c, series).ok());
        QCOMPARE(series.items, QStringList{QStringLiteral("AX")});
        QVERIFY(StrokeEntryAllowed(c, "AX", "AXN").value());
        QVERIFY(!HasSecondStroke(c, "AX", "AXN").value());
    }

    void failedQuestionsAnswerNo()
    {
        Connection closed;
        const base::Result<bool> second = HasSecondStroke(&closed, "UMO", "UMO_D");
        QVERIFY(!second.ok());
                const base::Result<bool> entry = StrokeEntryAllowed(&closed, "TA", "TAA");
        QVERIFY(!entry.ok());
                QCOMPARE(entry.error(), QStringLiteral("Operation is not allowed when the object is closed."));
        RecordingList list;
        list.items = {QStringLiteral("kept")};
        QVERIFY(!FillTypeList(&closed, list, "TA").ok());
        QCOMPARE(list.items, QStringList{QStringLiteral("kept")});
    }

    void largeCatalogueAnswers()
    {
        auto large = OpenDataFile(QStringLiteral("large-100k.mdb"));
        Connection* c = large.get();
        RecordingList list;
        QVERIFY(FillSeriesList(c, list).ok());
        QCOMPARE(list.items.size(), 50);
        QVERIFY(FillBoreList(c, list, "S025", "S025T10").ok());
        QCOMPARE(list.items.size(), 20);
        QCOMPARE(LookupDrawingFile(c, "S025", "S025T10", "50", "150").value(),
                 QStringLiteral("S025T10_50_1.dwg"));
        QVERIFY(!StrokeEntryAllowed(c, "S000", "S000T00").value());
        QVERIFY(HasSecondStroke(c, "S000", "S000T00").value());
    }
};

QTEST_GUILESS_MAIN(CatalogueQueriesTest)
#include "test_catalogue_queries.moc"
