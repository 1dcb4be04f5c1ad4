// SPDX-License-Identifier: MIT
// What the connection loads from real Access files: values and their kinds,
// compared with mdb-export, and files that are no catalogue at all.
#include "catalogue/catalogue_error.h"
#include "catalogue/table_description.h"
#include "catalogue_fixtures.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace catalogue;
using namespace catalogue_test;

namespace {

// All rows of one statement, opened through the routine every query uses.
struct Rows {
    QStringList columns;
    QList<QList<FieldValue>> values;
};

Rows Select(Connection& connection, const QString& sql, const QStringList& columns)
{
    Recordset recordset;
    QString error;
    if (!OpenRecordset(sql, &connection, recordset, error))
        throw CatalogueError(error);
    Rows rows{columns, {}};
    for (; !recordset.eof(); recordset.moveNext()) {
        QList<FieldValue> row;
        for (const QString& column : columns)
            row.append(recordset.field(column));
        rows.values.append(row);
    }
    return rows;
}

FieldValue One(Connection& connection, const QString& sql, const QString& column)
{
    const Rows rows = Select(connection, sql, {column});
    if (rows.values.size() != 1)
        throw CatalogueError(QStringLiteral("expected one row of ") + sql);
    return rows.values.first().first();
}

QString LoadFailure(const QString& path)
{
    Connection connection;
    try {
        connection.open(BuildConnectionString(QString(), QString(), true, path), QString(),
                        QString(), -1);
    } catch (const CatalogueError& failure) {
        if (connection.isOpen())
            return QStringLiteral("open after failure");
        return failure.description();
    }
    return QString();
}

#ifndef Q_OS_WIN  // mdb-export, the oracle, is a Linux program
// mdb-export's CSV: fields by comma, "..." with "" inside, records by newline.
QList<QList<std::pair<QString, bool>>> ParseCsv(const QString& text)
{
    QList<QList<std::pair<QString, bool>>> records;
    QList<std::pair<QString, bool>> record;
    QString field;
    bool quoted = false, inQuotes = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                inQuotes = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            inQuotes = quoted = true;
        } else if (c == QLatin1Char(',')) {
            record.append({field, quoted});
            field.clear();
            quoted = false;
        } else if (c == QLatin1Char('\n')) {
            record.append({field, quoted});
            records.append(record);
            record.clear();
            field.clear();
            quoted = false;
        } else {
            field += c;
        }
    }
    return records;
}

QString Describe(const FieldValue& value)
{
    if (value.isNull())
        return QStringLiteral("null");
    return QStringLiteral("%1 '%2'")
        .arg(value.isText() ? "text" : value.isInteger() ? "integer" : "real", value.toText());
}

// Whether one loaded value is what mdb-export printed for it.
bool SameAsExport(const FieldValue& loaded, const std::pair<QString, bool>& exported,
                  bool booleanColumn)
{
    const QString& text = exported.first;
    if (loaded.isNull())
        return text.isEmpty() && !exported.second;
    if (loaded.isText())
        return loaded.toText() == text;  // a zero-length text is printed like a null
    if (booleanColumn)  // mdb-export prints Yes/No as 1/0
        return loaded.isInteger() &&
               ((loaded.toText() == QLatin1String("-1") && text == QLatin1String("1")) ||
                (loaded.toText() == QLatin1String("0") && text == QLatin1String("0")));
    if (loaded.isInteger())
        return QString::number(std::get<qint64>(loaded.raw())) == text;
    bool parsed = false;
    const double number = text.toDouble(&parsed);
    const double real = std::get<double>(loaded.raw());
    // mdb-export writes a Single with 8 digits and Currency with 4 decimals
    return parsed && std::abs(number - real) <= 1e-7 * std::max(1.0, std::abs(real));
}
#endif

} // namespace

class CatalogueLoaderTest : public QObject {
    Q_OBJECT

private slots:
    void catalogueValuesKeepTheirKinds()
    {
        auto talvex = OpenDataFile(QStringLiteral("TALVEX.mdb"));
        const Rows cbv = Select(*talvex,
                                QStringLiteral("SELECT * FROM Fluid_Main WHERE ID = 4"),
                                {"ID", "Style", "StyleDetail", "MultiProcess", "OwnerProcess",
                                 "Remark"});
        QCOMPARE(cbv.values.size(), 1);
        const QList<FieldValue>& row = cbv.values.first();
        QVERIFY(row[0].isInteger());
        QCOMPARE(row[0].toText(), QStringLiteral("4"));
        QVERIFY(row[1].isText());
        QCOMPARE(row[1].toText(), QStringLiteral("TA"));
        QCOMPARE(row[3].toText(), QStringLiteral("1"));
        QVERIFY(row[3].isText());
        // Yes/No: Access's true is -1
        QVERIFY(row[4].isInteger());
        QCOMPARE(row[4].toText(), QStringLiteral("-1"));
        QCOMPARE(row[5].toText(), QStringLiteral("型式 CBV / Type CBV"));
        QCOMPARE(One(*talvex, "SELECT OwnerProcess FROM Fluid_Main WHERE ID = 1", "OwnerProcess")
                     .toText(),
                 QStringLiteral("0"));

        const Rows range = Select(
            *talvex, QStringLiteral("SELECT * FROM Fluid_Detail WHERE ID = 45"),
            {"SortID", "MinValue", "MaxValue", "ProcessID", "FileName", "DiaSpec"});
        QCOMPARE(range.values.size(), 1);
        QVERIFY(range.values[0][0].isInteger());
        QVERIFY(range.values[0][1].isReal());
        QCOMPARE(range.values[0][1].toText(), QStringLiteral("5"));
        QCOMPARE(range.values[0][2].toText(), QStringLiteral("150"));
        QCOMPARE(range.values[0][3].toText(), QStringLiteral("2"));
        QVERIFY(range.values[0][4].isNull());
        QCOMPARE(range.values[0][5].toText(), QStringLiteral("20"));

        QCOMPARE(One(*talvex, "SELECT COUNT(*) AS n FROM Fluid_Main", "n").toText(), "26");
        QCOMPARE(One(*talvex, "SELECT COUNT(*) AS n FROM Fluid_Detail", "n").toText(), "241");
        QCOMPARE(One(*talvex, "SELECT COUNT(DISTINCT Style) AS n FROM Fluid_Main", "n").toText(),
                 "9");
    }

    void edgeValuesSurviveTheCopy_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("numericCodes");
        QTest::newRow("text codes") << QStringLiteral("edge-text.mdb") << false;
        QTest::newRow("numeric codes") << QStringLiteral("edge-numeric.mdb") << true;
    }

    void edgeValuesSurviveTheCopy()
    {
        QFETCH(QString, file);
        QFETCH(bool, numericCodes);
        auto edge = OpenDataFile(file);
        const auto detail = [&](int id, const char* column) {
            return One(*edge, QStringLiteral("SELECT %1 FROM Fluid_Detail WHERE ID = %2")
                                  .arg(QLatin1String(column))
                                  .arg(id),
                       QLatin1String(column));
        };
        QCOMPARE(detail(10, "MinValue").toText(), QStringLiteral("12.5"));
        QCOMPARE(detail(11, "MinValue").toText(), QStringLiteral("0.5"));
        QCOMPARE(detail(11, "MaxValue").toText(), QStringLiteral("99.75"));
        QVERIFY(detail(8, "MinValue").isNull());
        QVERIFY(detail(9, "MaxValue").isNull());
        QVERIFY(detail(9, "ProcessID").isNull());
        QCOMPARE(detail(4, "FileName").toText(), QStringLiteral("   "));
        QCOMPARE(detail(5, "FileName").toText(), QStringLiteral("  padded.dwg  "));
        QCOMPARE(detail(23, "DiaSpec").toText(), QStringLiteral("三十二"));
        QCOMPARE(detail(23, "FileName").toText(), QStringLiteral("中文零件.dwg"));
        QCOMPARE(detail(22, "Style").toText(), QStringLiteral("O'K"));
        QVERIFY(detail(25, "DiaSpec").isNull());
        QCOMPARE(detail(7, "ProcessID").isInteger(), numericCodes);
        QCOMPARE(detail(7, "ProcessID").toText(), QStringLiteral("2"));

        const auto main = [&](int id, const char* column) {
            return One(*edge, QStringLiteral("SELECT %1 FROM Fluid_Main WHERE ID = %2")
                                  .arg(QLatin1String(column))
                                  .arg(id),
                       QLatin1String(column));
        };
        QCOMPARE(main(4, "MultiProcess").isInteger(), numericCodes);
        QCOMPARE(main(4, "MultiProcess").toText(), QStringLiteral("2"));
        QVERIFY(main(5, "MultiProcess").isNull());
        // a Yes/No field cannot be null; a Long one can
        QCOMPARE(main(5, "OwnerProcess").isNull(), numericCodes);
        QVERIFY(main(11, "Style").isNull());
        QCOMPARE(main(13, "Style").toText(), QStringLiteral(" PAD "));
        QCOMPARE(main(10, "StyleDetail").toText(), QStringLiteral("缸徑"));
    }

    void textComparesWithoutRegardToCase()
    {
        auto edge = OpenDataFile(QStringLiteral("edge-text.mdb"));
        QCOMPARE(One(*edge, "SELECT COUNT(*) AS n FROM Fluid_Main WHERE Style='edg'", "n").toText(),
                 "10");
        QCOMPARE(One(*edge, "SELECT COUNT(*) AS n FROM Fluid_Main WHERE style='EDG' "
                            "AND styledetail='low'", "n").toText(),
                 "1");
        QCOMPARE(One(*edge, "SELECT COUNT(*) AS n FROM Fluid_Detail WHERE FileName='A.DWG'", "n")
                     .toText(),
                 "2");
    }

    void textIsUnicodeWhateverEncodingLibmdbIsToldToWrite()
    {
        qputenv("MDBICONV", "ISO-8859-1");
        auto edge = OpenDataFile(QStringLiteral("edge-text.mdb"));
        QCOMPARE(qgetenv("MDBICONV"), QByteArray("ISO-8859-1"));
        qunsetenv("MDBICONV");
        QCOMPARE(One(*edge, "SELECT FileName FROM Fluid_Detail WHERE ID = 23", "FileName").toText(),
                 QStringLiteral("中文零件.dwg"));
    }

    void accessFormatsLoadAlike()
    {
        auto jet2000 = OpenDataFile(QStringLiteral("TALVEX.mdb"));
        auto jet2003 = OpenDataFile(QStringLiteral("demo-access2003.mdb"));
        const QStringList columns{"ID", "Style", "StyleDetail", "DiaSpec", "SortID",
                                  "MinValue", "MaxValue", "ProcessID", "FileName"};
        const QString sql = QStringLiteral("SELECT * FROM Fluid_Detail ORDER BY ID");
        const Rows a = Select(*jet2000, sql, columns);
        const Rows b = Select(*jet2003, sql, columns);
        QCOMPARE(a.values.size(), 241);
        QCOMPARE(b.values.size(), a.values.size());
        for (qsizetype i = 0; i < a.values.size(); ++i) {
            for (qsizetype c = 0; c < columns.size(); ++c)
                QVERIFY2(a.values[i][c].raw() == b.values[i][c].raw(),
                         qPrintable(QStringLiteral("row %1 %2").arg(i).arg(columns[c])));
        }
    }

    void catalogueInAFolderNamedInChinese()
    {
        // Users unpack the program into folders named in their own script;
        // the catalogue is opened from there like any other.
        QTemporaryDir temp;
        const QString folder = temp.filePath(QStringLiteral("使用者 資料/型錄"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/TALVEX.mdb");
        QVERIFY(QFile::copy(DataFile(QStringLiteral("TALVEX.mdb")), path));
        QCOMPARE(LoadFailure(path), QString());
        const auto tables = catalogue::DescribeAccessFile(path);
        QCOMPARE(tables.error(), QString());
        QVERIFY(!tables->empty());
    }

    void realWorldDatabaseLoads()
    {
        auto nwind = OpenDataFile(QStringLiteral("nwind-real-world.mdb"));
        const QList<std::pair<QString, int>> counts{
            {"[Order Details]", 2155}, {"Orders", 830},   {"Products", 77},
            {"Shippers", 3},           {"Categories", 8}, {"Customers", 91},
            {"Employees", 9},          {"Suppliers", 29}, {"\"Umsätze\"", 830}};
        for (const auto& [table, count] : counts)
            QCOMPARE(One(*nwind, "SELECT COUNT(*) AS n FROM " + table, "n").toText(),
                     QString::number(count));

        const Rows line = Select(*nwind,
                                 "SELECT UnitPrice, Discount, Quantity FROM [Order Details] "
                                 "WHERE OrderID = 10250 AND ProductID = 51",
                                 {"UnitPrice", "Discount", "Quantity"});
        QCOMPARE(line.values.size(), 1);
        QVERIFY(line.values[0][0].isReal());  // Currency
        QCOMPARE(line.values[0][0].toText(), QStringLiteral("42.4"));
        QCOMPARE(line.values[0][1].toText(), QStringLiteral("0.15"));  // Single, as Access shows it
        QVERIFY(line.values[0][2].isInteger());
        QCOMPARE(line.values[0][2].toText(), QStringLiteral("35"));

        QCOMPARE(One(*nwind, "SELECT OrderDate FROM Orders WHERE OrderID = 10330", "OrderDate")
                     .toText(),
                 QStringLiteral("1994-11-16 00:00:00"));
        QCOMPARE(One(*nwind, "SELECT ShipAddress FROM Umsätze WHERE OrderID = 10330",
                     "ShipAddress").toText(),
                 QStringLiteral("Carrera 52 con Ave. Bolívar #65-98 Llano Largo"));
        QCOMPARE(One(*nwind, "SELECT Description FROM Categories WHERE CategoryID = 1",
                     "Description").toText(),
                 QStringLiteral("Soft drinks, coffees, teas, beers, and ales"));
        QCOMPARE(One(*nwind, "SELECT Notes FROM Employees WHERE EmployeeID = 1", "Notes")
                     .toText()
                     .left(18),
                 QStringLiteral("Education includes"));
        QCOMPARE(One(*nwind, "SELECT COUNT(*) AS n FROM Products WHERE Discontinued = -1", "n")
                     .toText(),
                 QStringLiteral("8"));
    }

#ifndef Q_OS_WIN  // the oracle, mdb-export, is a Linux program
    void loadedTablesMatchMdbExport_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("table");
        const QList<std::pair<QString, QStringList>> files{
            {"TALVEX.mdb", {"Fluid_Main", "Fluid_Detail"}},
            {"demo-access2003.mdb", {"Fluid_Main", "Fluid_Detail"}},
            {"edge-text.mdb", {"Fluid_Main", "Fluid_Detail"}},
            {"edge-numeric.mdb", {"Fluid_Main", "Fluid_Detail"}},
            {"no-detail-table.mdb", {"Fluid_Main"}},
            {"large-100k.mdb", {"Fluid_Main", "Fluid_Detail"}},
            {"nwind-real-world.mdb",
             {"Order Details", "Orders", "Products", "Shippers", "Categories", "Customers",
              "Employees", "Suppliers", "Umsätze"}},
        };
        for (const auto& [file, tables] : files) {
            for (const QString& table : tables)
                QTest::newRow(qPrintable(file + " " + table)) << file << table;
        }
    }

    void loadedTablesMatchMdbExport()
    {
        QFETCH(QString, file);
        QFETCH(QString, table);
        const QString exporter = QStandardPaths::findExecutable(QStringLiteral("mdb-export"));
        // mdbtools comes with libmdb's own package list (tools/install-deps).
        QVERIFY2(!exporter.isEmpty(), "mdb-export (Debian package mdbtools) is not installed");
        QProcess process;
        process.start(exporter, {"-b", "strip", "-T", "%Y-%m-%d %H:%M:%S", DataFile(file), table});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        const auto records = ParseCsv(QString::fromUtf8(process.readAllStandardOutput()));
        QVERIFY(records.size() > 1);

        QStringList columns;
        for (const auto& header : records.first())
            columns.append(header.first);
        auto connection = OpenDataFile(file);
        const Rows loaded = Select(*connection, "SELECT * FROM " + QString("[%1]").arg(table),
                                   columns);
        QCOMPARE(loaded.values.size(), records.size() - 1);
        const QStringList booleans{"OwnerProcess", "Discontinued"};
        const QStringList oleObjects{"Picture", "Photo"};  // not carried over
        for (qsizetype row = 0; row < loaded.values.size(); ++row) {
            for (qsizetype column = 0; column < columns.size(); ++column) {
                if (oleObjects.contains(columns[column]))
                    continue;
                const FieldValue& value = loaded.values[row][column];
                const auto& exported = records[row + 1][column];
                QVERIFY2(SameAsExport(value, exported, booleans.contains(columns[column])),
                         qPrintable(QStringLiteral("row %1 %2: loaded %3, exported '%4'")
                                        .arg(row)
                                        .arg(columns[column], Describe(value), exported.first)));
            }
        }
    }

#endif
    void filesThatAreNoCatalogueFailWithADescription()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const auto write = [&](const QString& name, const QByteArray& content) {
            QFile file(folder.filePath(name));
            if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
                qFatal("cannot write the test file");
            return file.fileName();
        };
        QFile talvex(DataFile(QStringLiteral("TALVEX.mdb")));
        QVERIFY(talvex.open(QIODevice::ReadOnly));
        const QByteArray real = talvex.readAll();

        const QString missing = folder.filePath(QStringLiteral("absent.mdb"));
        QCOMPARE(LoadFailure(missing), QStringLiteral("Could not find file '%1'.").arg(missing));
        QCOMPARE(LoadFailure(folder.path()),
                 QStringLiteral("Could not find file '%1'.").arg(folder.path()));

        const QString text = write("notes.mdb", "This is a text file, not a database.\n");
        QCOMPARE(LoadFailure(text), QStringLiteral("Unrecognized database format '%1'.").arg(text));
        const QString empty = write("empty.mdb", QByteArray());
        QCOMPARE(LoadFailure(empty),
                 QStringLiteral("Unrecognized database format '%1'.").arg(empty));
        const QString headerOnly = write("header.mdb", real.left(64));
        QCOMPARE(LoadFailure(headerOnly),
                 QStringLiteral("The database '%1' is damaged: it ends within a page.")
                     .arg(headerOnly));

        const QString cut = write("cut.mdb", real.left(5 * 4096 + 100));
        QCOMPARE(LoadFailure(cut),
                 QStringLiteral("The database '%1' is damaged: it ends within a page.").arg(cut));
    }

    void damagedPagesNeverBringTheProgramDown()
    {
        // A real file cut at a page boundary or with pages overwritten must
        // fail or load, and nothing else.
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QFile talvex(DataFile(QStringLiteral("TALVEX.mdb")));
        QVERIFY(talvex.open(QIODevice::ReadOnly));
        const QByteArray real = talvex.readAll();
        const qsizetype pages = real.size() / 4096;
        QRandomGenerator random(20170101);
        for (int round = 0; round < 40; ++round) {
            QByteArray damaged = real;
            if (round % 4 == 0) {
                damaged.truncate(4096 * (1 + qsizetype(random.bounded(int(pages - 1)))));
            } else {
                const qsizetype page = 1 + random.bounded(int(pages - 1));
                for (qsizetype i = 0; i < 4096; i += 1 + random.bounded(round % 4 == 1 ? 300 : 3))
                    damaged[page * 4096 + i] = char(random.bounded(256));
            }
            QFile file(folder.filePath(QStringLiteral("damaged.mdb")));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QCOMPARE(file.write(damaged), damaged.size());
            file.close();
            Connection connection;
            try {
                connection.open(BuildConnectionString("", "", true, file.fileName()), QString(),
                                QString(), -1);
                QVERIFY(connection.isOpen());
            } catch (const CatalogueError& failure) {
                QVERIFY(!connection.isOpen());
                QVERIFY(!failure.description().isEmpty());
            }
        }
    }

    void loadedCatalogueAcceptsNoChange()
    {
        auto talvex = OpenDataFile(QStringLiteral("TALVEX.mdb"));
        Recordset recordset;
        QString error;
        QVERIFY(!OpenRecordset("DELETE FROM Fluid_Main", talvex.get(), recordset, error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!OpenRecordset("SELECT 1 AS x; DELETE FROM Fluid_Main", talvex.get(), recordset,
                               error));
        QCOMPARE(error, QStringLiteral("Characters found after end of SQL statement."));
        QCOMPARE(One(*talvex, "SELECT COUNT(*) AS n FROM Fluid_Main", "n").toText(), "26");
    }
};

QTEST_GUILESS_MAIN(CatalogueLoaderTest)
#include "test_catalogue_loader.moc"
