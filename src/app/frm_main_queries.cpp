// SPDX-License-Identifier: MIT
// The catalogue queries, run over the window's controls.
#include "controls/catalogue_targets.h"
#include "frm_main.h"
#include "catalogue/queries.h"
#include "messages/system_messages.h"
#include <array>

namespace app {

bool frmMain::ReportQueryFailure(const base::Status& ran)
{
    if (!ran)
        ShowMessage(messages::CatalogueReadFailure(ran.error()));
    return ran.ok();
}

// A failed fill leaves a list as it was: with the items and pick of an
// earlier selection, which would pass the checks under the new one.
void frmMain::EmptyListsFrom(QComboBox* failedList)
{
    bool dependent = false;
    for (QComboBox* list : std::array{cboItem, cboStyle, cboDia}) {
        dependent = dependent || list == failedList;
        if (dependent)
            ComboListTarget(list).clear();
    }
}

void frmMain::FillSeriesList()
{
    ComboListTarget target(cboItem);
    if (!ReportQueryFailure(catalogue::FillSeriesList(CatalogueConnection(), target)))
        EmptyListsFrom(cboItem);
}

void frmMain::FillTypeList(const QString& series)
{
    ComboListTarget target(cboStyle);
    if (!ReportQueryFailure(catalogue::FillTypeList(CatalogueConnection(), target, series)))
        EmptyListsFrom(cboStyle);
}

void frmMain::FillBoreList(const QString& series, const QString& type)
{
    ComboListTarget target(cboDia);
    if (!ReportQueryFailure(catalogue::FillBoreList(CatalogueConnection(), target, series, type)))
        EmptyListsFrom(cboDia);
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
    rangeTextFailure_ = catalogue::BuildRangeText(CatalogueConnection(), Label1->tag(),
                                                  Label2->tag(), cboDia->currentText(),
                                                  boreStepShown, first, second);
    ReportQueryFailure(rangeTextFailure_);
}

} // namespace app
