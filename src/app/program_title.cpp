// SPDX-License-Identifier: MIT
#include "program_title.h"
#include <QApplication>

namespace app {

void ConfigureApplication()
{
    QApplication::setApplicationName(QStringLiteral("talvex"));
}

} // namespace app
