// The catalogue queries, run over the window's controls.
#include "app/controls/catalogue_targets.h"
#include "app/frm_main.h"
#include "catalogue/queries.h"
#include "validation/check_messages.h"

namespace app {

using catalogue::CatalogueConnection;

bool frmMain::ReportQueryStatus(const catalogue::QueryStatus& status)
{
    if (!status.ok)
        ShowMessage(validation::CatalogueReadFailureMessage(status.error));
    return status.ok;
}

void frmMain::FillSeriesList()
{
    ComboListTarget target(cboItem);
    ReportQueryStatus(catalogue::FillSeriesList(CatalogueConnection.get(), target));
}

void frmMain::FillTypeList(const QString& series)
{
    ComboListTarget target(cboStyle);
    ReportQueryStatus(catalogue::FillTypeList(CatalogueConnection.get(), target, series));
}

void frmMain::FillBoreList(const QString& series, const QString& type)
{
    ComboListTarget target(cboDia);
    ReportQueryStatus(catalogue::FillBoreList(CatalogueConnection.get(), target, series, type));
}

bool frmMain::HasSecondStroke(const QString& series, const QString& type)
{
    const auto answer = catalogue::HasSecondStroke(CatalogueConnection.get(), series, type);
    return ReportQueryStatus(answer.status) && answer.value;
}

bool frmMain::StrokeEntryAllowed()
{
    const auto answer = catalogue::StrokeEntryAllowed(CatalogueConnection.get(), Label1->tag(),
                                                      Label2->tag());
    return ReportQueryStatus(answer.status) && answer.value;
}

void frmMain::BuildRangeText()
{
    RangeBoxTarget first(txtInfo), second(txtInfo1);
    ReportQueryStatus(catalogue::BuildRangeText(CatalogueConnection.get(), Label1->tag(),
                                                Label2->tag(), cboDia->currentText(),
                                                !Label2->isHidden(), !Label3->isHidden(), first,
                                                second));
}

} // namespace app
