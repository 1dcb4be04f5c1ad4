// SPDX-License-Identifier: MIT
#include "progress.h"

namespace check {

Progress::Progress(Sink sink, qint64 quietFor, qint64 every)
    : sink_(std::move(sink)), quietFor_(quietFor), every_(every)
{
    run_.start();
}

void Progress::stage(const QString& name)
{
    stage_ = name;
    lastTold_ = -1;  // a new stage is told at once, once the run is slow
    if (due())
        tell(name);
}

void Progress::advance(qint64 done, qint64 total)
{
    if (due())
        tell(QStringLiteral("%1 (%2 of %3)").arg(stage_).arg(done).arg(total));
}

bool Progress::due() const
{
    if (!sink_)
        return false;
    const qint64 now = run_.elapsed();
    return now >= quietFor_ && (lastTold_ < 0 || now - lastTold_ >= every_);
}

void Progress::tell(const QString& line)
{
    lastTold_ = run_.elapsed();
    sink_(line);
}

} // namespace check
