// SPDX-License-Identifier: MIT
// Times talvex-check's work on a large catalogue, stage by stage, beside
// mdb-export of the same two tables in the same run.
//   check_bench [catalogue.mdb] [runs]
#include "export_table.h"
#include "median.h"
#include "check/catalogue_index.h"
#include "check/code_checks.h"
#include "check/range_checks.h"
#include "check/read_catalogue.h"
#include "check/schema_checks.h"
#include "check/type_checks.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

// Wall-clock and processor milliseconds of one call: on a shared machine the
// processor time says what the work costs, the wall clock what a user waits.
struct Timing {
    double wall;
    double cpu;
};

Timing Time(const std::function<void()>& work)
{
    QElapsedTimer timer;
    const std::clock_t cpuStart = std::clock();
    timer.start();
    work();
    return {double(timer.nsecsElapsed()) / 1e6, double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString file = args.value(1, QStringLiteral(TALVEX_TEST_DATA "/large-100k.mdb"));
    const int runs = std::max(1, args.value(2, QStringLiteral("5")).toInt());

    std::vector<double> read, index, checks, total, readCpu, indexCpu, checksCpu, totalCpu, exportBoth;
    size_t findings = 0, detailRows = 0;
    const QString exporter = QStandardPaths::findExecutable(QStringLiteral("mdb-export"));
    for (int run = 0; run < runs; ++run) {
        std::optional<check::CatalogueRows> rows;
        std::optional<check::CatalogueIndex> grouped;
        const Timing reading = Time([&] {
            auto result = check::ReadCatalogue(file);
            if (!result) {
                std::fprintf(stderr, "check_bench: %s\n", qUtf8Printable(result.error()));
                std::exit(1);
            }
            rows = std::move(result.value());
        });
        const Timing indexing = Time([&] { grouped = check::IndexCatalogue(*rows); });
        const Timing checking = Time([&] {
            findings = check::CheckSchema(rows->tables).size() + check::CheckCodes(*rows).size() +
                       check::CheckTypes(*rows, *grouped).size() + check::CheckRanges(*rows, *grouped).size() +
                       check::CheckFileNames(*rows, *grouped).size();
        });
        detailRows = rows->detail.size();
        read.push_back(reading.wall);
        index.push_back(indexing.wall);
        checks.push_back(checking.wall);
        total.push_back(reading.wall + indexing.wall + checking.wall);
        readCpu.push_back(reading.cpu);
        indexCpu.push_back(indexing.cpu);
        checksCpu.push_back(checking.cpu);
        totalCpu.push_back(reading.cpu + indexing.cpu + checking.cpu);
        if (!exporter.isEmpty()) {
            exportBoth.push_back(Time([&] {
                                     ExportTable(exporter, file, QStringLiteral("Fluid_Main"));
                                     ExportTable(exporter, file, QStringLiteral("Fluid_Detail"));
                                 }).wall);
        }
    }
    std::printf("catalogue: %s (%zu Fluid_Detail rows, %zu findings)\n", qUtf8Printable(file), detailRows, findings);
    std::printf("median of %d runs, milliseconds          wall  processor\n", runs);
    std::printf("  open and read both tables   %8.1f  %8.1f\n", Median(read), Median(readCpu));
    std::printf("  group by Series/Type/Bore   %8.1f  %8.1f\n", Median(index), Median(indexCpu));
    std::printf("  catalogue checks            %8.1f  %8.1f\n", Median(checks), Median(checksCpu));
    std::printf("  whole check                 %8.1f  %8.1f\n", Median(total), Median(totalCpu));
    if (exportBoth.empty())
        std::printf("  mdb-export of both tables   (mdb-export not installed)\n");
    else
        std::printf("  mdb-export of both tables   %8.1f\n", Median(exportBoth));
    return 0;
}
