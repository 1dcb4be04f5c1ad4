// SPDX-License-Identifier: MIT
#pragma once
#include "desktop_shell.h"

namespace medium {

// The desktop's default action without the Windows shell: a batch file runs
// as the shell script beside it with /bin/sh, anything else is handed to the
// desktop's opener (xdg-open: a folder opens in the file browser). Detached,
// from the current folder; nothing waits and nothing is reported.
class XdgDesktopShell final : public DesktopShell {
public:
    explicit XdgDesktopShell(QString opener = QStringLiteral("xdg-open"),
                             QString scriptShell = QStringLiteral("/bin/sh"))
        : opener_(std::move(opener)), scriptShell_(std::move(scriptShell)) {}

    void openWithDefaultAction(const QString& path) override;

private:
    QString opener_;
    QString scriptShell_;
};

} // namespace medium
