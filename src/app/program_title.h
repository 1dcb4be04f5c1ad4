// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

namespace app {

// The window's caption, and the title of a box that has none of its own.
inline QString ProgramTitle()
{
    return QStringLiteral("3D TALVEX 2017");
}

// Settings of the application object that every window of the program sees.
// No display name is set: the platform would append it to every other
// window's title, and the error boxes must read "錯誤" exactly.
void ConfigureApplication();

} // namespace app
