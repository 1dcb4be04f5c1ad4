// SPDX-License-Identifier: MIT
#pragma once
// The client's end of a connection to the stand-in host: a local (Unix
// domain) stream socket that carries lines, with every wait bounded. Plain
// POSIX calls rather than Qt's local socket, which would load Qt Network and
// the libraries it links (Kerberos, proxy lookup) at every start of the
// program for a connection that the generate command alone makes.
#include "base/result.h"
#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <memory>

namespace generation::standin {

class LineSocket {
public:
    // Connected to the socket at `path` within timeoutMs, or null.
    static std::unique_ptr<LineSocket> Connect(const QString& path, int timeoutMs);
    ~LineSocket();
    LineSocket(const LineSocket&) = delete;
    LineSocket& operator=(const LineSocket&) = delete;

    int descriptor() const { return descriptor_; }
    // Until the peer closed the connection, a call failed or abort().
    bool isConnected() const { return descriptor_ >= 0 && !peerClosed_; }

    // What has arrived and is not read yet, taken in without waiting.
    qint64 bytesAvailable();
    // Whether a whole line has arrived, taken in without waiting.
    bool canReadLine();
    // The first line that arrived, with its line end.
    QByteArray readLine();
    // Waits until more arrives; false when nothing did before the deadline,
    // or the connection ended.
    bool waitForReadyRead(const QDeadlineTimer& deadline);
    // All of `data` handed to the system before the deadline; else the reason.
    base::Status write(const QByteArray& data, const QDeadlineTimer& deadline);
    // Ends the connection; what arrived is dropped.
    void abort();

private:
    explicit LineSocket(int descriptor) : descriptor_(descriptor) {}
    // Takes in what the system holds; false once the connection ended.
    bool receive();

    int descriptor_;
    bool peerClosed_ = false;
    QByteArray received_;
};

} // namespace generation::standin
