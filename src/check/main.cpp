// SPDX-License-Identifier: MIT
// talvex-check: reads a catalogue, or a whole install root, with the
// program's own catalogue engine and rules, and reports what a maintainer
// can fix.
#include "desktop_main.h"
#include "own_console.h"
#include "html_report.h"
#include "range_map.h"
#include "run_check.h"
#include <QCommandLineParser>
#include <QApplication>
#include <QSaveFile>
#include <cstdio>
#include <cstring>

namespace {

// Qt tells on stderr that it made up a runtime folder for the offscreen
// platform; a checker run has no use for one.
void DropRuntimeFolderNotice(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    std::fprintf(stderr, "%s\n", qUtf8Printable(qFormatLogMessage(type, context, message)));
}

bool WriteFile(const QString& path, const QByteArray& content)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit())
        return true;
    std::fprintf(stderr, "talvex-check: cannot write %s: %s\n", qUtf8Printable(path),
                 qUtf8Printable(file.errorString()));
    return false;
}

// Decided before the application exists: only the desktop road needs a display.
bool StartedForDesktop(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gui") == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(DropRuntimeFolderNotice);
    // Documents and pictures are loaded as the program loads them, which
    // needs a GUI application but, from a console, never a display.
    const bool desktop = StartedForDesktop(argc, argv) || check::LeaveOwnConsole();
    if (!desktop)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("talvex-check"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Checks a 3D TALVEX catalogue (TALVEX.mdb) or install root with the "
                       "program's own rules.\nExit status: 0 no error, 1 errors found, 2 the input "
                       "cannot be read."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print the findings as JSON."));
    parser.addOption(json);
    const QCommandLineOption html(QStringLiteral("html"),
                                  QStringLiteral("Write the report, with a range map of every Type, as "
                                                 "one HTML file; the console then shows the summary."),
                                  QStringLiteral("file"));
    parser.addOption(html);
    const QCommandLineOption verbose(QStringLiteral("verbose"),
                                     QStringLiteral("Also print on stderr what the Access file reader "
                                                    "(libmdb) said about the file."));
    parser.addOption(verbose);
    const QCommandLineOption gui(QStringLiteral("gui"),
                                 QStringLiteral("Started from the desktop: ask for the path when none is "
                                                "given, show progress in a window, write the HTML report to "
                                                "the temporary folder and open it in the browser."));
    parser.addOption(gui);
    parser.addPositionalArgument(QStringLiteral("path"),
                                 QStringLiteral("A catalogue file, or an install root folder."));
    // A mistaken command line is input that cannot be read: status 2, not 1.
    if (!parser.parse(QApplication::arguments())) {
        std::fprintf(stderr, "talvex-check: %s\n", qUtf8Printable(parser.errorText()));
        return check::kUnreadableInput;
    }
    if (parser.isSet(help))
        parser.showHelp(check::kNoError);
    const QStringList paths = parser.positionalArguments();
    if (desktop && paths.size() <= 1)
        return RunFromDesktop(paths.value(0));
    if (paths.size() != 1) {
        std::fprintf(stderr, "talvex-check: give one catalogue file or install root (--help).\n");
        return check::kUnreadableInput;
    }

    check::Progress progress([](const QString& line) {
        std::fprintf(stderr, "talvex-check: %s...\n", qUtf8Printable(line));
    });
    QStringList engineMessages;
    const auto run = check::RunCheck(paths.first(), check::PreviewGeometry{}, progress, &engineMessages);
    const auto tellEngineMessages = [&] {
        if (!parser.isSet(verbose))
            return;
        for (const QString& line : engineMessages)
            std::fprintf(stderr, "talvex-check: libmdb: %s\n", qUtf8Printable(line));
    };
    if (!run) {
        std::fprintf(stderr, "talvex-check: %s\n", qUtf8Printable(run.error()));
        tellEngineMessages();
        if (parser.isSet(json))
            std::fputs(check::JsonFailure(paths.first(), run.error()).constData(), stdout);
        if (parser.isSet(html))
            WriteFile(parser.value(html), check::HtmlFailure(paths.first(), run.error()));
        return check::kUnreadableInput;
    }
    tellEngineMessages();
    const int status = check::ExitStatus(run->findings);
    if (parser.isSet(html)) {
        progress.stage(QStringLiteral("writing the report"));
        const std::optional<QSet<QString>> drawings = check::DrawingsOnDisc(run->input.installRoot);
        const auto maps = check::BuildRangeMaps(run->rows, run->index, drawings);
        if (!WriteFile(parser.value(html), check::HtmlReport(run->input, run->findings, maps, drawings.has_value())))
            return check::kUnreadableInput;
    }
    if (parser.isSet(json)) {
        std::fputs(check::JsonReport(run->input, run->findings, status).constData(), stdout);
    } else if (parser.isSet(html)) {
        std::printf("talvex-check %s: %s; report in %s\n", qUtf8Printable(run->input.given),
                    qUtf8Printable(check::SummaryLine(check::CountFindings(run->findings))),
                    qUtf8Printable(parser.value(html)));
    } else {
        std::fputs(qUtf8Printable(check::TextReport(run->input, run->findings)), stdout);
    }
    return status;
}
