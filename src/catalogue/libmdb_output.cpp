// SPDX-License-Identifier: MIT
#include "libmdb_output.h"
#include <QDir>
#include <cstdio>
#ifdef _WIN32
#include <io.h>
#define TALVEX_DUP _dup
#define TALVEX_DUP2 _dup2
#define TALVEX_CLOSE _close
#else
#include <unistd.h>
#define TALVEX_DUP dup
#define TALVEX_DUP2 dup2
#define TALVEX_CLOSE close
#endif

namespace catalogue {

namespace {
constexpr int kStderr = 2;
constexpr qsizetype kMostLines = 200;  // a badly damaged file can give a line per page
bool catching = true;
} // namespace

void CatchLibmdbOutput(bool catchIt)
{
    catching = catchIt;
}

LibmdbOutput::LibmdbOutput() : file_(QDir::tempPath() + QStringLiteral("/talvex-libmdb-XXXXXX"))
{
    if (!catching || !file_.open() || file_.handle() < 0)
        return;
    std::fflush(stderr);
    savedStderr_ = TALVEX_DUP(kStderr);
    if (savedStderr_ < 0)
        return;
    if (TALVEX_DUP2(file_.handle(), kStderr) < 0) {
        TALVEX_CLOSE(savedStderr_);
        savedStderr_ = -1;
    }
}

LibmdbOutput::~LibmdbOutput()
{
    restore();
}

void LibmdbOutput::restore()
{
    if (savedStderr_ < 0)
        return;
    std::fflush(stderr);
    TALVEX_DUP2(savedStderr_, kStderr);
    TALVEX_CLOSE(savedStderr_);
    savedStderr_ = -1;
}

QStringList LibmdbOutput::finish()
{
    const bool caught = savedStderr_ >= 0;
    restore();
    if (!caught)
        return {};
    // stderr wrote through a duplicate of the file's own descriptor; they
    // share one position, which the writes left at the end.
    if (!file_.seek(0))
        return {};
    QStringList lines;
    qsizetype more = 0;
    for (const QByteArray& line : file_.readAll().split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (lines.size() < kMostLines)
            lines.append(QString::fromLocal8Bit(trimmed));
        else
            ++more;
    }
    if (more > 0)
        lines.append(QStringLiteral("(%1 more lines)").arg(more));
    return lines;
}

} // namespace catalogue
