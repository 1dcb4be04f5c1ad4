// SPDX-License-Identifier: MIT
#pragma once
// The stand-in CAD host (talvex-cadhost) and its clients talk over a local
// socket, one request line and one reply line at a time, UTF-8, each line
// ended by LF.
//
// Requests                          Replies
//   HELLO                             OK talvex-cadhost <host process id>
//   VISIBLE true|false                OK
//   OPEN true|false <path>            OK <document id> | ERR <description>
//     (the flag is Documents.Open's read-only argument)
//   COMMAND <document id> <text>      OK | ERR <description>
//   QUIT                              OK <host process id>, then the host closes
//
// While the host is busy (starting up, loading a drawing) it turns calls
// away with the bare reply BUSY, as AutoCAD rejects calls then; the client
// tries again later. HELLO and QUIT are never turned away.
//
// A path, a command text or a description is the rest of its line, escaped
// as below, so it may hold blanks.
//
// Any local program may connect, so the host takes little on trust:
// - A document belongs to the connection that opened it: COMMAND on another
//   connection's document, or on one whose connection has closed, is
//   answered "ERR No such document".
// - QUIT is taken only from a program of the host's own user (by the
//   socket's peer credentials) and only as the bare line "QUIT". It is for
//   tests and tools (StandInHostConnector::shutDownHost); the generate
//   command never closes the host.
// - OPEN opens only a plain file of at most 256 MB (no FIFO, device or
//   folder) and reads at most the first 64 KB of it to show.
// - A request line longer than 64 KB ends its connection, and the host keeps
//   at most 64 connections at once. Each connection is
//   served at most 64 lines per turn of the host's event loop, and its
//   requests wait while more than 64 KB of its replies are unread.
// A client drops its connection after a call that went wrong on the way (no
// reply in time, a reply of more than 64 KB without its line end, more than
// one reply, a line that came while it paused before trying again after
// BUSY): a late reply must never be read as the answer to a later request.
//
// The host keeps a journal: a text file, one line per call received,
//   start <host process id>           the host began listening
//   attach                            a client said HELLO (one per attach)
//   visible true|false
//   open readonly=true|false <path>
//   command <text>
//   quit
//   busy <call>                       a call turned away, <call> as above
//   invalid <line>                    a line that is no request (ERR unknown request)
// with <path>, <text> and <line> escaped the same way.
//
// Escaping: "\" becomes "\\", CR "\r", LF "\n", TAB "\t", any other control
// character (U+0000..U+001F, U+007F) "\xHH" with two upper-case hex digits.
// Nothing else changes, so every line reads back unambiguously.
#include <QByteArray>
#include <QString>
#include <optional>

namespace generation::standin {

inline const QString kHostProgramName = QStringLiteral("talvex-cadhost");
inline const QString kGreeting = QStringLiteral("talvex-cadhost");

// The user's runtime folder + "/talvex-cadhost" and + "/talvex-cadhost.journal".
QString DefaultSocketPath();
QString DefaultJournalPath();
// talvex-cadhost in the given folder (with ".exe" on Windows).
QString HostProgramIn(const QString& folder);

QString Escape(const QString& text);
// Nothing when text holds a malformed escape.
std::optional<QString> Unescape(const QString& text);

struct Request {
    enum class Kind { Hello, Visible, Open, Command, Quit };
    Kind kind = Kind::Hello;
    bool flag = false;     // Visible: the value; Open: read-only
    qint64 document = 0;   // Command
    QString text;          // Open: the path; Command: the command text
};

QByteArray FormatRequest(const Request& request);  // with its LF
std::optional<Request> ParseRequest(const QByteArray& line);  // LF optional

struct Reply {
    bool ok = false;
    QString value;  // OK: the value, if any; ERR: the description
    bool busy = false;  // BUSY: neither done nor refused, to be tried again (ok false, no value)

    static Reply Busy() { return Reply{false, {}, true}; }
};

QByteArray FormatReply(const Reply& reply);  // with its LF
std::optional<Reply> ParseReply(const QByteArray& line);

// The journal line of a request, without its LF; empty for none.
QString JournalLine(const Request& request);
// The journal line of a call turned away while the host was busy.
inline QString JournalBusyLine(const Request& request)
{
    return QStringLiteral("busy ") + JournalLine(request);
}
inline QString JournalStartLine(qint64 processId)
{
    return QStringLiteral("start ") + QString::number(processId);
}

} // namespace generation::standin
