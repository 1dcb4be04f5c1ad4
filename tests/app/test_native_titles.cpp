// SPDX-License-Identifier: MIT
// The titles the desktop shows for the program's window and message boxes,
// read back from the X server the way the window manager reads them. Run on
// a private X server with openbox (tests/support/run-on-x-desktop).
#include "app/native_message_boxes.h"
#include "app/program_title.h"
#include "messages/system_messages.h"
#include "validation/check_messages.h"
#include "window_fixture.h"
#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <QTimer>

using messages::MessageBoxRequest;
Q_DECLARE_METATYPE(MessageBoxRequest)

namespace {

// The value xprop prints for one property of an X window; null when the
// window does not have it.
QByteArray PropertyValue(WId window, const char* property)
{
    QProcess xprop;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    xprop.setProcessEnvironment(environment);
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window),
                                          QStringLiteral("-notype"), QString::fromLatin1(property)});
    if (!xprop.waitForFinished(5000))
        return {};
    const QByteArray line = xprop.readAllStandardOutput().trimmed();
    const qsizetype equals = line.indexOf(" = ");
    return equals < 0 ? QByteArray() : line.mid(equals + 3);
}

// A text value without its quotes; xprop writes what it cannot print as
// octal escapes, which are undone.
QString TextValue(const QByteArray& value)
{
    if (value.size() < 2 || !value.startsWith('"') || !value.endsWith('"'))
        return {};
    const QByteArray quoted = value.mid(1, value.size() - 2);
    QByteArray bytes;
    for (qsizetype i = 0; i < quoted.size(); ++i) {
        const bool escape = quoted[i] == '\\' && i + 1 < quoted.size();
        if (escape && i + 3 < quoted.size() && quoted[i + 1] >= '0' && quoted[i + 1] <= '7') {
            bytes.append(char(quoted.mid(i + 1, 3).toInt(nullptr, 8)));
            i += 3;
        } else if (escape) {
            bytes.append(quoted[++i]);
        } else {
            bytes.append(quoted[i]);
        }
    }
    return QString::fromUtf8(bytes);
}

// The title the window manager shows: its own visible name where it set
// one, else the window's name. Waits until the window manager frames it.
QString ShownTitle(const QWidget* window)
{
    const QDeadlineTimer deadline(5000);
    while (PropertyValue(window->winId(), "_NET_FRAME_EXTENTS").isNull() && !deadline.hasExpired())
        QTest::qWait(20);
    const QString visible = TextValue(PropertyValue(window->winId(), "_NET_WM_VISIBLE_NAME"));
    return visible.isEmpty() ? TextValue(PropertyValue(window->winId(), "_NET_WM_NAME")) : visible;
}

// Shows the request as the program does and reads the box's title while it
// is on screen; the box is then closed.
QString TitleOfBox(const std::function<void()>& showBox)
{
    QString title = QStringLiteral("(no box appeared)");
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll.stop();
        title = ShownTitle(box);
        box->accept();
    });
    poll.start();
    showBox();
    return title;
}

} // namespace

class NativeTitlesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        app::ConfigureApplication();
    }

    void errorBoxesReadErrorExactly_data()
    {
        QTest::addColumn<MessageBoxRequest>("request");
        using validation::StrokeCheck;
        for (StrokeCheck check : {StrokeCheck::NoSeries, StrokeCheck::NoType, StrokeCheck::NoBore,
                                  StrokeCheck::NotNonzeroNumber, StrokeCheck::FirstStrokeOutOfRange,
                                  StrokeCheck::SecondStrokeOutOfRange})
            QTest::newRow(qPrintable(QStringLiteral("check %1").arg(QChar(u'A' + int(check)))))
                << validation::CheckMessage(check);
        QTest::newRow("copy failed") << messages::CopyFailed();
        QTest::newRow("wrong disc") << messages::WrongDisc();
        QTest::newRow("catalogue cannot open") << messages::CatalogueOpenFailure(QStringLiteral("E:\\Database\\TALVEX.mdb"), QStringLiteral("the file ends part way through a table"));
        QTest::newRow("catalogue cannot be read") << messages::CatalogueReadFailure(QStringLiteral("no such table"));
        QTest::newRow("file cannot open") << messages::FileOpenFailure(QStringLiteral("E:\\Docs\\default.rtf"));
        QTest::newRow("invalid catalogue data") << messages::InvalidCatalogueData(QStringLiteral("A\"B"));
    }
    void errorBoxesReadErrorExactly()
    {
        QFETCH(MessageBoxRequest, request);
        app::NativeMessageBoxes boxes;
        QCOMPARE(TitleOfBox([&] { boxes.show(request); }), QStringLiteral("錯誤"));
    }

    void plainBoxesCarryTheProgramsTitle()
    {
        app::NativeMessageBoxes boxes;
        for (const MessageBoxRequest& request :
             {messages::CadHostNotFound(), messages::PlainMessage(QStringLiteral("Access is denied."))})
            QCOMPARE(TitleOfBox([&] { boxes.show(request); }), QStringLiteral("3D TALVEX 2017"));
    }

    // The road a user takes: the window's own generate button with nothing
    // chosen shows the first check's box over the window.
    void theWindowsBoxesAndCaption()
    {
        testing::WindowFixture fixture;
        app::NativeMessageBoxes boxes;
        fixture.environment.messageBoxes = &boxes;
        QVERIFY(fixture.copyCatalogue());
        QVERIFY(fixture.writeFile(QStringLiteral("Docs/default.rtf"), "{\\rtf1 Default}"));
        QVERIFY(fixture.writeFile(QStringLiteral("Docs/default.jpg"), testing::Jpeg(400, 300)));
        QVERIFY(fixture.start());
        QCOMPARE(ShownTitle(&fixture.window()), QStringLiteral("3D TALVEX 2017"));
        QCOMPARE(TitleOfBox([&] { QTest::mouseClick(fixture.window().Command2, Qt::LeftButton); }),
                 QStringLiteral("錯誤"));
    }
};

QTEST_MAIN(NativeTitlesTest)
#include "test_native_titles.moc"
