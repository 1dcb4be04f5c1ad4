// SPDX-License-Identifier: MIT
// Every caption of the window shows whole, with the font the window really
// uses, at the resolution the test runs at (ctest runs it at 96, 120 and 144
// dots per inch, TALVEX_TEST_DPI says which).
#include "app/controls/caption_layout.h"
#include "window_fixture.h"
#include <QFontInfo>
#include <QFontMetricsF>
#include <QScreen>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <cmath>

using testing::WindowFixture;

namespace {

QString Describe(const QWidget* control, const QString& caption)
{
    return control->objectName() + QStringLiteral(" \"") + caption + QStringLiteral("\" in ")
        + QFontInfo(control->font()).family();
}

// The label's caption lies inside the label, and the label inside its
// container without covering a neighbour.
void VerifyLabelShowsWhole(const app::TaggedLabel* label)
{
    const QString what = Describe(label, label->caption());
    const app::CaptionLayout laid = app::LayOutCaption(label->caption(), label->font(), label->width());
    QVERIFY2(laid.height <= label->height(), qPrintable(what + QStringLiteral(": cut at the bottom")));
    QVERIFY2(laid.widestLine <= label->width(), qPrintable(what + QStringLiteral(": cut at the right")));
    if (app::CaptionLineSpacing(label->font()) * 2 > label->height()) {  // room for one line only
        const double advance = QFontMetricsF(label->font()).horizontalAdvance(label->caption());
        QVERIFY2(advance <= label->width(), qPrintable(what + QStringLiteral(": wider than its label")));
    }
    const QWidget* container = label->parentWidget();
    QVERIFY2(container->rect().contains(label->geometry()), qPrintable(what + QStringLiteral(": outside its frame")));
    for (const QObject* child : container->children()) {
        const auto* sibling = qobject_cast<const QWidget*>(child);
        if (sibling && sibling != label && sibling->isVisibleTo(container))
            QVERIFY2(!sibling->geometry().intersects(label->geometry()),
                     qPrintable(what + QStringLiteral(": covers ") + sibling->objectName()));
    }
}

void VerifyFrameCaptionShowsWhole(const QGroupBox* frame)
{
    QStyleOptionGroupBox option;
    option.initFrom(frame);
    option.text = frame->title();
    option.textAlignment = frame->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.lineWidth = 1;
    const QRect label = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                       QStyle::SC_GroupBoxLabel, frame);
    const double advance = QFontMetricsF(frame->font()).horizontalAdvance(frame->title());
    const QString what = Describe(frame, frame->title());
    QVERIFY2(advance <= label.width(), qPrintable(what + QStringLiteral(": wider than its place")));
    QVERIFY2(frame->rect().contains(label), qPrintable(what + QStringLiteral(": cut by the frame")));
}

// What the face shows lies inside the part of the button that its bevel
// leaves free. The faces are drawn on a bar shaded from top to bottom inside
// a one-pixel frame: what differs from the bar's colour of its row is what
// the face shows.
void VerifyFaceShowsWhole(const app::PictureButton* button)
{
    const QImage face = button->face().toImage();
    QRect drawn;
    for (int y = 1; y < face.height() - 1; ++y) {
        const QColor bar = face.pixelColor(1, y);
        for (int x = 1; x < face.width() - 1; ++x) {
            const QColor pixel = face.pixelColor(x, y);
            const int difference = std::max({std::abs(pixel.red() - bar.red()),
                                             std::abs(pixel.green() - bar.green()),
                                             std::abs(pixel.blue() - bar.blue())});
            if (difference > 24)
                drawn |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY2(!drawn.isEmpty(), qPrintable(button->objectName() + QStringLiteral(": an empty face")));
    const QRect onButton = drawn.translated(button->faceRect().topLeft());
    QVERIFY2(button->visibleRect().contains(onButton),
             qPrintable(button->objectName() + QStringLiteral(": face cut by the bevel")));
}

} // namespace

class WindowCaptionsTest : public QObject {
    Q_OBJECT

    WindowFixture fixture_;
    app::frmMain* w = nullptr;

private slots:
    void initTestCase()
    {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const double dpi = screen->logicalDotsPerInchY() * screen->devicePixelRatio();
        QCOMPARE(std::lround(dpi), qEnvironmentVariableIntValue("TALVEX_TEST_DPI"));
        QVERIFY(fixture_.copyCatalogue());
        QVERIFY(fixture_.start());
        w = &fixture_.window();
    }

    void designCaptions()
    {
        for (app::TaggedLabel* label : {w->Label1, w->Label2, w->Label3, w->Label4})
            VerifyLabelShowsWhole(label);
        for (QGroupBox* frame : {w->Frame3, w->Frame6})
            VerifyFrameCaptionShowsWhole(frame);
        for (app::PictureButton* button : {w->Command2, w->Command1, w->cmd_Accessories, w->Command3, w->Cmd_clear})
            VerifyFaceShowsWhole(button);
    }

    // The captions that choices write: every Series and every Type of the
    // sample catalogue, the Features prompt included.
    void captionsOfEveryChoice()
    {
        for (const QString& series : testing::Items(w->cboItem)) {
            QVERIFY(fixture_.pick(w->cboItem, series));
            VerifyLabelShowsWhole(w->Label1);
            VerifyLabelShowsWhole(w->Label3);
            for (const QString& type : testing::Items(w->cboStyle)) {
                QVERIFY(fixture_.pick(w->cboStyle, type));
                VerifyLabelShowsWhole(w->Label2);
                VerifyLabelShowsWhole(w->Label3);
            }
        }
    }
};

QTEST_MAIN(WindowCaptionsTest)
#include "test_window_captions.moc"
