// SPDX-License-Identifier: MIT
#include "mdb_column.h"
#include "access_date.h"
#include "access_text.h"
#include <QtEndian>
#include <charconv>
#include <cstring>

namespace catalogue {

namespace {

template <typename T>
T ReadLittleEndian(const unsigned char* bytes)
{
    T value;
    std::memcpy(&value, bytes, sizeof value);
    return qFromLittleEndian(value);
}

// A Single widened to double keeps its binary noise (0.15f becomes
// 0.150000005960464); going through its shortest decimal form gives the
// number that Access shows for it.
double WidenSingle(float single)
{
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, single);
    double widened = single;
    std::from_chars(text, written.ptr, widened);
    return widened;
}

int FixedSizeOf(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::Byte: return 1;
    case ColumnKind::Integer: return 2;
    case ColumnKind::LongInteger:
    case ColumnKind::Complex:
    case ColumnKind::Single: return 4;
    case ColumnKind::Currency:
    case ColumnKind::Double:
    case ColumnKind::DateTime: return 8;
    case ColumnKind::Guid: return 16;
    case ColumnKind::Decimal: return 17;
    default: return 0;
    }
}

} // namespace

size_t StoredTextToUtf8(MdbHandle* mdb, const unsigned char* stored, size_t size, char* out)
{
    if (size == 0) {
        *out = '\0';
        return 0;
    }
    // Access 97 text is in the file's code page, which only libmdb knows.
    if (IS_JET3(mdb))
        return size_t(mdb_unicode2ascii(mdb, reinterpret_cast<const char*>(stored), size, out,
                                        Utf8RoomFor(size)));
    return AccessTextToUtf8(stored, size, out);
}

ColumnKind KindOf(const MdbColumn& column)
{
    switch (column.col_type) {
    case MDB_TEXT: return ColumnKind::Text;
    case MDB_MEMO: return ColumnKind::Memo;
    case MDB_BOOL: return ColumnKind::Boolean;
    case MDB_BYTE: return ColumnKind::Byte;
    case MDB_INT: return ColumnKind::Integer;
    case MDB_LONGINT: return ColumnKind::LongInteger;
    case MDB_COMPLEX: return ColumnKind::Complex;
    case MDB_MONEY: return ColumnKind::Currency;
    case MDB_FLOAT: return ColumnKind::Single;
    case MDB_DOUBLE: return ColumnKind::Double;
    case MDB_NUMERIC: return ColumnKind::Decimal;
    case MDB_DATETIME: return ColumnKind::DateTime;
    case MDB_REPID: return ColumnKind::Guid;
    case MDB_BINARY: return ColumnKind::Binary;
    default: return ColumnKind::Unloaded;
    }
}

const char* DeclarationOf(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::Text:
    case ColumnKind::Memo:
    case ColumnKind::Guid: return "TEXT COLLATE NOCASE";
    case ColumnKind::DateTime: return "TEXT";
    case ColumnKind::Boolean:
    case ColumnKind::Byte:
    case ColumnKind::Integer:
    case ColumnKind::LongInteger:
    case ColumnKind::Complex: return "INTEGER";
    case ColumnKind::Currency:
    case ColumnKind::Single:
    case ColumnKind::Double:
    case ColumnKind::Decimal: return "REAL";
    case ColumnKind::Binary:
    case ColumnKind::Unloaded: return "BLOB";
    }
    return "BLOB";
}

FieldBinder::FieldBinder(MdbHandle* mdb, const MdbColumn& column, MemoReader& memos)
    : mdb_(mdb), column_(column), memos_(memos), kind_(KindOf(column))
{
}

void FieldBinder::bind(const MdbField& field, sqlite3_stmt* insert, int parameter)
{
    if (kind_ == ColumnKind::Boolean) {
        // Yes/No lives in the null bitmap: a set bit, which libmdb reports as
        // "not null", is true.
        sqlite3_bind_int(insert, parameter, field.is_null ? 0 : -1);
        return;
    }
    const int fixedSize = FixedSizeOf(kind_);
    const bool inPage = field.start >= 0 && field.siz >= 0 &&
                        field.start + field.siz <= mdb_->fmt->pg_size;
    if (field.is_null || kind_ == ColumnKind::Unloaded || !inPage || field.siz < fixedSize) {
        sqlite3_bind_null(insert, parameter);
        return;
    }
    const unsigned char* bytes = mdb_->pg_buf + field.start;
    switch (kind_) {
    case ColumnKind::Text: bindText(field, insert, parameter); return;
    case ColumnKind::Memo: bindMemo(field, insert, parameter); return;
    case ColumnKind::DateTime: bindDateTime(field, insert, parameter); return;
    case ColumnKind::Byte: sqlite3_bind_int(insert, parameter, bytes[0]); return;
    case ColumnKind::Integer:
        sqlite3_bind_int(insert, parameter, ReadLittleEndian<qint16>(bytes));
        return;
    case ColumnKind::LongInteger:
    case ColumnKind::Complex:
        sqlite3_bind_int(insert, parameter, ReadLittleEndian<qint32>(bytes));
        return;
    case ColumnKind::Currency:  // a 64-bit count of ten-thousandths
        sqlite3_bind_double(insert, parameter, double(ReadLittleEndian<qint64>(bytes)) / 10000.0);
        return;
    case ColumnKind::Single: {
        const quint32 bits = ReadLittleEndian<quint32>(bytes);
        float single;
        std::memcpy(&single, &bits, sizeof single);
        sqlite3_bind_double(insert, parameter, WidenSingle(single));
        return;
    }
    case ColumnKind::Double: {
        const quint64 bits = ReadLittleEndian<quint64>(bytes);
        double number;
        std::memcpy(&number, &bits, sizeof number);
        sqlite3_bind_double(insert, parameter, number);
        return;
    }
    case ColumnKind::Decimal: {
        char* text = mdb_numeric_to_string(mdb_, field.start, column_.col_scale, column_.col_prec);
        double number = 0;
        const auto parsed = std::from_chars(text, text + std::strlen(text), number);
        if (parsed.ec == std::errc())
            sqlite3_bind_double(insert, parameter, number);
        else
            sqlite3_bind_null(insert, parameter);
        g_free(text);
        return;
    }
    case ColumnKind::Guid: {
        char* text = mdb_uuid_to_string(mdb_->pg_buf, field.start);
        sqlite3_bind_text(insert, parameter, text, -1, SQLITE_TRANSIENT);
        g_free(text);
        return;
    }
    case ColumnKind::Binary:
        sqlite3_bind_blob(insert, parameter, bytes, field.siz, SQLITE_TRANSIENT);
        return;
    default: sqlite3_bind_null(insert, parameter); return;
    }
}

void FieldBinder::bindText(const MdbField& field, sqlite3_stmt* insert, int parameter)
{
    bindStored(mdb_->pg_buf + field.start, size_t(field.siz), insert, parameter);
}

void FieldBinder::bindMemo(const MdbField& field, sqlite3_stmt* insert, int parameter)
{
    const QByteArray stored = memos_.read(field.start, field.siz);
    bindStored(reinterpret_cast<const unsigned char*>(stored.constData()), size_t(stored.size()),
               insert, parameter);
}

void FieldBinder::bindStored(const unsigned char* stored, size_t size, sqlite3_stmt* insert,
                             int parameter)
{
    // A zero-length text stays "", not null.
    if (buffer_.size() < Utf8RoomFor(size))
        buffer_.resize(Utf8RoomFor(size));
    const size_t length = StoredTextToUtf8(mdb_, stored, size, buffer_.data());
    sqlite3_bind_text(insert, parameter, buffer_.data(), int(length), SQLITE_STATIC);
}

void FieldBinder::bindDateTime(const MdbField& field, sqlite3_stmt* insert, int parameter)
{
    const quint64 bits = ReadLittleEndian<quint64>(mdb_->pg_buf + field.start);
    double days;
    std::memcpy(&days, &bits, sizeof days);
    const std::optional<DateText> text = AccessDateText(days);
    if (text)
        sqlite3_bind_text(insert, parameter, text->text, -1, SQLITE_TRANSIENT);
    else
        sqlite3_bind_null(insert, parameter);
}

} // namespace catalogue
