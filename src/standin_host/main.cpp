// talvex-cadhost: the CAD host that the configurator drives where AutoCAD is
// not available. It listens on a local socket, answers the automation calls
// of the generate command, shows the opened drawing and the calls, and keeps
// a journal of them (formats in standin_protocol.h).
//
//   talvex-cadhost [--socket PATH] [--journal PATH] [--offscreen]
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
#include <cstdio>
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
    parser.addOptions({socketOption, journalOption, offscreenOption});
    parser.process(application);

    const QString journalPath = parser.value(journalOption);
    cadhost::HostServer server;
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
    const auto started = server.start(socketPath, journalPath);
    if (!started) {
        std::fprintf(stderr, "talvex-cadhost: %s\n", qPrintable(started.error()));
        return 1;
    }
    if (*started == cadhost::HostServer::Started::AlreadyRunning) {
        std::fprintf(stderr, "talvex-cadhost: a host is already running on %s\n", qPrintable(socketPath));
        return 0;
    }
    return application.exec();
}
