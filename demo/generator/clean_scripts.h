// SPDX-License-Identifier: MIT
#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace demo {

// "TEMP CLEAR.bat" for Windows cmd, in code page 950 with CR LF line ends.
// It deletes from the folder the program stages into (TMP, else TEMP, as
// the temporary folder is found) exactly the names given, one by one, and
// only plain files. Names that fail IsSafeStagedName or have no code page 950
// form are left out and returned in skipped.
QByteArray BuildCleanBatch(const QStringList& stagedNames, QStringList* skipped = nullptr);

// "TEMP CLEAR.sh" for POSIX sh: the same, in the program's work folder there
// ($XDG_RUNTIME_DIR/talvex, else ${TMPDIR:-/tmp}/talvex-<uid>), and only when
// that is a real folder of the user's own.
QByteArray BuildCleanShell(const QStringList& stagedNames, QStringList* skipped = nullptr);

} // namespace demo
