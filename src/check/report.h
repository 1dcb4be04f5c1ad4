// SPDX-License-Identifier: MIT
#pragma once
#include "findings.h"
#include <QByteArray>
#include <QString>

namespace check {

// What was checked: the path given, the catalogue it led to, and the install
// root when a folder was given.
struct CheckedInput {
    QString given;
    QString catalogue;
    QString installRoot;  // empty for a catalogue file alone
};

// The human report: findings grouped by severity, each with its table and
// row or file, what is wrong and what to change, then a summary line.
QString TextReport(const CheckedInput& input, const Findings& findings);
// The same findings as one JSON document.
QByteArray JsonReport(const CheckedInput& input, const Findings& findings, int exitStatus);
// An input that could not be read at all, as JSON.
QByteArray JsonFailure(const QString& given, const QString& reason);

QString LocationText(const Location& location);
QString SummaryLine(const FindingCounts& counts);

} // namespace check
