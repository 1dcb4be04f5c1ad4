// SPDX-License-Identifier: MIT
#include "host_wait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QThread>
#include <algorithm>

namespace generation {

HostWait::HostWait(std::chrono::milliseconds bound, std::chrono::milliseconds interval, Pause pause)
    : bound_(bound), interval_(interval), pause_(pause ? std::move(pause) : Pause(PumpEvents)),
      deadline_(bound)
{
}

void HostWait::restart()
{
    deadline_ = QDeadlineTimer(bound_);
}

bool HostWait::pauseBeforeRetry()
{
    if (deadline_.hasExpired())
        return false;
    const auto left = std::chrono::milliseconds(deadline_.remainingTime());
    pause_(std::max(std::chrono::milliseconds(1), std::min(interval_, left)));
    return true;
}

void PumpEvents(std::chrono::milliseconds duration)
{
    if (QCoreApplication::instance() == nullptr
        || QThread::currentThread() != QCoreApplication::instance()->thread()) {
        QThread::msleep(static_cast<unsigned long>(duration.count()));
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace generation
