// SPDX-License-Identifier: MIT
#include "mdb_table.h"
#include "catalogue_error.h"
#include <QString>
#include <vector>

namespace catalogue {

namespace {

constexpr int kOffsetMask = 0x1fff;  // row offsets carry flags in their top bits
constexpr int kDeletedRow = 0x4000;
constexpr unsigned kMostColumns = 255;  // the most fields Access allows in a table

} // namespace

bool ReadColumns(MdbTableDef* table, const LoadLimits& limits)
{
    if (table->num_cols == 0 || table->num_cols > kMostColumns)
        limits.refuse(QStringLiteral("table '%1' declares %2 fields, where Access allows 1 to %3")
                          .arg(QString::fromUtf8(table->name))
                          .arg(table->num_cols)
                          .arg(kMostColumns));
    return mdb_read_columns(table) && table->columns->len == table->num_cols;
}

MdbTable ReadTableDefinition(MdbCatalogEntry* entry, const LoadLimits& limits)
{
    MdbTable table(mdb_read_table(entry));
    if (!table || !ReadColumns(table.get(), limits))
        limits.refuse(QStringLiteral("the definition of table '%1' cannot be read")
                          .arg(QString::fromUtf8(entry->object_name)));
    return table;
}

void ForEachRow(MdbHandle* mdb, MdbTableDef* table, const LoadLimits& limits,
                const std::function<void(const MdbField* fields)>& onRow)
{
    const QString name = QString::fromUtf8(table->name);
    // libmdb keeps no copy of an empty page map, then reads the copy it lacks.
    if (!table->usage_map || table->map_sz < 1)
        limits.refuse(QStringLiteral("table '%1' has an empty page map").arg(name));
    mdb_rewind_table(table);
    // mdb_crack_row writes one field for every column the definition declares.
    std::vector<MdbField> fields(table->num_cols);
    qint64 pages = 0;
    qint64 read = 0;
    while (mdb_read_next_dpg(table)) {
        if (++pages > limits.pages())
            limits.refuse(
                QStringLiteral("table '%1' runs through more pages than the file holds").arg(name));
        const int rows = mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
        for (int row = 0; row < rows; ++row) {
            int rowStart = 0;
            size_t rowSize = 0;
            if (mdb_find_row(mdb, row, &rowStart, &rowSize) != 0 || (rowStart & kDeletedRow))
                continue;
            // mdb_crack_row takes the end of a row of no bytes to lie before
            // its start, and at offset 0 that wraps round far outside the page.
            if (rowSize == 0)
                continue;
            if (mdb_crack_row(table, rowStart & kOffsetMask, rowSize, fields.data()) < 0)
                continue;
            onRow(fields.data());
            ++read;
        }
    }
    if (read != qint64(table->num_rows))
        limits.refuse(QStringLiteral("table '%1' counts %2 rows, but %3 can be read")
                          .arg(name)
                          .arg(table->num_rows)
                          .arg(read));
}

} // namespace catalogue
