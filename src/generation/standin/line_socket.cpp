// SPDX-License-Identifier: MIT
#include "line_socket.h"
#include <QFile>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace generation::standin {

namespace {

// How long to wait before trying again to connect to a host whose queue of
// waiting connections is full.
constexpr int kConnectRetryMs = 5;
// The most one read takes in.
constexpr size_t kMostPerRead = 16 * 1024;

// Polls for `events` until the deadline; false when it passed.
bool Await(int descriptor, short events, const QDeadlineTimer& deadline)
{
    for (;;) {
        pollfd watched{descriptor, events, 0};
        const int waitMs =
            deadline.isForever() ? -1 : int(std::clamp<qint64>(deadline.remainingTime(), 0, INT_MAX));
        const int ready = ::poll(&watched, 1, waitMs);
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

} // namespace

std::unique_ptr<LineSocket> LineSocket::Connect(const QString& path, int timeoutMs)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || size_t(name.size()) >= sizeof address.sun_path)
        return nullptr;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (descriptor < 0)
        return nullptr;
    std::unique_ptr<LineSocket> socket(new LineSocket(descriptor));
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (::connect(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            return socket;
        // Still connecting when a signal came, or (elsewhere than on Linux)
        // in the background.
        if (errno == EINPROGRESS || errno == EINTR) {
            int error = 0;
            socklen_t size = sizeof error;
            if (Await(descriptor, POLLOUT, deadline)
                && ::getsockopt(descriptor, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0)
                return socket;
            return nullptr;
        }
        // A full queue of waiting connections: the host may take ours soon.
        if (errno != EAGAIN || deadline.hasExpired())
            return nullptr;
        QThread::msleep(kConnectRetryMs);
    }
}

LineSocket::~LineSocket()
{
    abort();
}

bool LineSocket::receive()
{
    if (!isConnected())
        return false;
    // One read of a bounded size: a peer that keeps sending must not keep the
    // reader taking it in.
    char chunk[kMostPerRead];
    for (;;) {
        const ssize_t got = ::recv(descriptor_, chunk, sizeof chunk, MSG_DONTWAIT);
        if (got > 0) {
            received_.append(chunk, qsizetype(got));
            return true;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        peerClosed_ = true;  // the end of the stream, or an error
        return false;
    }
}

qint64 LineSocket::bytesAvailable()
{
    receive();
    return received_.size();
}

bool LineSocket::canReadLine()
{
    receive();
    return received_.contains('\n');
}

QByteArray LineSocket::readLine()
{
    const qsizetype end = received_.indexOf('\n');
    const QByteArray line = received_.left(end < 0 ? received_.size() : end + 1);
    received_.remove(0, line.size());
    return line;
}

bool LineSocket::waitForReadyRead(const QDeadlineTimer& deadline)
{
    const qsizetype before = received_.size();
    while (isConnected()) {
        if (!receive())
            break;
        if (received_.size() > before)
            return true;
        if (!Await(descriptor_, POLLIN, deadline))
            return false;
    }
    return received_.size() > before;
}

base::Status LineSocket::write(const QByteArray& data, const QDeadlineTimer& deadline)
{
    if (!isConnected())
        return base::Fail(QStringLiteral("The connection has ended"));
    for (qsizetype done = 0; done < data.size();) {
        const ssize_t put = ::send(descriptor_, data.constData() + done, size_t(data.size() - done),
                                   MSG_NOSIGNAL | MSG_DONTWAIT);
        if (put >= 0) {
            done += put;
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return base::Fail(QString::fromLocal8Bit(std::strerror(errno)));
        if (!Await(descriptor_, POLLOUT, deadline))
            return base::Fail(QStringLiteral("The stand-in CAD host took no request"));
    }
    return {};
}

void LineSocket::abort()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
    descriptor_ = -1;
    received_.clear();
}

} // namespace generation::standin
