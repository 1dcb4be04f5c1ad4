// SPDX-License-Identifier: MIT
// The description pane: the Series documents and the setup help page.
#include "frm_main.h"
#include "install_paths.h"
#include "rtf/rtf_reader.h"
#include <QStyle>

namespace app {

namespace {

// The width the pane lays its text out at, leaving room for its scroll bar:
// the reader keeps what fits Qt's layout at this width.
double TextWidth(const QTextEdit& pane)
{
    const int scrollBar = pane.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &pane);
    return pane.contentsRect().width() - scrollBar - 2 * pane.document()->documentMargin();
}

} // namespace

bool frmMain::LoadFile(const QString& path)
{
    return rtf::LoadRtfFile(path, *rtbData->document(), TextWidth(*rtbData)).ok();
}

void frmMain::LoadSeriesDocument()
{
    rtbData->clear();
    if (cboItem->currentText().isEmpty())
        return;
    // A Series without a document of its own leaves the pane empty.
    LoadFile(InstallPath(InstallRoot(), QStringLiteral("/Docs/") + cboItem->currentText()
                                            + QStringLiteral(".rtf")));
}

void frmMain::Command3_Click()
{
    ResetPreview(selection::RangeRule::HelpPage);
    LoadDefaultFile(InstallPath(InstallRoot(), QStringLiteral("/Docs/talvex2017.jpg")),
                    [this](const QString& path) { return ShowPreviewPicture(path); });
    LoadDefaultFile(InstallPath(InstallRoot(), QStringLiteral("/Docs/talvex2017.rtf")),
                    [this](const QString& path) { return LoadFile(path); });
}

} // namespace app
