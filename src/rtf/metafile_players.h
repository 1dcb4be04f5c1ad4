#pragma once

#include "base/result.h"
#include "rtf/metafile_bytes.h"
#include "rtf/metafile_canvas.h"

#include <QSizeF>

// The record readers of the two metafile formats. They are the only code
// that knows libUEMF, and they check every record against the bytes before
// handing it to the library or to the canvas.
namespace rtf::metafile {

base::Result<QSizeF> WmfSize(Bytes wmf);
base::Status PlayWmf(Bytes wmf, Canvas& canvas);

base::Result<QSizeF> EmfSize(Bytes emf);
base::Status PlayEmf(Bytes emf, Canvas& canvas);

} // namespace rtf::metafile
