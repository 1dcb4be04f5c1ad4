// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

namespace generation {

// The two texts sent to the CAD host's command line; CR submits each one.
QString LoadCommand();  // (load "3dstretch") CR

// (3dstretch "<type lowered>" <bore> <first> <second>) CR, the values inserted
// as they stand.
QString StretchCommand(const QString& typeCode, const QString& boreCode,
                       const QString& firstStroke, const QString& secondValue);
// Strokes fixed by the catalogue: (3dstretch "<type lowered>" <bore> 0 0) CR.
QString FixedStretchCommand(const QString& typeCode, const QString& boreCode);

// The stretch command of a generate run: the second value is the second
// stroke box's text while that box is shown, "0" while it is hidden.
QString StretchCommandFor(bool strokeEntryAllowed, const QString& typeCode,
                          const QString& boreCode, const QString& firstStroke,
                          const QString& secondStroke, bool secondStrokeVisible);

// A Type or bore code goes into the LISP call unescaped, so a quote, a
// backslash, a parenthesis or a control character would change the call, and
// a slash would lead the fallback drawing name out of the drawing folder.
bool IsSafeCatalogueCode(const QString& code);
// The bore code also stands unquoted in the stretch command, where a ";"
// would start a LISP comment, a "'" quote what follows and a blank split it
// into two arguments. (The Type code is inside a LISP string: they are
// harmless there.)
bool IsSafeBoreCode(const QString& code);

// The codes the stretch command carries.
enum class CommandCode { Type, Bore };
// The generate command's one rule for each code: whether it sends it
// (IsSafeCatalogueCode for the Type code, IsSafeBoreCode for the bore code).
// The catalogue checker asks the same question.
bool CommandAccepts(CommandCode which, const QString& code);

} // namespace generation
