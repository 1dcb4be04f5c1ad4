// SPDX-License-Identifier: MIT
// talvex-demo-gen: writes the demo install root beside the program.
//   talvex-demo-gen <catalogue.mdb> <content folder> <install root>
#include "demo_root.h"
#include "page_painter.h"
#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char* argv[])
{
    // Pages are drawn off screen; no display is needed or wanted.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Build machines often run without a session; a private runtime folder
    // keeps Qt from warning about it at every build.
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 4) {
        std::fprintf(stderr, "usage: talvex-demo-gen <catalogue.mdb> <content folder> <install root>\n");
        return 2;
    }
    demo::DemoReport report;
    for (const QFont& font : {demo::SansFont(12), demo::SerifFont(12)}) {
        if (QFontInfo(font).family() != font.family())
            report.warnings.append(QStringLiteral("font \"%1\" is missing (Debian package fonts-noto-cjk); "
                                                  "the pages are drawn with \"%2\"")
                                       .arg(font.family(), QFontInfo(font).family()));
    }
    const base::Status built =
        demo::BuildDemoRoot({arguments.at(1), arguments.at(2)}, arguments.at(3), report);
    for (const QString& warning : report.warnings)
        std::fprintf(stderr, "talvex-demo-gen: warning: %s\n", qPrintable(warning));
    if (!built) {
        std::fprintf(stderr, "talvex-demo-gen: %s\n", qPrintable(built.error()));
        return 1;
    }
    std::printf("talvex-demo-gen: demo install root up to date (%d files written)\n", report.filesWritten);
    return 0;
}
