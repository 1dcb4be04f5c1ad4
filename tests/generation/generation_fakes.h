#pragma once
// Recorders for the services of the generate command. Every call lands in one
// shared log, so a test can check the order across services.
#include "app/message_box.h"
#include "generation/cad_host.h"
#include "generation/file_system.h"
#include "medium/disc_tray.h"

#include <QSet>
#include <QStringList>
#include <memory>
#include <vector>

namespace fakes {

using CallLog = QStringList;

class RecordingMessageBoxes final : public app::MessageBoxes {
public:
    explicit RecordingMessageBoxes(CallLog& log) : log_(log) {}
    void show(const app::MessageBoxRequest& request) override
    {
        shown.push_back(request);
        log_ << QStringLiteral("message ") + request.text;
    }
    std::vector<app::MessageBoxRequest> shown;

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

    QString temporaryFolder() override { return temp; }
    bool folderExists(const QString& path) override { return folders.contains(path); }
    bool fileFound(const QString& path) override { return files.contains(path); }
    bool createFolder(const QString& path) override
    {
        log_ << QStringLiteral("createFolder ") + path;
        folders.insert(path);
        return true;
    }
    bool deleteFile(const QString& path) override
    {
        log_ << QStringLiteral("deleteFile ") + path;
        return files.remove(path);
    }
    std::optional<QString> copyFile(const QString& source, const QString& folder) override
    {
        log_ << QStringLiteral("copyFile ") + source + QStringLiteral(" -> ") + folder;
        if (!files.contains(source))
            return QStringLiteral("File not found");
        files.insert(folder + source.section(separator, -1));
        return std::nullopt;
    }
    std::optional<QString> clearFileAttributes(const QString& path) override
    {
        log_ << QStringLiteral("clearFileAttributes ") + path;
        if (resetFailures.contains(path))
            return resetFailures.value(path);
        return std::nullopt;
    }

    QString temp;
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
    bool sendCommand(const QString& command) override
    {
        log_ << QStringLiteral("sendCommand ") + command;
        return true;
    }

private:
    CallLog& log_;
};

class RecordingCadApplication final : public generation::CadApplication {
public:
    RecordingCadApplication(CallLog& log, bool opens) : log_(log), opens_(opens) {}
    bool setVisible(bool visible) override
    {
        log_ << QStringLiteral("setVisible %1").arg(visible ? "true" : "false");
        return true;
    }
    std::unique_ptr<generation::CadDocument> openDocument(const QString& path,
                                                          bool readOnly) override
    {
        log_ << QStringLiteral("open %1 readOnly=%2").arg(path, readOnly ? "true" : "false");
        if (!opens_)
            return nullptr;
        return std::make_unique<RecordingCadDocument>(log_);
    }

private:
    CallLog& log_;
    bool opens_;
};

class FakeCadHost final : public generation::CadHostConnector {
public:
    explicit FakeCadHost(CallLog& log) : log_(log) {}
    std::unique_ptr<generation::CadApplication> getActiveObject(const QString& progId) override
    {
        log_ << QStringLiteral("getActiveObject ") + progId;
        return running ? application() : nullptr;
    }
    std::unique_ptr<generation::CadApplication> createObject(const QString& progId) override
    {
        log_ << QStringLiteral("createObject ") + progId;
        return installed ? application() : nullptr;
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
