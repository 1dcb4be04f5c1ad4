// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

namespace catalogue {

// The SQL text of each catalogue query. Text values go between apostrophes
// with their own apostrophes doubled (QuoteSqlValue); the stroke goes in
// unquoted and must already be a plain decimal number.
QString SeriesListStatement();
QString TypeListStatement(const QString& series);
QString BoreListStatement(const QString& series, const QString& type);
QString SecondStrokeStatement(const QString& series, const QString& type);
QString StrokeEntryStatement(const QString& series, const QString& type);
QString DrawingFileStatement(const QString& series, const QString& type, const QString& bore,
                             const QString& stroke);
QString RangeTextStatement(const QString& series, const QString& type, const QString& bore);

} // namespace catalogue
