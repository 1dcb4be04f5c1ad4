// SPDX-License-Identifier: MIT
#pragma once
#include "base/result.h"
#include <QByteArray>
#include <QString>

namespace cadhost {

// What the host shows of a drawing it was asked to open: its size and its
// first bytes.
struct DrawingPreview {
    qint64 size = 0;
    QByteArray start;
};

inline constexpr qint64 kLargestDrawing = qint64(256) * 1024 * 1024;
inline constexpr qint64 kShownDrawingBytes = 64 * 1024;

// Opens only a plain file of at most kLargestDrawing bytes, and reads no more
// of it than it says it holds (at most kShownDrawingBytes). The host serves
// every client from one thread: a FIFO, a device or a pseudo file such as
// /proc/kmsg, which never ends or never answers, would stop it for all.
base::Result<DrawingPreview> ReadDrawing(const QString& path);

// The text the host's window shows for a drawing: the start of a stand-in
// drawing (small text files), or a line about any other.
QString DrawingContent(const DrawingPreview& drawing);

} // namespace cadhost
