// SPDX-License-Identifier: MIT
// Damaged and crafted catalogue files, each kept in tests/data/damaged/: every
// one is refused with its reason or loads whole, never a crash, a hang or a
// catalogue with rows missing. All were made from TALVEX.mdb (one from
// demo-access2003.mdb) by patching the bytes named beside each case (Jet 4:
// pages of 4096 bytes; in TALVEX.mdb Fluid_Main is defined on page 24 with
// its rows on page 30, Fluid_Detail on page 27 with its rows on pages 32 and
// 34 to 37).
#include "catalogue/access_date.h"
#include "catalogue/catalogue_error.h"
#include "catalogue/load_limits.h"
#include "catalogue_fixtures.h"
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <limits>

using namespace catalogue;
using namespace catalogue_test;

namespace {

QString Damaged(const QString& name)
{
    return DataFile(QStringLiteral("damaged/") + name);
}

// The description the connection fails with, or "" when the file loaded.
QString LoadFailure(const QString& path)
{
    Connection connection;
    try {
        connection.open(BuildConnectionString(QString(), QString(), true, path), QString(),
                        QString(), -1);
    } catch (const CatalogueError& failure) {
        return connection.isOpen() ? QStringLiteral("open after failure") : failure.description();
    }
    return QString();
}

// Patches written over a copy of a file: little-endian 32-bit values at byte offsets.
using Patches = QList<std::pair<qsizetype, quint32>>;

QByteArray Patched(const QString& source, const Patches& patches)
{
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(source));
    QByteArray bytes = file.readAll();
    for (const auto& [offset, value] : patches)
        qToLittleEndian(value, bytes.data() + offset);
    return bytes;
}

QString DateOf(double days)
{
    const std::optional<DateText> text = AccessDateText(days);
    return text ? QString::fromLatin1(text->text) : QStringLiteral("null");
}

} // namespace

class CatalogueDamageTest : public QObject {
    Q_OBJECT

private slots:
    void damagedFilesAreRefusedWithTheirReason_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        // Page 32, row offsets 10 and 11 set to 0x4000 and 0: row 11 has no
        // bytes and starts at offset 0, where mdb_crack_row's end offset wraps
        // round (SIGSEGV); row 10 is deleted and row 12 now ends before it starts.
        QTest::newRow("row of size 0")
            << "zero-size-row.mdb" << "table 'Fluid_Detail' counts 241 rows, but 238 can be read";
        // Fluid_Main's definition rewritten to declare 300 fields (its six, then
        // Text fields Extra006 to Extra299 that no row holds), running on over
        // two appended pages: libmdb split every row into a 300-field array
        // sized for 256 ("double free or corruption").
        QTest::newRow("300 fields")
            << "too-many-columns.mdb"
            << "table 'Fluid_Main' declares 300 fields, where Access allows 1 to 255";
        // Remark of Fluid_Main declared a Memo (column entry type 12), null in
        // every row but ID 4, whose value became a 16-byte memo stored on other
        // pages: row 0 of an appended page, whose only 4 bytes name that same
        // row as the next link. libmdb's memo reader looped for ever.
        QTest::newRow("memo chain loop")
            << "memo-chain-loop.mdb" << "a memo value of table 'Fluid_Main' links back into itself";
        // The file cut after page 33: Fluid_Detail's pages 34 to 37 are gone
        // (it opened with 49 of the 241 ranges).
        QTest::newRow("cut at a page boundary")
            << "cut-at-page-boundary.mdb" << "table 'Fluid_Detail' counts 241 rows, but 49 can be read";
        // Fluid_Detail's page map made empty: its definition (page 27, offset
        // 55) names row 1 of page 28 as the map, and that row's start (page 28,
        // offset 16) was set to row 0's, leaving it no bytes. libmdb keeps no
        // copy of an empty map, then reads the copy it lacks (SIGSEGV).
        // libmdb 1.0.1, which the Windows build carries, already refuses the
        // table's definition; Debian's 1.0.0 reads it and we refuse the map.
        QTest::newRow("empty page map")
            << "empty-page-map.mdb"
#ifdef Q_OS_WIN
            << "the definition of table 'Fluid_Detail' cannot be read";
#else
            << "table 'Fluid_Detail' has an empty page map";
#endif
        // Page 35's type byte set to 0: it no longer reads as a data page of
        // Fluid_Detail (it opened with 194 of the 241 ranges).
        QTest::newRow("unreadable data page")
            << "unreadable-data-page.mdb" << "table 'Fluid_Detail' counts 241 rows, but 194 can be read";
    }

    void damagedFilesAreRefusedWithTheirReason()
    {
        QFETCH(QString, file);
        QFETCH(QString, reason);
        const QString path = Damaged(file);
        const QString expected = QStringLiteral("The database '%1' is damaged: %2.").arg(path, reason);
        QCOMPARE(LoadFailure(path), expected);

        // The start-up's routine says the same and leaves the connection closed.
        CatalogueSession session;
        const auto opened = OpenCatalogueConnection(session, QString(), QString(), true, true, path);
        QCOMPARE(opened.error(), expected);
        QVERIFY(session.connection && !session.connection->isOpen());
    }

    void memoValuesFollowTheirLinksWithinBounds_data()
    {
        // memo-two-links.mdb: TALVEX.mdb with Remark of Fluid_Main declared a
        // Memo, null in every row but ID 4, whose 12-byte memo header (at byte
        // 126734: length and kind, then page and row of the first link) names
        // row 0 of the appended LVAL page 38. Row 0 (byte 159712) links to
        // row 1 (byte 159688), which ends the chain; their text is
        // "Chained memo: " and "two links." in UTF-16, 48 bytes.
        constexpr qsizetype header = 126734, secondLink = 159688;
        constexpr quint32 firstRow = 38 << 8;
        QTest::addColumn<Patches>("patches");
        QTest::addColumn<QString>("reason");  // empty: the file loads
        QTest::newRow("as written") << Patches{} << QString();
        QTest::newRow("declared longer than the file")
            << Patches{{header, 0x00ffffff}} << "is declared longer than the whole file";
        QTest::newRow("declared shorter than its links")
            << Patches{{header, 40}} << "is longer than its header says";
        QTest::newRow("declared longer than its links")
            << Patches{{header, 60}} << "ends before the length its header declares";
        QTest::newRow("second link back to the first")
            << Patches{{secondLink, firstRow}} << "links back into itself";
        QTest::newRow("link to a page past the end")
            << Patches{{header + 4, 99 << 8}} << "points to a page the file does not hold";
        QTest::newRow("link to a row its page lacks")
            << Patches{{header + 4, firstRow | 5}} << "points to a row its page does not hold";
        QTest::newRow("kind Access never writes")
            << Patches{{header, 0x20000030}} << "is of no kind Access writes";
    }

    void memoValuesFollowTheirLinksWithinBounds()
    {
        QFETCH(Patches, patches);
        QFETCH(QString, reason);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("memo.mdb"));
        QFile file(path);
        const QByteArray bytes = Patched(DataFile(QStringLiteral("memo-two-links.mdb")), patches);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        if (!reason.isEmpty()) {
            QCOMPARE(LoadFailure(path),
                     QStringLiteral("The database '%1' is damaged: a memo value of table "
                                    "'Fluid_Main' %2.").arg(path, reason));
            return;
        }
        Connection memo;
        memo.open(BuildConnectionString(QString(), QString(), true, path), QString(), QString(), -1);
        Recordset recordset;
        QString error;
        QVERIFY2(OpenRecordset(QStringLiteral("SELECT ID, Remark FROM Fluid_Main "
                                              "WHERE Remark IS NOT NULL"),
                               &memo, recordset, error),
                 qPrintable(error));
        QVERIFY(!recordset.eof());
        QCOMPARE(recordset.field(QStringLiteral("ID")).toText(), QStringLiteral("4"));
        QCOMPARE(recordset.field(QStringLiteral("Remark")).toText(),
                 QStringLiteral("Chained memo: two links."));
        recordset.moveNext();
        QVERIFY(recordset.eof());
    }

    void memoValuesTogetherCannotOutgrowTheFile()
    {
        LoadLimits limits(QStringLiteral("/d/c.mdb"), 3 * 4096, 4096);
        QCOMPARE(limits.pages(), 3);
        limits.chargeLongValueBytes(3 * 4096 - 1, QStringLiteral("Notes"));
        limits.chargeLongValueBytes(1, QStringLiteral("Notes"));
        try {
            limits.chargeLongValueBytes(1, QStringLiteral("Notes"));
            QFAIL("a byte more than the file holds was accepted");
        } catch (const CatalogueError& failure) {
            QCOMPARE(failure.description(),
                     QStringLiteral("The database '/d/c.mdb' is damaged: the memo values of table "
                                    "'Notes' add up to more than the file holds."));
        }
    }

    void objectPropertiesAreNeverParsed()
    {
        // demo-access2003.mdb with the first record of a system table's
        // property blob ("MR2" at byte 59335, in an MSysObjects row on page
        // 14) given length 0: libmdb's catalogue reader parsed it for ever.
        // The loader reads no properties, so the file loads whole.
        auto file = OpenDataFile(QStringLiteral("damaged/object-properties-loop.mdb"));
        for (const auto& [table, rows] : {std::pair{"Fluid_Main", 26}, {"Fluid_Detail", 241}}) {
            Recordset recordset;
            QString error;
            QVERIFY2(OpenRecordset(QStringLiteral("SELECT COUNT(*) AS n FROM %1").arg(table),
                                   file.get(), recordset, error),
                     qPrintable(error));
            QCOMPARE(recordset.field(QStringLiteral("n")).toText(), QString::number(rows));
        }
    }

    void datesAccessCannotHoldLoadAsNull()
    {
        // MinValue of Fluid_Detail declared a Date/Time (column entry type 8),
        // so its Doubles read as days since 1899-12-30; rows ID 1 to 6 were
        // given NaN, -1.5, 0, 2958465.5, 1e7 and +infinity.
        auto dates = OpenDataFile(QStringLiteral("damaged/dates-out-of-range.mdb"));
        const QList<std::pair<int, QString>> expected{
            {1, "null"},
            {2, "null"},
            {3, "1899-12-30 00:00:00"},
            {4, "9999-12-31 12:00:00"},
            {5, "null"},
            {6, "null"},
            {7, "1900-01-04 00:00:00"},  // untouched: 5 days
            {9, "1900-04-10 00:00:00"},  // untouched: 101 days
        };
        for (const auto& [id, text] : expected) {
            Recordset recordset;
            QString error;
            QVERIFY2(OpenRecordset(QStringLiteral("SELECT MinValue FROM Fluid_Detail WHERE ID = %1")
                                       .arg(id),
                                   dates.get(), recordset, error),
                     qPrintable(error));
            QVERIFY(!recordset.eof());
            const FieldValue value = recordset.field(QStringLiteral("MinValue"));
            QCOMPARE(value.isNull() ? QStringLiteral("null") : value.toText(), text);
        }
    }

    void dateTextCoversExactlyTheDatesAccessHolds()
    {
        QCOMPARE(DateOf(0.0), QStringLiteral("1899-12-30 00:00:00"));
        QCOMPARE(DateOf(-0.0), QStringLiteral("1899-12-30 00:00:00"));
        QCOMPARE(DateOf(0.75), QStringLiteral("1899-12-30 18:00:00"));
        QCOMPARE(DateOf(36585.5), QStringLiteral("2000-02-29 12:00:00"));
        QCOMPARE(DateOf(36585.0 + 86399.4 / 86400.0), QStringLiteral("2000-02-29 23:59:59"));
        // half a second before midnight rounds into the next day, not to 24:00:00
        QCOMPARE(DateOf(36585.0 + 86399.6 / 86400.0), QStringLiteral("2000-03-01 00:00:00"));
        QCOMPARE(DateOf(2958465.0 + 86399.0 / 86400.0), QStringLiteral("9999-12-31 23:59:59"));

        const double infinity = std::numeric_limits<double>::infinity();
        for (double outside : {-1e-9, -1.5, -infinity, std::nan(""), 2958466.0, 1e7, 1e300,
                               infinity, 2958465.0 + 86399.8 / 86400.0})
            QVERIFY2(!AccessDateText(outside), qPrintable(QString::number(outside, 'g', 17)));
    }
};

QTEST_GUILESS_MAIN(CatalogueDamageTest)
#include "test_catalogue_damage.moc"
