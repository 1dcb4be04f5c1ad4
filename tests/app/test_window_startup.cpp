// SPDX-License-Identifier: MIT
// Start-up, activation and closing of the window on a temporary install root.
#include "catalogue/connection.h"
#include "window_fixture.h"
#include <QTest>

using testing::WindowFixture;

namespace {

const QByteArray DefaultDocument = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Default description\\par}";

} // namespace

class WindowStartupTest : public QObject {
    Q_OBJECT
private slots:
    void startsInTheEmptySelectionState()
    {
        WindowFixture fixture;
        QVERIFY(fixture.copyCatalogue());
        QVERIFY(fixture.writeFile(QStringLiteral("Docs/default.rtf"), DefaultDocument));
        QVERIFY(fixture.writeFile(QStringLiteral("Docs/default.jpg"), testing::Jpeg(400, 300)));
        QVERIFY(fixture.start());
        auto& w = fixture.window();

        QCOMPARE(w.windowTitle(), QStringLiteral("3D TALVEX 2017"));
        QStringList series = testing::Items(w.cboItem);
        series.sort();
        QCOMPARE(series, QStringList({"AX", "HMN", "QR", "TA", "UJ", "UMO", "XUF", "YQ", "ZQ"}));
        for (auto* combo : {w.cboItem, w.cboStyle, w.cboDia}) {
            QCOMPARE(combo->currentIndex(), -1);
            QCOMPARE(combo->currentText(), QString());
            QVERIFY(!combo->isEditable());
        }
        for (QWidget* hidden : std::initializer_list<QWidget*>{w.Label2, w.cboStyle, w.Label3, w.cboDia,
                                                               w.Frame6, w.txtData1})
            QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
        for (auto* box : {w.txtData, w.txtData1}) {
            QCOMPARE(box->text(), QStringLiteral("0"));
            QVERIFY(box->locked());
            QCOMPARE(box->backColor(), QColor(255, 255, 192));
        }
        QVERIFY(w.txtInfo->locked());
        QCOMPARE(w.txtInfo->text(), QString());
        QVERIFY(!w.txtInfo->isEnabled());
        QCOMPARE(QApplication::focusWidget(), w.cboItem);
        QCOMPARE(w.rtbData->toPlainText().trimmed(), QStringLiteral("Default description"));
        QCOMPARE(w.Image1->pixmap().size(), QSize(400, 300));
        QCOMPARE(w.Image1->size(), QSize(400, 300));
        QVERIFY(fixture.messages.shown.isEmpty());
    }

    void missingDefaultFilesAreNamedAndTheWindowGoesOn()
    {
        WindowFixture fixture;
        QVERIFY(fixture.copyCatalogue());
        QVERIFY(fixture.writeFile(QStringLiteral("Docs/default.jpg"), "not a picture"));
        QVERIFY(fixture.start());
        const auto& shown = fixture.messages.shown;
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].text, QStringLiteral("無法開啟檔案\r\nCannot open the file: ")
                                    + QDir::toNativeSeparators(fixture.rootPath("Docs/default.rtf")));
        QCOMPARE(shown[1].text, QStringLiteral("無法開啟檔案\r\nCannot open the file: ")
                                    + QDir::toNativeSeparators(fixture.rootPath("Docs/default.jpg")));
        QCOMPARE(shown[0].title, QStringLiteral("錯誤"));
        QCOMPARE(shown[0].icon, messages::MessageBoxRequest::Icon::Critical);
        QVERIFY(fixture.window().isVisible());
        QCOMPARE(fixture.window().cboItem->count(), 9);
    }

    void activationRunsOnce()
    {
        WindowFixture fixture;
        QVERIFY(fixture.copyCatalogue());
        QVERIFY(fixture.start());
        QCOMPARE(fixture.messages.shown.size(), 2);  // the two default files
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        fixture.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&fixture.window()));
        QCOMPARE(fixture.messages.shown.size(), 2);
    }

    void catalogueThatCannotOpenEndsTheStartUp_data()
    {
        QTest::addColumn<QByteArray>("content");  // written as the catalogue, or else
        QTest::addColumn<QString>("sample");      // a test file copied in as the catalogue
        QTest::addColumn<QString>("reason");      // %1: the catalogue path
        QTest::newRow("missing") << QByteArray() << QString() << "Could not find file '%1'.";
        QTest::newRow("not a database")
            << QByteArray("plain text, no database here\n").repeated(200) << QString()
            << "Unrecognized database format '%1'.";
        QTest::newRow("damaged")
            << QByteArray() << "damaged/cut-at-page-boundary.mdb"
            << "The database '%1' is damaged: table 'Fluid_Detail' counts 241 rows, but 49 can be read.";
        QTest::newRow("not a catalogue")
            << QByteArray() << "no-detail-table.mdb"
            << "The database '%1' is not a catalogue: it has no table 'Fluid_Detail'.";
    }

    void catalogueThatCannotOpenEndsTheStartUp()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, sample);
        QFETCH(QString, reason);
        WindowFixture fixture;
        if (!content.isEmpty())
            QVERIFY(fixture.writeFile(QStringLiteral("Database/TALVEX.mdb"), content));
        if (!sample.isEmpty())
            QVERIFY(fixture.copyCatalogue(sample));
        QVERIFY(!fixture.start());
        QCOMPARE(fixture.messages.shown.size(), 1);
        const auto& message = fixture.messages.shown.first();
        const QString path = QDir::toNativeSeparators(fixture.rootPath("Database/TALVEX.mdb"));
        QCOMPARE(message.text, QStringLiteral("無法開啟型錄資料庫\r\nCannot open the catalogue database: ")
                                   + path + QStringLiteral("\r\n") + reason.arg(path));
        QCOMPARE(message.title, QStringLiteral("錯誤"));
        QCOMPARE(message.icon, messages::MessageBoxRequest::Icon::Critical);
        QVERIFY(!fixture.window().isVisible());
        QVERIFY(!fixture.catalogue.connection || !fixture.catalogue.connection->isOpen());
    }

    void closingByEitherWayClosesTheCatalogue_data()
    {
        QTest::addColumn<bool>("byExitButton");
        QTest::newRow("close box") << false;
        QTest::newRow("exit button") << true;
    }

    void closingByEitherWayClosesTheCatalogue()
    {
        QFETCH(bool, byExitButton);
        WindowFixture fixture;
        QVERIFY(fixture.copyCatalogue());
        QVERIFY(fixture.start());
        QVERIFY(fixture.pick(fixture.window().cboItem, QStringLiteral("AX")));
        QVERIFY(fixture.catalogue.connection->isOpen());
        if (byExitButton)
            QTest::mouseClick(fixture.window().Command1, Qt::LeftButton);
        else
            QVERIFY(fixture.window().close());
        QVERIFY(!fixture.window().isVisible());
        QVERIFY(!fixture.catalogue.connection->isOpen());
    }
};

QTEST_MAIN(WindowStartupTest)
#include "test_window_startup.moc"
