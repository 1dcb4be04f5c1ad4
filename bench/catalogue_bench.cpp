// SPDX-License-Identifier: MIT
// Times the catalogue engine on a large catalogue: the open against mdb-export
// of the same tables, and the queries a Bore click and a generate run.
//   catalogue_bench [catalogue.mdb] [query runs]
#include "export_table.h"
#include "median.h"
#include "catalogue/connection.h"
#include "catalogue/queries.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace catalogue;

namespace {

struct ListOfTexts : ListTarget {
    QStringList items;
    void clear() override { items.clear(); }
    void append(const QString& item) override { items.append(item); }
};

struct TextBox : TextTarget {
    QString value;
    QString text() const override { return value; }
    void setText(const QString& text) override { value = text; }
};

// Milliseconds of each of runs calls.
std::vector<double> Time(int runs, const std::function<void()>& work)
{
    std::vector<double> samples;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        samples.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return samples;
}

void Report(const char* what, const std::vector<double>& samples, double limit)
{
    const double median = Median(samples);
    std::printf("%-26s median %8.3f ms  (min %.3f, max %.3f, %zu runs)  %s\n", what, median,
                *std::min_element(samples.begin(), samples.end()),
                *std::max_element(samples.begin(), samples.end()), samples.size(),
                median < limit ? "under 2 ms" : "OVER 2 ms");
}

// The first stroke range of the range text, e.g. "101-200" gives 150.
QString StrokeInside(const QString& rangeText)
{
    const QString entry = rangeText.split(QRegularExpression(QStringLiteral("[;\r\n]+"))).first();
    const QStringList bounds = entry.split(QLatin1Char('-'));
    if (bounds.size() != 2)
        return entry;
    return QString::number((bounds[0].toDouble() + bounds[1].toDouble()) / 2, 'f', 0);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const QString file =
        arguments.size() > 1 ? arguments[1] : QStringLiteral(TALVEX_TEST_DATA "/large-100k.mdb");
    const int queryRuns = arguments.size() > 2 ? arguments[2].toInt() : 200;
    constexpr int openRuns = 11;

    std::printf("catalogue: %s\n", qPrintable(file));
    // The open and mdb-export take turns, so that both meet the machine in
    // the same state.
    const QString exporter = QStandardPaths::findExecutable(QStringLiteral("mdb-export"));
    CatalogueSession session;
    bool opened = true;
    bool exported = true;
    std::vector<double> openTimes, exportTimes;
    for (int run = 0; run < openRuns; ++run) {
        const std::vector<double> open = Time(1, [&] {
            opened = OpenCatalogueConnection(session, QString(), QString(), true, true, file).ok() &&
                     opened;
        });
        openTimes.push_back(open.front());
        if (exporter.isEmpty())
            continue;
        const std::vector<double> exports = Time(1, [&] {
            exported = ExportTable(exporter, file, QStringLiteral("Fluid_Main")) &&
                       ExportTable(exporter, file, QStringLiteral("Fluid_Detail")) && exported;
        });
        exportTimes.push_back(exports.front());
    }
    if (!opened) {
        std::fprintf(stderr, "the catalogue did not open\n");
        return 1;
    }
    const double openMedian = Median(openTimes);
    std::printf("%-26s median %8.1f ms  (min %.1f, %d runs)\n", "open (load into SQLite)",
                openMedian, *std::min_element(openTimes.begin(), openTimes.end()), openRuns);
    if (exporter.isEmpty()) {
        std::printf("mdb-export not found: open not compared\n");
    } else {
        const double exportMedian = Median(exportTimes);
        std::printf("%-26s median %8.1f ms  (min %.1f, %d runs)%s\n",
                    "mdb-export of both tables", exportMedian,
                    *std::min_element(exportTimes.begin(), exportTimes.end()), openRuns,
                    exported ? "" : "  (mdb-export failed)");
        // The median of each round's own ratio: a round's open and export
        // meet the same moment of the machine.
        std::vector<double> ratios;
        for (size_t run = 0; run < openTimes.size(); ++run)
            ratios.push_back(openTimes[run] / exportTimes[run]);
        const double ratio = Median(ratios);
        std::printf("%-26s %.2fx  %s  (of the medians %.2fx)\n", "open / mdb-export", ratio,
                    ratio <= 0.7 ? "within 0.7x" : "OVER 0.7x", openMedian / exportMedian);
    }

    // A selection from the middle of the catalogue, found the way the window finds it.
    Connection* connection = session.connection.get();
    ListOfTexts series, types, bores;
    FillSeriesList(connection, series);
    if (series.items.isEmpty()) {
        std::fprintf(stderr, "the catalogue lists no series\n");
        return 1;
    }
    const QString pickedSeries = series.items.at(series.items.size() / 2);
    FillTypeList(connection, types, pickedSeries);
    const QString pickedType = types.items.value(types.items.size() / 2);
    FillBoreList(connection, bores, pickedSeries, pickedType);
    const QString pickedBore = bores.items.value(bores.items.size() / 2);
    TextBox txtInfo, txtInfo1;
    BuildRangeText(connection, pickedSeries, pickedType, pickedBore, true, txtInfo, txtInfo1);
    const QString stroke = StrokeInside(txtInfo.value);
    const QString drawing =
        LookupDrawingFile(connection, pickedSeries, pickedType, pickedBore, stroke).valueOr(QString());
    std::printf("selection: series %s, type %s, bore %s (%lld bores), stroke %s -> %s\n",
                qPrintable(pickedSeries), qPrintable(pickedType), qPrintable(pickedBore),
                qlonglong(bores.items.size()), qPrintable(stroke), qPrintable(drawing));

    Report("FillBoreList", Time(queryRuns, [&] {
               FillBoreList(connection, bores, pickedSeries, pickedType);
           }), 2.0);
    Report("BuildRangeText", Time(queryRuns, [&] {
               BuildRangeText(connection, pickedSeries, pickedType, pickedBore, true, txtInfo,
                              txtInfo1);
           }), 2.0);
    Report("LookupDrawingFile", Time(queryRuns, [&] {
               LookupDrawingFile(connection, pickedSeries, pickedType, pickedBore, stroke);
           }), 2.0);
    CloseCatalogueConnection(connection);
    return 0;
}
