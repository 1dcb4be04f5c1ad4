// SPDX-License-Identifier: MIT
// Start-up of talvex: the time and resident memory of each step, and the
// time from launch to the painted window against a bare Qt window of the
// same size, started alternately on the same display.
//
//   startup_bench [runs] [program...]   default 20 runs each; the program is
//                                       talvex of the build's demo install root
//
// Given several programs (talvex builds, each in its install root), each
// round launches every one of them and the bare window in turn, so that
// builds compare under the same load.
//
// Run it where a window manager activates windows, as the user's desktop
// does: tests/support/run-on-x-desktop build/bench/startup_bench
//
// Each launch of talvex runs with TALVEX_STARTUP_TRACE set and reports its
// steps on stderr (src/app/startup_trace.h); the bare window is this program
// with --bare-window, which reports "painted" the same way. Times are on the
// steady clock, from just before the launch. The steady resident size, and
// what it is made of, are read from /proc once the window has been shown for
// a while, then the process is ended. Figures are medians.
#include "median.h"
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>
#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

namespace {

constexpr int kDefaultRuns = 20;
// talvex's design size, 10440 x 6840 twips, at 96 dpi.
constexpr int kWindowWidth = 696;
constexpr int kWindowHeight = 456;
// How long a window stays up before its resident size counts as steady.
constexpr int kSettleMs = 800;
constexpr int kGiveUpMs = 20000;

long long SteadyMicroseconds()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

long long ResidentKilobytes(qint64 pid)
{
#ifdef Q_OS_LINUX
    QFile statm(QStringLiteral("/proc/%1/statm").arg(pid));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() < 2 ? -1 : fields[1].toLongLong() * (sysconf(_SC_PAGESIZE) / 1024);
#else
    Q_UNUSED(pid);
    return -1;
#endif
}

// The kinds of pages a process has resident, from /proc/<pid>/smaps: its
// own memory (heap, stacks, buffers) and the pages of the files it maps,
// which the page cache shares with other processes.
const QStringList kResidentParts = {QStringLiteral("own memory"), QStringLiteral("window buffer"),
                                    QStringLiteral("program, libraries"), QStringLiteral("font files"),
                                    QStringLiteral("font caches"), QStringLiteral("other files")};

QString ResidentPartOf(const QByteArray& path)
{
    if (path.isEmpty() || path.startsWith('['))
        return kResidentParts[0];
    if (path.startsWith("/SYSV") || path.startsWith("/memfd:"))
        return kResidentParts[1];
    if (path.contains(".so") || path.endsWith("/talvex") || path.endsWith("/startup_bench"))
        return kResidentParts[2];
    if (path.startsWith("/usr/share/fonts/"))
        return kResidentParts[3];
    if (path.contains("/fontconfig/"))
        return kResidentParts[4];
    return kResidentParts[5];
}

// FreeType reads a font through a mapping of its file, and a fault on one
// page maps the cached pages of its whole 64 KB block (the kernel's
// fault_around_bytes). So the font files' resident size counts whole blocks;
// how many blocks hold resident pages tells how many places were read.
const QString kFontFileBlocks = QStringLiteral("font file blocks");
constexpr quint64 kFaultAroundBytes = 64 * 1024;

struct AddressRange {
    quint64 begin = 0;
    quint64 end = 0;
};

#ifdef Q_OS_LINUX
long long BlocksWithResidentPages(qint64 pid, const std::vector<AddressRange>& ranges)
{
    QFile pagemap(QStringLiteral("/proc/%1/pagemap").arg(pid));
    if (!pagemap.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return -1;
    const quint64 page = quint64(sysconf(_SC_PAGESIZE));
    long long blocks = 0;
    for (const AddressRange& range : ranges) {
        for (quint64 block = range.begin / kFaultAroundBytes * kFaultAroundBytes; block < range.end;
             block += kFaultAroundBytes) {
            const quint64 from = std::max(block, range.begin);
            const quint64 to = std::min(block + kFaultAroundBytes, range.end);
            // One 64-bit entry a page; its top bit says the page is resident.
            std::vector<quint64> entries((to - from) / page);
            const auto bytes = qint64(entries.size() * sizeof(quint64));
            if (!pagemap.seek(qint64(from / page * sizeof(quint64)))
                || pagemap.read(reinterpret_cast<char*>(entries.data()), bytes) != bytes)
                return -1;
            blocks += std::any_of(entries.begin(), entries.end(), [](quint64 e) { return e >> 63; });
        }
    }
    return blocks;
}
#endif

// Kilobytes resident by part, and the blocks of font files read;
// empty where /proc cannot tell.
QMap<QString, long long> ResidentParts(qint64 pid)
{
    QMap<QString, long long> parts;
#ifdef Q_OS_LINUX
    QFile smaps(QStringLiteral("/proc/%1/smaps").arg(pid));
    if (!smaps.open(QIODevice::ReadOnly))
        return parts;
    QString part;
    std::vector<AddressRange> fontMappings;
    for (const QByteArray& line : smaps.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 5 && fields[0].contains('-') && !fields[0].endsWith(':')) {
            part = ResidentPartOf(fields.size() > 5 ? fields.mid(5).join(' ') : QByteArray());
            if (part == kResidentParts[3]) {
                const QList<QByteArray> range = fields[0].split('-');
                fontMappings.push_back({range[0].toULongLong(nullptr, 16), range[1].toULongLong(nullptr, 16)});
            }
        } else if (fields.size() >= 2 && fields[0] == "Rss:") {
            parts[part] += fields[1].toLongLong();
        }
    }
    parts[kFontFileBlocks] = BlocksWithResidentPages(pid, fontMappings);
#else
    Q_UNUSED(pid);
#endif
    return parts;
}

void PrintStep(const char* step)
{
    std::fprintf(stderr, "talvex-startup %s %lld %lld\n", step, SteadyMicroseconds(),
                 ResidentKilobytes(QCoreApplication::applicationPid()));
    std::fflush(stderr);
}

// The bare window: reports once its first expose has been painted.
class BareWindow : public QWidget {
public:
    BareWindow() { setFixedSize(kWindowWidth, kWindowHeight); }

    void watchFirstPaint()
    {
        winId();
        windowHandle()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Expose || !windowHandle()->isExposed())
            return false;
        watched->removeEventFilter(this);
        watched->event(event);
        PrintStep("painted");
        return true;
    }
};

int RunBareWindow(int argc, char** argv)
{
    PrintStep("main");
    QApplication application(argc, argv);
    PrintStep("application");
    BareWindow window;
    window.watchFirstPaint();
    window.show();
    window.activateWindow();
    return QApplication::exec();
}

struct Step {
    long long atUs = 0;  // since the launch
    long long residentKb = -1;
};

struct Run {
    QMap<QString, Step> steps;
    QStringList order;
    long long steadyKb = -1;
    QMap<QString, long long> steadyParts;  // kilobytes
};

// Launches a program, collects its steps until all of `awaited` arrived,
// lets it settle, reads its resident size and ends it.
std::optional<Run> Launch(const QString& program, const QStringList& arguments,
                          const QStringList& awaited)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TALVEX_STARTUP_TRACE"), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    Run run;
    QByteArray pending;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::readyReadStandardError, [&] {
        pending += process.readAllStandardError();
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
            const QList<QByteArray> fields = pending.left(end).split(' ');
            if (fields.size() != 4 || fields[0] != "talvex-startup")
                continue;
            const QString name = QString::fromLatin1(fields[1]);
            run.steps[name] = {fields[2].toLongLong(), fields[3].toLongLong()};
            run.order.append(name);
        }
        if (std::all_of(awaited.begin(), awaited.end(),
                        [&](const QString& step) { return run.steps.contains(step); }))
            loop.quit();
    });
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(kGiveUpMs, &loop, &QEventLoop::quit);
    const long long launchedUs = SteadyMicroseconds();
    process.start(program, arguments);
    loop.exec();
    const bool complete = std::all_of(awaited.begin(), awaited.end(),
                                      [&](const QString& step) { return run.steps.contains(step); });
    if (complete) {
        QEventLoop settle;
        QTimer::singleShot(kSettleMs, &settle, &QEventLoop::quit);
        settle.exec();
        run.steadyKb = ResidentKilobytes(process.processId());
        run.steadyParts = ResidentParts(process.processId());
    }
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill();
    process.waitForFinished(5000);
    if (!complete) {
        std::fprintf(stderr, "%s did not report %s; it wrote: %s\n", qPrintable(program),
                     qPrintable(awaited.join(QLatin1Char('/'))), pending.constData());
        return std::nullopt;
    }
    for (Step& step : run.steps)
        step.atUs -= launchedUs;
    return run;
}

double MedianOf(const std::vector<Run>& runs, const auto& figure)
{
    std::vector<double> values;
    for (const Run& run : runs)
        values.push_back(figure(run));
    return Median(values);
}

void PrintSteps(const char* title, const std::vector<Run>& runs)
{
    std::printf("%s (medians of %zu runs)\n", title, runs.size());
    std::printf("  %-12s %12s %10s %10s %10s\n", "step", "at ms", "step ms", "RSS MB", "+RSS MB");
    // The steps in the order of their median times; each step's own time and
    // growth run from the step before it, within each run.
    QStringList order = runs.front().order;
    std::sort(order.begin(), order.end(), [&](const QString& a, const QString& b) {
        return MedianOf(runs, [&](const Run& r) { return double(r.steps.value(a).atUs); })
               < MedianOf(runs, [&](const Run& r) { return double(r.steps.value(b).atUs); });
    });
    QString previous;
    for (const QString& name : order) {
        const auto at = [&](const Run& r) { return r.steps.value(name).atUs / 1000.0; };
        const auto own = [&](const Run& r) {
            return (r.steps.value(name).atUs - (previous.isEmpty() ? 0 : r.steps.value(previous).atUs)) / 1000.0;
        };
        const auto rss = [&](const Run& r) { return r.steps.value(name).residentKb / 1024.0; };
        const auto growth = [&](const Run& r) {
            return previous.isEmpty() ? 0.0
                                      : (r.steps.value(name).residentKb - r.steps.value(previous).residentKb) / 1024.0;
        };
        std::printf("  %-12s %12.1f %10.1f %10.1f %10.1f\n", qPrintable(name), MedianOf(runs, at),
                    MedianOf(runs, own), MedianOf(runs, rss), MedianOf(runs, growth));
        previous = name;
    }
    std::printf("  %-12s %12s %10s %10.1f\n", "steady", "", "",
                MedianOf(runs, [](const Run& r) { return r.steadyKb / 1024.0; }));
    for (const QString& part : kResidentParts) {
        std::printf("    %-22s %10.1f MB\n", qPrintable(part),
                    MedianOf(runs, [&](const Run& r) { return r.steadyParts.value(part) / 1024.0; }));
        if (part == kResidentParts[3]) {
            const double blocks =
                MedianOf(runs, [&](const Run& r) { return double(r.steadyParts.value(kFontFileBlocks)); });
            if (blocks > 0)
                std::printf("      read within %.0f blocks of %llu KB, each mapped whole\n", blocks,
                            kFaultAroundBytes / 1024);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--bare-window") == 0)
        return RunBareWindow(argc, argv);
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int runs = arguments.size() > 1 ? arguments[1].toInt() : kDefaultRuns;
    QStringList programs = arguments.mid(2);
    if (programs.isEmpty())
        programs.append(QStringLiteral(TALVEX_ROOT_DIR "/talvex"));
    if (runs < 1 || !std::all_of(programs.begin(), programs.end(),
                                 [](const QString& p) { return QFileInfo(p).isExecutable(); })) {
        std::fprintf(stderr, "usage: startup_bench [runs] [program...]\n");
        return 2;
    }
    const QStringList talvexSteps = {QStringLiteral("painted"), QStringLiteral("picture")};
    std::vector<std::vector<Run>> talvex(size_t(programs.size()));
    std::vector<Run> bare;
    // One round first, to fill the file cache; not counted.
    for (int i = 0; i <= runs; ++i) {
        for (qsizetype p = 0; p < programs.size(); ++p) {
            auto run = Launch(programs[p], {}, talvexSteps);
            if (!run)
                return 1;
            if (i > 0)
                talvex[size_t(p)].push_back(*run);
        }
        auto run = Launch(QCoreApplication::applicationFilePath(), {QStringLiteral("--bare-window")},
                          {QStringLiteral("painted")});
        if (!run)
            return 1;
        if (i > 0)
            bare.push_back(*run);
    }
    for (qsizetype p = 0; p < programs.size(); ++p)
        PrintSteps(qPrintable(programs[p]), talvex[size_t(p)]);
    PrintSteps("bare window", bare);
    const auto painted = [](const Run& r) { return r.steps.value(QStringLiteral("painted")).atUs / 1000.0; };
    const double bareMs = MedianOf(bare, painted);
    std::printf("launch to painted window, bare window %.1f ms:\n", bareMs);
    for (qsizetype p = 0; p < programs.size(); ++p) {
        const std::vector<Run>& runsOf = talvex[size_t(p)];
        std::vector<double> extra;
        for (size_t i = 0; i < runsOf.size(); ++i)
            extra.push_back(painted(runsOf[i]) - painted(bare[i]));
        const double talvexMs = MedianOf(runsOf, painted);
        std::printf("  %s %.1f ms; extra %.1f ms (median of the rounds' differences), ratio %.2f\n",
                    qPrintable(programs[p]), talvexMs, Median(extra), talvexMs / bareMs);
    }
    return 0;
}
