// SPDX-License-Identifier: MIT
#include "frm_main.h"
#include "native_environment.h"
#include "program_title.h"
#include "startup_trace.h"
#include <QApplication>

int main(int argc, char** argv)
{
    app::TraceStartupStep("main");
    QApplication application(argc, argv);
    app::ConfigureApplication();
    app::TraceStartupStep("application");
    app::NativeEnvironment native;
    app::frmMain window(native.environment());
    app::TraceStartupStep("controls");
    if (!window.Form_Load())
        return 1;
    app::TraceFirstPaint(window);
    window.show();
    app::TraceStartupStep("shown");
    window.activateWindow();
    return QApplication::exec();
}
