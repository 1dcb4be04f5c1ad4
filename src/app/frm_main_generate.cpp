// SPDX-License-Identifier: MIT
// The generate command: checked inputs to a stretched model in the CAD host.
#include "frm_main.h"
#include "host_wait_guard.h"
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
    // While the host is waited for, the window paints but takes no input;
    // the guard ends with the command, or at its first message.
    HostWaitGuard waiting(*this);
    GuardedCadHost host(*environment_.cadHost, waiting);
    GuardedMessageBoxes boxes(*environment_.messageBoxes, waiting);
    generation::GenerationServices services{*environment_.fileSystem, host, *environment_.discTray,
                                            boxes};
    generation::RunGeneration(request, services);
}

} // namespace app
