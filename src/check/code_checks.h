// SPDX-License-Identifier: MIT
#pragma once
#include "catalogue_rows.h"
#include "findings.h"

namespace check {

enum class CodeField { Series, Type, Bore };

// Whether the generate command takes a Type or bore code into its command
// line; the Series code never goes there.
bool GenerateAccepts(CodeField field, const QString& code);

// Style, StyleDetail and DiaSpec in both tables: null or blank codes, codes
// the generate command refuses, codes padded with blanks, and spellings that
// differ only in ASCII letter case (the engine merges them in the lists).
// Refused and padded codes are told once per table and spelling.
Findings CheckCodes(const CatalogueRows& rows);

} // namespace check
