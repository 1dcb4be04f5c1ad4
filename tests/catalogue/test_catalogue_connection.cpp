// SPDX-License-Identifier: MIT
// The catalogue path, the connection strings and what the connection and
// recordset routines promise their callers.
#include "catalogue/catalogue_error.h"
#include "catalogue/catalogue_path.h"
#include "catalogue/connection_string.h"
#include "catalogue_fixtures.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace catalogue;
using namespace catalogue_test;

class CatalogueConnectionTest : public QObject {
    Q_OBJECT

    CatalogueSession session_;

private slots:
    void cleanup()
    {
        CloseCatalogueConnection(session_.connection.get());
        session_ = CatalogueSession();
    }

    void cataloguePathNeverDoublesTheSeparator()
    {
        QCOMPARE(CataloguePath(QStringLiteral("E:\\"), QLatin1Char('\\')),
                 QStringLiteral("E:\\Database\\TALVEX.mdb"));
        QCOMPARE(CataloguePath(QStringLiteral("C:\\Cfg"), QLatin1Char('\\')),
                 QStringLiteral("C:\\Cfg\\Database\\TALVEX.mdb"));
        const QString sep = QDir::separator();
        const QString root = QDir::toNativeSeparators(QDir::rootPath());
        QCOMPARE(CataloguePath(root), root + "Database" + sep + "TALVEX.mdb");
        const QString folder = QDir::toNativeSeparators(QDir::tempPath() + "/Cfg");
        QCOMPARE(CataloguePath(folder), folder + sep + "Database" + sep + "TALVEX.mdb");
    }

    void connectionStringsAreBuiltPieceByPiece()
    {
        QCOMPARE(BuildConnectionString(QString(), QString(), true, QStringLiteral("E:\\Database\\TALVEX.mdb")),
                 QStringLiteral("DRIVER={Microsoft Access Driver (*.mdb)};"
                                "DBQ=E:\\Database\\TALVEX.mdb;"
                                "DefaultDir=E:\\Database\\TALVEX.mdb;Uid=;Pwd=;"));
        QCOMPARE(BuildConnectionString(QStringLiteral("admin"), QStringLiteral("pw"), true,
                                       QStringLiteral("/x/c.mdb")),
                 QStringLiteral("DRIVER={Microsoft Access Driver (*.mdb)};DBQ=/x/c.mdb;"
                                "DefaultDir=/x/c.mdb;Uid=admin;Pwd=pw;"));
        const QString keyForm = BuildConnectionString(QStringLiteral("admin"), QStringLiteral("pw"),
                                                      false, QStringLiteral("/x/c.mdb"));
        QCOMPARE(keyForm, QStringLiteral("Data Source=/x/c.mdb;User ID=admin;Password=pw;"));
        QCOMPARE(BuildConnectionString(QString(), QString(), false, QStringLiteral("/x/c.mdb")),
                 QStringLiteral("Data Source=/x/c.mdb;User ID=;Password=;"));
        // nothing is quoted: a ";" in the path stays as it is
        QCOMPARE(BuildConnectionString(QString(), QString(), false, QStringLiteral("/a;b/c.mdb")),
                 QStringLiteral("Data Source=/a;b/c.mdb;User ID=;Password=;"));
    }

    void theDatabaseIsTheValueOfDbqOrDataSource()
    {
        QCOMPARE(DatabasePathOf(BuildConnectionString("u", "p", true, "/x/c.mdb")),
                 std::optional<QString>("/x/c.mdb"));
        QCOMPARE(DatabasePathOf(BuildConnectionString("u", "p", false, "/x/c.mdb")),
                 std::optional<QString>("/x/c.mdb"));
        QCOMPARE(DatabasePathOf("dbq=/lower.mdb;"), std::optional<QString>("/lower.mdb"));
        QCOMPARE(DatabasePathOf(" DATA SOURCE =/spaced.mdb"), std::optional<QString>("/spaced.mdb"));
        QCOMPARE(DatabasePathOf(BuildConnectionString("", "", true, "/a;b/c.mdb")),
                 std::optional<QString>("/a"));
        QCOMPARE(DatabasePathOf("DRIVER={Microsoft Access Driver (*.mdb)};Uid=;Pwd=;"),
                 std::nullopt);
        QCOMPARE(DatabasePathOf(QString()), std::nullopt);
    }

    void startUpOpensTheCatalogue()
    {
        const QString path = DataFile(QStringLiteral("TALVEX.mdb"));
        QCOMPARE(OpenCatalogueConnection(session_, QString(), QString(), true, true, path).value(),
                 ConnectionOpening::Opened);
        QVERIFY(session_.connection && session_.connection->isOpen());
        QCOMPARE(session_.connectionString, BuildConnectionString(QString(), QString(), true, path));
        QCOMPARE(session_.connection->connectionString(), session_.connectionString);
        QCOMPARE(session_.connection->openOptions(), -1);
        RecordingList series;
        QVERIFY(FillSeriesList(session_.connection.get(), series).ok());
        QCOMPARE(series.items.size(), 9);

        CloseCatalogueConnection(session_.connection.get());
        QVERIFY(!session_.connection->isOpen());
        CloseCatalogueConnection(session_.connection.get());  // a second close is ignored
    }

    void theKeyFormOpensTooAndIgnoresTheSecondFlag()
    {
        const QString path = DataFile(QStringLiteral("edge-text.mdb"));
        QCOMPARE(OpenCatalogueConnection(session_, "user", "secret", false, false, path).value(),
                 ConnectionOpening::Opened);
        QCOMPARE(session_.connectionString,
                 QStringLiteral("Data Source=") + path + ";User ID=user;Password=secret;");
        QVERIFY(session_.connection->isOpen());
    }

    void odbcFormWithoutTheSecondFlagOpensNothing()
    {
        QCOMPARE(OpenCatalogueConnection(session_, QString(), QString(), true, true,
                                         DataFile(QStringLiteral("TALVEX.mdb"))).value(),
                 ConnectionOpening::Opened);
        const QString stringBefore = session_.connectionString;

        const auto result = OpenCatalogueConnection(
            session_, QString(), QString(), true, false, DataFile(QStringLiteral("edge-text.mdb")));
        QCOMPARE(result.value(), ConnectionOpening::NothingOpened);
        QVERIFY(session_.connection);
        QVERIFY(!session_.connection->isOpen());
        QCOMPARE(session_.connectionString, stringBefore);
    }

    void aCatalogueThatCannotOpenGivesFalse()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString missing = folder.filePath(QStringLiteral("Database/TALVEX.mdb"));
        const auto opened = OpenCatalogueConnection(session_, QString(), QString(), true, true, missing);
        QVERIFY(!opened.ok());
        QVERIFY(!opened.error().isEmpty());
        QVERIFY(session_.connection);
        QVERIFY(!session_.connection->isOpen());
        QCOMPARE(session_.connectionString, BuildConnectionString("", "", true, missing));
        CloseCatalogueConnection(session_.connection.get());  // never opened: ignored

        RecordingList series;
        series.items = {QStringLiteral("kept")};
        const base::Status status = FillSeriesList(session_.connection.get(), series);
        QVERIFY(!status.ok());
        QCOMPARE(status.error(), QStringLiteral("Operation is not allowed when the object is closed."));
        QCOMPARE(series.items, QStringList{QStringLiteral("kept")});
        CloseCatalogueConnection(nullptr);
    }

    void aFileThatIsNoCatalogueIsRefusedAtOpen_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no detail table") << "no-detail-table.mdb" << "it has no table 'Fluid_Detail'.";
        // TALVEX.mdb with Fluid_Main's field OwnerProcess renamed OwnerFlagged.
        QTest::newRow("main table without a field")
            << "main-table-without-owner-process.mdb"
            << "table 'Fluid_Main' has no field 'OwnerProcess'.";
        QTest::newRow("a database, but another one") << "nwind-real-world.mdb"
                                                      << "it has no table 'Fluid_Main'.";
    }

    void aFileThatIsNoCatalogueIsRefusedAtOpen()
    {
        QFETCH(QString, file);
        QFETCH(QString, reason);
        const QString path = DataFile(file);
        const auto opened = OpenCatalogueConnection(session_, QString(), QString(), true, true, path);
        QCOMPARE(opened.error(),
                 QStringLiteral("The database '%1' is not a catalogue: ").arg(path) + reason);
        QVERIFY(session_.connection && !session_.connection->isOpen());
        // The engine itself still opens any Access file.
        QVERIFY(OpenDataFile(file)->isOpen());
    }

    void aSemicolonInThePathBreaksTheString()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("a;b/Database")));
        const QString inside = folder.filePath(QStringLiteral("a;b/Database/TALVEX.mdb"));
        QVERIFY(QFile::copy(DataFile(QStringLiteral("TALVEX.mdb")), inside));
        QVERIFY(!OpenCatalogueConnection(session_, QString(), QString(), true, true, inside).ok());

        // Where the cut path names a file, that other file is what opens.
        const QString decoy = folder.filePath(QStringLiteral("a"));
        QVERIFY(QFile::copy(DataFile(QStringLiteral("edge-text.mdb")), decoy));
        QCOMPARE(OpenCatalogueConnection(session_, QString(), QString(), true, true, inside).value(),
                 ConnectionOpening::Opened);
        RecordingList series;
        QVERIFY(FillSeriesList(session_.connection.get(), series).ok());
        QVERIFY(series.items.contains(QStringLiteral("O'K")));
    }

    void openRecordsetReportsAndClearsFailures()
    {
        auto noDetail = OpenDataFile(QStringLiteral("no-detail-table.mdb"));
        Recordset recordset;
        QString error = QStringLiteral("stale");
        QVERIFY(OpenRecordset("SELECT DISTINCT STYLE FROM Fluid_Main", noDetail.get(), recordset,
                              error));
        QCOMPARE(error, QString(""));
        QVERIFY(recordset.isOpen());
        QCOMPARE(recordset.cursorLocation, 3);
        QCOMPARE(recordset.lockType, 3);
        QCOMPARE(recordset.options, 1);

        QVERIFY(!OpenRecordset("SELECT DISTINCT DiaSpec FROM Fluid_Detail", noDetail.get(),
                               recordset, error));
        QCOMPARE(error, QStringLiteral("no such table: Fluid_Detail"));
        QVERIFY(!recordset.isOpen());  // the open recordset was replaced by a new one
        QCOMPARE(recordset.cursorLocation, 3);
        QCOMPARE(recordset.lockType, 3);
        QVERIFY_THROWS_EXCEPTION(CatalogueError, recordset.eof());

        QVERIFY(!OpenRecordset("SELECT Missing FROM Fluid_Main", noDetail.get(), recordset, error));
        QCOMPARE(error, QStringLiteral("no such column: Missing"));
        QVERIFY(!OpenRecordset("SELECT FROM WHERE", noDetail.get(), recordset, error));
        QVERIFY(error.contains(QStringLiteral("syntax error")));

        QVERIFY(OpenRecordset("SELECT Style FROM Fluid_Main", noDetail.get(), recordset, error));
        QCOMPARE(error, QString(""));

        Connection neverOpened;
        QVERIFY(!OpenRecordset("SELECT Style FROM Fluid_Main", &neverOpened, recordset, error));
        QCOMPARE(error, QStringLiteral("Operation is not allowed when the object is closed."));
        QVERIFY(!OpenRecordset("SELECT Style FROM Fluid_Main", nullptr, recordset, error));
        QCOMPARE(error, QStringLiteral("Operation is not allowed when the object is closed."));
    }

    void aRecordsetWalksForwardAndNamesFieldsWithoutCase()
    {
        auto talvex = OpenDataFile(QStringLiteral("TALVEX.mdb"));
        Recordset recordset;
        QString error;
        QVERIFY(OpenRecordset("SELECT SortID, MinValue, MaxValue,ProcessID FROM Fluid_Detail "
                              "where Style='TA' AND StyleDetail='TAA' AND DiaSpec='20' "
                              "Order By SortID",
                              talvex.get(), recordset, error));
        QVERIFY(!recordset.eof());
        QCOMPARE(recordset.field("sortid").toText(), QStringLiteral("1"));
        QCOMPARE(recordset.field("MINVALUE").toText(), QStringLiteral("5"));
        QCOMPARE(recordset.field("processId").toText(), QStringLiteral("1"));
        QVERIFY_THROWS_EXCEPTION(CatalogueError, recordset.field("FileName"));
        recordset.moveNext();
        QCOMPARE(recordset.field("MaxValue").toText(), QStringLiteral("600"));
        recordset.moveNext();
        QVERIFY(recordset.eof());
        QVERIFY_THROWS_EXCEPTION(CatalogueError, recordset.field("SortID"));
        QVERIFY_THROWS_EXCEPTION(CatalogueError, recordset.moveNext());
        recordset.close();
        QVERIFY(!recordset.isOpen());

        Connection again;
        const QString connectionString = BuildConnectionString("", "", true, DataFile("TALVEX.mdb"));
        again.open(connectionString, QString(), QString(), -1);
        QVERIFY_THROWS_EXCEPTION(CatalogueError,
                                 again.open(connectionString, QString(), QString(), -1));
        again.close();
        QVERIFY_THROWS_EXCEPTION(CatalogueError, again.close());
    }
};

QTEST_GUILESS_MAIN(CatalogueConnectionTest)
#include "test_catalogue_connection.moc"
