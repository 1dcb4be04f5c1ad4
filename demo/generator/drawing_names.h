// SPDX-License-Identifier: MIT
#pragma once
#include "catalogue_model.h"
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace demo {

// One way the program can come to stage a drawing.
struct DrawingUse {
    QString series;
    QString type;
    QString bore;
    QString strokes;  // the ranges that name it, or when the fallback applies
    bool fallback = false;
};

struct StandInDrawing {
    QString name;
    QList<DrawingUse> uses;
};

// Every drawing name the catalogue can make the program stage: each stored
// FileName that is not blank, and Type code + bore code + ".dwg" for each
// bore (strokes in ranges without a name, or outside all ranges when the
// catalogue fixes them). Sorted by name, each name once.
QList<StandInDrawing> CollectStandInDrawings(const CatalogueModel& catalogue);

// A name that can be written as one file in the Files folder and deleted by
// the clean-up scripts without a wildcard or a quoting trick: no path
// separators, no wildcard, quote, percent, caret or shell characters, no
// control characters, no leading or trailing blank or dot.
bool IsSafeStagedName(const QString& name);

// The text of the stand-in: what it stands for, so the stand-in CAD host can
// show it.
QByteArray StandInDrawingText(const StandInDrawing& drawing);

} // namespace demo
