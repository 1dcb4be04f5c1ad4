// SPDX-License-Identifier: MIT
#pragma once
#include "base/result.h"
#include <QString>
#include <vector>

namespace catalogue {

// How the program can read a field, whatever Access calls its type.
enum class FieldKind {
    Text,    // Text and Memo: compared without regard to ASCII case
    Number,  // the whole-number and fractional kinds
    YesNo,   // Yes/No: -1 for true, 0 for false
    Other,   // dates, GUIDs, binary data and OLE objects
};

struct FieldDescription {
    QString name;
    FieldKind kind;
    QString accessType;  // as Access names it: "Text", "Long Integer", "Yes/No", ...
};

struct TableDescription {
    QString name;
    std::vector<FieldDescription> fields;  // in the table's order
};

// The user tables of an Access file and their fields, read from its table
// definitions only (no rows). Meant for a file the catalogue engine has
// already opened: libmdb trusts the file it is given. What libmdb writes to
// stderr meanwhile goes to engineMessages, when given, and never to stderr.
base::Result<std::vector<TableDescription>> DescribeAccessFile(const QString& path,
                                                               QStringList* engineMessages = nullptr);

} // namespace catalogue
