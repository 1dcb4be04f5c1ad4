// The gate of the generate command, over the window's controls.
#include "app/frm_main.h"
#include "catalogue/queries.h"
#include "validation/check_input.h"

namespace app {

bool frmMain::CheckInput(bool& strokeEntryAllowed)
{
    const validation::StrokeInputs inputs{cboItem->currentText(), cboStyle->currentText(),
                                          cboDia->currentText(),  txtData->text(),
                                          txtData1->text(),       !txtData1->isHidden(),
                                          txtInfo->text(),        txtInfo1->text()};
    const auto result = validation::CheckStrokeInputs(inputs, [this] {
        return catalogue::StrokeEntryAllowed(catalogue::CatalogueConnection.get(), Label1->tag(),
                                             Label2->tag());
    });
    if (const auto message = result.message()) {
        ShowMessage(*message);
        return false;
    }
    strokeEntryAllowed = result.strokeEntryAllowed;
    return true;
}

} // namespace app
