// SPDX-License-Identifier: MIT
// The catalogue's schema, its codes and its Types, checked on rows built here.
#include "check/code_checks.h"
#include "check/schema_checks.h"
#include "check/type_checks.h"
#include "check_fixtures.h"
#include "../generation/generation_fakes.h"
#include "generation/run_generation.h"

using namespace check;
using namespace check_test;
using catalogue::FieldKind;

namespace {

std::vector<catalogue::TableDescription> GoodTables()
{
    const auto text = [](const char* name) {
        return catalogue::FieldDescription{QLatin1String(name), FieldKind::Text, QStringLiteral("Text")};
    };
    const auto number = [](const char* name) {
        return catalogue::FieldDescription{QLatin1String(name), FieldKind::Number, QStringLiteral("Double")};
    };
    return {{QStringLiteral("Fluid_Main"),
             {text("Style"), text("StyleDetail"), text("MultiProcess"),
              {QStringLiteral("OwnerProcess"), FieldKind::YesNo, QStringLiteral("Yes/No")}}},
            {QStringLiteral("Fluid_Detail"),
             {text("Style"), text("StyleDetail"), text("DiaSpec"), number("SortID"), number("MinValue"),
              number("MaxValue"), text("ProcessID"), text("FileName")}}};
}

void SetKind(std::vector<catalogue::TableDescription>& tables, const char* table, const char* field,
             FieldKind kind)
{
    for (auto& t : tables) {
        if (t.name != QLatin1String(table))
            continue;
        for (auto& f : t.fields) {
            if (f.name == QLatin1String(field))
                f.kind = kind;
        }
    }
}

// Whether the generate command itself refuses a Type and bore code, run on
// fakes of its services.
bool GenerateRefuses(const QString& type, const QString& bore)
{
    fakes::CallLog log;
    fakes::FakeFileSystem files(log);
    fakes::FakeCadHost host(log);
    fakes::RecordingDiscTray tray(log);
    fakes::RecordingMessageBoxes boxes(log);
    generation::GenerationServices services{files, host, tray, boxes};
    generation::GenerationRequest request;
    request.installRoot = QStringLiteral("/root");
    request.typeCode = type;
    request.boreCode = bore;
    request.firstStroke = QStringLiteral("50");
    request.strokeEntryAllowed = true;
    return generation::RunGeneration(request, services) == generation::GenerationOutcome::InvalidCatalogueData;
}

} // namespace

class CodesAndTypesTest : public QObject {
    Q_OBJECT

private slots:
    void schemaAsTheProgramReadsIt()
    {
        QVERIFY(CheckSchema(GoodTables()).empty());
        // Table names match without regard to case, as the engine matches them.
        auto lower = GoodTables();
        lower[1].name = QStringLiteral("fluid_detail");
        QVERIFY(CheckSchema(lower).empty());
        // A numeric OwnerProcess, MultiProcess or ProcessID converts as meant.
        auto numeric = GoodTables();
        SetKind(numeric, "Fluid_Main", "OwnerProcess", FieldKind::Number);
        SetKind(numeric, "Fluid_Main", "MultiProcess", FieldKind::Number);
        SetKind(numeric, "Fluid_Detail", "ProcessID", FieldKind::Number);
        QVERIFY(CheckSchema(numeric).empty());
    }

    void schemaFaults_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("kind");  // -1: the field is removed
        QTest::addColumn<QString>("check");
        QTest::addColumn<int>("severity");
        QTest::newRow("missing field") << "Fluid_Detail" << "SortID" << -1 << "field-missing" << int(Severity::Error);
        QTest::newRow("text bound") << "Fluid_Detail" << "MinValue" << int(FieldKind::Text) << "field-type" << int(Severity::Error);
        QTest::newRow("text SortID") << "Fluid_Detail" << "SortID" << int(FieldKind::Text) << "field-type" << int(Severity::Warning);
        QTest::newRow("numeric bore code") << "Fluid_Detail" << "DiaSpec" << int(FieldKind::Number) << "field-type" << int(Severity::Warning);
        QTest::newRow("Yes/No ProcessID") << "Fluid_Detail" << "ProcessID" << int(FieldKind::YesNo) << "field-type" << int(Severity::Error);
        QTest::newRow("text OwnerProcess") << "Fluid_Main" << "OwnerProcess" << int(FieldKind::Text) << "field-type" << int(Severity::Warning);
        QTest::newRow("date file name") << "Fluid_Detail" << "FileName" << int(FieldKind::Other) << "field-type" << int(Severity::Error);
    }

    void schemaFaults()
    {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(int, kind);
        QFETCH(QString, check);
        QFETCH(int, severity);
        auto tables = GoodTables();
        if (kind < 0) {
            for (auto& t : tables) {
                if (t.name == table)
                    std::erase_if(t.fields, [&](const auto& f) { return f.name == field; });
            }
        } else {
            SetKind(tables, qPrintable(table), qPrintable(field), FieldKind(kind));
        }
        const Findings findings = CheckSchema(tables);
        QCOMPARE(findings.size(), size_t(1));
        QCOMPARE(findings[0].check, check);
        QCOMPARE(findings[0].table, table);
        QCOMPARE(int(findings[0].severity), severity);
        QVERIFY2(findings[0].message.contains(field), qPrintable(findings[0].message));
    }

    void missingTable()
    {
        auto tables = GoodTables();
        tables.pop_back();
        const Findings findings = CheckSchema(tables);
        QCOMPARE(Checks(findings), QStringList{QStringLiteral("table-missing")});
        QCOMPARE(findings[0].table, QStringLiteral("Fluid_Detail"));
        QCOMPARE(findings[0].severity, Severity::Error);
    }

    void nullAndBlankCodes()
    {
        const CatalogueRows rows = Rows({Main("AX", "AXN"), {Null(), Text("NOSERIES"), Text("1"), Whole(0)},
                                         Main("AX", "  ")},
                                        {Detail("AX", "AXN", "32", 1, Real(5), Real(50)),
                                         {Text("AX"), Text("AXN"), Null(), Whole(2), Real(5), Real(9), Text("1"), Null()}});
        const Findings findings = CheckCodes(rows);
        const auto nulls = Only(findings, "code-null");
        QCOMPARE(nulls.size(), size_t(2));
        QCOMPARE(nulls[0].table, QStringLiteral("Fluid_Main"));
        QCOMPARE(Where(nulls[0]), QStringLiteral("/NOSERIES//"));
        QCOMPARE(nulls[1].table, QStringLiteral("Fluid_Detail"));
        QCOMPARE(Where(nulls[1]), QStringLiteral("AX/AXN//2"));
        const auto blanks = Only(findings, "code-blank");
        QCOMPARE(blanks.size(), size_t(1));
        QCOMPARE(Where(blanks[0]), QStringLiteral("AX/  //"));
        QCOMPARE(findings.size(), size_t(3));
    }

    void codesTheGenerateCommandRefuses()
    {
        // Told once per table and spelling, however many rows carry it.
        const CatalogueRows rows = Rows({Main("AX", "A(X)"), Main("A/X", "AXN")},
                                        {Detail("AX", "A(X)", "32", 1, Real(5), Real(50)),
                                         Detail("AX", "A(X)", "40", 1, Real(5), Real(50)),
                                         Detail("AX", "AXN", "3\"2", 1, Real(5), Real(50))});
        const auto refused = Only(CheckCodes(rows), "code-refused");
        QCOMPARE(Wheres(refused), (QStringList{QStringLiteral("AX/A(X)//"), QStringLiteral("AX/A(X)/32/1"),
                                               QStringLiteral("AX/AXN/3\"2/1")}));
        for (const Finding& finding : refused)
            QCOMPARE(finding.severity, Severity::Error);
        // The Series code never goes into the command line.
        QVERIFY(GenerateAccepts(CodeField::Series, QStringLiteral("A/X")));
        QVERIFY(!GenerateAccepts(CodeField::Type, QStringLiteral("A\\X")));
        QVERIFY(!GenerateAccepts(CodeField::Bore, QStringLiteral("3\x01")));
        QVERIFY(GenerateAccepts(CodeField::Bore, QStringLiteral("32")));
    }

    // Each character class in a Type code and in a bore code: the checker
    // refuses exactly what the generate command refuses, code by code.
    void codeRuleOfTheGenerateCommand_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<bool>("typeRefused");
        QTest::addColumn<bool>("boreRefused");
        QTest::newRow("letter") << "x" << false << false;
        QTest::newRow("digit") << "7" << false << false;
        QTest::newRow("dash, dot, underscore") << "-._" << false << false;
        QTest::newRow("chinese") << QString::fromUtf8("缸") << false << false;
        QTest::newRow("other punctuation") << "#&<>*" << false << false;
        QTest::newRow("apostrophe") << "'" << false << true;
        QTest::newRow("semicolon") << ";" << false << true;
        QTest::newRow("blank") << " " << false << true;
        QTest::newRow("ideographic blank") << QString::fromUtf8("\u3000") << false << true;
        QTest::newRow("no-break blank") << QString::fromUtf8("\u00a0") << false << true;
        QTest::newRow("double quote") << "\"" << true << true;
        QTest::newRow("backslash") << "\\" << true << true;
        QTest::newRow("parenthesis") << "(" << true << true;
        QTest::newRow("slash") << "/" << true << true;
        QTest::newRow("tab") << "\t" << true << true;
        QTest::newRow("control character") << "\x01" << true << true;
        QTest::newRow("delete") << "\x7f" << true << true;
    }

    void codeRuleOfTheGenerateCommand()
    {
        QFETCH(QString, character);
        QFETCH(bool, typeRefused);
        QFETCH(bool, boreRefused);
        const QString type = QStringLiteral("T") + character + QStringLiteral("A");
        const QString bore = QStringLiteral("3") + character + QStringLiteral("2");
        QCOMPARE(GenerateRefuses(type, QStringLiteral("32")), typeRefused);
        QCOMPARE(GenerateRefuses(QStringLiteral("TA"), bore), boreRefused);

        CatalogueRows rows = Rows({Main("TA", "TA")}, {Detail("TA", "TA", "32", 1, Real(5), Real(50))});
        rows.main[0].styleDetail = FieldValue(type);
        rows.detail[0].styleDetail = FieldValue(type);
        rows.detail.push_back(Detail("TA", "TA", "", 1, Real(5), Real(50)));
        rows.detail[1].diaSpec = FieldValue(bore);
        QStringList refused;
        for (const Finding& finding : Only(CheckCodes(rows), "code-refused"))
            refused.append(finding.table + QLatin1Char(' ') + finding.message.section(u' ', 0, 0));
        QStringList expected;
        if (typeRefused)
            expected << QStringLiteral("Fluid_Main StyleDetail") << QStringLiteral("Fluid_Detail StyleDetail");
        if (boreRefused)
            expected << QStringLiteral("Fluid_Detail DiaSpec");
        QCOMPARE(refused, expected);
    }

    void paddedCodes()
    {
        const CatalogueRows rows = Rows({Main(" PAD ", "SP ")}, {Detail(" PAD ", "SP ", " 32", 1, Real(5), Real(9))});
        const auto padded = Only(CheckCodes(rows), "code-padded");
        // Style and StyleDetail in both tables, DiaSpec in Fluid_Detail.
        QCOMPARE(padded.size(), size_t(5));
        QVERIFY(padded[0].message.contains(QStringLiteral("\" PAD \"")));
    }

    void spellingsThatDifferOnlyInCase()
    {
        const CatalogueRows rows = Rows({Main("EDG", "OVL"), Main("edg", "LOW"), Main("中文", "缸徑"),
                                         Main("ÄB", "X"), Main("äB", "X")},
                                        {Detail("EDG", "OVL", "32a", 1, Real(1), Real(2)),
                                         Detail("EDG", "ovl", "32A", 2, Real(3), Real(4)),
                                         Detail("AX", "OVL", "32", 1, Real(1), Real(2))});
        const auto merged = Only(CheckCodes(rows), "code-case");
        QStringList messages;
        for (const Finding& finding : merged)
            messages.append(finding.message.section(u':', 0, 0));
        // Only ASCII letters fold, as the engine's NOCASE folds them; a Type
        // is compared within its Series, a Bore within its Series and Type.
        QCOMPARE(messages, (QStringList{
                               QStringLiteral("Style codes \"EDG\", \"edg\" differ only in letter case"),
                               QStringLiteral("StyleDetail codes \"OVL\", \"ovl\" differ only in letter case"),
                               QStringLiteral("DiaSpec codes \"32a\", \"32A\" differ only in letter case"),
                           }));
        QCOMPARE(merged[0].severity, Severity::Warning);
    }

    void typesThatDisagree()
    {
        const CatalogueRows rows = Rows({Main("TA", "TAA", Text("1"), Whole(0)), Main("TA", "taa", Text("2"), Whole(-1)),
                                         Main("TA", "KKJ", Text("2"), Whole(0)), Main("TA", "KKJ", Text("3"), Whole(0))},
                                        {Detail("TA", "TAA", "32", 1, Real(5), Real(50)),
                                         Detail("TA", "KKJ", "32", 1, Real(5), Real(50)),
                                         Detail("TA", "KKJ", "32", 2, Real(5), Real(50), Text("2"))});
        const CatalogueIndex index = IndexCatalogue(rows);
        const Findings findings = CheckTypes(rows, index);
        // KKJ's "2" and "3" both mean a second stroke: no disagreement.
        QCOMPARE(Checks(findings), (QStringList{QStringLiteral("main-multiprocess-disagree"),
                                                QStringLiteral("main-ownerprocess-disagree")}));
        QCOMPARE(Where(findings[0]), QStringLiteral("TA/TAA//"));
        QVERIFY2(findings[0].message.contains(QStringLiteral("here shown")), qPrintable(findings[0].message));
        QVERIFY2(findings[1].message.contains(QStringLiteral("here the strokes are typed")), qPrintable(findings[1].message));
        QCOMPARE(index.types[0].secondStroke, true);  // the last row decides
        QCOMPARE(index.types[0].strokesFixed, false);  // the first row decides
    }

    void ownerProcessWithoutTruthValue()
    {
        const CatalogueRows rows = Rows({Main("TA", "TAA", Text("1"), Null()), Main("TA", "KKJ", Text("1"), Text("maybe")),
                                         Main("TA", "CBV", Text("1"), Text("Yes"))},
                                        {Detail("TA", "TAA", "32", 1, Real(5), Real(50)),
                                         Detail("TA", "KKJ", "32", 1, Real(5), Real(50)),
                                         Detail("TA", "CBV", "32", 1, Real(5), Real(50))});
        const CatalogueIndex index = IndexCatalogue(rows);
        const auto nulls = Only(CheckTypes(rows, index), "main-ownerprocess-null");
        QCOMPARE(Wheres(nulls), (QStringList{QStringLiteral("TA/TAA//"), QStringLiteral("TA/KKJ//")}));
        QCOMPARE(nulls[0].severity, Severity::Error);
        QVERIFY(index.types[0].strokesFixed);  // locked, as the program locks them
    }

    void typesWithoutBoresAndRowsWithoutType()
    {
        const CatalogueRows rows = Rows({Main("EDG", "ORPHAN"), Main("EDG", "OVL")},
                                        {Detail("EDG", "ovl", "32", 1, Real(5), Real(50)),
                                         Detail("EDG", "EDGNOMAIN", "32", 1, Real(5), Real(50)),
                                         Detail("EDG", "EDGNOMAIN", "40", 1, Real(5), Real(50))});
        const Findings findings = CheckTypes(rows, IndexCatalogue(rows));
        const auto empty = Only(findings, "type-no-bores");
        QCOMPARE(Wheres(empty), QStringList{QStringLiteral("EDG/ORPHAN//")});
        // Visible to the user as an empty list: a dead end, not a wrong drawing.
        QCOMPARE(empty[0].severity, Severity::Warning);
        // "ovl" reaches OVL's rows: the engine compares without ASCII case.
        const auto unreachable = Only(findings, "detail-unreachable");
        QCOMPARE(Wheres(unreachable), QStringList{QStringLiteral("EDG/EDGNOMAIN/32/")});
        QCOMPARE(unreachable[0].table, QStringLiteral("Fluid_Detail"));
        QCOMPARE(findings.size(), size_t(2));
    }
};

QTEST_GUILESS_MAIN(CodesAndTypesTest)
#include "test_check_codes_types.moc"
