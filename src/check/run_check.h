// SPDX-License-Identifier: MIT
#pragma once
#include "base/result.h"
#include "catalogue_index.h"
#include "findings.h"
#include "install_root_checks.h"
#include "progress.h"
#include "report.h"

namespace check {

struct CheckRun {
    CheckedInput input;
    Findings findings;  // errors first, then warnings, then notes
    CatalogueRows rows;  // as read, for the range maps
    CatalogueIndex index;
};

// Exit statuses of talvex-check.
constexpr int kNoError = 0;
constexpr int kErrorsFound = 1;
constexpr int kUnreadableInput = 2;

// Checks a catalogue file, or an install root (a folder, whose catalogue is
// where the program looks for it) with its files. Fails, with a reason fit
// for the maintainer, only when the input cannot be read at all: a missing
// path, a folder without a catalogue, a file the catalogue engine refuses.
// What libmdb wrote to stderr while it read the file goes to engineMessages,
// when given, also on failure.
base::Result<CheckRun> RunCheck(const QString& given, const PreviewGeometry& preview, Progress& progress,
                                QStringList* engineMessages = nullptr);

int ExitStatus(const Findings& findings);

} // namespace check
