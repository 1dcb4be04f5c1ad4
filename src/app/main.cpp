// SPDX-License-Identifier: MIT
#include "frm_main.h"
#include "native_environment.h"
#include "program_title.h"
#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    app::ConfigureApplication();
    app::NativeEnvironment native;
    app::frmMain window(native.environment());
    if (!window.Form_Load())
        return 1;
    window.show();
    window.activateWindow();
    return QApplication::exec();
}
