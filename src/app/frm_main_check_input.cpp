// The gate of the generate command, over the window's controls.
#include "frm_main.h"
#include "catalogue/queries.h"

namespace app {

validation::CheckResult frmMain::CheckInput()
{
    const validation::StrokeInputs inputs{cboItem->currentText(), cboStyle->currentText(),
                                          cboDia->currentText(),  txtData->text(),
                                          txtData1->text(),       !txtData1->isHidden(),
                                          txtInfo->text(),        txtInfo1->text()};
    const auto result = validation::CheckStrokeInputs(inputs, [this] {
        return catalogue::StrokeEntryAllowed(CatalogueConnection(), Label1->tag(), Label2->tag());
    });
    if (!result)
        ShowMessage(result.failure().message);
    return result;
}

} // namespace app
