// SPDX-License-Identifier: MIT
#pragma once
#include "base/result.h"
#include "generation/standin/standin_protocol.h"
#include <QDeadlineTimer>
#include <QFile>
#include <QHash>
#include <QLocalServer>
#include <QObject>
#include <chrono>

class QLocalSocket;

namespace cadhost {

// A real CAD host's habits that tests ask for: it turns calls away (BUSY)
// for a while after it starts listening and after each drawing it opens, or
// for ever. HELLO and QUIT are always answered.
struct HostHabits {
    std::chrono::milliseconds busyAfterStart{0};
    std::chrono::milliseconds busyAfterOpen{0};
    bool neverReady = false;
};

// The stand-in CAD host's side of the socket: answers the calls, keeps the
// opened drawings of each connection and writes every call to the journal.
// Any local program may connect, so no client can stall the others: each
// connection gets a bounded number of lines per turn of the event loop, a
// bounded line length and a bounded backlog of unread replies.
class HostServer : public QObject {
    Q_OBJECT
public:
    enum class Started { Listening, AlreadyRunning };

    explicit HostServer(HostHabits habits = {}, QObject* parent = nullptr);
    // Listens on socketPath (an absolute path) unless a host already answers
    // there. Only a socket file of this user's that nobody listens on any
    // more is replaced; anything else at the path is left alone and fails the
    // start. Opens the journal (appending).
    base::Result<Started> start(const QString& socketPath, const QString& journalPath);

signals:
    void callReceived(const QString& journalLine);
    void visibilityRequested(bool visible);
    void drawingOpened(const QString& path, bool readOnly, const QString& content);
    void quitRequested();

private:
    struct Client {
        bool mayQuit = false;  // the host's own user
        bool serveQueued = false;
    };
    struct Document {
        const QLocalSocket* owner = nullptr;  // the connection that opened it
        QString path;
    };

    base::Result<Started> listen(const QString& socketPath);
    void acceptConnections();
    void serve(QLocalSocket* socket);
    void queueServe(QLocalSocket* socket);
    void forget(QLocalSocket* socket);
    bool turnsAway(const generation::standin::Request& request) const;
    generation::standin::Reply answer(QLocalSocket* socket,
                                      const generation::standin::Request& request);
    generation::standin::Reply open(QLocalSocket* socket,
                                    const generation::standin::Request& request);
    void journal(const QString& line);

    // Declared before the server: the sockets go with it and still report
    // their disconnection (forget()) while it is destroyed.
    QHash<QLocalSocket*, Client> clients_;
    QHash<qint64, Document> documents_;
    qint64 nextDocument_ = 1;
    HostHabits habits_;
    QDeadlineTimer busyUntil_;  // expired: ready
    QFile journal_;
    QLocalServer server_;
};

} // namespace cadhost
