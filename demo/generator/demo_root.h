// SPDX-License-Identifier: MIT
#pragma once
#include "base/result.h"
#include <QString>
#include <QStringList>

namespace demo {

struct DemoSources {
    QString catalogueFile;  // the sample catalogue to ship
    QString contentDir;     // demo/content: document texts and accessories
};

struct DemoReport {
    int filesWritten = 0;
    QStringList warnings;  // what was left out, and why
};

// Writes the complete demo install root into root: the catalogue, the Docs
// pages and documents, the stand-in drawings, the CAD-side stand-in, the
// accessories and the clean-up scripts.
base::Status BuildDemoRoot(const DemoSources& sources, const QString& root, DemoReport& report);

} // namespace demo
