// SPDX-License-Identifier: MIT
// talvex-cadhost: the CAD host that the configurator drives where AutoCAD is
// not available. It listens on a local socket, answers the automation calls
// of the generate command, shows the opened drawing and the calls, and keeps
// a journal of them (formats in standin_protocol.h).
//
//   talvex-cadhost [--socket PATH] [--journal PATH] [--offscreen]
//                  [--start-delay SECONDS] [--busy-seconds SECONDS]
//                  [--busy-after-open SECONDS] [--never-ready]
//
// The last four give it a real CAD host's habits, for tests: a slow start
// (it listens only after the delay) and times when it turns calls away.
//
// A host already listening on the socket is left alone: the new one says so
// and ends with status 0. Anything else at the socket path that is not a
// socket of this user's, left by a host that is gone, ends it with status 1.
#include "host_server.h"
#include "host_window.h"
#include "generation/standin/standin_protocol.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <optional>
#include <cstring>

namespace {

// Chosen before the application object exists, which fixes the platform.
void ChoosePlatform(int argc, char** argv)
{
    bool offscreen = false;
    for (int i = 1; i < argc; ++i)
        offscreen = offscreen || std::strcmp(argv[i], "--offscreen") == 0;
#ifdef Q_OS_LINUX
    // Started from a session without a display the host still serves calls.
    offscreen = offscreen
        || (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
            && qEnvironmentVariableIsEmpty("DISPLAY")
            && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
#endif
    if (offscreen)
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// A number of seconds, fractions allowed, up to a day; nothing for anything else.
std::optional<std::chrono::milliseconds> ParseSeconds(const QString& text)
{
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || !(seconds >= 0 && seconds <= 24 * 3600))
        return std::nullopt;
    return std::chrono::milliseconds(qRound64(seconds * 1000));
}

} // namespace

int main(int argc, char** argv)
{
    ChoosePlatform(argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(generation::standin::kHostProgramName);
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Stand-in CAD host for the configurator"));
    parser.addHelpOption();
    const QCommandLineOption socketOption(QStringLiteral("socket"),
                                          QStringLiteral("Local socket to listen on."),
                                          QStringLiteral("path"),
                                          generation::standin::DefaultSocketPath());
    const QCommandLineOption journalOption(QStringLiteral("journal"),
                                           QStringLiteral("Journal of the calls received."),
                                           QStringLiteral("path"),
                                           generation::standin::DefaultJournalPath());
    const QCommandLineOption offscreenOption(QStringLiteral("offscreen"),
                                             QStringLiteral("Show no window on screen."));
    const QCommandLineOption startDelayOption(
        QStringLiteral("start-delay"), QStringLiteral("Listen only after this long."),
        QStringLiteral("seconds"), QStringLiteral("0"));
    const QCommandLineOption busyOption(
        QStringLiteral("busy-seconds"),
        QStringLiteral("Turn calls away (BUSY) for this long after listening."),
        QStringLiteral("seconds"), QStringLiteral("0"));
    const QCommandLineOption busyAfterOpenOption(
        QStringLiteral("busy-after-open"),
        QStringLiteral("Turn calls away for this long after each drawing opened."),
        QStringLiteral("seconds"), QStringLiteral("0"));
    const QCommandLineOption neverReadyOption(QStringLiteral("never-ready"),
                                              QStringLiteral("Turn every call away."));
    parser.addOptions({socketOption, journalOption, offscreenOption, startDelayOption, busyOption,
                       busyAfterOpenOption, neverReadyOption});
    parser.process(application);

    const auto startDelay = ParseSeconds(parser.value(startDelayOption));
    const auto busyAfterStart = ParseSeconds(parser.value(busyOption));
    const auto busyAfterOpen = ParseSeconds(parser.value(busyAfterOpenOption));
    if (!startDelay || !busyAfterStart || !busyAfterOpen) {
        std::fputs("talvex-cadhost: --start-delay, --busy-seconds and --busy-after-open take "
                   "a number of seconds\n",
                   stderr);
        return 2;
    }
    cadhost::HostHabits habits;
    habits.busyAfterStart = *busyAfterStart;
    habits.busyAfterOpen = *busyAfterOpen;
    habits.neverReady = parser.isSet(neverReadyOption);

    const QString journalPath = parser.value(journalOption);
    cadhost::HostServer server(habits);
    cadhost::HostWindow window(journalPath);
    QObject::connect(&server, &cadhost::HostServer::callReceived, &window,
                     &cadhost::HostWindow::showCall);
    QObject::connect(&server, &cadhost::HostServer::drawingOpened, &window,
                     &cadhost::HostWindow::showDrawing);
    QObject::connect(&server, &cadhost::HostServer::visibilityRequested, &window,
                     [&window](bool visible) {
                         window.setVisible(visible);
                         if (visible) {  // a later run finds it in front again
                             window.raise();
                             window.activateWindow();
                         }
                     });
    QObject::connect(&server, &cadhost::HostServer::quitRequested, &application,
                     [] { QTimer::singleShot(0, qApp, &QCoreApplication::quit); });

    // Relative to the current folder, as a path on the command line is.
    const QString socketPath = QFileInfo(parser.value(socketOption)).absoluteFilePath();
    // The exit status when the host cannot serve; nothing when it listens.
    const auto start = [&]() -> std::optional<int> {
        const auto started = server.start(socketPath, journalPath);
        if (!started) {
            std::fprintf(stderr, "talvex-cadhost: %s\n", qPrintable(started.error()));
            return 1;
        }
        if (*started == cadhost::HostServer::Started::AlreadyRunning) {
            std::fprintf(stderr, "talvex-cadhost: a host is already running on %s\n",
                         qPrintable(socketPath));
            return 0;
        }
        return std::nullopt;
    };
    if (startDelay->count() == 0) {
        if (const auto status = start())
            return *status;
    } else {
        QTimer::singleShot(*startDelay, &application, [&] {
            if (const auto status = start())
                QCoreApplication::exit(*status);
        });
    }
    return application.exec();
}
