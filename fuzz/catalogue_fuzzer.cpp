// SPDX-License-Identifier: MIT
// libFuzzer target: any bytes as a catalogue file, through the loader and the
// start-up's catalogue check, as the program opens TALVEX.mdb.
#include "catalogue/connection.h"
#include "catalogue/libmdb_output.h"

#include <QByteArray>
#include <QString>

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// The loader opens a path; one anonymous in-memory file serves every input.
int InputFile()
{
    static const int descriptor = [] {
        const int created = memfd_create("catalogue_fuzzer.mdb", 0);
        if (created < 0) {
            std::perror("memfd_create");
            std::abort();
        }
        return created;
    }();
    return descriptor;
}

// The loader turns away a file that ends within a page before libmdb sees
// it; inputs are padded with zeros to whole pages so that mutations reach
// the reader. Byte 0x14 chooses the page size as the loader does.
QByteArray WholePages(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype page = size > 0x14 && data[0x14] == 0 ? 2048 : 4096;
    const qsizetype pages = qMax<qsizetype>(2, (bytes.size() + page - 1) / page);
    bytes.append(QByteArray(pages * page - bytes.size(), '\0'));
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // libmdb's lines are filtered by fuzz/run.sh; a crash report must stay on stderr.
    catalogue::CatchLibmdbOutput(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int file = InputFile();
    const QByteArray bytes = WholePages(data, size);
    if (ftruncate(file, 0) != 0 || pwrite(file, bytes.constData(), bytes.size(), 0) != bytes.size())
        std::abort();
    catalogue::CatalogueSession session;
    const QString path = QStringLiteral("/proc/self/fd/%1").arg(file);
    const auto opened =
        catalogue::OpenCatalogueConnection(session, QString(), QString(), true, true, path);
    if (opened) {
        catalogue::CloseCatalogueConnection(session.connection.get());
    }
    return 0;
}
