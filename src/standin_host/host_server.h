#pragma once
#include "generation/standin/standin_protocol.h"
#include <QFile>
#include <QHash>
#include <QLocalServer>
#include <QObject>

class QLocalSocket;

namespace cadhost {

// The stand-in CAD host's side of the socket: answers the calls, keeps the
// opened drawings and writes every call to the journal.
class HostServer : public QObject {
    Q_OBJECT
public:
    enum class ListenResult { Listening, AlreadyRunning, Failed };

    explicit HostServer(QObject* parent = nullptr);
    // Listens on socketPath unless another host answers there; a socket file
    // left by a host that is gone is replaced. Opens the journal (appending).
    ListenResult start(const QString& socketPath, const QString& journalPath, QString* error);

signals:
    void callReceived(const QString& journalLine);
    void visibilityRequested(bool visible);
    void drawingOpened(const QString& path, bool readOnly, const QString& content);
    void quitRequested();

private:
    void acceptConnections();
    void readRequests(QLocalSocket* socket);
    generation::standin::Reply answer(const generation::standin::Request& request);
    void journal(const QString& line);

    QLocalServer server_;
    QFile journal_;
    QHash<qint64, QString> documents_;
    qint64 nextDocument_ = 1;
};

} // namespace cadhost
