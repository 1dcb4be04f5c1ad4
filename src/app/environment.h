// SPDX-License-Identifier: MIT
#pragma once
#include "catalogue/connection.h"
#include "generation/cad_host.h"
#include "generation/file_system.h"
#include "medium/desktop_shell.h"
#include "medium/disc_tray.h"
#include "messages/message_box.h"
#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>

namespace app {

// Everything the window takes from outside: where it runs from and the
// services it calls. The program passes the real ones; tests pass a temporary
// install root and recorders.
struct Environment {
    // Read afresh wherever it is needed, as the running program's folder.
    std::function<QString()> installRoot;
    // The run's catalogue connection: opened by the start-up, closed when the
    // window unloads.
    catalogue::CatalogueSession* catalogue = nullptr;
    messages::MessageBoxes* messageBoxes = nullptr;
    generation::FileSystem* fileSystem = nullptr;
    generation::CadHostConnector* cadHost = nullptr;
    medium::DiscTray* discTray = nullptr;
    medium::DesktopShell* shell = nullptr;
    // Decodes a preview picture file's content; empty for the program's own
    // decoder (tests count the decodes).
    std::function<QImage(const QByteArray&)> decodePicture;
};

} // namespace app
