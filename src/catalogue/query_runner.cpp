// SPDX-License-Identifier: MIT
#include "query_runner.h"
#include "catalogue_error.h"

namespace catalogue {

base::Status RunQuery(Connection* connection, const QString& sqlText,
                      const std::function<void()>& onOpened,
                      const std::function<bool(const Recordset&)>& onRow)
{
    Recordset recordset;
    QString errorText;
    if (!OpenRecordset(sqlText, connection, recordset, errorText))
        return base::Fail(errorText);
    if (onOpened)
        onOpened();
    try {
        while (!recordset.eof()) {
            if (!onRow(recordset))
                break;
            recordset.moveNext();
        }
    } catch (const CatalogueError& failure) {
        recordset.close();
        return base::Fail(failure.description());
    }
    recordset.close();
    return {};
}

} // namespace catalogue
