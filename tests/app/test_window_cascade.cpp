// SPDX-License-Identifier: MIT
// The road from a Series to a Bore in the real window on the sample catalogue.
#include "window_fixture.h"
#include <QTest>

using testing::Items;
using testing::WindowFixture;

namespace {

const QColor LockedYellow(255, 255, 192);

QColor WindowBackground()
{
    return QPalette().color(QPalette::Base);
}

void VerifyStrokeBoxes(const app::frmMain& w, bool locked)
{
    for (auto* box : {w.txtData, w.txtData1}) {
        QCOMPARE(box->text(), QStringLiteral("0"));
        QCOMPARE(box->locked(), locked);
        QCOMPARE(box->backColor(), locked ? LockedYellow : WindowBackground());
    }
}

} // namespace

class WindowCascadeTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<WindowFixture> fixture;
    app::frmMain* w = nullptr;

private slots:
    void init()
    {
        fixture = std::make_unique<WindowFixture>();
        QVERIFY(fixture->copyCatalogue());
        QVERIFY(fixture->start());
        fixture->messages.shown.clear();  // the missing default files
        w = &fixture->window();
    }

    void cleanup() { fixture.reset(); }

    void seriesShowsTheTypeStepOnly()
    {
        QVERIFY(fixture->pick(w->cboItem, "UMO"));
        QCOMPARE(w->Label1->tag(), QStringLiteral("UMO"));
        QCOMPARE(w->Label1->caption(), QStringLiteral("機種Series:UMO"));
        QVERIFY(w->Label2->isVisible() && w->cboStyle->isVisible());
        QVERIFY(!w->Label3->isVisible() && !w->cboDia->isVisible());
        QVERIFY(!w->txtData1->isVisible() && !w->Frame6->isVisible());
        QStringList types = Items(w->cboStyle);
        types.sort();
        QCOMPARE(types, QStringList({"UMO_D", "UMO_D_F", "UMO_S", "UMO_S_F"}));
        QCOMPARE(w->cboStyle->currentIndex(), -1);
        QCOMPARE(w->Label3->caption(), QStringLiteral("內徑Bore"));
        VerifyStrokeBoxes(*w, true);
        QVERIFY(fixture->messages.shown.isEmpty());
    }

    void typeShowsTheBoreStepAndTheSecondStrokeWhenItHasOne()
    {
        QVERIFY(fixture->pick(w->cboItem, "UMO"));
        QVERIFY(fixture->pick(w->cboStyle, "UMO_S"));
        QCOMPARE(w->Label2->tag(), QStringLiteral("UMO_S"));
        QCOMPARE(w->Label2->caption(), QStringLiteral("型式Type:UMO_S"));
        QVERIFY(w->Label3->isVisible() && w->cboDia->isVisible());
        QCOMPARE(w->cboDia->currentIndex(), -1);
        QVERIFY(w->cboDia->count() > 0);
        QVERIFY(!w->txtData1->isVisible() && !w->Frame6->isVisible());
        VerifyStrokeBoxes(*w, true);

        QVERIFY(fixture->pick(w->cboStyle, "UMO_D"));
        QVERIFY(w->txtData1->isVisible() && w->Frame6->isVisible());
        VerifyStrokeBoxes(*w, true);

        QVERIFY(fixture->pick(w->cboStyle, "UMO_S_F"));
        QVERIFY(!w->txtData1->isVisible() && !w->Frame6->isVisible());
    }

    void boreBuildsRangesAndUnlocksTypedStrokes()
    {
        QVERIFY(fixture->choose("UMO", "UMO_D", "20"));
        QCOMPARE(w->txtInfo->text(), QStringLiteral("10-300"));
        QCOMPARE(w->txtInfo1->text(), QStringLiteral("5-150"));
        VerifyStrokeBoxes(*w, false);
        QTest::keyClicks(w->txtData, "5");
        QCOMPARE(w->txtData->text(), QStringLiteral("05"));

        QVERIFY(fixture->choose("QR", "QRU", "12"));
        QCOMPARE(w->txtInfo->text(), QStringLiteral("25;50;75;100"));
        QVERIFY(!w->txtData1->isVisible());
    }

    void strokesFixedByTheCatalogueStayLocked()
    {
        QVERIFY(fixture->choose("HMN", "SLG_N", "F01"));
        QCOMPARE(w->txtInfo->text(), QStringLiteral("1"));
        VerifyStrokeBoxes(*w, true);
        QTest::keyClicks(w->txtData, "7");
        QCOMPARE(w->txtData->text(), QStringLiteral("0"));
    }

    void newSeriesHidesTheLaterStepsAndKeepsTheOldType()
    {
        QVERIFY(fixture->choose("UMO", "UMO_D", "20"));
        QVERIFY(fixture->pick(w->cboItem, "ZQ"));
        QCOMPARE(w->txtInfo->text(), QString());
        QCOMPARE(w->txtInfo1->text(), QStringLiteral("5-150"));  // kept until a Bore is chosen
        QVERIFY(!w->cboDia->isVisible() && !w->Label3->isVisible());
        QVERIFY(!w->txtData1->isVisible() && !w->Frame6->isVisible());
        QCOMPARE(w->Label2->caption(), QStringLiteral("型式Type:UMO_D"));
        QCOMPARE(w->Label2->tag(), QStringLiteral("UMO_D"));
        QCOMPARE(Items(w->cboDia).size() > 0, true);  // hidden, not emptied
        VerifyStrokeBoxes(*w, true);

        // A Type with a second stroke after another one shows the old text until a Bore.
        QVERIFY(fixture->pick(w->cboStyle, "ZQC_YH"));
        QCOMPARE(w->txtInfo1->text(), QStringLiteral("5-150"));
        QVERIFY(fixture->pick(w->cboDia, "16"));
        QCOMPARE(w->txtInfo->text(), QStringLiteral("10-300"));
        QCOMPARE(w->txtInfo1->text(), QStringLiteral("5-150"));
    }

    void pickingTheSameTypeAgainRefillsTheBoreStep()
    {
        QVERIFY(fixture->choose("UMO", "UMO_S", "20"));
        QVERIFY(fixture->pick(w->cboItem, "UMO"));
        QVERIFY(!w->cboDia->isVisible());
        QVERIFY(fixture->pick(w->cboStyle, "UMO_S"));
        QVERIFY(w->cboDia->isVisible());
        QCOMPARE(w->cboDia->currentIndex(), -1);
    }

    void boreLabelPromptFollowsTheSeries()
    {
        for (const char* code : {"HMN", "UJ"}) {
            QVERIFY(fixture->pick(w->cboItem, code));
            QCOMPARE(w->Label3->caption(), QStringLiteral("特徵編號Features"));
        }
        QVERIFY(fixture->pick(w->cboItem, "AX"));
        QCOMPARE(w->Label3->caption(), QStringLiteral("內徑Bore"));
    }

    void labelsReactToEveryCaptionAssignment()
    {
        QVERIFY(fixture->choose("AX", "AXN", "50"));
        int reactions = 0;
        connect(w->Label3, &app::TaggedLabel::changed, this, [&] { ++reactions; });
        w->Label3->setCaption(w->Label3->caption());
        QCOMPARE(reactions, 1);
        QCOMPARE(w->txtData->text(), QString());  // its reaction empties the strokes
    }

    void failedQueryIsReportedAndKeepsTheLists()
    {
        // A catalogue without its tables is refused at start-up, so the
        // queries are made to fail by losing the connection under the window.
        QVERIFY(fixture->pick(w->cboItem, w->cboItem->itemText(0)));
        fixture->catalogue.connection->close();
        fixture->messages.shown.clear();
        QVERIFY(fixture->pick(w->cboStyle, w->cboStyle->itemText(0)));
        QVERIFY(!fixture->messages.shown.isEmpty());
        const auto& message = fixture->messages.shown.first();
        QCOMPARE(message.text, QStringLiteral("讀取型錄資料失敗\r\nCannot read the catalogue: "
                                              "Operation is not allowed when the object is closed."));
        QCOMPARE(message.title, QStringLiteral("錯誤"));
        QCOMPARE(message.icon, messages::MessageBoxRequest::Icon::Critical);
        QVERIFY(w->cboStyle->count() > 0);
        QCOMPARE(w->cboDia->count(), 0);
    }

    void tabOrderSkipsHiddenControls()
    {
        w->cboItem->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w->txtData);
        w->cboItem->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), w->Command3);

        QVERIFY(fixture->choose("UMO", "UMO_D", "20"));
        w->cboItem->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w->cboStyle);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w->txtData);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w->txtData1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // the range boxes are display only
        QCOMPARE(QApplication::focusWidget(), w->rtbData);
        w->cboItem->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), w->cboDia);
    }
};

QTEST_MAIN(WindowCascadeTest)
#include "test_window_cascade.moc"
