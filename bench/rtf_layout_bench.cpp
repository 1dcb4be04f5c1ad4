// Times the description pane's work on a document: reading the RTF and the
// first layout at the pane's width. The generated documents are the worst
// tables the reader lets through (every cell laid out, even empty ones) and
// one just past its limit; any files given are timed as well.
//   rtf_layout_bench [file.rtf...]
#include "rtf/document_builder.h"
#include "rtf/rtf_reader.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

// One full row of the given width, then one-cell rows: each row is laid out
// as wide as the widest.
QByteArray PaddedTable(int columns, long long cells)
{
    QByteArray rtf = "{\\rtf1 \\trowd";
    for (int c = 1; c <= columns; ++c)
        rtf += "\\cellx" + QByteArray::number(c * 100);
    rtf += QByteArray("\\intbl w\\cell").repeated(columns) + "\\row";
    rtf += QByteArray("\\intbl n\\cell\\row").repeated(static_cast<qsizetype>(cells / columns - 1));
    return rtf + "}";
}

void Time(const char* name, const QByteArray& rtf)
{
    QTextDocument document;
    QElapsedTimer timer;
    timer.start();
    const bool read = rtf::ReadRtf(rtf, document).ok();
    const qint64 readMs = timer.elapsed();
    if (read) {
        document.setTextWidth(700);
        document.documentLayout()->documentSize();
    }
    std::printf("%-44s %7lld bytes  read %5lld ms  layout %6lld ms%s\n", name,
                static_cast<long long>(rtf.size()), static_cast<long long>(readMs),
                static_cast<long long>(timer.elapsed() - readMs), read ? "" : "  (refused)");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});

    constexpr long long limit = rtf::DocumentBuilder::MaxTableCells;
    const std::vector<std::pair<QByteArray, QByteArray>> generated = {
        {"64 columns, at the cell limit", PaddedTable(64, limit)},
        {"2 columns, at the cell limit", PaddedTable(2, limit)},
        {"64 columns, 12 x the limit (as lines)", PaddedTable(64, 12 * limit)},
    };
    for (const auto& [name, rtf] : generated)
        Time(name.constData(), rtf);

    for (int i = 1; i < argc; ++i) {
        QFile file(QString::fromLocal8Bit(argv[i]));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "rtf_layout_bench: cannot read %s\n", argv[i]);
            return 1;
        }
        Time(argv[i], file.readAll());
    }
    return 0;
}
