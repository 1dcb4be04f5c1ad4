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

// Outcome of a query. A failed statement is never read; ok is false and
// error holds the engine's description, so the caller can tell the user.
struct QueryStatus {
    bool ok = true;
    QString error;
};

template <typename T>
struct QueryAnswer {
    T value{};
    QueryStatus status;
};

// Doubles every apostrophe, so a value stays one SQL literal.
QString QuoteSqlValue(const QString& value);
// A plain decimal number: optional sign, digits, optional "." and digits.
bool IsPlainDecimal(const QString& text);
// The text without the blanks (spaces) before and after it.
QString StripBlanks(const QString& text);

QueryStatus FillSeriesList(Connection* connection, ListTarget& cboItem);
QueryStatus FillTypeList(Connection* connection, ListTarget& cboStyle, const QString& series);
QueryStatus FillBoreList(Connection* connection, ListTarget& cboDia, const QString& series,
                         const QString& type);
QueryAnswer<bool> HasSecondStroke(Connection* connection, const QString& series,
                                  const QString& type);
// False (strokes stay locked) also when no row matches or OwnerProcess is null.
QueryAnswer<bool> StrokeEntryAllowed(Connection* connection, const QString& selectedSeries,
                                     const QString& selectedType);
// Empty text when no range names a file, or when the stroke is not a plain
// decimal number between optional blanks (then nothing runs). The stroke
// goes into the statement as it stands.
QueryAnswer<QString> LookupDrawingFile(Connection* connection, const QString& selectedSeries,
                                       const QString& selectedType, const QString& boreText,
                                       const QString& strokeText);

// Writes the range texts into txtInfo (first stroke) and txtInfo1 (second),
// using the boxes themselves as accumulators. Only empties them when the Type
// label or the Bore label is hidden.
QueryStatus BuildRangeText(Connection* connection, const QString& selectedSeries,
                           const QString& selectedType, const QString& boreText,
                           bool typeLabelVisible, bool boreLabelVisible, TextTarget& txtInfo,
                           TextTarget& txtInfo1);

} // namespace catalogue
