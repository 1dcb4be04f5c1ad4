// The generate command: checked inputs to a stretched model in the CAD host.
#include "frm_main.h"
#include "catalogue/queries.h"
#include "generation/run_generation.h"

namespace app {

void frmMain::Command2_Click()
{
    const validation::CheckResult checked = CheckInput();
    if (!checked)
        return;
    generation::GenerationRequest request;
    request.installRoot = InstallRoot();
    request.typeCode = cboStyle->currentText();
    request.boreCode = cboDia->currentText();
    request.firstStroke = txtData->text();
    request.secondStroke = txtData1->text();
    request.secondStrokeVisible = !txtData1->isHidden();
    request.strokeEntryAllowed = checked->strokeEntryAllowed;
    request.lookupDrawingFile = [this] {
        // A failed lookup is not reported: it only selects the fallback name.
        return catalogue::LookupDrawingFile(CatalogueConnection(), Label1->tag(), Label2->tag(),
                                            cboDia->currentText(), txtData->text());
    };
    generation::GenerationServices services{*environment_.fileSystem, *environment_.cadHost,
                                            *environment_.discTray, *environment_.messageBoxes};
    generation::RunGeneration(request, services);
}

} // namespace app
