#include "fonts.h"
#include <QFont>
#include <QStringList>

namespace app {

void InstallFontFallbacks()
{
    const QStringList standIns = {QStringLiteral("PMingLiU"), QStringLiteral("Noto Serif CJK TC"),
                                  QStringLiteral("Noto Sans CJK TC"), QStringLiteral("AR PL UMing TW"),
                                  QStringLiteral("Droid Sans Fallback")};
    QFont::insertSubstitutions(QStringLiteral("新細明體"), standIns);
}

} // namespace app
