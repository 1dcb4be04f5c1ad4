// SPDX-License-Identifier: MIT
#pragma once
#include "catalogue_rows.h"
#include "findings.h"

namespace check {

// Both tables exist with every field the program reads, each of a type the
// program reads as intended: codes and file names as text, bounds and SortID
// as numbers, OwnerProcess as Yes/No (a number also converts), MultiProcess
// and ProcessID as text or number.
Findings CheckSchema(const std::vector<catalogue::TableDescription>& tables);

} // namespace check
