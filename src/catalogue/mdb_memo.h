// SPDX-License-Identifier: MIT
#pragma once
#include "load_limits.h"
#include "mdb_api.h"
#include <QByteArray>
#include <QString>

namespace catalogue {

// Reads Memo values itself rather than through libmdb, whose reader follows
// a chain of pages that leads back into itself for ever. Every step is
// bounded: one value's links by the file's pages and by its declared length,
// all values together by the file's size (LoadLimits). A value whose pages
// contradict its header refuses the whole file: a catalogue is either loaded
// whole or not at all.
class MemoReader {
public:
    MemoReader(MdbHandle* mdb, LoadLimits& limits, QString table);

    // The stored bytes (text as StoredTextToUtf8 takes it) of the
    // value whose field takes size bytes at offset start of the current page.
    QByteArray read(int start, int size);

private:
    struct Row {
        const unsigned char* bytes;
        int size;
    };
    QByteArray readChain(quint32 link, qint64 declared);
    // Row pageRow & 0xff of page pageRow >> 8, from a copy of that page.
    Row rowAt(quint32 pageRow);
    [[noreturn]] void refuse(const char* what) const;

    MdbHandle* mdb_;
    LoadLimits& limits_;
    QString table_;
    QByteArray page_;  // the last page a value led to
    qint64 pageNumber_ = -1;
};

} // namespace catalogue
