// SPDX-License-Identifier: MIT
// The checks of the generate button, with their messages, in the real window.
#include "window_fixture.h"
#include <QTest>

using testing::WindowFixture;

namespace {

const QString DriveMessage = QStringLiteral("光碟片有誤CD-ROM ERROR");
const QString OutOfRange = QStringLiteral("您所輸入的行程不符合範圍條件值\r\nInput Error");
const QString QueryFailed = QStringLiteral("讀取型錄資料失敗\r\nCannot read the catalogue: not authorized");

} // namespace

class WindowCheckInputTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<WindowFixture> fixture;
    app::frmMain* w = nullptr;

    // Presses the generate button and returns the one message it showed.
    QString generate()
    {
        fixture->messages.shown.clear();
        QTest::mouseClick(w->Command2, Qt::LeftButton);
        if (fixture->messages.shown.size() != 1)
            return QStringLiteral("<%1 messages>").arg(fixture->messages.shown.size());
        return fixture->messages.shown.first().text;
    }

    void type(app::StrokeBox* box, const QString& text)
    {
        WindowFixture::enterStroke(box, text);
        QCOMPARE(box->text(), text);
    }

private slots:
    void init()
    {
        fixture = std::make_unique<WindowFixture>();
        QVERIFY(fixture->copyCatalogue());
        QVERIFY(fixture->start());
        w = &fixture->window();
    }

    void cleanup() { fixture.reset(); }

    void selectionsAreCheckedInOrder()
    {
        QCOMPARE(generate(), QStringLiteral("請選擇機種。\r\nPlease select Series"));
        const auto& message = fixture->messages.shown.first();
        QCOMPARE(message.title, QStringLiteral("錯誤"));
        QCOMPARE(message.icon, messages::MessageBoxRequest::Icon::Critical);
        QVERIFY(fixture->pick(w->cboItem, "AX"));
        QCOMPARE(generate(), QStringLiteral("請選擇型式。\r\nPlease select Type"));
        QVERIFY(fixture->pick(w->cboStyle, "AXN"));
        QCOMPARE(generate(), QStringLiteral("請選擇內徑。\r\nPlease select Bore"));
        QCOMPARE(fixture->tray.doorOpened, 0);
    }

    void strokeMustBeANonzeroPlainNumber_data()
    {
        QTest::addColumn<QString>("stroke");
        for (const char* s : {"abc", "", "   ", "0", "0.0", "1,5", "1e2", "0x10", "$5", "5."})
            QTest::newRow(s) << QString::fromLatin1(s);
    }

    void strokeMustBeANonzeroPlainNumber()
    {
        QFETCH(QString, stroke);
        QVERIFY(fixture->choose("AX", "AXN", "50"));
        type(w->txtData, stroke);
        QCOMPARE(generate(), QStringLiteral("請輸入非零之數值型態。\r\nPlease Input Nonzero Number"));
    }

    void firstStrokeAgainstItsRanges_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("bore");
        QTest::addColumn<QString>("stroke");
        QTest::addColumn<bool>("admitted");
        QTest::newRow("lower bound") << "AXN" << "50" << "5" << true;
        QTest::newRow("upper bound") << "AXN" << "50" << "500" << true;
        QTest::newRow("below") << "AXN" << "50" << "4.5" << false;
        QTest::newRow("above") << "AXN" << "50" << "500.5" << false;
        QTest::newRow("range compared as number") << "AXN" << "50" << " 250.00 " << true;
        QTest::newRow("single value") << "QRU" << "12" << "75" << true;
        QTest::newRow("single value as text") << "QRU" << "12" << "75.0" << false;
        QTest::newRow("single value with blank") << "QRU" << "12" << " 75" << false;
        QTest::newRow("between single values") << "QRU" << "12" << "60" << false;
    }

    void firstStrokeAgainstItsRanges()
    {
        QFETCH(QString, type);
        QFETCH(QString, bore);
        QFETCH(QString, stroke);
        QFETCH(bool, admitted);
        QVERIFY(fixture->choose(type == "AXN" ? "AX" : "QR", type, bore));
        this->type(w->txtData, stroke);
        // A stroke that passes goes on to staging, which finds no drawing folder here.
        QCOMPARE(generate(), admitted ? DriveMessage
                                      : QStringLiteral("您所輸入的行程不符合範圍條件值\r\nInput Error"));
    }

    void secondStrokeIsCheckedWhenShown()
    {
        QVERIFY(fixture->choose("UMO", "UMO_D", "20"));
        type(w->txtData, "50");
        type(w->txtData1, "xyz");
        QCOMPARE(generate(), QStringLiteral("請輸入非零之數值型態。\r\nPlease Input Nonzero Number"));
        type(w->txtData1, "151");
        QCOMPARE(generate(), QStringLiteral("您所輸入的行程2不符合範圍條件值\r\nInput Error"));
        type(w->txtData, "301");  // both outside: only the first is reported
        QCOMPARE(generate(), QStringLiteral("您所輸入的行程不符合範圍條件值\r\nInput Error"));
        type(w->txtData, "300");
        type(w->txtData1, "150");
        QCOMPARE(generate(), DriveMessage);
    }

    void hiddenSecondStrokeIsNotChecked()
    {
        // TAA has no second stroke; the hidden box is neither a number nor in range.
        QVERIFY(fixture->choose("TA", "TAA", "20"));
        QVERIFY(!w->txtData1->isVisible());
        w->txtData1->setText(QStringLiteral("not a number"));
        type(w->txtData, "50");
        QCOMPARE(generate(), DriveMessage);
    }

    void fixedStrokesSkipTheNumberAndRangeChecks()
    {
        // Only the stroke 1 is admitted, but the catalogue keeps the boxes at "0".
        QVERIFY(fixture->choose("HMN", "SLG_N", "F01"));
        QCOMPARE(w->txtInfo->text(), QStringLiteral("1"));
        QVERIFY(w->txtData->locked());
        QCOMPARE(generate(), DriveMessage);
    }

    void failedCheckChangesNothing()
    {
        QVERIFY(fixture->choose("AX", "AXN", "50"));
        type(w->txtData, "9999");
        w->txtData->setFocus();
        QCOMPARE(generate(), QStringLiteral("您所輸入的行程不符合範圍條件值\r\nInput Error"));
        QCOMPARE(w->txtData->text(), QStringLiteral("9999"));
        QCOMPARE(w->txtInfo->text(), QStringLiteral("5-500"));
        QCOMPARE(w->cboDia->currentText(), QStringLiteral("50"));
        QCOMPARE(fixture->tray.doorOpened, 0);
    }

    // A list whose fill failed must not keep the items and pick of an earlier
    // selection: the Type and Bore would pass the checks under the new Series.
    void failedListFillLeavesNothingToGenerate()
    {
        QVERIFY(fixture->choose("UMO", "UMO_D", "20"));
        fixture->messages.shown.clear();
        fixture->failNextQueries(1);  // the Type list of the next Series
        QVERIFY(fixture->pick(w->cboItem, "AX"));
        QCOMPARE(fixture->messages.shown.size(), 1);
        QCOMPARE(fixture->messages.shown.first().text, QueryFailed);
        QCOMPARE(w->cboStyle->count(), 0);
        QCOMPARE(w->cboDia->count(), 0);
        QVERIFY(w->txtData->locked());
        QCOMPARE(generate(), QStringLiteral("請選擇型式。\r\nPlease select Type"));

        QVERIFY(fixture->choose("UMO", "UMO_D", "20"));
        fixture->failNextQueries(1);  // the Bore list of the next Type
        QVERIFY(fixture->pick(w->cboStyle, "UMO_S"));
        QVERIFY(w->cboStyle->count() > 0);
        QCOMPARE(w->cboDia->count(), 0);
        QCOMPARE(generate(), QStringLiteral("請選擇內徑。\r\nPlease select Bore"));
        QCOMPARE(fixture->tray.doorOpened, 0);
    }

    // Empty range boxes admit any stroke, so ranges that could not be read
    // refuse the generate command until a Bore is chosen again.
    void failedRangeQueryRefusesGenerateUntilANewBore()
    {
        QVERIFY(fixture->pick(w->cboItem, "AX"));
        QVERIFY(fixture->pick(w->cboStyle, "AXN"));
        fixture->messages.shown.clear();
        fixture->failNextQueries(1);  // the range texts
        QVERIFY(fixture->pick(w->cboDia, "50"));
        QCOMPARE(fixture->messages.shown.size(), 1);
        QCOMPARE(fixture->messages.shown.first().text, QueryFailed);
        QCOMPARE(w->txtInfo->text(), QString());
        type(w->txtData, "9999");
        QCOMPARE(generate(), QueryFailed);
        type(w->txtData, "100");
        QCOMPARE(generate(), QueryFailed);

        QVERIFY(fixture->pick(w->cboDia, "50"));
        QCOMPARE(w->txtInfo->text(), QStringLiteral("5-500"));
        type(w->txtData, "9999");
        QCOMPARE(generate(), OutOfRange);
        type(w->txtData, "100");
        QCOMPARE(generate(), DriveMessage);
    }
};

QTEST_MAIN(WindowCheckInputTest)
#include "test_window_check_input.moc"
