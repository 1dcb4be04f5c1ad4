// SPDX-License-Identifier: MIT
#pragma once
#include "findings.h"
#include "range_map.h"
#include "report.h"
#include <QByteArray>
#include <vector>

namespace check {

// The report as one HTML page that needs nothing from outside: the summary,
// the findings grouped by severity and then by Series / Type with the texts
// of the console report, and the range map of every Type, each Series folded
// away. drawingsChecked: the maps know which drawings Files lacks.
QByteArray HtmlReport(const CheckedInput& input, const Findings& findings,
                      const std::vector<SeriesMaps>& maps, bool drawingsChecked);

// An input that could not be read at all, as a page.
QByteArray HtmlFailure(const QString& given, const QString& reason);

} // namespace check
