// SPDX-License-Identifier: MIT
// The gate of the generate command, over the window's controls.
#include "frm_main.h"
#include "catalogue/queries.h"
#include "messages/system_messages.h"

namespace app {

validation::CheckResult frmMain::CheckInput()
{
    const validation::StrokeInputs inputs{cboItem->currentText(), cboStyle->currentText(),
                                          cboDia->currentText(),  txtData->text(),
                                          txtData1->text(),       !txtData1->isHidden(),
                                          txtInfo->text(),        txtInfo1->text()};
    validation::CheckResult result = validation::CheckStrokeInputs(inputs, [this] {
        return catalogue::StrokeEntryAllowed(CatalogueConnection(), Label1->tag(), Label2->tag());
    });
    // Ranges that could not be read admitted the strokes above.
    if (result && !rangeTextFailure_)
        result = validation::CheckFailure{std::nullopt,
                                          messages::CatalogueReadFailure(rangeTextFailure_.error())};
    if (!result)
        ShowMessage(result.failure().message);
    return result;
}

} // namespace app
