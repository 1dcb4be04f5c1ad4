// SPDX-License-Identifier: MIT
#pragma once
#include "connection.h"
#include <QString>

namespace catalogue {

// Where a list fill puts its items: the window plugs its combo in, tests a list.
class ListTarget {
public:
    virtual ~ListTarget() = default;
    virtual void clear() = 0;                      // all items removed, nothing picked
    virtual void append(const QString& item) = 0;  // at the end of the list
};

// A text box that a query reads back and writes: the range boxes.
class TextTarget {
public:
    virtual ~TextTarget() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
};

// Every query fails with the engine's description, and a statement that
// failed is never read, so the caller can tell the user.

// Doubles every apostrophe, so a value stays one SQL literal.
QString QuoteSqlValue(const QString& value);
// A plain decimal number: optional sign, digits, optional "." and digits.
bool IsPlainDecimal(const QString& text);
// The text without the blanks (spaces) before and after it.
QString StripBlanks(const QString& text);

base::Status FillSeriesList(Connection* connection, ListTarget& seriesList);
base::Status FillTypeList(Connection* connection, ListTarget& typeList, const QString& series);
base::Status FillBoreList(Connection* connection, ListTarget& boreList, const QString& series,
                         const QString& type);
base::Result<bool> HasSecondStroke(Connection* connection, const QString& series,
                                  const QString& type);
// False (strokes stay locked) also when no row matches or OwnerProcess is null.
base::Result<bool> StrokeEntryAllowed(Connection* connection, const QString& series,
                                     const QString& type);
// Empty text when no range names a file, or when the stroke is not a plain
// decimal number between optional blanks (then nothing runs). The stroke
// goes into the statement as it stands.
base::Result<QString> LookupDrawingFile(Connection* connection, const QString& series,
                                       const QString& type, const QString& bore,
                                       const QString& strokeText);

// Writes the range texts of the first and the second stroke, using the boxes
// themselves as accumulators. With the Bore step not shown (the selection
// cannot have a bore yet) it only empties them.
base::Status BuildRangeText(Connection* connection, const QString& series, const QString& type,
                           const QString& bore, bool boreStepShown, TextTarget& firstStroke,
                           TextTarget& secondStroke);

} // namespace catalogue
