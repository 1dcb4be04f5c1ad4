// SPDX-License-Identifier: MIT
#pragma once

#include "base/result.h"
#include "metafile/metafile_bytes.h"
#include "metafile/metafile_canvas.h"

#include <QSizeF>

// The record readers of the two metafile formats. They are the only code
// that knows the record layouts, and they check every record against the
// bytes before handing what it says to the canvas.
namespace metafile {

base::Result<QSizeF> WmfSize(Bytes wmf);
base::Status PlayWmf(Bytes wmf, Canvas& canvas);

base::Result<QSizeF> EmfSize(Bytes emf);
base::Status PlayEmf(Bytes emf, Canvas& canvas);

} // namespace metafile
