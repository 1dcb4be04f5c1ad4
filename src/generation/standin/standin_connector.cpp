#include "standin_connector.h"
#include "standin_protocol.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>

#ifdef Q_OS_UNIX
#include <csignal>
#include <cerrno>
#endif

namespace generation {

namespace {

using standin::Reply;
using standin::Request;

bool NamesStandIn(const QString& progId)
{
    return progId.compare(QLatin1String("AutoCAD.Application"), Qt::CaseInsensitive) == 0;
}

base::Failure UnknownProgId(const QString& progId)
{
    return base::Fail(QStringLiteral("Invalid class string: ") + progId);
}

bool ProcessAlive(qint64 processId)
{
#ifdef Q_OS_UNIX
    if (processId <= 0 || (::kill(pid_t(processId), 0) != 0 && errno != EPERM))
        return false;
#ifdef Q_OS_LINUX
    // A host that ended but was not yet reaped by its new parent is gone too.
    QFile status(QStringLiteral("/proc/%1/stat").arg(processId));
    if (status.open(QIODevice::ReadOnly)) {
        const QByteArray line = status.readAll();
        const qsizetype end = line.lastIndexOf(')');
        if (end >= 0 && line.mid(end + 2, 1) == "Z")
            return false;
    }
#endif
    return true;
#else
    Q_UNUSED(processId);
    return true;
#endif
}

// Connected, or null. A refused connection means the file is there but nobody
// listens: a host that died; its file goes so that the next host can listen.
std::unique_ptr<QLocalSocket> Connect(const QString& socketPath, int timeoutMs)
{
    auto socket = std::make_unique<QLocalSocket>();
    socket->connectToServer(socketPath);
    if (socket->waitForConnected(timeoutMs))
        return socket;
    if (socket->error() == QLocalSocket::ConnectionRefusedError)
        QLocalServer::removeServer(socketPath);
    return nullptr;
}

// One connection to the host; requests are answered in order, so a call is
// a write followed by a wait for one reply line.
class Channel {
public:
    Channel(std::unique_ptr<QLocalSocket> socket, int timeoutMs)
        : socket_(std::move(socket)), timeoutMs_(timeoutMs) {}

    // The host's reply; a failed call, or a reply that says the request
    // failed, gives the reason.
    base::Result<Reply> call(const Request& request)
    {
        if (socket_->state() != QLocalSocket::ConnectedState)
            return base::Fail(QStringLiteral("The stand-in CAD host is not connected"));
        socket_->write(standin::FormatRequest(request));
        const QDeadlineTimer deadline(timeoutMs_);
        while (socket_->bytesToWrite() > 0) {
            if (!socket_->waitForBytesWritten(int(deadline.remainingTime())))
                return base::Fail(socket_->errorString());
        }
        while (!socket_->canReadLine()) {
            if (deadline.hasExpired() || !socket_->waitForReadyRead(int(deadline.remainingTime())))
                return base::Fail(QStringLiteral("The stand-in CAD host did not answer"));
        }
        const std::optional<Reply> reply = standin::ParseReply(socket_->readLine());
        if (!reply)
            return base::Fail(QStringLiteral("The stand-in CAD host gave an unreadable reply"));
        if (!reply->ok)
            return base::Fail(reply->value);
        return *reply;
    }

    base::Status succeeds(const Request& request)
    {
        const auto reply = call(request);
        if (!reply)
            return reply.failure();
        return {};
    }

private:
    std::unique_ptr<QLocalSocket> socket_;
    int timeoutMs_;
};

class StandInDocument final : public CadDocument {
public:
    StandInDocument(std::shared_ptr<Channel> channel, qint64 id)
        : channel_(std::move(channel)), id_(id) {}
    base::Status sendCommand(const QString& command) override
    {
        Request request;
        request.kind = Request::Kind::Command;
        request.document = id_;
        request.text = command;
        return channel_->succeeds(request);
    }

private:
    std::shared_ptr<Channel> channel_;
    qint64 id_;
};

class StandInApplication final : public CadApplication {
public:
    StandInApplication(std::shared_ptr<Channel> channel, qint64 processId)
        : channel_(std::move(channel)), processId_(processId) {}

    base::Status setVisible(bool visible) override
    {
        Request request;
        request.kind = Request::Kind::Visible;
        request.flag = visible;
        return channel_->succeeds(request);
    }

    base::Result<std::unique_ptr<CadDocument>> openDocument(const QString& path,
                                                            bool readOnly) override
    {
        Request request;
        request.kind = Request::Kind::Open;
        request.flag = readOnly;
        request.text = path;
        const auto reply = channel_->call(request);
        if (!reply)
            return reply.failure();
        bool numeric = false;
        const qint64 id = reply->value.toLongLong(&numeric);
        if (!numeric)
            return base::Fail(QStringLiteral("The stand-in CAD host named no document"));
        return std::unique_ptr<CadDocument>(std::make_unique<StandInDocument>(channel_, id));
    }

    qint64 processId() const { return processId_; }

private:
    std::shared_ptr<Channel> channel_;
    qint64 processId_;
};

} // namespace

qint64 StandInHostProcessId(const CadApplication& application)
{
    const auto* standIn = dynamic_cast<const StandInApplication*>(&application);
    return standIn ? standIn->processId() : 0;
}

StandInHostConnector::StandInHostConnector(StandInHostOptions options)
    : options_(std::move(options))
{
    if (options_.socketPath.isEmpty())
        options_.socketPath = standin::DefaultSocketPath();
    if (options_.hostProgram.isEmpty())
        options_.hostProgram = standin::HostProgramIn(QCoreApplication::applicationDirPath());
}

base::Result<std::unique_ptr<CadApplication>> StandInHostConnector::attach()
{
    auto socket = Connect(options_.socketPath, options_.callTimeoutMs);
    if (!socket)
        return base::Fail(QStringLiteral("No stand-in CAD host is running"));
    auto channel = std::make_shared<Channel>(std::move(socket), options_.callTimeoutMs);
    Request hello;
    hello.kind = Request::Kind::Hello;
    const auto reply = channel->call(hello);
    if (!reply)
        return reply.failure();
    const QStringList words = reply->value.split(QLatin1Char(' '));
    bool numeric = false;
    const qint64 processId = words.size() == 2 ? words[1].toLongLong(&numeric) : 0;
    if (words.value(0) != standin::kGreeting || !numeric)
        return base::Fail(QStringLiteral("Another program listens on the stand-in host's socket"));
    return std::unique_ptr<CadApplication>(
        std::make_unique<StandInApplication>(std::move(channel), processId));
}

base::Result<std::unique_ptr<CadApplication>>
StandInHostConnector::getActiveObject(const QString& progId)
{
    if (!NamesStandIn(progId))
        return UnknownProgId(progId);
    return attach();
}

base::Result<std::unique_ptr<CadApplication>>
StandInHostConnector::createObject(const QString& progId)
{
    if (!NamesStandIn(progId))
        return UnknownProgId(progId);
    const QFileInfo program(options_.hostProgram);
    if (!program.isFile() || !program.isExecutable())
        return base::Fail(QStringLiteral("The stand-in CAD host is not installed: ")
                          + options_.hostProgram);
    // One may have come up since the caller last looked; a second host would
    // only find the socket taken and leave again.
    if (auto running = attach())
        return running;

    QProcess process;
    process.setProgram(options_.hostProgram);
    process.setArguments(QStringList{QStringLiteral("--socket"), options_.socketPath}
                         + options_.hostArguments);
    // The host outlives us: it must not hold on to our terminal or pipes.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    qint64 processId = 0;
    if (!process.startDetached(&processId))
        return base::Fail(process.errorString());
    ++hostsStarted_;

    const QDeadlineTimer deadline(options_.startTimeoutMs);
    while (!deadline.hasExpired()) {
        if (auto application = attach())
            return application;
        // A host that exits at once (no display, another one just started)
        // gets one more look, then no more waiting.
        if (!ProcessAlive(processId))
            return attach();
        QThread::msleep(50);
    }
    return base::Fail(QStringLiteral("The stand-in CAD host did not answer after it was started"));
}

bool StandInHostConnector::shutDownHost(int timeoutMs)
{
    // A bare connection: QUIT alone, so the journal shows no extra attach.
    auto socket = Connect(options_.socketPath, options_.callTimeoutMs);
    if (!socket)
        return true;
    Channel channel(std::move(socket), options_.callTimeoutMs);
    Request quit;
    quit.kind = Request::Kind::Quit;
    const auto reply = channel.call(quit);
    bool numeric = false;
    const qint64 processId = reply ? reply->value.toLongLong(&numeric) : 0;
    // The reply comes before the host goes; the process tells when it is gone.
    const QDeadlineTimer deadline(timeoutMs);
    while (numeric && ProcessAlive(processId) && !deadline.hasExpired())
        QThread::msleep(20);
#ifdef Q_OS_UNIX
    if (numeric && ProcessAlive(processId)) {
        ::kill(pid_t(processId), SIGKILL);
        QThread::msleep(100);
    }
#endif
    return Connect(options_.socketPath, options_.callTimeoutMs) == nullptr;
}

} // namespace generation
