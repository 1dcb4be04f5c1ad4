// SPDX-License-Identifier: MIT
// The connector's side of the stand-in host's socket against hosts that
// misbehave: late replies, replies without end, extra replies, and files
// at the socket path that are not the host's.
#include "scripted_host.h"
#include "test_files.h"
#include "generation/standin/standin_connector.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace generation;
using testing::ScriptedHost;

namespace {

constexpr int kCallTimeoutMs = 300;

// Answers HELLO as a stand-in host does; the rest is up to the test.
ScriptedHost::Script Greeting(std::function<void(ScriptedHost&, const QByteArray&)> rest)
{
    return [rest](ScriptedHost& host, const QByteArray& line) {
        if (line == "HELLO")
            host.send("OK talvex-cadhost 4242\n");
        else
            rest(host, line);
    };
}

} // namespace

class StandInClientTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(folder_.isValid());
        ++run_;
    }

    void lateReplyIsNeverTakenForTheNextOne_data()
    {
        QTest::addColumn<bool>("busyFirst");
        QTest::newRow("after the call gave up") << false;
        QTest::newRow("while the call paused, turned away") << true;
    }

    void lateReplyIsNeverTakenForTheNextOne()
    {
        // The first OPEN is answered when the client is not waiting for it:
        // after the call gave up, or after a BUSY while the client pauses
        // before its next try. Were the connection kept, the next OPEN
        // would read that answer as its own.
        QFETCH(bool, busyFirst);
        ScriptedHost host(socketPath(), Greeting([busyFirst](ScriptedHost& host, const QByteArray& line) {
            if (line == "OPEN false /work/first.dwg") {
                if (busyFirst)
                    host.send("BUSY\n");
                ScriptedHost::pause(busyFirst ? 50 : 3 * kCallTimeoutMs);
                host.send("OK 1\n");
            } else {
                host.send("OK 2\n");
            }
        }));
        QVERIFY(host.listening());
        StandInHostConnector connector(options());
        const auto application = connector.getActiveObject("AutoCAD.Application");
        QVERIFY2(application, qPrintable(application.error()));

        QVERIFY(!application.value()->openDocument("/work/first.dwg", false));
        QVERIFY(!application.value()->openDocument("/work/second.dwg", false));
        QVERIFY(!application.value()->setVisible(true));
        QTRY_VERIFY_WITH_TIMEOUT(host.clientGone(), 5000);
        QCOMPARE(host.received(), (QList<QByteArray>{"HELLO", "OPEN false /work/first.dwg"}));
    }

    // However long one call may take, no call outlives the command's bound,
    // and once it has passed nothing more is sent.
    void callsEndWithTheCommandsBound_data()
    {
        QTest::addColumn<bool>("busy");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no answer") << false << "The stand-in CAD host did not answer";
        QTest::newRow("busy for ever") << true << "The stand-in CAD host was still busy after 0.6 s";
    }

    void callsEndWithTheCommandsBound()
    {
        QFETCH(bool, busy);
        QFETCH(QString, reason);
        ScriptedHost host(socketPath(), Greeting([busy](ScriptedHost& host, const QByteArray&) {
            if (busy)
                host.send("BUSY\n");
        }));
        QVERIFY(host.listening());
        StandInHostOptions patient = options();
        patient.callTimeoutMs = 5000;
        int pauses = 0;
        patient.wait = HostWait(std::chrono::milliseconds(600), std::chrono::milliseconds(100),
                                [&pauses](std::chrono::milliseconds duration) {
                                    ++pauses;
                                    PumpEvents(duration);
                                });
        StandInHostConnector connector(patient);
        connector.beginCommand();
        QElapsedTimer clock;
        clock.start();
        const auto application = connector.getActiveObject("AutoCAD.Application");
        QVERIFY(application);

        QCOMPARE(application.value()->setVisible(true).error(), reason);
        QVERIFY2(clock.elapsed() < 1600, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!application.value()->openDocument("/work/a.dwg", false));
        QVERIFY(!host.received().contains("OPEN false /work/a.dwg"));
        if (busy)
            QVERIFY2(pauses >= 4, qPrintable(QString::number(pauses)));
        else
            QCOMPARE(pauses, 0);
    }

    void replyWithoutEndIsCut()
    {
        ScriptedHost host(socketPath(), Greeting([](ScriptedHost& host, const QByteArray&) {
            const QByteArray chunk(64 * 1024, 'x');
            while (host.bytesSent() < 64 * 1024 * 1024 && host.send(chunk)) {
            }
        }));
        QVERIFY(host.listening());
        StandInHostOptions patient = options();
        patient.callTimeoutMs = 5000;
        StandInHostConnector connector(patient);
        const auto application = connector.getActiveObject("AutoCAD.Application");
        QVERIFY(application);

        QElapsedTimer timer;
        timer.start();
        QVERIFY(!application.value()->setVisible(true));
        QVERIFY2(timer.elapsed() < 4000, "read until the time-out instead of stopping at the cap");
        QTRY_VERIFY_WITH_TIMEOUT(host.clientGone(), 5000);
        // What the host got rid of is what the client read plus the socket's buffers.
        QVERIFY2(host.bytesSent() < 8 * 1024 * 1024, qPrintable(QString::number(host.bytesSent())));
    }

    void extraReplyEndsTheConnection()
    {
        ScriptedHost host(socketPath(), Greeting([](ScriptedHost& host, const QByteArray&) {
            host.send("OK\nOK 7\n");
        }));
        QVERIFY(host.listening());
        StandInHostConnector connector(options());
        const auto application = connector.getActiveObject("AutoCAD.Application");
        QVERIFY(application);
        QVERIFY(!application.value()->setVisible(true));
        QVERIFY(!application.value()->openDocument("/work/a.dwg", false));
        QCOMPARE(host.received(), (QList<QByteArray>{"HELLO", "VISIBLE true"}));
    }

    void wellBehavedHostStillServes()
    {
        ScriptedHost host(socketPath(), Greeting([](ScriptedHost& host, const QByteArray& line) {
            host.send(line.startsWith("OPEN") ? "OK 3\n" : line.startsWith("COMMAND 3 ") ? "OK\n"
                                                                                       : "ERR No such document\n");
        }));
        QVERIFY(host.listening());
        StandInHostConnector connector(options());
        const auto application = connector.getActiveObject("AutoCAD.Application");
        QVERIFY(application);
        const auto document = application.value()->openDocument("/work/a.dwg", false);
        QVERIFY(document);
        QVERIFY(document.value()->sendCommand("(load \"3dstretch\")\r").ok());
        // A refusal is an answer: the connection stays.
        QCOMPARE(application.value()->setVisible(true).error(), QStringLiteral("No such document"));
        QVERIFY(document.value()->sendCommand("line").ok());
        QVERIFY(!host.clientGone());
    }

    // The process to wait for and kill is the one at the other end of the
    // socket, not whichever one the reply names.
    void shutDownKillsNothingTheReplyNames()
    {
        QProcess bystander;
        bystander.start("sleep", {"30"});
        QVERIFY(bystander.waitForStarted());
        const QByteArray named = QByteArray::number(bystander.processId());
        ScriptedHost host(socketPath(), [named](ScriptedHost& host, const QByteArray& line) {
            host.send(line == "QUIT" ? "OK " + named + "\n" : QByteArray("ERR unknown request\n"));
        });
        QVERIFY(host.listening());
        StandInHostConnector connector(options());
        QVERIFY(!connector.shutDownHost(300));
        QVERIFY2(!bystander.waitForFinished(500), "the process the reply named was killed");
        bystander.kill();
        bystander.waitForFinished();
    }

    void filesAtTheSocketPathAreNeverRemoved()
    {
        QVERIFY(testing::WriteFile(socketPath(), "someone's notes"));
        StandInHostConnector connector(options());
        QVERIFY(!connector.getActiveObject("AutoCAD.Application"));
        QVERIFY(connector.shutDownHost());
        QCOMPARE(testing::ReadAll(socketPath(), "<gone>"), QByteArray("someone's notes"));
    }

private:
    // One per test function and row: a host of an earlier one may still be there.
    QString socketPath() const { return folder_.filePath(QStringLiteral("host-%1").arg(run_)); }
    StandInHostOptions options() const
    {
        StandInHostOptions options;
        options.socketPath = socketPath();
        options.hostProgram = folder_.filePath("no-host-program");
        options.callTimeoutMs = kCallTimeoutMs;
        return options;
    }

    QTemporaryDir folder_;
    int run_ = 0;
};

QTEST_GUILESS_MAIN(StandInClientTest)
#include "test_standin_client.moc"
