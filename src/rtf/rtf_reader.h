// SPDX-License-Identifier: MIT
#pragma once

#include "base/result.h"

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace rtf {

// The width, in pixels, of the description pane's text at 96 dpi: what the
// reader assumes when its caller does not lay the document out itself.
constexpr double DefaultTextWidth = 640;

struct ReadOutcome {
    // Content past the height Qt can lay out at the text width was left out;
    // the document then ends with a paragraph "…" where it was cut.
    bool cut = false;
};

// Replaces the whole content of `document` (text, formats, image resources)
// by the Rich Text Format document in `data`, to be laid out `textWidth`
// pixels wide. Data that does not start with "{\rtf" fails with "not in Rich
// Text Format" and leaves `document` as it was. Damaged RTF after the header
// never fails: what can be read is shown. Loading is not an undoable edit
// and leaves the document unmodified.
base::Result<ReadOutcome> ReadRtf(const QByteArray& data, QTextDocument& document,
                                  double textWidth = DefaultTextWidth);

// ReadRtf on the content of a file; a missing, unreadable or oversized file
// fails and leaves `document` as it was.
base::Result<ReadOutcome> LoadRtfFile(const QString& path, QTextDocument& document,
                                      double textWidth = DefaultTextWidth);

// Files above this size are refused rather than read into memory.
constexpr qint64 MaxRtfFileSize = 256LL * 1024 * 1024;

} // namespace rtf
