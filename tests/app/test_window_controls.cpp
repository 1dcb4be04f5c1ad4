// SPDX-License-Identifier: MIT
// The window's design: containment, places, texts and colours of the controls,
// and the behaviour of the window's own control classes.
#include "app/controls/scroll_bar16.h"
#include "app/screen_metrics.h"
#include "window_fixture.h"
#include <QSignalSpy>
#include <QTest>

using testing::WindowFixture;

namespace {

QRect Twips(int left, int top, int width, int height)
{
    return QRect(app::ToPixels(left), app::ToPixels(top), app::ToPixels(width), app::ToPixels(height));
}

} // namespace

class WindowControlsTest : public QObject {
    Q_OBJECT
private slots:
    void controlsStandWhereTheDesignPutsThem()
    {
        WindowFixture fixture;
        QVERIFY(fixture.copyCatalogue());
        QVERIFY(fixture.start());
        auto& w = fixture.window();
        struct Place { QWidget* control; QWidget* container; QRect rect; };
        const Place places[] = {
            {w.Frame2, &w, Twips(0, 0, 10410, 2610)},
            {w.Frame1, w.Frame2, Twips(150, 120, 5145, 1095)},
            {w.Label1, w.Frame1, Twips(30, 180, 1575, 240)},
            {w.cboItem, w.Frame1, Twips(30, 680, 1590, 315)},
            {w.Label2, w.Frame1, Twips(1650, 180, 1545, 480)},
            {w.cboStyle, w.Frame1, Twips(1650, 680, 1590, 315)},
            {w.Label3, w.Frame1, Twips(3270, 195, 1575, 240)},
            {w.cboDia, w.Frame1, Twips(3270, 680, 1850, 315)},
            {w.Frame5, w.Frame2, Twips(5280, 120, 5055, 1095)},
            {w.Label4, w.Frame5, Twips(120, 180, 2220, 240)},
            {w.txtData, w.Frame5, Twips(120, 680, 2370, 315)},
            {w.txtData1, w.Frame5, Twips(2550, 680, 2370, 330)},
            {w.Frame4, w.Frame2, Twips(5280, 1200, 5055, 1305)},
            {w.Frame3, w.Frame4, Twips(45, 120, 2445, 1065)},
            {w.txtInfo, w.Frame3, Twips(75, 240, 2300, 735)},
            {w.Frame6, w.Frame4, Twips(2520, 120, 2445, 1065)},
            {w.txtInfo1, w.Frame6, Twips(75, 240, 2300, 735)},
            {w.Command2, w.Frame2, Twips(2980, 1320, 2220, 480)},
            {w.Command1, w.Frame2, Twips(2980, 1910, 2220, 480)},
            {w.cmd_Accessories, w.Frame2, Twips(680, 1320, 2220, 650)},
            {w.Command3, w.Frame2, Twips(680, 2010, 2220, 375)},
            {w.Cmd_clear, w.Frame2, Twips(120, 1320, 495, 1065)},
            {w.Picture1, &w, Twips(0, 2640, 10455, 3370)},
            {w.rtbData, &w, Twips(0, 6040, 10420, 780)},
        };
        for (const Place& place : places) {
            QCOMPARE(place.control->parentWidget(), place.container);
            if (qobject_cast<app::TaggedLabel*>(place.control)) {
                // A label may widen into free space beside it when the
                // stand-in font needs a few pixels more for its caption.
                QCOMPARE(place.control->pos(), place.rect.topLeft());
                QCOMPARE(place.control->height(), place.rect.height());
                QVERIFY(place.control->width() >= place.rect.width());
                QVERIFY(place.control->width() <= place.rect.width() + 20);
            } else {
                QCOMPARE(place.control->geometry(), place.rect);
            }
        }
        QCOMPARE(w.Image1->parentWidget()->parentWidget(), w.Picture1);
        QCOMPARE(w.VScroll1->parentWidget(), w.Image1->parentWidget());
        QCOMPARE(w.size(), Twips(0, 0, 10440, 6840).size());
    }

    void textsPicturesAndColours()
    {
        WindowFixture fixture;
        QVERIFY(fixture.copyCatalogue());
        QVERIFY(fixture.start());
        auto& w = fixture.window();
        QCOMPARE(w.Label1->caption(), QStringLiteral("機種Series:"));
        QCOMPARE(w.Label2->caption(), QStringLiteral("型式Type:"));
        QCOMPARE(w.Label3->caption(), QStringLiteral("內徑Bore"));
        QCOMPARE(w.Label4->caption(), QStringLiteral("行程Stroke/角度Rotation"));
        QCOMPARE(w.Frame3->title(), QStringLiteral("行程範圍Range"));
        QCOMPARE(w.Frame6->title(), QStringLiteral("第二段行程範圍2nd Stroke"));
        QCOMPARE(w.Frame6->font().pointSizeF(), 9.0);
        QCOMPARE(w.font().pointSizeF(), 9.75);
        QCOMPARE(w.font().family(), QStringLiteral("新細明體"));
        const struct { app::PictureButton* button; const char* tip; QSize face; } buttons[] = {
            {w.Command2, "執行3D程式", {148, 31}},
            {w.Command1, "結束程式", {148, 31}},
            {w.cmd_Accessories, "連結配件庫", {146, 70}},
            {w.Command3, "設定LISP檔案連結問題", {148, 25}},
            {w.Cmd_clear, "清除3D TALVEX產生暫存檔", {35, 38}},
        };
        for (const auto& b : buttons) {
            QCOMPARE(b.button->toolTip(), QString::fromUtf8(b.tip));
            QCOMPARE(b.button->face().size(), b.face);
        }
        QCOMPARE(w.Image1->toolTip(), QStringLiteral("說明視窗"));
        QVERIFY(!w.windowIcon().isNull());
        QCOMPARE(w.Frame2->palette().color(QPalette::Window), QColor(192, 192, 192));
        QCOMPARE(w.Frame3->palette().color(QPalette::Window), QColor(192, 192, 255));
        QCOMPARE(w.palette().color(QPalette::Window), QColor(255, 255, 255));
        QCOMPARE(w.txtInfo->palette().color(QPalette::Disabled, QPalette::Text), QColor(255, 0, 0));
    }

    void rangeBoxKeepsItsTextExactly()
    {
        app::RangeBox box;
        box.setText(QStringLiteral("10-50\r\n60-100\r\n25;30"));
        QCOMPARE(box.text(), QStringLiteral("10-50\r\n60-100\r\n25;30"));
        QCOMPARE(box.toPlainText(), QStringLiteral("10-50\n60-100\n25;30"));
    }

    void scrollBarKeepsAMaximumBelowItsMinimum()
    {
        app::ScrollBar16 bar;
        QSignalSpy changes(&bar, &app::ScrollBar16::changed);
        bar.update([](selection::ScrollSettings& s) { s.setMaximum(-200); return false; });
        QCOMPARE(int(bar.settings().maximum()), -200);
        QVERIFY(!bar.setPosition(10));   // positive positions lie outside the span
        QVERIFY(bar.setPosition(-50));
        QCOMPARE(changes.count(), 1);
        QVERIFY(bar.setPosition(-50));   // no change, no reaction
        QCOMPARE(changes.count(), 1);
        QVERIFY(!bar.setPosition(40000));
        QCOMPARE(bar.minimum(), -200);   // the widget shows the span it can
        QCOMPARE(bar.maximum(), 0);
        QCOMPARE(bar.value(), -50);
    }

    void userMovingTheBarReportsWhereItStops()
    {
        app::ScrollBar16 bar;
        QSignalSpy changes(&bar, &app::ScrollBar16::changed);
        bar.setSliderDown(true);
        bar.setSliderPosition(300);  // dragging: nothing yet
        QCOMPARE(changes.count(), 0);
        bar.setSliderDown(false);    // released
        QCOMPARE(changes.count(), 1);
        QCOMPARE(int(bar.settings().position()), 300);
    }
};

QTEST_MAIN(WindowControlsTest)
#include "test_window_controls.moc"
