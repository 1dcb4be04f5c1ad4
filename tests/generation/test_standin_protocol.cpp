// SPDX-License-Identifier: MIT
// The line protocol and journal format shared by talvex-cadhost and its client.
#include "generation/standin/standin_protocol.h"
#include <QTest>

using namespace generation::standin;

class StandInProtocolTest : public QObject {
    Q_OBJECT
private slots:
    void escaping_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("load command") << "(load \"3dstretch\")\r" << "(load \"3dstretch\")\\r";
        QTest::newRow("backslash first") << "C:\\r\\x.dwg" << "C:\\\\r\\\\x.dwg";
        QTest::newRow("line breaks and tab") << "a\nb\tc\r\n" << "a\\nb\\tc\\r\\n";
        QTest::newRow("other controls") << QString::fromUtf8("\x01z\x7f") << "\\x01z\\x7F";
        QTest::newRow("blanks and chinese kept") << QString::fromUtf8("/tmp/型 錄.dwg")
                                                 << QString::fromUtf8("/tmp/型 錄.dwg");
    }

    void escaping()
    {
        QFETCH(QString, plain);
        QFETCH(QString, escaped);
        QCOMPARE(Escape(plain), escaped);
        QCOMPARE(Unescape(escaped), std::optional<QString>(plain));
    }

    void malformedEscapesRefused()
    {
        for (const char* bad : {"ends\\", "\\q", "\\x4", "\\xZZ"})
            QVERIFY2(!Unescape(QString::fromLatin1(bad)).has_value(), bad);
    }

    void requestsRoundTrip_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("flag");
        QTest::addColumn<qint64>("document");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("journal");
        QTest::newRow("hello") << int(Request::Kind::Hello) << false << qint64(0) << ""
                               << QByteArray("HELLO\n") << "attach";
        QTest::newRow("visible") << int(Request::Kind::Visible) << true << qint64(0) << ""
                                 << QByteArray("VISIBLE true\n") << "visible true";
        QTest::newRow("open with blanks") << int(Request::Kind::Open) << false << qint64(0)
                                          << "/tmp/a b.dwg"
                                          << QByteArray("OPEN false /tmp/a b.dwg\n")
                                          << "open readonly=false /tmp/a b.dwg";
        QTest::newRow("command") << int(Request::Kind::Command) << false << qint64(7)
                                 << "(3dstretch \"taa\" 32 150 0)\r"
                                 << QByteArray("COMMAND 7 (3dstretch \"taa\" 32 150 0)\\r\n")
                                 << "command (3dstretch \"taa\" 32 150 0)\\r";
        QTest::newRow("quit") << int(Request::Kind::Quit) << false << qint64(0) << ""
                              << QByteArray("QUIT\n") << "quit";
    }

    void requestsRoundTrip()
    {
        QFETCH(int, kind);
        QFETCH(bool, flag);
        QFETCH(qint64, document);
        QFETCH(QString, text);
        QFETCH(QByteArray, line);
        QFETCH(QString, journal);
        Request request;
        request.kind = Request::Kind(kind);
        request.flag = flag;
        request.document = document;
        request.text = text;
        QCOMPARE(FormatRequest(request), line);
        const auto parsed = ParseRequest(line);
        QVERIFY(parsed.has_value());
        QCOMPARE(int(parsed->kind), kind);
        QCOMPARE(parsed->flag, flag);
        QCOMPARE(parsed->document, document);
        QCOMPARE(parsed->text, text);
        QCOMPARE(JournalLine(*parsed), journal);
    }

    void malformedRequestsRefused()
    {
        for (const char* bad : {"", "HELLO there", "VISIBLE yes", "OPEN maybe /x", "OPEN true",
                                "COMMAND x (load)", "COMMAND 1 bad\\", "SHUTDOWN"})
            QVERIFY2(!ParseRequest(QByteArray(bad) + '\n').has_value(), bad);
    }

    void replies()
    {
        QCOMPARE(FormatReply(Reply{true, {}}), QByteArray("OK\n"));
        QCOMPARE(FormatReply(Reply{true, "12"}), QByteArray("OK 12\n"));
        QCOMPARE(FormatReply(Reply{false, "no\nway"}), QByteArray("ERR no\\nway\n"));
        QCOMPARE(FormatReply(Reply::Busy()), QByteArray("BUSY\n"));
        const auto error = ParseReply("ERR no\\nway\n");
        QVERIFY(error && !error->ok && !error->busy);
        QCOMPARE(error->value, QStringLiteral("no\nway"));
        const auto ok = ParseReply("OK talvex-cadhost 42\n");
        QVERIFY(ok && ok->ok && !ok->busy);
        QCOMPARE(ok->value, QStringLiteral("talvex-cadhost 42"));
        const auto busy = ParseReply("BUSY\n");
        QVERIFY(busy && busy->busy && !busy->ok);
        // BUSY is a bare line: anything more is no reply.
        for (const char* bad : {"MAYBE\n", "BUSY now\n", "BUSY \n", "busy\n", "BUSY\r\n"})
            QVERIFY2(!ParseReply(bad).has_value(), bad);
    }
};

QTEST_GUILESS_MAIN(StandInProtocolTest)
#include "test_standin_protocol.moc"
