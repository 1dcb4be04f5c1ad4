// SPDX-License-Identifier: MIT
#pragma once
// A stand-in CAD host played by the test: it listens on a local socket in a
// thread of its own (the client under test blocks in its calls) and answers
// each request line the way the test's script says.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace testing {

// A socket file with nobody listening, as a host that was killed leaves it.
inline bool BindStaleSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || size_t(name.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

class ScriptedHost {
public:
    // Called for every request line (without its LF) on the host's thread;
    // answers through send().
    using Script = std::function<void(ScriptedHost& host, const QByteArray& line)>;

    ScriptedHost(const QString& socketPath, Script script) : script_(std::move(script))
    {
        listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(socketPath);
        if (listener_ < 0 || size_t(name.size()) >= sizeof address.sun_path)
            return;
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
            || ::listen(listener_, 4) != 0)
            return;
        listening_ = true;
        thread_ = std::thread([this] { serve(); });
    }

    ~ScriptedHost()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        if (listener_ >= 0)
            ::close(listener_);
    }

    bool listening() const { return listening_; }

    // To the client on the current connection; false once it has gone.
    bool send(const QByteArray& bytes)
    {
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t put = ::send(client_, bytes.constData() + done,
                                       size_t(bytes.size() - done), MSG_NOSIGNAL);
            if (put <= 0) {
                clientGone_ = true;
                return false;
            }
            done += put;
            sent_ += put;
        }
        return true;
    }
    static void pause(int milliseconds)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }

    QList<QByteArray> received() const
    {
        std::lock_guard lock(mutex_);
        return received_;
    }
    qint64 bytesSent() const { return sent_; }
    // The client closed a connection (or a send to it failed).
    bool clientGone() const { return clientGone_; }

private:
    void serve()
    {
        while (!stop_) {
            pollfd waiting{listener_, POLLIN, 0};
            if (::poll(&waiting, 1, 20) <= 0)
                continue;
            client_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client_ >= 0) {
                converse();
                ::close(client_);
            }
        }
    }

    void converse()
    {
        QByteArray pending;
        char buffer[4096];
        while (!stop_) {
            pollfd waiting{client_, POLLIN, 0};
            if (::poll(&waiting, 1, 20) <= 0)
                continue;
            const ssize_t got = ::recv(client_, buffer, sizeof buffer, 0);
            if (got <= 0) {
                clientGone_ = true;
                return;
            }
            pending.append(buffer, got);
            for (qsizetype end; (end = pending.indexOf('\n')) >= 0;) {
                const QByteArray line = pending.left(end);
                pending.remove(0, end + 1);
                {
                    std::lock_guard lock(mutex_);
                    received_.append(line);
                }
                script_(*this, line);
            }
        }
    }

    Script script_;
    int listener_ = -1;
    int client_ = -1;
    bool listening_ = false;
    std::atomic<bool> stop_ = false;
    std::atomic<bool> clientGone_ = false;
    std::atomic<qint64> sent_ = 0;
    mutable std::mutex mutex_;
    QList<QByteArray> received_;
    std::thread thread_;
};

} // namespace testing
