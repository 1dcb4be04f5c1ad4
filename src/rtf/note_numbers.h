// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace rtf {

// How footnote and endnote marks count (\ftnnar, \aftnnrlc and friends).
enum class NoteNumbering { Arabic, LowerAlpha, UpperAlpha, LowerRoman, UpperRoman, Chicago };

// The mark of the note numbered `number` (from 1): "3", "c", "iii", "‡"...
QString NoteNumberText(int number, NoteNumbering numbering);

} // namespace rtf
