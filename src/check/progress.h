// SPDX-License-Identifier: MIT
#pragma once
#include <QElapsedTimer>
#include <QString>
#include <functional>

namespace check {

// Progress lines for a run that takes a while: nothing is told until the
// run has gone on longer than `quietFor` milliseconds, then the stage and how
// far it got, at most every `every` milliseconds.
class Progress {
public:
    using Sink = std::function<void(const QString& line)>;

    explicit Progress(Sink sink = {}, qint64 quietFor = 1000, qint64 every = 500);

    void stage(const QString& name);
    void advance(qint64 done, qint64 total);

private:
    bool due() const;
    void tell(const QString& line);

    Sink sink_;
    qint64 quietFor_;
    qint64 every_;
    QElapsedTimer run_;
    qint64 lastTold_ = -1;
    QString stage_;
};

} // namespace check
