// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

namespace validation {

// Whether a range text admits a stroke. The text holds pieces cut at ";", CR
// and LF. A piece with "-" is an inclusive range compared as numbers: the
// lower bound before the first "-", the upper bound up to a second "-" or the
// end. Any other piece is one value compared with the stroke as text, exactly.
// An empty range text admits every stroke.
// A range piece whose bounds or stroke are not numeric admits nothing: such a
// piece (a null or negative lower bound leaves nothing before the first "-")
// cannot be read safely, and guessing would let a stroke through that the
// catalogue may not offer.
bool StrokeInRange(const QString& rangeText, const QString& strokeText);

} // namespace validation
