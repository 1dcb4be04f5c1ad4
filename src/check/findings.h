// SPDX-License-Identifier: MIT
#pragma once
#include <QString>
#include <vector>

namespace check {

enum class Severity {
    Error,    // the program will fail or mislead
    Warning,  // probably a mistake
    Note,     // informational
};

// Where a finding lies: the catalogue row by its codes, or a file of the
// install root by its path relative to the root.
struct Location {
    QString series;
    QString type;
    QString bore;
    QString sortId;  // the SortID as the catalogue holds it, as text
    QString path;    // "Files/AXN12.dwg"

    bool operator==(const Location&) const = default;
};

struct Finding {
    Severity severity;
    QString check;   // a stable identifier, e.g. "range-min-above-max"
    QString table;   // "Fluid_Main", "Fluid_Detail", "Files", "Docs", "Database"
    Location location;
    QString message;  // what is wrong and what the program does with it
    QString change;   // what the maintainer should change
};

using Findings = std::vector<Finding>;

QString SeverityName(Severity severity);  // "error", "warning", "note"

struct FindingCounts {
    int errors = 0;
    int warnings = 0;
    int notes = 0;
};
FindingCounts CountFindings(const Findings& findings);

// Errors first, then warnings, then notes; within one severity the order of
// the checks is kept.
void SortBySeverity(Findings& findings);

} // namespace check
