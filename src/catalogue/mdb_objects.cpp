// SPDX-License-Identifier: MIT
#include "mdb_objects.h"
#include "access_file.h"
#include "access_text.h"
#include "catalogue_error.h"
#include "mdb_column.h"
#include "mdb_table.h"
#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <cstring>

namespace catalogue {

namespace {

constexpr unsigned long kObjectTablePage = 2;  // where every Jet file defines MSysObjects
constexpr long kTablePageBits = 0x00ffffff;  // the low bits of an object's Id

// Where the columns that describe an object sit in a row of MSysObjects.
struct ObjectColumns {
    int id = -1;
    int name = -1;
    int type = -1;
    int flags = -1;
};

ObjectColumns FindObjectColumns(const MdbTableDef& table)
{
    ObjectColumns found;
    for (unsigned i = 0; i < table.num_cols; ++i) {
        const auto* column = static_cast<const MdbColumn*>(g_ptr_array_index(table.columns, i));
        const QLatin1String name(column->name);
        for (auto [wanted, index] : {std::pair{"Id", &found.id}, {"Name", &found.name},
                                     {"Type", &found.type}, {"Flags", &found.flags}}) {
            if (name.compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0)
                *index = int(i);
        }
    }
    return found;
}

// A whole number stored as a Byte, Integer or Long Integer; 0 when null.
long WholeNumber(MdbHandle* mdb, const MdbColumn& column, const MdbField& field)
{
    const int size = column.col_type == MDB_BYTE  ? 1
                     : column.col_type == MDB_INT ? 2
                     : column.col_type == MDB_LONGINT ? 4
                                                      : 0;
    if (field.is_null || size == 0 || field.siz < size || field.start < 0 ||
        field.start + size > mdb->fmt->pg_size)
        return 0;
    const unsigned char* bytes = mdb->pg_buf + field.start;
    switch (size) {
    case 1: return bytes[0];
    case 2: return qFromLittleEndian<qint16>(bytes);
    default: return qFromLittleEndian<qint32>(bytes);
    }
}

// The name as UTF-8, cut to the room libmdb gives object names.
void CopyName(MdbHandle* mdb, const MdbField& field, char (&name)[MDB_MAX_OBJ_NAME + 1])
{
    name[0] = '\0';
    if (field.is_null || field.siz <= 0 || field.start < 0 ||
        field.start + field.siz > mdb->fmt->pg_size)
        return;
    QByteArray text(qsizetype(Utf8RoomFor(size_t(field.siz))), '\0');
    const size_t length =
        StoredTextToUtf8(mdb, mdb->pg_buf + field.start, size_t(field.siz), text.data());
    qstrncpy(name, text.constData(), qMin(length + 1, sizeof name));
}

} // namespace

std::vector<MdbCatalogEntry> ReadUserTables(MdbHandle* mdb, const LoadLimits& limits)
{
    MdbCatalogEntry objects;
    std::memset(&objects, 0, sizeof objects);
    objects.mdb = mdb;
    objects.object_type = MDB_TABLE;
    objects.table_pg = kObjectTablePage;
    qstrncpy(objects.object_name, "MSysObjects", sizeof objects.object_name);
    // Without its object table a file is no Access database that can be read.
    const MdbTable table(mdb_read_table(&objects));
    if (!table || !ReadColumns(table.get(), limits))
        throw CatalogueError(UnrecognizedFormat(limits.path()));
    const ObjectColumns at = FindObjectColumns(*table);
    if (at.id < 0 || at.name < 0 || at.type < 0 || at.flags < 0)
        throw CatalogueError(UnrecognizedFormat(limits.path()));
    const auto column = [&](int index) -> const MdbColumn& {
        return *static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, index));
    };

    std::vector<MdbCatalogEntry> tables;
    ForEachRow(mdb, table.get(), limits, [&](const MdbField* fields) {
        // Types with flag bits above the table's own are other kinds of object.
        if (WholeNumber(mdb, column(at.type), fields[at.type]) != MDB_TABLE)
            return;
        MdbCatalogEntry entry;
        std::memset(&entry, 0, sizeof entry);
        entry.mdb = mdb;
        entry.object_type = MDB_TABLE;
        entry.table_pg = WholeNumber(mdb, column(at.id), fields[at.id]) & kTablePageBits;
        entry.flags = int(WholeNumber(mdb, column(at.flags), fields[at.flags]));
        if (!mdb_is_user_table(&entry))
            return;
        CopyName(mdb, fields[at.name], entry.object_name);
        tables.push_back(entry);
    });
    return tables;
}

} // namespace catalogue
