// SPDX-License-Identifier: MIT
#include "startup_trace.h"
#include <QEvent>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cstdio>
#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

namespace app {

namespace {

bool Tracing()
{
    static const bool on = qEnvironmentVariableIsSet("TALVEX_STARTUP_TRACE");
    return on;
}

long long ResidentKilobytes()
{
#ifdef Q_OS_LINUX
    long long pages = -1;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        long long size = 0;
        if (std::fscanf(statm, "%lld %lld", &size, &pages) != 2)
            pages = -1;
        std::fclose(statm);
    }
    return pages < 0 ? -1 : pages * (sysconf(_SC_PAGESIZE) / 1024);
#else
    return -1;
#endif
}

// Handles the first expose itself, so that the step ends once the window
// has been painted and flushed, then steps aside.
class FirstPaintWatch : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Expose || !static_cast<QWindow*>(watched)->isExposed())
            return false;
        watched->removeEventFilter(this);
        watched->event(event);
        TraceStartupStep("painted");
        deleteLater();
        return true;
    }
};

} // namespace

void TraceStartupStep(const char* step)
{
    if (!Tracing())
        return;
    const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    std::fprintf(stderr, "talvex-startup %s %lld %lld\n", step, static_cast<long long>(now.count()),
                 ResidentKilobytes());
    std::fflush(stderr);
}

void TraceFirstPaint(QWidget& window)
{
    if (!Tracing())
        return;
    window.winId();  // creates the native window to watch
    window.windowHandle()->installEventFilter(new FirstPaintWatch(window.windowHandle()));
}

} // namespace app
