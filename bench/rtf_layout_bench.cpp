// SPDX-License-Identifier: MIT
// Times the description pane's work on a document: reading the RTF and the
// first layout at the pane's width. The generated documents are the worst
// tables the reader lets through (every cell laid out, even empty ones) and
// one just past its limit, documents that would pass Qt's layout height
// limit (the reader cuts them) and long ordinary ones (kept whole), these
// also read into a document that is laid out as it changes, as the pane's
// is; any files given are timed as well.
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

// Paragraphs of ordinary text at 12 pt, `characters` in all.
QByteArray Report(qsizetype characters)
{
    const QByteArray sentence = "The stroke is checked against the ranges of the catalogue before the drawing is staged. ";
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 1; rtf.size() < characters; ++i)
        rtf += "Section " + QByteArray::number(i) + ". " + sentence.repeated(1 + i % 9) + "\\par\n";
    return rtf + "}";
}

// Short paragraphs of Chinese text.
QByteArray ChineseParagraphs(int count)
{
    const QString words = QStringLiteral("氣壓缸的行程依型錄範圍檢查後，圖面與程式複製到暫存資料夾，再由繪圖主機拉伸模型。");
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < count; ++i) {
        for (const QChar c : words.mid(i % 7))
            rtf += "\\u" + QByteArray::number(qint16(c.unicode())) + "?";
        rtf += QByteArray::number(i) + "\\par\n";
    }
    return rtf + "}";
}

// inPane: the document has its layout before the read, as the description
// pane's document has, so that every change to it is laid out.
void Time(const char* name, const QByteArray& rtf, bool inPane = false)
{
    QTextDocument document;
    if (inPane) {
        document.setTextWidth(700);
        document.documentLayout();
    }
    QElapsedTimer timer;
    timer.start();
    const auto read = rtf::ReadRtf(rtf, document);
    const qint64 readMs = timer.elapsed();
    qreal height = 0;
    if (read) {
        document.setTextWidth(700);
        height = document.documentLayout()->documentSize().height();
    }
    std::printf("%-44s %7lld bytes  read %5lld ms  layout %6lld ms  %9.0f px  %7lld chars%s\n", name,
                static_cast<long long>(rtf.size()), static_cast<long long>(readMs),
                static_cast<long long>(timer.elapsed() - readMs), height,
                static_cast<long long>(document.characterCount()),
                !read ? "  (refused)" : read->cut ? "  (cut)" : "");
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
        // Found by the fuzzer: Qt's layout never ends on these uncut.
        {"5,000 letters at 1638 pt", "{\\rtf1 opening\\par\\fs3276 " + QByteArray("a ").repeated(5000) + "}"},
        {"1,000 cells of 1638 pt letters",
         "{\\rtf1 \\trowd\\cellx2000" + QByteArray("\\intbl\\fs3276 b b b b\\cell\\row").repeated(1000) + "}"},
        {"5,000 paragraphs 44 inches apart",
         "{\\rtf1 " + QByteArray("\\pard\\sb31680\\sa31680 p\\par").repeated(5000) + "}"},
        {"70,000 line breaks at 100 pt", "{\\rtf1 \\fs200 x" + QByteArray("\\line ").repeated(70000) + "}"},
        // Long, but far from the limit: kept whole.
        {"300,000 characters at 12 pt", Report(300'000)},
        {"3,000 Chinese paragraphs", ChineseParagraphs(3000)},
    };
    for (const auto& [name, rtf] : generated)
        Time(name.constData(), rtf);
    Time("300,000 characters at 12 pt, in a pane", Report(300'000), true);
    Time("3,000 Chinese paragraphs, in a pane", ChineseParagraphs(3000), true);

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
