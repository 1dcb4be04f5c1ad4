// SPDX-License-Identifier: MIT
#pragma once
#include "mdb_api.h"
#include "mdb_memo.h"
#include <sqlite3.h>
#include <vector>

namespace catalogue {

// How an Access column is carried into SQLite.
enum class ColumnKind {
    Text,      // Text: UTF-8, compared without regard to case
    Memo,      // Memo: as Text, stored outside the row
    Boolean,   // Yes/No: -1 for true, 0 for false, as Access stores it
    Byte,      // the whole-number kinds become integers
    Integer,
    LongInteger,
    Complex,
    Currency,  // the fractional kinds become reals
    Single,
    Double,
    Decimal,
    DateTime,  // text "yyyy-mm-dd hh:mm:ss"; null outside the dates Access holds
    Guid,      // text "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"
    Binary,    // short binary: a blob
    Unloaded,  // OLE objects and unknown kinds: no statement reads them, they load as null
};

ColumnKind KindOf(const MdbColumn& column);
// The column declaration after the name, e.g. "TEXT COLLATE NOCASE".
const char* DeclarationOf(ColumnKind kind);

// Stored text of the file as UTF-8 into out, which holds Utf8RoomFor(size)
// bytes (access_text.h); returns the length written.
size_t StoredTextToUtf8(MdbHandle* mdb, const unsigned char* stored, size_t size, char* out);

// Binds fields of the row that mdb_crack_row just split to the parameters of
// an insert. Keeps one buffer per column, so a load allocates per column, not
// per value. Memo values are read through the table's MemoReader.
class FieldBinder {
public:
    FieldBinder(MdbHandle* mdb, const MdbColumn& column, MemoReader& memos);
    // The field's bytes lie in the handle's current page; the text bound stays
    // valid until the next call for this column.
    void bind(const MdbField& field, sqlite3_stmt* insert, int parameter);

private:
    void bindText(const MdbField& field, sqlite3_stmt* insert, int parameter);
    void bindMemo(const MdbField& field, sqlite3_stmt* insert, int parameter);
    void bindDateTime(const MdbField& field, sqlite3_stmt* insert, int parameter);
    void bindStored(const unsigned char* stored, size_t size, sqlite3_stmt* insert, int parameter);

    MdbHandle* mdb_;
    const MdbColumn& column_;
    MemoReader& memos_;
    ColumnKind kind_;
    std::vector<char> buffer_;
};

} // namespace catalogue
