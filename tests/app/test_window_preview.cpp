// SPDX-License-Identifier: MIT
// The preview panel and the description pane in the real window.
#include "app/controls/scroll_bar16.h"
#include "app/screen_metrics.h"
#include "selection/preview_picture.h"
#include "window_fixture.h"
#include <QTest>

using testing::WindowFixture;

namespace {

QByteArray Rtf(const char* text)
{
    return QByteArray("{\\rtf1\\ansi\\ansicpg950{\\fonttbl{\\f0\\fcharset136 PMingLiU;}}\\f0 ") + text + "\\par}";
}

} // namespace

class WindowPreviewTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<WindowFixture> fixture;
    app::frmMain* w = nullptr;
    int decodes = 0;  // preview pictures decoded

    int viewportTwips() const { return int(app::ToTwips(w->Image1->parentWidget()->height())); }
    int position() const { return w->VScroll1->settings().position(); }

private slots:
    void initTestCase() { QCOMPARE(app::ScreenDpi(), 96.0); }  // 15 twips a pixel below

    void init()
    {
        fixture = std::make_unique<WindowFixture>();
        QVERIFY(fixture->copyCatalogue());
        QVERIFY(fixture->writeFile("Docs/default.rtf", Rtf("Default")));
        QVERIFY(fixture->writeFile("Docs/default.jpg", testing::Jpeg(600, 300, Qt::white)));
        QVERIFY(fixture->writeFile("Docs/AX.jpg", testing::Jpeg(640, 641, Qt::red)));      // 9615 twips
        QVERIFY(fixture->writeFile("Docs/AX.rtf", Rtf("AX series \\'be\\'f7\\'ba\\'d8")));
        QVERIFY(fixture->writeFile("Docs/TA.jpg", testing::Jpeg(640, 639, Qt::green)));    // 9585 twips
        QVERIFY(fixture->writeFile("Docs/HMN.jpg", testing::Jpeg(640, 600, Qt::blue)));    // 9000 twips
        QVERIFY(fixture->writeFile("Docs/talvex2017.jpg", testing::Jpeg(640, 2000, Qt::gray)));
        QVERIFY(fixture->writeFile("Docs/talvex2017.rtf", Rtf("Setup help")));
        decodes = 0;
        fixture->environment.decodePicture = [this](const QByteArray& content) {
            ++decodes;
            return selection::DecodePreviewPicture(content);
        };
        QVERIFY(fixture->start());
        QVERIFY(fixture->messages.shown.isEmpty());
        w = &fixture->window();
    }

    void cleanup() { fixture.reset(); }

    void typeScrollsTheSeriesPictureToItsShare()
    {
        QVERIFY(fixture->pick(w->cboItem, "AX"));
        QCOMPARE(w->Image1->pixmap().height(), 641);
        QCOMPARE(position(), 0);  // no Type chosen yet
        QVERIFY(fixture->pick(w->cboStyle, "AXN"));
        const auto& scroll = w->VScroll1->settings();
        QCOMPARE(int(scroll.maximum()), 9615 - viewportTwips());
        QCOMPARE(int(scroll.largeChange()), 1201);
        QCOMPARE(int(scroll.smallChange()), 320);
        QCOMPARE(position(), 4808);  // 4807.5 goes to the even neighbour
        QCOMPARE(w->Image1->y(), -app::ToPixels(4808));
        QCOMPARE(w->Image1->x(), 0);
    }

    void positionBeyondTheRangeLeavesThePictureAtTheTop()
    {
        QVERIFY(fixture->pick(w->cboItem, "HMN"));
        QVERIFY(fixture->pick(w->cboStyle, "SLG"));  // 0.784 of 9000 lies past the maximum
        QCOMPARE(position(), 0);
        QCOMPARE(w->Image1->y(), 0);
    }

    void missingSeriesPictureKeepsTheOldOneAtItsShare()
    {
        QVERIFY(fixture->pick(w->cboItem, "TA"));
        QCOMPARE(w->Image1->pixmap().height(), 639);
        QVERIFY(fixture->pick(w->cboItem, "UMO"));  // no UMO.jpg
        QCOMPARE(w->Image1->pixmap().height(), 639);
        QVERIFY(fixture->pick(w->cboStyle, "UMO_S"));  // 0.6 of 9585 twips
        QCOMPARE(position(), 5751);
        QVERIFY(fixture->messages.shown.isEmpty());
    }

    void typingBringsTheViewBackAfterTheUserScrolled()
    {
        QVERIFY(fixture->choose("AX", "AXN", "50"));
        QVERIFY(w->VScroll1->setPosition(100));
        QCOMPARE(w->Image1->y(), -app::ToPixels(100));
        w->txtData->setFocus();
        QTest::keyClick(w->txtData, Qt::Key_5);
        QCOMPARE(position(), 4808);
        QCOMPARE(w->Image1->y(), -app::ToPixels(4808));
    }

    void typingDecodesTheSeriesPictureAgainOnlyWhenItsFileChanged()
    {
        QVERIFY(fixture->choose("AX", "AXN", "50"));
        w->txtData->setFocus();
        const int decoded = decodes;
        QTest::keyClick(w->txtData, Qt::Key_5);
        QTest::keyClick(w->txtData, Qt::Key_Backspace);
        QCOMPARE(decodes, decoded);
        QCOMPARE(position(), 4808);

        // Rewritten on the disc: the next key shows it, at AXN's share of its height.
        QVERIFY(fixture->writeFile("Docs/AX.jpg", testing::Jpeg(640, 700, Qt::red)));
        QTest::keyClick(w->txtData, Qt::Key_5);
        QCOMPARE(decodes, decoded + 1);
        QCOMPARE(w->Image1->pixmap().height(), 700);
        QCOMPARE(position(), 5250);

        // Deleted: the picture shown stays, as for any missing Series picture.
        QVERIFY(QFile::remove(fixture->rootPath(QStringLiteral("Docs/AX.jpg"))));
        QTest::keyClick(w->txtData, Qt::Key_Backspace);
        QCOMPARE(w->Image1->pixmap().height(), 700);
        QCOMPARE(position(), 5250);
        QVERIFY(fixture->messages.shown.isEmpty());
    }

    // Every choice resets the stroke box to "0", also when it holds "0"
    // already, and each reset refreshes the preview.
    void choosingABoreAfterTheHelpPageBringsTheSeriesPictureBack()
    {
        QVERIFY(fixture->choose("AX", "AXN", "50"));
        QTest::mouseClick(w->Command3, Qt::LeftButton);
        QCOMPARE(w->Image1->pixmap().height(), 2000);
        QCOMPARE(w->txtData->text(), QStringLiteral("0"));
        QVERIFY(fixture->pick(w->cboDia, "50"));
        QCOMPARE(w->Image1->pixmap().height(), 641);
        QCOMPARE(position(), 4808);
    }

    void choosingABoreAfterScrollingByHandPutsTheViewBack()
    {
        QVERIFY(fixture->choose("AX", "AXN", "50"));
        QVERIFY(w->VScroll1->setPosition(100));
        QVERIFY(fixture->pick(w->cboDia, "50"));
        QCOMPARE(position(), 4808);
        QCOMPARE(w->Image1->y(), -app::ToPixels(4808));
    }

    void scrollBarRefusesPositionsOutsideItsSpan()
    {
        QVERIFY(fixture->pick(w->cboItem, "AX"));
        const int maximum = w->VScroll1->settings().maximum();
        QVERIFY(!w->VScroll1->setPosition(maximum + 1));
        QVERIFY(!w->VScroll1->setPosition(-1));
        QCOMPARE(position(), 0);
        QVERIFY(w->VScroll1->setPosition(maximum));
        QCOMPARE(w->Image1->y(), -app::ToPixels(maximum));
    }

    void seriesDocumentReplacesThePane()
    {
        QCOMPARE(w->rtbData->toPlainText().trimmed(), QStringLiteral("Default"));
        QVERIFY(fixture->pick(w->cboItem, "AX"));
        QCOMPARE(w->rtbData->toPlainText().trimmed(), QStringLiteral("AX series 機種"));
        QVERIFY(fixture->pick(w->cboItem, "TA"));  // no TA.rtf: empty, not the old one
        QCOMPARE(w->rtbData->toPlainText(), QString());
        QVERIFY(fixture->messages.shown.isEmpty());
    }

    void setupHelpPageThenATypeBringsTheSeriesPictureBack()
    {
        QVERIFY(fixture->pick(w->cboItem, "AX"));
        QTest::mouseClick(w->Command3, Qt::LeftButton);
        QCOMPARE(w->Image1->pixmap().height(), 2000);
        QCOMPARE(int(w->VScroll1->settings().maximum()), 27500);
        QCOMPARE(int(w->VScroll1->settings().largeChange()), 9615 / 8);  // from the picture held before
        QCOMPARE(position(), 0);
        QCOMPARE(w->rtbData->toPlainText().trimmed(), QStringLiteral("Setup help"));

        QVERIFY(fixture->pick(w->cboStyle, "AXN"));
        QCOMPARE(w->Image1->pixmap().height(), 641);
        QCOMPARE(w->rtbData->toPlainText().trimmed(), QStringLiteral("Setup help"));
        QVERIFY(fixture->messages.shown.isEmpty());
    }

    void setupHelpPageWithoutItsFilesSaysSo()
    {
        QFile::remove(fixture->rootPath("Docs/talvex2017.jpg"));
        QFile::remove(fixture->rootPath("Docs/talvex2017.rtf"));
        QTest::mouseClick(w->Command3, Qt::LeftButton);
        QCOMPARE(fixture->messages.shown.size(), 2);
        QVERIFY(fixture->messages.shown[0].text.endsWith(
            QDir::toNativeSeparators(fixture->rootPath("Docs/talvex2017.jpg"))));
        QVERIFY(fixture->messages.shown[1].text.endsWith(
            QDir::toNativeSeparators(fixture->rootPath("Docs/talvex2017.rtf"))));
        QCOMPARE(w->Image1->pixmap().height(), 300);  // the default picture stays
        QCOMPARE(int(w->VScroll1->settings().maximum()), 27500);
    }
};

QTEST_MAIN(WindowPreviewTest)
#include "test_window_preview.moc"
