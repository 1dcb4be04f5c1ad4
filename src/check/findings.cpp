// SPDX-License-Identifier: MIT
#include "findings.h"
#include <algorithm>

namespace check {

QString SeverityName(Severity severity)
{
    switch (severity) {
    case Severity::Error: return QStringLiteral("error");
    case Severity::Warning: return QStringLiteral("warning");
    case Severity::Note: return QStringLiteral("note");
    }
    return QStringLiteral("note");
}

FindingCounts CountFindings(const Findings& findings)
{
    FindingCounts counts;
    for (const Finding& finding : findings) {
        switch (finding.severity) {
        case Severity::Error: ++counts.errors; break;
        case Severity::Warning: ++counts.warnings; break;
        case Severity::Note: ++counts.notes; break;
        }
    }
    return counts;
}

void SortBySeverity(Findings& findings)
{
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        return int(a.severity) < int(b.severity);
    });
}

} // namespace check
