// SPDX-License-Identifier: MIT
#pragma once
// The stand-in host's socket file and the program at the other end of a
// connection, on POSIX systems: a local socket is a file that anybody able to
// write to its folder may put there, so neither side takes it on trust.
#include "base/result.h"
#include <QString>
#include <sys/types.h>

namespace generation::standin {

// The program at the other end of a connected local socket, as the kernel
// tells it. processId is 0 where the system does not say.
struct Peer {
    qint64 processId = 0;
    uid_t userId = 0;
};
base::Result<Peer> PeerOf(int socketDescriptor);

// What lies at the path where a host is to listen, looked at without
// following a link.
struct SocketPathState {
    enum class Kind { Nothing, OwnSocket, Other };
    Kind kind = Kind::Nothing;
    QString description;  // Other: what lies there, fit for a message
    dev_t device = 0;     // OwnSocket: which file it is
    ino_t inode = 0;
};
SocketPathState InspectSocketPath(const QString& path, uid_t owner);

// Removes the socket file that InspectSocketPath found there, and nothing
// else: whatever has taken its place since is left alone.
base::Status RemoveSocketFile(const QString& path, const SocketPathState& found);

} // namespace generation::standin
