// SPDX-License-Identifier: MIT
// The preview panel: the Series picture, scrolled to the chosen Type.
#include "controls/scroll_bar16.h"
#include "frm_main.h"
#include "install_paths.h"
#include "screen_metrics.h"
#include <QPixmap>

namespace app {

double frmMain::ImageHeightTwips() const
{
    return ToTwips(Image1->height());
}

void frmMain::txtData_Change()
{
    ResetPreview(selection::RangeRule::ImageMinusViewport);
    if (cboItem->currentText().isEmpty())
        return;
    // A Series without a picture keeps the one shown, scrolled by its height.
    ShowPreviewPicture(InstallPath(InstallRoot(), QStringLiteral("/Docs/") + cboItem->currentText()
                                                      + QStringLiteral(".jpg")));
    const double height = ImageHeightTwips();
    const QString type = cboStyle->currentText();
    VScroll1->update([height, &type](selection::ScrollSettings& scroll) {
        return selection::ScrollToTypePosition(scroll, height, type);
    });
}

void frmMain::VScroll1_Change()
{
    Image1->move(Image1->x(), -ToPixels(VScroll1->settings().position()));
}

void frmMain::ResetPreview(selection::RangeRule rule)
{
    // The picture shows at its natural size; the range and steps come from
    // the picture held now, before any new one is loaded.
    if (!Image1->pixmap().isNull())
        Image1->resize(Image1->pixmap().size());
    Image1->update();
    Image1->move(0, 0);
    const double height = ImageHeightTwips();
    const double viewport = ToTwips(Image1->parentWidget()->height());
    VScroll1->update([height, viewport, rule](selection::ScrollSettings& scroll) {
        return selection::ResetPreviewScroll(scroll, height, viewport, rule);
    });
}

bool frmMain::ShowPreviewPicture(const QString& path)
{
    // An unchanged file comes back as the picture decoded before; Image1
    // then holds it already.
    const QImage picture = previewPictures_.load(path);
    if (picture.isNull())
        return false;
    if (picture.cacheKey() != shownPicture_ || Image1->pixmap().isNull()) {
        Image1->setPixmap(QPixmap::fromImage(picture));
        shownPicture_ = picture.cacheKey();
    }
    Image1->resize(picture.size());
    return true;
}

} // namespace app
