// SPDX-License-Identifier: MIT
#pragma once
#include "cad_host.h"
#include "file_system.h"
#include "medium/disc_tray.h"
#include "messages/message_box.h"

#include <QString>
#include <functional>

namespace generation {

// What the second half of the generate command reads from the window, taken
// when the input check has passed.
struct GenerationRequest {
    QString installRoot;
    QString typeCode;
    QString boreCode;
    QString firstStroke;
    QString secondStroke;
    bool secondStrokeVisible = false;
    bool strokeEntryAllowed = false;  // as the input check read it
    // LookupDrawingFile for the first stroke; a failed lookup (or a throw)
    // counts as no name.
    std::function<base::Result<QString>()> lookupDrawingFile;
};

struct GenerationServices {
    FileSystem& fileSystem;
    CadHostConnector& cadHost;
    medium::DiscTray& discTray;
    messages::MessageBoxes& messageBoxes;
};

enum class GenerationOutcome {
    InvalidCatalogueData,  // a code would change the LISP call; nothing touched
    WorkFolderUnusable,    // no temporary folder that may be used; nothing touched
    DrawingFolderMissing,  // message, disc tray opened; host not contacted
    HostNotFound,          // "Cannot find AutoCAD"
    HostDriven,            // attached or started; later steps may still have failed
};

// Prepares the work folder, checks the drawing folder, stages the drawing and
// the LISP application, then drives the CAD host: shown, the staged drawing
// opened, the load and stretch commands sent. Only the failures the user is
// told about stop it; the rest pass in silence. Does not wait for the host.
GenerationOutcome RunGeneration(const GenerationRequest& request, GenerationServices& services);

} // namespace generation
