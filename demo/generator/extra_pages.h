// SPDX-License-Identifier: MIT
#pragma once
#include "content_file.h"
#include <QImage>

namespace demo {

// The default picture: the cover of the catalogue.
QImage RenderCoverPage(const ContentFile& cover, int widthPx);

// The setup help picture: one illustrated step after another. heightPx is
// chosen by the caller (the help page scrolls over a fixed range).
QImage RenderHelpPage(const ContentFile& help, int widthPx, int heightPx);

} // namespace demo
