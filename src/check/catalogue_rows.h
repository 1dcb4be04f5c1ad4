// SPDX-License-Identifier: MIT
#pragma once
#include "catalogue/field_value.h"
#include "catalogue/table_description.h"
#include <vector>

namespace check {

using catalogue::FieldValue;

// The fields of Fluid_Main that the program reads; a field the table lacks
// reads as null.
struct MainRow {
    FieldValue style;
    FieldValue styleDetail;
    FieldValue multiProcess;
    FieldValue ownerProcess;
};

struct DetailRow {
    FieldValue style;
    FieldValue styleDetail;
    FieldValue diaSpec;
    FieldValue sortId;
    FieldValue minValue;
    FieldValue maxValue;
    FieldValue processId;
    FieldValue fileName;
};

// Both catalogue tables, read once, in the order the engine returns them.
struct CatalogueRows {
    std::vector<catalogue::TableDescription> tables;  // every user table of the file
    bool hasMain = false;
    bool hasDetail = false;
    std::vector<MainRow> main;
    std::vector<DetailRow> detail;
};

} // namespace check
