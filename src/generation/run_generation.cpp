// SPDX-License-Identifier: MIT
#include "run_generation.h"
#include "cad_commands.h"
#include "messages/system_messages.h"
#include "staging_paths.h"

#include <exception>
#include <optional>

namespace generation {

namespace {

QString LookedUpName(const GenerationRequest& request)
{
    if (!request.lookupDrawingFile)
        return {};
    try {
        return request.lookupDrawingFile().valueOr(QString());
    } catch (const std::exception&) {
        return {};
    }
}

// Copies source into the work folder and makes the copy writable. A failed
// copy is told at once; a failed reset is kept for one message after both.
void Stage(GenerationServices& services, const QString& source, const QString& workFolder,
           const QString& stagedName, base::Status& failedReset)
{
    if (const base::Status copied = services.fileSystem.copyFile(source, workFolder); !copied) {
        services.messageBoxes.show(messages::CopyFailed());
        return;
    }
    if (base::Status reset = services.fileSystem.clearFileAttributes(workFolder + stagedName);
        !reset)
        failedReset = std::move(reset);
}

// The first code that would change the LISP call. The Type code stands
// inside a LISP string, the bore code does not.
std::optional<QString> UnsafeCode(const GenerationRequest& request)
{
    if (!CommandAccepts(CommandCode::Type, request.typeCode))
        return request.typeCode;
    if (!CommandAccepts(CommandCode::Bore, request.boreCode))
        return request.boreCode;
    return std::nullopt;
}

base::Result<std::unique_ptr<CadApplication>> AttachOrCreate(CadHostConnector& host)
{
    auto running = host.getActiveObject(QStringLiteral("AutoCAD.Application"));
    if (running)
        return running;
    return host.createObject(QStringLiteral("Autocad.Application"));
}

} // namespace

GenerationOutcome RunGeneration(const GenerationRequest& request, GenerationServices& services)
{
    // Checked before any file is touched: a selection that cannot be sent
    // should not cost a copy, nor a request to change the disc.
    if (const std::optional<QString> code = UnsafeCode(request)) {
        services.messageBoxes.show(messages::InvalidCatalogueData(*code));
        return GenerationOutcome::InvalidCatalogueData;
    }

    FileSystem& files = services.fileSystem;
    const base::Result<QString> temporaryFolder = GetTempPath(files);
    if (!temporaryFolder) {
        services.messageBoxes.show(messages::WorkFolderUnusable(temporaryFolder.error()));
        return GenerationOutcome::WorkFolderUnusable;
    }
    const QString workFolder = WorkFolder(*temporaryFolder);
    if (!files.folderExists(workFolder))
        files.createFolder(workFolder);
    const QString staleAcadDoc = workFolder + kStaleAcadDocFile;
    if (files.fileFound(staleAcadDoc))
        files.deleteFile(staleAcadDoc);

    if (!files.folderExists(DrawingFolder(request.installRoot))) {
        services.messageBoxes.show(messages::WrongDisc());
        services.discTray.openDoor();
        return GenerationOutcome::DrawingFolderMissing;
    }

    const QString drawingName =
        DrawingFileName(LookedUpName(request), request.typeCode, request.boreCode);
    base::Status failedReset;
    Stage(services, DrawingSource(request.installRoot, drawingName), workFolder, drawingName,
          failedReset);
    Stage(services, LispApplicationSource(request.installRoot), workFolder,
          kLispApplicationFile, failedReset);
    if (!failedReset)
        services.messageBoxes.show(messages::PlainMessage(failedReset.error()));

    services.cadHost.beginCommand();
    const auto application = AttachOrCreate(services.cadHost);
    if (!application) {
        services.messageBoxes.show(messages::CadHostNotFound());
        return GenerationOutcome::HostNotFound;
    }
    // From here on the host's failures end the command in silence.
    CadApplication& host = **application;
    host.setVisible(true);
    const auto drawing = host.openDocument(workFolder + drawingName, false);
    if (drawing) {
        CadDocument& document = **drawing;
        document.sendCommand(LoadCommand());
        document.sendCommand(StretchCommandFor(request.strokeEntryAllowed, request.typeCode,
                                               request.boreCode, request.firstStroke,
                                               request.secondStroke,
                                               request.secondStrokeVisible));
    }
    return GenerationOutcome::HostDriven;
}

} // namespace generation
