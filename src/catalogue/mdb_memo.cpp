// SPDX-License-Identifier: MIT
#include "mdb_memo.h"
#include <QSet>
#include <QtEndian>

namespace catalogue {

namespace {

// The 12 bytes in the row before a Memo's text: its length with the kind in
// the top bits, then the page and row of its text when that lies elsewhere.
constexpr int kHeaderSize = 12;
constexpr quint32 kInRow = 0x80000000;
constexpr quint32 kOnePage = 0x40000000;
constexpr quint32 kKindBits = 0xff000000;
constexpr quint32 kLengthBits = 0x00ffffff;
constexpr int kOffsetMask = 0x1fff;
constexpr int kLinkSize = 4;  // each link of a chain starts with the next one's page and row

quint32 ReadUInt32(const unsigned char* bytes)
{
    return qFromLittleEndian<quint32>(bytes);
}

} // namespace

MemoReader::MemoReader(MdbHandle* mdb, LoadLimits& limits, QString table)
    : mdb_(mdb), limits_(limits), table_(std::move(table))
{
}

void MemoReader::refuse(const char* what) const
{
    limits_.refuse(QStringLiteral("a memo value of table '%1' %2").arg(table_, QLatin1String(what)));
}

QByteArray MemoReader::read(int start, int size)
{
    if (size < kHeaderSize)
        return QByteArray();  // libmdb reads these as empty text too
    const unsigned char* field = mdb_->pg_buf + start;
    const quint32 header = ReadUInt32(field);
    const quint32 link = ReadUInt32(field + 4);
    if (header & kInRow)
        return QByteArray(reinterpret_cast<const char*>(field + kHeaderSize), size - kHeaderSize);
    if (header & kOnePage) {
        const Row row = rowAt(link);
        limits_.chargeLongValueBytes(row.size, table_);
        return QByteArray(reinterpret_cast<const char*>(row.bytes), row.size);
    }
    if ((header & kKindBits) != 0)
        refuse("is of no kind Access writes");
    return readChain(link, header & kLengthBits);
}

QByteArray MemoReader::readChain(quint32 link, qint64 declared)
{
    if (declared > limits_.fileSize())
        refuse("is declared longer than the whole file");
    QByteArray text;
    text.reserve(declared);
    QSet<quint32> visited;
    while (text.size() < declared) {
        if (link == 0)
            refuse("ends before the length its header declares");
        if (visited.size() >= limits_.pages())
            refuse("runs through more pages than the file holds");
        visited.insert(link);
        const Row row = rowAt(link);
        if (row.size < kLinkSize)
            refuse("has a link too short to name the next one");
        link = ReadUInt32(row.bytes);
        if (visited.contains(link))
            refuse("links back into itself");
        // An empty link would let a chain run on without reading anything.
        const int chunk = row.size - kLinkSize;
        if (chunk == 0)
            refuse("has an empty link");
        if (text.size() + chunk > declared)
            refuse("is longer than its header says");
        limits_.chargeLongValueBytes(chunk, table_);
        text.append(reinterpret_cast<const char*>(row.bytes + kLinkSize), chunk);
    }
    return text;
}

MemoReader::Row MemoReader::rowAt(quint32 pageRow)
{
    const qint64 number = pageRow >> 8;
    const int row = int(pageRow & 0xff);
    const int pageSize = int(mdb_->fmt->pg_size);
    if (number != pageNumber_) {
        // The alternate page buffer is libmdb's too: keep a copy of our own.
        pageNumber_ = -1;
        if (number == 0 || number >= limits_.pages() ||
            mdb_read_alt_pg(mdb_, static_cast<unsigned long>(number)) != pageSize)
            refuse("points to a page the file does not hold");
        page_ = QByteArray(reinterpret_cast<const char*>(mdb_->alt_pg_buf), pageSize);
        pageNumber_ = number;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(page_.constData());
    const int countOffset = mdb_->fmt->row_count_offset;
    const int rows = qFromLittleEndian<quint16>(bytes + countOffset);
    // The table of row starts must fit the page; each row ends where the one
    // before it starts, the first at the end of the page.
    if (row >= rows || countOffset + 2 + 2 * rows > pageSize)
        refuse("points to a row its page does not hold");
    const auto startOf = [&](int index) {
        return qFromLittleEndian<quint16>(bytes + countOffset + 2 + 2 * index) & kOffsetMask;
    };
    const int start = startOf(row);
    const int end = row == 0 ? pageSize : startOf(row - 1);
    if (start < countOffset + 2 + 2 * rows || start > end || end > pageSize)
        refuse("points to a row that lies outside its page");
    return Row{bytes + start, end - start};
}

} // namespace catalogue
