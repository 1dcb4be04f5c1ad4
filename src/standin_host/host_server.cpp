#include "host_server.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

namespace cadhost {

namespace {

using generation::standin::Reply;
using generation::standin::Request;

constexpr qint64 kLongestLine = 1 << 20;
constexpr qint64 kShownContent = 64 * 1024;

// Stand-in drawings are small text files; anything else is only described.
QString DrawingContent(QFile& file)
{
    const QByteArray bytes = file.read(kShownContent);
    if (bytes.contains('\0'))
        return QStringLiteral("(binary drawing, %1 bytes)").arg(file.size());
    QString text = QString::fromUtf8(bytes);
    if (file.size() > kShownContent)
        text += QStringLiteral("\n(... %1 bytes in all)").arg(file.size());
    return text;
}

} // namespace

HostServer::HostServer(QObject* parent) : QObject(parent)
{
    connect(&server_, &QLocalServer::newConnection, this, &HostServer::acceptConnections);
}

HostServer::ListenResult HostServer::start(const QString& socketPath,
                                           const QString& journalPath, QString* error)
{
    QDir().mkpath(QFileInfo(socketPath).absolutePath());
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(socketPath)) {
        if (server_.serverError() != QAbstractSocket::AddressInUseError) {
            *error = server_.errorString();
            return ListenResult::Failed;
        }
        QLocalSocket probe;
        probe.connectToServer(socketPath);
        if (probe.waitForConnected(1000))
            return ListenResult::AlreadyRunning;
        QLocalServer::removeServer(socketPath);
        if (!server_.listen(socketPath)) {
            *error = server_.errorString();
            return ListenResult::Failed;
        }
    }
    QDir().mkpath(QFileInfo(journalPath).absolutePath());
    journal_.setFileName(journalPath);
    if (!journal_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        *error = journal_.errorString() + QStringLiteral(": ") + journalPath;
        server_.close();
        return ListenResult::Failed;
    }
    journal(generation::standin::JournalStartLine(QCoreApplication::applicationPid()));
    return ListenResult::Listening;
}

void HostServer::journal(const QString& line)
{
    journal_.write(line.toUtf8() + '\n');
    journal_.flush();
    emit callReceived(line);
}

void HostServer::acceptConnections()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequests(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        readRequests(socket);
    }
}

void HostServer::readRequests(QLocalSocket* socket)
{
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine();
        const auto request = generation::standin::ParseRequest(line);
        Reply reply;
        if (request) {
            journal(generation::standin::JournalLine(*request));
            reply = answer(*request);
        } else {
            QByteArray raw = line;
            if (raw.endsWith('\n'))
                raw.chop(1);
            journal(QStringLiteral("invalid ")
                    + generation::standin::Escape(QString::fromUtf8(raw)));
            reply = Reply{false, QStringLiteral("unknown request")};
        }
        socket->write(generation::standin::FormatReply(reply));
        socket->flush();
        if (request && request->kind == Request::Kind::Quit) {
            server_.close();
            emit quitRequested();
            return;
        }
    }
    if (socket->bytesAvailable() > kLongestLine)
        socket->abort();
}

Reply HostServer::answer(const Request& request)
{
    const QString pid = QString::number(QCoreApplication::applicationPid());
    switch (request.kind) {
    case Request::Kind::Hello:
        return Reply{true, generation::standin::kGreeting + QLatin1Char(' ') + pid};
    case Request::Kind::Visible:
        emit visibilityRequested(request.flag);
        return Reply{true, {}};
    case Request::Kind::Open: {
        QFile file(request.text);
        if (!QFileInfo(request.text).isFile() || !file.open(QIODevice::ReadOnly))
            return Reply{false, QStringLiteral("Cannot open drawing: ") + request.text};
        const qint64 id = nextDocument_++;
        documents_.insert(id, request.text);
        emit drawingOpened(request.text, request.flag, DrawingContent(file));
        return Reply{true, QString::number(id)};
    }
    case Request::Kind::Command:
        if (!documents_.contains(request.document))
            return Reply{false, QStringLiteral("No such document")};
        return Reply{true, {}};
    case Request::Kind::Quit:
        return Reply{true, pid};
    }
    return Reply{false, QStringLiteral("unknown request")};
}

} // namespace cadhost
