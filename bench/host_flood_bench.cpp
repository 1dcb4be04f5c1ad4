// SPDX-License-Identifier: MIT
// Floods the stand-in CAD host with short request lines on one connection
// while a second connection asks HELLO over and over, and prints how long the
// host kept the second one waiting: the longest time it was unresponsive.
// The budget is 0.5 s for 10,000 lines.
//
//   host_flood_bench [lines]      default 10000; the host is talvex-cadhost
//                                 beside the program, shown offscreen
#include "generation/standin/standin_connector.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr double kBudgetSeconds = 0.5;
constexpr int kGiveUpSeconds = 600;

int ConnectTo(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || size_t(name.size()) >= sizeof address.sun_path)
        return -1;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    timeval limit{kGiveUpSeconds, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    return fd;
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t put = ::send(fd, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
        if (put <= 0)
            return false;
        done += put;
    }
    return true;
}

// Reads until count line ends have arrived; false on an error or time-out.
bool ReadLines(int fd, qint64 count)
{
    char buffer[64 * 1024];
    while (count > 0) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0)
            return false;
        count -= std::count(buffer, buffer + got, '\n');
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 10000;
    QTemporaryDir folder;
    generation::StandInHostOptions options;
    options.socketPath = folder.filePath(QStringLiteral("cadhost.socket"));
    options.hostProgram = QStringLiteral(TALVEX_ROOT_DIR "/talvex-cadhost");
    options.hostArguments = {QStringLiteral("--journal"), folder.filePath(QStringLiteral("cadhost.journal")),
                             QStringLiteral("--offscreen")};
    generation::StandInHostConnector connector(options);
    const auto host = connector.createObject(QStringLiteral("Autocad.Application"));
    if (!host || !(*host)->setVisible(true)) {  // shown, so that its call list is laid out
        std::fprintf(stderr, "host_flood_bench: no stand-in CAD host at %s\n",
                     qPrintable(options.hostProgram));
        return 1;
    }

    const int flood = ConnectTo(options.socketPath);
    const int probe = ConnectTo(options.socketPath);
    if (flood < 0 || probe < 0) {
        std::fputs("host_flood_bench: cannot connect\n", stderr);
        return 1;
    }
    QByteArray burst;
    for (int i = 0; i < lines; ++i)
        burst += "HELLO\n";

    QElapsedTimer clock;
    clock.start();
    std::atomic<bool> floodDone = false;
    std::atomic<qint64> floodAnsweredMs = -1;
    // Written and read at the same time: the host stops reading a client
    // that leaves its replies unread.
    std::thread writer([&] { WriteAll(flood, burst); });
    std::thread reader([&] {
        if (ReadLines(flood, lines))
            floodAnsweredMs = clock.elapsed();
        floodDone = true;
    });
    qint64 longestWaitNs = 0;
    int probes = 0;
    bool probeFailed = false;
    while (!floodDone && !probeFailed) {
        QElapsedTimer wait;
        wait.start();
        probeFailed = !WriteAll(probe, "HELLO\n") || !ReadLines(probe, 1);
        longestWaitNs = std::max(longestWaitNs, wait.nsecsElapsed());
        ++probes;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    reader.join();
    ::shutdown(flood, SHUT_RDWR);
    writer.join();
    ::close(flood);
    ::close(probe);
    connector.shutDownHost();

    const double longest = double(longestWaitNs) / 1e9;
    std::printf("host flood: %d lines (%lld bytes) on one connection\n", lines,
                static_cast<long long>(burst.size()));
    if (floodAnsweredMs < 0)
        std::printf("  the flood was not answered in full\n");
    else
        std::printf("  all answered after      %8.3f s\n", double(floodAnsweredMs) / 1000.0);
    std::printf("  HELLO probes meanwhile  %8d%s\n", probes, probeFailed ? " (one failed)" : "");
    std::printf("  longest probe wait      %8.3f s   (budget %.1f s: %s)\n", longest, kBudgetSeconds,
                longest < kBudgetSeconds && !probeFailed ? "within" : "OVER");
    return 0;
}
