#pragma once

#include "base/result.h"

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace rtf {

// Replaces the whole content of `document` (text, formats, image resources)
// by the Rich Text Format document in `data`. Data that does not start with
// "{\rtf" fails with "not in Rich Text Format" and leaves `document` as it
// was. Damaged RTF after the header never fails: what can be read is shown.
// Loading is not an undoable edit and leaves the document unmodified.
base::Status ReadRtf(const QByteArray& data, QTextDocument& document);

// ReadRtf on the content of a file; a missing, unreadable or oversized file
// fails and leaves `document` as it was.
base::Status LoadRtfFile(const QString& path, QTextDocument& document);

// Files above this size are refused rather than read into memory.
constexpr qint64 MaxRtfFileSize = 256LL * 1024 * 1024;

} // namespace rtf
