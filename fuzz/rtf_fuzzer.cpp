// SPDX-License-Identifier: MIT
// libFuzzer target: any bytes through the RTF reader and the layout of the
// document it builds, as the description pane would show it.
#include "rtf/rtf_reader.h"

#include <QAbstractTextDocumentLayout>
#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Fonts and images need a GUI application; one for the whole run.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "rtf_fuzzer";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    // Broken pictures make the image decoders warn on every run; crashes still show.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QTextDocument document;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (rtf::ReadRtf(bytes, document).ok()) {
        document.setTextWidth(700);
        document.documentLayout()->documentSize();
    }
    return 0;
}
