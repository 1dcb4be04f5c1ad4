// SPDX-License-Identifier: MIT
#include "standin_connector.h"
#include "standin_protocol.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <algorithm>

#ifdef Q_OS_UNIX
#include "line_socket.h"
#include "socket_files.h"
#include <cerrno>
#include <csignal>
#include <unistd.h>
#endif

namespace generation {

namespace {

using standin::Reply;
using standin::Request;

// Replies are short; one this long without its line end is not one.
constexpr qint64 kLongestReply = 64 * 1024;

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

// Connected, or null. Whatever lies at the path stays there: a socket left
// by a host that died is the next host's to replace, and anything else is
// not ours to remove.
std::unique_ptr<standin::LineSocket> Connect(const QString& socketPath, int timeoutMs)
{
    return standin::LineSocket::Connect(socketPath, timeoutMs);
}

// The host is the user's own program: another user's program listening on
// the path must not receive the user's drawings and commands.
base::Status CheckPeer(standin::LineSocket& socket)
{
#ifdef Q_OS_UNIX
    const auto peer = standin::PeerOf(socket.descriptor());
    if (!peer)
        return base::Fail(QStringLiteral("The stand-in CAD host cannot be identified: ") + peer.error());
    if (peer->userId != ::geteuid())
        return base::Fail(QStringLiteral("Another user's program listens on the stand-in host's socket"));
#else
    Q_UNUSED(socket);
#endif
    return {};
}

// The longest a socket may block now: one call's time, within what is left of
// the command's bound.
int SocketWaitMs(int callTimeoutMs, const HostWait& wait)
{
    return int(std::min<qint64>(callTimeoutMs, wait.left().count()));
}

base::Failure WaitEnded()
{
    return base::Fail(QStringLiteral("The wait for the stand-in CAD host has ended"));
}

// One connection to the host; requests are answered in order, so a call is
// a write followed by a wait for one reply line. A call that goes wrong on
// the way (no answer in time, no line end, more than one line) ends the
// connection: a reply arriving after that could only be taken for the
// answer to a later request. A call turned away (BUSY) is made again after
// a pause, until the command's bound has passed.
class Channel {
public:
    Channel(std::unique_ptr<standin::LineSocket> socket, int timeoutMs, std::shared_ptr<HostWait> wait)
        : socket_(std::move(socket)), timeoutMs_(timeoutMs), wait_(std::move(wait)) {}

    // The host's reply; a failed call, or a reply that says the request
    // failed, gives the reason.
    base::Result<Reply> call(const Request& request)
    {
        for (;;) {
            auto reply = exchange(request);
            if (!reply)
                return reply.failure();
            if (!reply->busy) {
                if (!reply->ok)
                    return base::Fail(reply->value);
                return reply;
            }
            if (!wait_->pauseBeforeRetry() || wait_->expired())
                return base::Fail(QStringLiteral("The stand-in CAD host was still busy after %1 s")
                                      .arg(double(wait_->bound().count()) / 1000));
        }
    }

    base::Status succeeds(const Request& request)
    {
        const auto reply = call(request);
        if (!reply)
            return reply.failure();
        return {};
    }

private:
    // One request and its one reply line, as it came.
    base::Result<Reply> exchange(const Request& request)
    {
        if (!socket_->isConnected())
            return base::Fail(QStringLiteral("The stand-in CAD host is not connected"));
        // The event loop ran during a pause: a line that came meanwhile
        // answers no request.
        if (socket_->bytesAvailable() > 0)
            return drop(QStringLiteral("The stand-in CAD host answered more than it was asked"));
        if (wait_->expired())
            return WaitEnded();
        const QDeadlineTimer deadline(SocketWaitMs(timeoutMs_, *wait_));
        if (const base::Status written = socket_->write(standin::FormatRequest(request), deadline); !written)
            return drop(written.error());
        while (!socket_->canReadLine()) {
            if (socket_->bytesAvailable() > kLongestReply)
                return drop(QStringLiteral("The stand-in CAD host's reply has no end"));
            if (deadline.hasExpired() || !socket_->waitForReadyRead(deadline))
                return drop(QStringLiteral("The stand-in CAD host did not answer"));
        }
        const QByteArray line = socket_->readLine();
        if (line.size() > kLongestReply + 1)
            return drop(QStringLiteral("The stand-in CAD host's reply is too long"));
        if (socket_->bytesAvailable() > 0)
            return drop(QStringLiteral("The stand-in CAD host answered more than it was asked"));
        const std::optional<Reply> reply = standin::ParseReply(line);
        if (!reply)
            return drop(QStringLiteral("The stand-in CAD host gave an unreadable reply"));
        return *reply;
    }

    base::Failure drop(const QString& reason)
    {
        socket_->abort();
        return base::Fail(reason);
    }

    std::unique_ptr<standin::LineSocket> socket_;
    int timeoutMs_;
    std::shared_ptr<HostWait> wait_;
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
    : options_(std::move(options)), wait_(std::make_shared<HostWait>(options_.wait))
{
    wait_->restart();
    if (options_.socketPath.isEmpty())
        options_.socketPath = standin::DefaultSocketPath();
    if (options_.hostProgram.isEmpty())
        options_.hostProgram = standin::HostProgramIn(QCoreApplication::applicationDirPath());
}

void StandInHostConnector::beginCommand()
{
    wait_->restart();
}

base::Result<std::unique_ptr<CadApplication>> StandInHostConnector::attach()
{
    if (wait_->expired())
        return WaitEnded();
    auto socket = Connect(options_.socketPath, SocketWaitMs(options_.callTimeoutMs, *wait_));
    if (!socket)
        return base::Fail(QStringLiteral("No stand-in CAD host is running"));
    if (const base::Status ours = CheckPeer(*socket); !ours)
        return ours.failure();
    auto channel = std::make_shared<Channel>(std::move(socket), options_.callTimeoutMs, wait_);
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

    // It listens once it has started, which may take long: it is waited for
    // within the command's bound, and the program keeps running meanwhile.
    for (;;) {
        if (auto application = attach())
            return application;
        // A host that exits at once (no display, another one just started)
        // gets one more look, then no more waiting.
        if (!ProcessAlive(processId))
            return attach();
        if (!wait_->pauseBeforeRetry() || wait_->expired())
            return base::Fail(QStringLiteral("The stand-in CAD host was started but did not answer "
                                             "within %1 s")
                                  .arg(double(wait_->bound().count()) / 1000));
    }
}

bool StandInHostConnector::shutDownHost(int timeoutMs)
{
    // A bare connection: QUIT alone, so the journal shows no extra attach.
    auto socket = Connect(options_.socketPath, options_.callTimeoutMs);
    if (!socket)
        return true;
    if (!CheckPeer(*socket))
        return false;
    // The process at the other end of the socket, where the system says: the
    // reply's number must be its own, and no other process is ever killed.
    qint64 peerId = 0;
#ifdef Q_OS_UNIX
    if (const auto peer = standin::PeerOf(socket->descriptor()))
        peerId = peer->processId;
#endif
    // Outside any command: a bound of its own, and no waiting for a busy host.
    Channel channel(std::move(socket), options_.callTimeoutMs,
                    std::make_shared<HostWait>(std::chrono::milliseconds(options_.callTimeoutMs)));
    Request quit;
    quit.kind = Request::Kind::Quit;
    const auto reply = channel.call(quit);
    bool numeric = false;
    const qint64 processId = reply ? reply->value.toLongLong(&numeric) : 0;
    if (numeric && peerId != 0 && processId != peerId)
        return false;
    if (numeric) {
        // The reply comes before the host goes; the process tells when it is gone.
        const QDeadlineTimer deadline(timeoutMs);
        while (ProcessAlive(processId) && !deadline.hasExpired())
            QThread::msleep(20);
#ifdef Q_OS_UNIX
        if (peerId != 0 && ProcessAlive(processId)) {
            ::kill(pid_t(processId), SIGKILL);
            QThread::msleep(100);
        }
#endif
    }
    return Connect(options_.socketPath, options_.callTimeoutMs) == nullptr;
}

} // namespace generation
