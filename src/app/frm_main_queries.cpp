// The catalogue queries, run over the window's controls.
#include "controls/catalogue_targets.h"
#include "frm_main.h"
#include "catalogue/queries.h"
#include "messages/system_messages.h"

namespace app {

bool frmMain::ReportQueryFailure(const base::Status& ran)
{
    if (!ran)
        ShowMessage(messages::CatalogueReadFailure(ran.error()));
    return ran.ok();
}

void frmMain::FillSeriesList()
{
    ComboListTarget target(cboItem);
    ReportQueryFailure(catalogue::FillSeriesList(CatalogueConnection(), target));
}

void frmMain::FillTypeList(const QString& series)
{
    ComboListTarget target(cboStyle);
    ReportQueryFailure(catalogue::FillTypeList(CatalogueConnection(), target, series));
}

void frmMain::FillBoreList(const QString& series, const QString& type)
{
    ComboListTarget target(cboDia);
    ReportQueryFailure(catalogue::FillBoreList(CatalogueConnection(), target, series, type));
}

bool frmMain::HasSecondStroke(const QString& series, const QString& type)
{
    const base::Result<bool> second = catalogue::HasSecondStroke(CatalogueConnection(), series, type);
    if (!second) {
        ReportQueryFailure(second.failure());
        return false;
    }
    return *second;
}

bool frmMain::StrokeEntryAllowed()
{
    const base::Result<bool> allowed =
        catalogue::StrokeEntryAllowed(CatalogueConnection(), Label1->tag(), Label2->tag());
    if (!allowed) {
        ReportQueryFailure(allowed.failure());
        return false;
    }
    return *allowed;
}

void frmMain::BuildRangeText()
{
    RangeBoxTarget first(txtInfo), second(txtInfo1);
    const bool boreStepShown = !Label2->isHidden() && !Label3->isHidden();
    ReportQueryFailure(catalogue::BuildRangeText(CatalogueConnection(), Label1->tag(),
                                                 Label2->tag(), cboDia->currentText(),
                                                 boreStepShown, first, second));
}

} // namespace app
