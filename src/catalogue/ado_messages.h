// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

namespace catalogue {

// Descriptions of the failures that the connection and recordset objects
// raise themselves, worded as the data-access layer words them.
inline QString ObjectOpenMessage()
{
    return QStringLiteral("Operation is not allowed when the object is open.");
}
inline QString ObjectClosedMessage()
{
    return QStringLiteral("Operation is not allowed when the object is closed.");
}
inline QString NoCurrentRecordMessage()
{
    return QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                          "Requested operation requires a current record.");
}
inline QString ItemNotFoundMessage()
{
    return QStringLiteral("Item cannot be found in the collection corresponding to the "
                          "requested name or ordinal.");
}

} // namespace catalogue
