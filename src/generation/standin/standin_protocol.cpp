// SPDX-License-Identifier: MIT
#include "standin_protocol.h"
#include <QDir>
#include <QStandardPaths>

namespace generation::standin {

namespace {

QString RuntimeFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

QString BoolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

std::optional<bool> ParseBool(const QString& text)
{
    if (text == QLatin1String("true"))
        return true;
    if (text == QLatin1String("false"))
        return false;
    return std::nullopt;
}

// Splits "WORD rest" at the first blank; rest is empty when there is none.
std::pair<QString, QString> SplitFirst(const QString& line)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return {line, QString()};
    return {line.left(blank), line.mid(blank + 1)};
}

QString LineText(const QByteArray& line)
{
    QByteArray bytes = line;
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    return QString::fromUtf8(bytes);
}

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

} // namespace

QString DefaultSocketPath()
{
    return RuntimeFolder() + QStringLiteral("/talvex-cadhost");
}

QString DefaultJournalPath()
{
    return RuntimeFolder() + QStringLiteral("/talvex-cadhost.journal");
}

QString HostProgramIn(const QString& folder)
{
#ifdef Q_OS_WIN
    return QDir(folder).filePath(kHostProgramName + QStringLiteral(".exe"));
#else
    return QDir(folder).filePath(kHostProgramName);
#endif
}

QString Escape(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\')
            escaped += QStringLiteral("\\\\");
        else if (u == '\r')
            escaped += QStringLiteral("\\r");
        else if (u == '\n')
            escaped += QStringLiteral("\\n");
        else if (u == '\t')
            escaped += QStringLiteral("\\t");
        else if (u < 0x20 || u == 0x7f)
            escaped += QStringLiteral("\\x")
                + QStringLiteral("%1").arg(unsigned(u), 2, 16, QLatin1Char('0')).toUpper();
        else
            escaped += c;
    }
    return escaped;
}

std::optional<QString> Unescape(const QString& text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\')) {
            plain += c;
            continue;
        }
        if (++i >= text.size())
            return std::nullopt;
        switch (text.at(i).unicode()) {
        case '\\': plain += QLatin1Char('\\'); break;
        case 'r': plain += QLatin1Char('\r'); break;
        case 'n': plain += QLatin1Char('\n'); break;
        case 't': plain += QLatin1Char('\t'); break;
        case 'x': {
            if (i + 2 >= text.size())
                return std::nullopt;
            const int high = HexDigit(text.at(i + 1));
            const int low = HexDigit(text.at(i + 2));
            if (high < 0 || low < 0)
                return std::nullopt;
            plain += QChar(char16_t(high * 16 + low));
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return plain;
}

QByteArray FormatRequest(const Request& request)
{
    QString line;
    switch (request.kind) {
    case Request::Kind::Hello: line = QStringLiteral("HELLO"); break;
    case Request::Kind::Visible: line = QStringLiteral("VISIBLE ") + BoolText(request.flag); break;
    case Request::Kind::Open:
        line = QStringLiteral("OPEN ") + BoolText(request.flag) + QLatin1Char(' ')
            + Escape(request.text);
        break;
    case Request::Kind::Command:
        line = QStringLiteral("COMMAND ") + QString::number(request.document) + QLatin1Char(' ')
            + Escape(request.text);
        break;
    case Request::Kind::Quit: line = QStringLiteral("QUIT"); break;
    }
    return line.toUtf8() + '\n';
}

std::optional<Request> ParseRequest(const QByteArray& line)
{
    const auto [word, rest] = SplitFirst(LineText(line));
    Request request;
    if (word == QLatin1String("HELLO") && rest.isEmpty()) {
        request.kind = Request::Kind::Hello;
        return request;
    }
    if (word == QLatin1String("QUIT") && rest.isEmpty()) {
        request.kind = Request::Kind::Quit;
        return request;
    }
    if (word == QLatin1String("VISIBLE")) {
        const auto flag = ParseBool(rest);
        if (!flag)
            return std::nullopt;
        request.kind = Request::Kind::Visible;
        request.flag = *flag;
        return request;
    }
    const auto [first, remainder] = SplitFirst(rest);
    const auto text = Unescape(remainder);
    if (!text)
        return std::nullopt;
    if (word == QLatin1String("OPEN")) {
        const auto flag = ParseBool(first);
        if (!flag || text->isEmpty())
            return std::nullopt;
        request.kind = Request::Kind::Open;
        request.flag = *flag;
        request.text = *text;
        return request;
    }
    if (word == QLatin1String("COMMAND")) {
        bool ok = false;
        request.document = first.toLongLong(&ok);
        if (!ok)
            return std::nullopt;
        request.kind = Request::Kind::Command;
        request.text = *text;
        return request;
    }
    return std::nullopt;
}

QByteArray FormatReply(const Reply& reply)
{
    if (reply.busy)
        return QByteArrayLiteral("BUSY\n");
    QString line = reply.ok ? QStringLiteral("OK") : QStringLiteral("ERR");
    if (!reply.value.isEmpty())
        line += QLatin1Char(' ') + Escape(reply.value);
    return line.toUtf8() + '\n';
}

std::optional<Reply> ParseReply(const QByteArray& line)
{
    const QString text = LineText(line);
    if (text == QLatin1String("BUSY"))
        return Reply::Busy();
    const auto [word, rest] = SplitFirst(text);
    const auto value = Unescape(rest);
    if (!value)
        return std::nullopt;
    if (word == QLatin1String("OK"))
        return Reply{true, *value};
    if (word == QLatin1String("ERR"))
        return Reply{false, *value};
    return std::nullopt;
}

QString JournalLine(const Request& request)
{
    switch (request.kind) {
    case Request::Kind::Hello: return QStringLiteral("attach");
    case Request::Kind::Visible: return QStringLiteral("visible ") + BoolText(request.flag);
    case Request::Kind::Open:
        return QStringLiteral("open readonly=") + BoolText(request.flag) + QLatin1Char(' ')
            + Escape(request.text);
    case Request::Kind::Command: return QStringLiteral("command ") + Escape(request.text);
    case Request::Kind::Quit: return QStringLiteral("quit");
    }
    return {};
}

} // namespace generation::standin
