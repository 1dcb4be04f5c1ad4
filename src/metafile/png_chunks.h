// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

namespace metafile {

// A PNG rebuilt from the chunks that drawing it needs, each copied verbatim.
// Documents come from anywhere: a chunk that declares more bytes than the
// picture holds, or compressed text and profiles that could inflate without
// bound, never reach the image decoder. The copy stops at the first chunk
// that does not fit and always ends with IEND, so a picture whose pixel data
// is intact still shows. Empty when the bytes do not start as a PNG.
QByteArray EssentialPngChunks(const QByteArray& png);

} // namespace metafile
