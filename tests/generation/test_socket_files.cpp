// SPDX-License-Identifier: MIT
// What lies at the stand-in host's socket path, and who is at the other end
// of a connection (POSIX build).
#include "scripted_host.h"
#include "test_files.h"
#include "generation/standin/socket_files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace generation::standin;
using Kind = SocketPathState::Kind;

class SocketFilesTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(folder_.isValid()); }

    void peerIsThisProcess()
    {
        int ends[2];
        QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
        const auto peer = PeerOf(ends[0]);
        ::close(ends[0]);
        ::close(ends[1]);
        QVERIFY2(peer, qPrintable(peer.error()));
        QCOMPARE(peer->userId, ::geteuid());
#ifdef Q_OS_LINUX
        QCOMPARE(peer->processId, qint64(::getpid()));
#endif
        QVERIFY(!PeerOf(-1));
    }

    void whatLiesAtThePath_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("description");
        QTest::newRow("nothing") << "nothing" << int(Kind::Nothing) << "";
        QTest::newRow("our socket") << "socket" << int(Kind::OwnSocket) << "";
        QTest::newRow("another user's socket") << "foreign" << int(Kind::Other) << " is another user's socket";
        QTest::newRow("file") << "file" << int(Kind::Other) << " is a file, not a socket";
        QTest::newRow("folder") << "folder" << int(Kind::Other) << " is a folder, not a socket";
        QTest::newRow("link to our socket") << "link" << int(Kind::Other) << " is a link, not a socket";
    }

    void whatLiesAtThePath()
    {
        QFETCH(QString, kind);
        QFETCH(int, expected);
        QFETCH(QString, description);
        const QString path = folder_.filePath("at-" + kind);
        uid_t owner = ::geteuid();
        if (kind == "socket" || kind == "foreign")
            QVERIFY(testing::BindStaleSocket(path));
        if (kind == "foreign")
            owner += 1;
        if (kind == "file")
            QVERIFY(testing::WriteFile(path, "x"));
        if (kind == "folder")
            QVERIFY(QDir().mkdir(path));
        if (kind == "link") {
            QVERIFY(testing::BindStaleSocket(folder_.filePath("linked")));
            QVERIFY(QFile::link(folder_.filePath("linked"), path));
        }
        const SocketPathState state = InspectSocketPath(path, owner);
        QCOMPARE(int(state.kind), expected);
        QCOMPARE(state.description, description.isEmpty() ? QString() : path + description);
    }

    void onlyTheSocketThatWasFoundIsRemoved()
    {
        const QString path = folder_.filePath("removed");
        QVERIFY(testing::BindStaleSocket(path));
        const SocketPathState found = InspectSocketPath(path, ::geteuid());
        QCOMPARE(int(found.kind), int(Kind::OwnSocket));

        // Replaced since it was looked at (the old one kept aside, so the
        // new file cannot take its number): by another socket, by a file.
        QVERIFY(QFile::rename(path, folder_.filePath("aside")));
        QVERIFY(testing::BindStaleSocket(path));
        QVERIFY(!RemoveSocketFile(path, found));
        QVERIFY(QFileInfo::exists(path));
        QVERIFY(QFile::remove(path));
        QVERIFY(testing::WriteFile(path, "keep me"));
        QVERIFY(!RemoveSocketFile(path, found));
        QCOMPARE(testing::ReadAll(path), QByteArray("keep me"));
        QVERIFY(QFile::remove(path));

        QVERIFY(testing::BindStaleSocket(path));
        const SocketPathState again = InspectSocketPath(path, ::geteuid());
        QCOMPARE(RemoveSocketFile(path, again).error(), QString());
        QVERIFY(!QFileInfo::exists(path));
    }

private:
    QTemporaryDir folder_;
};

QTEST_GUILESS_MAIN(SocketFilesTest)
#include "test_socket_files.moc"
