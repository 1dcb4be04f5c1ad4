// SPDX-License-Identifier: MIT
#pragma once
// Recorders for the services of the generate command. Every call lands in one
// shared log, so a test can check the order across services.
#include "messages/message_box.h"
#include "generation/cad_host.h"
#include "generation/file_system.h"
#include "medium/disc_tray.h"

#include <QSet>
#include <QStringList>
#include <memory>
#include <vector>

namespace fakes {

using CallLog = QStringList;

class RecordingMessageBoxes final : public messages::MessageBoxes {
public:
    explicit RecordingMessageBoxes(CallLog& log) : log_(log) {}
    void show(const messages::MessageBoxRequest& request) override
    {
        shown.push_back(request);
        log_ << QStringLiteral("message ") + request.text;
    }
    std::vector<messages::MessageBoxRequest> shown;

private:
    CallLog& log_;
};

class RecordingDiscTray final : public medium::DiscTray {
public:
    explicit RecordingDiscTray(CallLog& log) : log_(log) {}
    void openDoor() override { log_ << QStringLiteral("openDoor"); }

private:
    CallLog& log_;
};

// An in-memory file system: folders and files are sets of paths.
class FakeFileSystem final : public generation::FileSystem {
public:
    explicit FakeFileSystem(CallLog& log) : log_(log) {}

    base::Result<QString> temporaryFolder() override
    {
        if (!temporaryFolderFailure.isEmpty())
            return base::Fail(temporaryFolderFailure);
        return temp;
    }
    bool folderExists(const QString& path) override { return folders.contains(path); }
    bool fileFound(const QString& path) override { return files.contains(path); }
    base::Status createFolder(const QString& path) override
    {
        log_ << QStringLiteral("createFolder ") + path;
        folders.insert(path);
        return {};
    }
    base::Status deleteFile(const QString& path) override
    {
        log_ << QStringLiteral("deleteFile ") + path;
        if (!files.remove(path))
            return base::Fail(QStringLiteral("File not found"));
        return {};
    }
    base::Status copyFile(const QString& source, const QString& folder) override
    {
        log_ << QStringLiteral("copyFile ") + source + QStringLiteral(" -> ") + folder;
        if (!files.contains(source))
            return base::Fail(QStringLiteral("File not found"));
        files.insert(folder + source.section(separator, -1));
        return {};
    }
    base::Status clearFileAttributes(const QString& path) override
    {
        log_ << QStringLiteral("clearFileAttributes ") + path;
        if (resetFailures.contains(path))
            return base::Fail(resetFailures.value(path));
        return {};
    }

    QString temp;
    QString temporaryFolderFailure;  // set: the temporary folder is refused with it
    QChar separator = QLatin1Char('/');
    QSet<QString> folders;
    QSet<QString> files;
    QHash<QString, QString> resetFailures;  // path -> description

private:
    CallLog& log_;
};

class RecordingCadDocument final : public generation::CadDocument {
public:
    explicit RecordingCadDocument(CallLog& log) : log_(log) {}
    base::Status sendCommand(const QString& command) override
    {
        log_ << QStringLiteral("sendCommand ") + command;
        return {};
    }

private:
    CallLog& log_;
};

class RecordingCadApplication final : public generation::CadApplication {
public:
    RecordingCadApplication(CallLog& log, bool opens) : log_(log), opens_(opens) {}
    base::Status setVisible(bool visible) override
    {
        log_ << QStringLiteral("setVisible %1").arg(visible ? "true" : "false");
        return {};
    }
    base::Result<std::unique_ptr<generation::CadDocument>> openDocument(const QString& path,
                                                                        bool readOnly) override
    {
        log_ << QStringLiteral("open %1 readOnly=%2").arg(path, readOnly ? "true" : "false");
        if (!opens_)
            return base::Fail(QStringLiteral("The drawing cannot be opened"));
        return std::unique_ptr<generation::CadDocument>(std::make_unique<RecordingCadDocument>(log_));
    }

private:
    CallLog& log_;
    bool opens_;
};

class FakeCadHost final : public generation::CadHostConnector {
public:
    explicit FakeCadHost(CallLog& log) : log_(log) {}
    using Application = base::Result<std::unique_ptr<generation::CadApplication>>;
    void beginCommand() override { log_ << QStringLiteral("beginCommand"); }
    Application getActiveObject(const QString& progId) override
    {
        log_ << QStringLiteral("getActiveObject ") + progId;
        if (!running)
            return base::Fail(QStringLiteral("Operation unavailable"));
        return application();
    }
    Application createObject(const QString& progId) override
    {
        log_ << QStringLiteral("createObject ") + progId;
        if (!installed)
            return base::Fail(QStringLiteral("Invalid class string"));
        return application();
    }

    bool running = false;
    bool installed = true;
    bool documentsOpen = true;

private:
    std::unique_ptr<generation::CadApplication> application()
    {
        return std::make_unique<RecordingCadApplication>(log_, documentsOpen);
    }
    CallLog& log_;
};

} // namespace fakes
