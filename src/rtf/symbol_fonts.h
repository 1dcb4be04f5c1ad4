// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace rtf {

// Fonts whose characters are pictures at the positions of ordinary letters:
// their bytes, and the private-use code points U+F020..U+F0FF that Unicode
// writers use for them, mean the symbol the font draws there.
enum class SymbolFont { None, Symbol, Wingdings, OpenSymbol };

// Recognised by family name ("Symbol", "Wingdings", "OpenSymbol"), whatever
// character set the font table declares: the glyphs belong to the font.
SymbolFont SymbolFontNamed(const QString& family);

// The Unicode character that `font` shows for `byte`, as word processors
// map it; 0 where the font has nothing Unicode can stand for.
char32_t SymbolFontCharacter(SymbolFont font, unsigned char byte);

// `c` read in `font`: the symbol-font private-use code points, and the
// Wingdings glyphs OpenSymbol keeps in its own private-use area, become the
// Unicode character they draw; every other code point stays as it is.
char32_t SymbolFontCodePoint(SymbolFont font, char32_t c);

} // namespace rtf
