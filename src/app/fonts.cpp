// SPDX-License-Identifier: MIT
#include "fonts.h"
#include <QFont>
#include <QStringList>

namespace app {

void InstallFontFallbacks()
{
    // A Ming face of the same tradition first: its narrow Latin letters and
    // its 13-pixel line at 9.75 pt keep the captions within the design's
    // 16-pixel labels, where the Noto faces need 19.
    const QStringList standIns = {QStringLiteral("PMingLiU"), QStringLiteral("AR PL UMing TW"),
                                  QStringLiteral("Noto Serif CJK TC"), QStringLiteral("Noto Sans CJK TC"),
                                  QStringLiteral("Droid Sans Fallback")};
    QFont::insertSubstitutions(QStringLiteral("新細明體"), standIns);
}

} // namespace app
