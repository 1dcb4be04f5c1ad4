// SPDX-License-Identifier: MIT
#pragma once
#include "catalogue_index.h"
#include "findings.h"
#include "progress.h"

namespace check {

// The preview as the program's window shows it. The window is designed in
// twips; at 96 dots per inch its viewport is 3315 twips high inside its
// border (3370 twips with it).
struct PreviewGeometry {
    double viewportTwips = 3315;
    double dotsPerInch = 96;
};

// The install root against its catalogue: every drawing the program can
// stage is a readable file in Files (case counts), the CAD-side and utility
// files exist, the documents and pictures of Docs load through the
// program's readers, each Type's preview position lies within its Series
// picture's scroll range, and which files of Files no range can select.
Findings CheckInstallRoot(const QString& root, const CatalogueRows& rows, const CatalogueIndex& index,
                          const PreviewGeometry& preview, Progress& progress);

} // namespace check
