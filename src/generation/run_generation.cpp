#include "run_generation.h"
#include "cad_commands.h"
#include "staging_paths.h"

#include <exception>

namespace generation {

namespace {

using app::MessageBoxRequest;

MessageBoxRequest InvalidCatalogueData(const QString& code)
{
    return app::ErrorMessage(QStringLiteral("型錄資料有誤"),
                             QStringLiteral("Invalid catalogue data: ") + code);
}

MessageBoxRequest WrongDisc()
{
    // One line: the Chinese and English words run together.
    return app::CriticalMessage(QStringLiteral("光碟片有誤CD-ROM ERROR"));
}

MessageBoxRequest CopyFailed()
{
    return app::ErrorMessage(QStringLiteral("無法複製檔案"),
                             QStringLiteral("Can't Copy The Dwg File"));
}

QString LookedUpName(const GenerationRequest& request)
{
    if (!request.lookupDrawingFile)
        return {};
    try {
        return request.lookupDrawingFile().value_or(QString());
    } catch (const std::exception&) {
        return {};
    }
}

// Copies source into the work folder and makes the copy writable. A failed
// copy is told at once; a failed reset is kept for one message after both.
void Stage(GenerationServices& services, const QString& source, const QString& workFolder,
           const QString& stagedName, std::optional<QString>& failedReset)
{
    if (services.fileSystem.copyFile(source, workFolder)) {
        services.messageBoxes.show(CopyFailed());
        return;
    }
    if (auto failure = services.fileSystem.clearFileAttributes(workFolder + stagedName))
        failedReset = std::move(failure);
}

std::unique_ptr<CadApplication> AttachOrCreate(CadHostConnector& host)
{
    if (auto running = host.getActiveObject(QStringLiteral("AutoCAD.Application")))
        return running;
    return host.createObject(QStringLiteral("Autocad.Application"));
}

} // namespace

GenerationOutcome RunGeneration(const GenerationRequest& request, GenerationServices& services)
{
    // Checked before any file is touched: a selection that cannot be sent
    // should not cost a copy, nor a request to change the disc.
    for (const QString& code : {request.typeCode, request.boreCode}) {
        if (!IsSafeCatalogueCode(code)) {
            services.messageBoxes.show(InvalidCatalogueData(code));
            return GenerationOutcome::InvalidCatalogueData;
        }
    }

    FileSystem& files = services.fileSystem;
    const QString workFolder = WorkFolder(GetTempPath(files));
    if (!files.folderExists(workFolder))
        files.createFolder(workFolder);
    const QString staleAcadDoc = workFolder + kStaleAcadDocFile;
    if (files.fileFound(staleAcadDoc))
        files.deleteFile(staleAcadDoc);

    if (!files.folderExists(DrawingFolder(request.installRoot))) {
        services.messageBoxes.show(WrongDisc());
        services.discTray.openDoor();
        return GenerationOutcome::DrawingFolderMissing;
    }

    const QString drawingName =
        DrawingFileName(LookedUpName(request), request.typeCode, request.boreCode);
    std::optional<QString> failedReset;
    Stage(services, DrawingSource(request.installRoot, drawingName), workFolder, drawingName,
          failedReset);
    Stage(services, LispApplicationSource(request.installRoot), workFolder,
          kLispApplicationFile, failedReset);
    if (failedReset)
        services.messageBoxes.show(app::PlainMessage(*failedReset));

    const auto application = AttachOrCreate(services.cadHost);
    if (!application) {
        services.messageBoxes.show(app::PlainMessage(QStringLiteral("Cannot find AutoCAD")));
        return GenerationOutcome::HostNotFound;
    }
    application->setVisible(true);
    const auto drawing = application->openDocument(workFolder + drawingName, false);
    if (drawing) {
        drawing->sendCommand(LoadCommand());
        drawing->sendCommand(StretchCommandFor(request.strokeEntryAllowed, request.typeCode,
                                               request.boreCode, request.firstStroke,
                                               request.secondStroke,
                                               request.secondStrokeVisible));
    }
    return GenerationOutcome::HostDriven;
}

} // namespace generation
