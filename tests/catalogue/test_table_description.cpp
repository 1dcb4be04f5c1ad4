// SPDX-License-Identifier: MIT
// The field types of real catalogue files as the checker sees them, and the
// engine's comparison of codes.
#include "catalogue/code_key.h"
#include "catalogue/table_description.h"
#include "catalogue_fixtures.h"
#include <QtTest>
#include <sqlite3.h>

using namespace catalogue;
using namespace catalogue_test;

namespace {

// "Field:Type" of each field of one table, in the table's order.
QStringList Fields(const std::vector<TableDescription>& tables, const QString& table)
{
    QStringList fields;
    for (const TableDescription& t : tables) {
        if (t.name == table) {
            for (const FieldDescription& f : t.fields)
                fields.append(f.name + u':' + f.accessType);
        }
    }
    return fields;
}

} // namespace

class TableDescriptionTest : public QObject {
    Q_OBJECT

private slots:
    void sampleCatalogue()
    {
        const auto tables = DescribeAccessFile(DataFile(QStringLiteral("TALVEX.mdb")));
        QVERIFY2(tables.ok(), qPrintable(tables.error()));
        QCOMPARE(tables->size(), size_t(2));
        QCOMPARE(Fields(*tables, QStringLiteral("Fluid_Main")),
                 (QStringList{QStringLiteral("ID:Long Integer"), QStringLiteral("Style:Text"),
                              QStringLiteral("StyleDetail:Text"), QStringLiteral("MultiProcess:Text"),
                              QStringLiteral("OwnerProcess:Yes/No"), QStringLiteral("Remark:Text")}));
        const TableDescription& detail = tables->at(1);
        QCOMPARE(detail.name, QStringLiteral("Fluid_Detail"));
        QCOMPARE(detail.fields.at(5).name, QStringLiteral("MinValue"));
        QCOMPARE(detail.fields.at(5).kind, FieldKind::Number);
        QCOMPARE(detail.fields.at(5).accessType, QStringLiteral("Double"));
        QCOMPARE(tables->at(0).fields.at(4).kind, FieldKind::YesNo);
        QCOMPARE(tables->at(0).fields.at(1).kind, FieldKind::Text);
    }

    void numericFlagsAndOtherDatabases()
    {
        const auto numeric = DescribeAccessFile(DataFile(QStringLiteral("edge-numeric.mdb")));
        QVERIFY(numeric.ok());
        QVERIFY(Fields(*numeric, QStringLiteral("Fluid_Main")).contains(QStringLiteral("OwnerProcess:Long Integer")));
        QVERIFY(Fields(*numeric, QStringLiteral("Fluid_Detail")).contains(QStringLiteral("ProcessID:Long Integer")));

        const auto northwind = DescribeAccessFile(DataFile(QStringLiteral("nwind-real-world.mdb")));
        QVERIFY(northwind.ok());
        QVERIFY(Fields(*northwind, QStringLiteral("Fluid_Main")).isEmpty());
        QVERIFY(Fields(*northwind, QStringLiteral("Orders")).contains(QStringLiteral("OrderDate:Date/Time")));
        bool anyOther = false;
        for (const TableDescription& table : *northwind) {
            for (const FieldDescription& field : table.fields)
                anyOther = anyOther || field.kind == FieldKind::Other;
        }
        QVERIFY(anyOther);

        // The tables are found without parsing object properties, which
        // looped for ever on this file.
        const auto loop = DescribeAccessFile(DataFile(QStringLiteral("damaged/object-properties-loop.mdb")));
        QVERIFY2(loop.ok(), qPrintable(loop.error()));
        QCOMPARE(Fields(*loop, QStringLiteral("Fluid_Main")).size(), 6);
    }

    void codeKeyFoldsAsTheEngineCompares()
    {
        const QStringList codes{QStringLiteral("EDG"), QStringLiteral("edg"), QStringLiteral("Edg "),
                                QStringLiteral("ÄB"), QStringLiteral("äB"), QStringLiteral("中文"),
                                QStringLiteral("UMO_S"), QStringLiteral("umo_s"), QStringLiteral("Z[")};
        for (const QString& a : codes) {
            for (const QString& b : codes) {
                const QByteArray x = a.toUtf8(), y = b.toUtf8();
                const bool engineEqual = sqlite3_stricmp(x.constData(), y.constData()) == 0;
                QVERIFY2((CodeKey(a) == CodeKey(b)) == engineEqual, qPrintable(a + QStringLiteral(" / ") + b));
            }
        }
        QCOMPARE(CodeKey(QStringLiteral("Ab_Z9")), QStringLiteral("ab_z9"));
    }
};

QTEST_GUILESS_MAIN(TableDescriptionTest)
#include "test_table_description.moc"
