// SPDX-License-Identifier: MIT
#include "host_server.h"
#include "drawing_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTimer>

#ifdef Q_OS_UNIX
#include "generation/standin/socket_files.h"
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cadhost {

namespace {

using generation::standin::Reply;
using generation::standin::Request;

// Requests are a few hundred bytes; a line this long is not one.
constexpr qint64 kLongestLine = 64 * 1024;
// Lines of one connection handled before the others get their turn.
constexpr int kLinesPerTurn = 64;
// Replies a client has not read yet; past this its requests wait.
constexpr qint64 kMostUnreadReplies = 64 * 1024;
// Connections at once; more are closed as they come.
constexpr int kMostClients = 64;

bool SomeoneListens(const QString& socketPath)
{
    QLocalSocket probe;
    probe.connectToServer(socketPath);
    return probe.waitForConnected(1000);
}

bool IsOwnUser(QLocalSocket* socket)
{
#ifdef Q_OS_UNIX
    const auto peer = generation::standin::PeerOf(int(socket->socketDescriptor()));
    return peer && peer->userId == ::geteuid();
#else
    // The pipe is created for this user alone (UserAccessOption).
    Q_UNUSED(socket);
    return true;
#endif
}

} // namespace

HostServer::HostServer(HostHabits habits, QObject* parent) : QObject(parent), habits_(habits)
{
    connect(&server_, &QLocalServer::newConnection, this, &HostServer::acceptConnections);
}

base::Result<HostServer::Started> HostServer::start(const QString& socketPath,
                                                    const QString& journalPath)
{
    QDir().mkpath(QFileInfo(socketPath).absolutePath());
    const base::Result<Started> started = listen(socketPath);
    if (!started || *started == Started::AlreadyRunning)
        return started;
    QDir().mkpath(QFileInfo(journalPath).absolutePath());
    journal_.setFileName(journalPath);
    if (!journal_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        server_.close();
        return base::Fail(journal_.errorString() + QStringLiteral(": ") + journalPath);
    }
    journal(generation::standin::JournalStartLine(QCoreApplication::applicationPid()));
    busyUntil_ = habits_.neverReady ? QDeadlineTimer(QDeadlineTimer::Forever)
                                    : QDeadlineTimer(habits_.busyAfterStart);
    return Started::Listening;
}

#ifdef Q_OS_UNIX

base::Result<HostServer::Started> HostServer::listen(const QString& socketPath)
{
    using Kind = generation::standin::SocketPathState::Kind;
    if (SomeoneListens(socketPath))
        return Started::AlreadyRunning;
    const auto found = generation::standin::InspectSocketPath(socketPath, ::geteuid());
    if (found.kind == Kind::Other)
        return base::Fail(found.description + QStringLiteral("; it is left alone"));
    if (found.kind == Kind::OwnSocket) {
        if (const base::Status removed = generation::standin::RemoveSocketFile(socketPath, found);
            !removed)
            return base::Fail(socketPath + QStringLiteral(": ") + removed.error());
    }
    // Bound in place, not renamed into place: binding fails on whatever has
    // come to the path meanwhile (a host started at the same moment), where a
    // rename would silently replace it. The mask keeps other users out.
    const mode_t mask = ::umask(0077);
    const bool listening = server_.listen(socketPath);
    ::umask(mask);
    if (listening)
        return Started::Listening;
    if (server_.serverError() == QAbstractSocket::AddressInUseError && SomeoneListens(socketPath))
        return Started::AlreadyRunning;
    return base::Fail(server_.errorString() + QStringLiteral(": ") + socketPath);
}

#else

base::Result<HostServer::Started> HostServer::listen(const QString& socketPath)
{
    if (SomeoneListens(socketPath))
        return Started::AlreadyRunning;
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(socketPath))
        return base::Fail(server_.errorString() + QStringLiteral(": ") + socketPath);
    return Started::Listening;
}

#endif

void HostServer::journal(const QString& line)
{
    // Flushed at once: a client that has its reply finds the call in the journal.
    journal_.write(line.toUtf8() + '\n');
    journal_.flush();
    emit callReceived(line);
}

void HostServer::acceptConnections()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        if (clients_.size() >= kMostClients) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        clients_.insert(socket, Client{IsOwnUser(socket), false});
        // A full buffer without a line end is a line too long: see serve().
        socket->setReadBufferSize(kLongestLine);
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { serve(socket); });
        // Replies being read make room for more; never from inside serve().
        connect(socket, &QLocalSocket::bytesWritten, socket, [this, socket] { serve(socket); },
                Qt::QueuedConnection);
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            forget(socket);
            socket->deleteLater();
        });
        serve(socket);
    }
}

void HostServer::queueServe(QLocalSocket* socket)
{
    Client& client = clients_[socket];
    if (client.serveQueued)
        return;
    client.serveQueued = true;
    QTimer::singleShot(0, socket, [this, socket] {
        if (const auto client = clients_.find(socket); client != clients_.end())
            client->serveQueued = false;
        serve(socket);
    });
}

void HostServer::serve(QLocalSocket* socket)
{
    if (!clients_.contains(socket))
        return;
    for (int handled = 0; socket->canReadLine(); ++handled) {
        if (handled == kLinesPerTurn) {
            queueServe(socket);
            return;
        }
        if (socket->bytesToWrite() > kMostUnreadReplies)
            return;  // bytesWritten brings it back
        const QByteArray line = socket->readLine();
        const auto request = generation::standin::ParseRequest(line);
        Reply reply;
        if (request && turnsAway(*request)) {
            journal(generation::standin::JournalBusyLine(*request));
            reply = Reply::Busy();
        } else if (request) {
            journal(generation::standin::JournalLine(*request));
            reply = answer(socket, *request);
        } else {
            journal(QStringLiteral("invalid ")
                    + generation::standin::Escape(QString::fromUtf8(line.endsWith('\n') ? line.chopped(1) : line)));
            reply = Reply{false, QStringLiteral("unknown request")};
        }
        if (request && request->kind == Request::Kind::Quit && reply.ok) {
            // No longer listening by the time the client reads the reply.
            server_.close();
            socket->write(generation::standin::FormatReply(reply));
            socket->flush();
            emit quitRequested();
            return;
        }
        socket->write(generation::standin::FormatReply(reply));
    }
    if (socket->bytesAvailable() >= kLongestLine)
        socket->abort();
}

void HostServer::forget(QLocalSocket* socket)
{
    clients_.remove(socket);
    for (auto document = documents_.begin(); document != documents_.end();) {
        if (document->owner == socket)
            document = documents_.erase(document);
        else
            ++document;
    }
}

bool HostServer::turnsAway(const Request& request) const
{
    // The greeting lets a client attach to a host still busy, as AutoCAD is
    // found before it takes calls; QUIT lets tests and tools end it.
    if (request.kind == Request::Kind::Hello || request.kind == Request::Kind::Quit)
        return false;
    return !busyUntil_.hasExpired();
}

Reply HostServer::answer(QLocalSocket* socket, const Request& request)
{
    const QString pid = QString::number(QCoreApplication::applicationPid());
    switch (request.kind) {
    case Request::Kind::Hello:
        return Reply{true, generation::standin::kGreeting + QLatin1Char(' ') + pid};
    case Request::Kind::Visible:
        emit visibilityRequested(request.flag);
        return Reply{true, {}};
    case Request::Kind::Open:
        return open(socket, request);
    case Request::Kind::Command: {
        // A document is its opener's: another client cannot drive it.
        const auto document = documents_.constFind(request.document);
        if (document == documents_.cend() || document->owner != socket)
            return Reply{false, QStringLiteral("No such document")};
        return Reply{true, {}};
    }
    case Request::Kind::Quit:
        if (!clients_.value(socket).mayQuit)
            return Reply{false, QStringLiteral("QUIT is taken only from the host's own user")};
        return Reply{true, pid};
    }
    return Reply{false, QStringLiteral("unknown request")};
}

Reply HostServer::open(QLocalSocket* socket, const Request& request)
{
    const base::Result<DrawingPreview> drawing = ReadDrawing(request.text);
    if (!drawing)
        return Reply{false, QStringLiteral("Cannot open drawing: ") + request.text
                                + QStringLiteral(" (") + drawing.error() + QLatin1Char(')')};
    const qint64 id = nextDocument_++;
    documents_.insert(id, Document{socket, request.text});
    emit drawingOpened(request.text, request.flag, DrawingContent(*drawing));
    if (habits_.busyAfterOpen.count() > 0)
        busyUntil_ = QDeadlineTimer(habits_.busyAfterOpen);
    return Reply{true, QString::number(id)};
}

} // namespace cadhost
