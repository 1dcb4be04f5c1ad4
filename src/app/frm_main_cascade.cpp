// SPDX-License-Identifier: MIT
// The selection cascade: a Series, then a Type, then a Bore. The combo
// clicks set a label; the label's change reaction does the work.
#include "controls/catalogue_targets.h"
#include "frm_main.h"
#include "vb_color.h"
#include "catalogue/queries.h"

namespace app {

namespace {

bool NamesFeatures(const QString& seriesCode)
{
    // These series list feature numbers where the others list bores.
    return seriesCode == QLatin1String("HMN") || seriesCode == QLatin1String("JZY")
        || seriesCode == QLatin1String("WKC") || seriesCode == QLatin1String("UJ");
}

} // namespace

void frmMain::cboItem_Click()
{
    Label1->setTag(cboItem->currentText());
    Label1->setCaption(QStringLiteral("機種Series:") + cboItem->currentText());
    Label3->setCaption(NamesFeatures(cboItem->currentText()) ? QStringLiteral("特徵編號Features")
                                                             : QStringLiteral("內徑Bore"));
    ResetStrokeEntry();
    LoadSeriesDocument();
}

void frmMain::cboStyle_Click()
{
    Label2->setTag(cboStyle->currentText());
    Label2->setCaption(QStringLiteral("型式Type:") + cboStyle->currentText());
    ResetStrokeEntry();
}

void frmMain::cboDia_Click()
{
    BuildRangeText();
    ResetStrokeEntry();
}

void frmMain::Label1_Change()
{
    txtInfo->setText(QString());
    txtData1->hide();
    txtData->setText(QString());
    txtData1->setText(QString());
    Frame6->hide();
    Label3->hide();
    cboDia->hide();
    if (Label1->tag().isEmpty()) {
        Label2->hide();
        cboStyle->hide();
        return;
    }
    Label2->show();
    cboStyle->show();
    FillTypeList(Label1->tag());
}

void frmMain::Label2_Change()
{
    txtInfo->setText(QString());
    txtData1->hide();
    txtData->setText(QString());
    txtData1->setText(QString());
    Frame6->hide();
    if (Label2->isHidden())
        return;
    if (Label1->tag().isEmpty()) {
        Label3->hide();
        cboDia->hide();
        return;
    }
    Label3->show();
    cboDia->show();
    FillBoreList(Label1->tag(), Label2->tag());
    const bool secondStroke = HasSecondStroke(Label1->tag(), Label2->tag());
    txtData1->setVisible(secondStroke);
    Frame6->setVisible(secondStroke);
}

void frmMain::Label3_Change()
{
    txtData->setText(QString());
    txtData1->setText(QString());
}

void frmMain::ResetStrokeEntry()
{
    const bool complete = !cboItem->currentText().isEmpty() && !cboStyle->currentText().isEmpty()
        && !cboDia->currentText().isEmpty();
    const bool allowed = complete && StrokeEntryAllowed();
    LockStrokeBoxes(!allowed);
    txtData->setText(QStringLiteral("0"));
    txtData1->setText(QStringLiteral("0"));
}

void frmMain::LockStrokeBoxes(bool locked)
{
    txtData->setLocked(locked);
    txtData1->setLocked(locked);
    const quint32 colour = txtData->locked() ? LockedStrokeColor : WindowBackgroundColor;
    txtData->setBackColor(ColorFromValue(colour, QPalette()));
    txtData1->setBackColor(ColorFromValue(colour, QPalette()));
}

} // namespace app
