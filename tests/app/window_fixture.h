// SPDX-License-Identifier: MIT
#pragma once
#include "app/environment.h"
#include "app/frm_main.h"
#include "base/result.h"
#include "generation/cad_host.h"
#include <QComboBox>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace testing {

#ifdef Q_OS_WIN
class FakeAutoCad;
#endif

class RecordedMessages : public messages::MessageBoxes {
public:
    void show(const messages::MessageBoxRequest& request) override { shown << request; }
    QList<messages::MessageBoxRequest> shown;
};

class RecordingShell : public medium::DesktopShell {
public:
    void openWithDefaultAction(const QString& path) override { opened << path; }
    QStringList opened;
};

class RecordingTray : public medium::DiscTray {
public:
    void openDoor() override { ++doorOpened; }
    int doorOpened = 0;
};

// A temporary install root holding the sample catalogue, and the window
// running on it with its messages, shell and tray recorded.
class WindowFixture {
public:
    WindowFixture();
    ~WindowFixture();

    QString root() const { return root_.path(); }
    QString rootPath(const QString& relative) const;  // "Docs/AX.jpg"
    // False when the file could not be written (the caller's check fails).
    [[nodiscard]] bool writeFile(const QString& relative, const QByteArray& content) const;
    [[nodiscard]] bool copyCatalogue(const QString& sampleName = QStringLiteral("TALVEX.mdb")) const;

    // Before start(): the CAD host is installed and running, as when the user
    // has AutoCAD open (Windows: fake_autocad, registered and started). The
    // stand-in host needs nothing: the program starts it on its first use.
    base::Status runCadHost();
    // Before start(): no CAD host on this machine at all.
    void withoutCadHost();
    QString journalPath() const { return rootPath(QStringLiteral("cadhost.journal")); }
    // The host's journal, none when it never ran, in the stand-in host's
    // words on every platform: "start <how>", "visible true",
    // "open readonly=false <path>", "command <text>"; the stand-in host also
    // notes each "attach". From fake_autocad (Windows) the lines of object
    // bookkeeping are left out, and a refused call reads "refuse <call>: <why>".
    QStringList journal() const;
    QString workFolder() const { return rootPath(QStringLiteral("work")); }
    // A file in the work folder as the program names it to the host.
    QString staged(const QString& name) const;

    // Runs the start-up and shows the window; false when the start-up ended it.
    bool start();
    app::frmMain& window() { return *window_; }

    // The user picks an entry by its text; false when the list has no such entry.
    bool pick(QComboBox* combo, const QString& text);
    // Series, Type and Bore in turn.
    bool choose(const QString& series, const QString& type, const QString& bore);
    // The user replaces the text of a stroke box by typing.
    static void enterStroke(app::StrokeBox* box, const QString& text);
    // After start(): the next count catalogue statements fail, as on a
    // catalogue that cannot be read ("not authorized").
    void failNextQueries(int count);

    RecordedMessages messages;
    RecordingShell shell;
    RecordingTray tray;
    catalogue::CatalogueSession catalogue;  // the window's connection
    app::Environment environment;

private:
    QTemporaryDir root_;
    std::unique_ptr<generation::FileSystem> fileSystem_;
    std::unique_ptr<generation::CadHostConnector> cadHost_;
#ifdef Q_OS_WIN
    std::unique_ptr<FakeAutoCad> fakeAutoCad_;
#else
    void setCadHostProgram(const QString& program);
#endif
    std::unique_ptr<app::frmMain> window_;
    int failuresLeft_ = 0;
};

QStringList Items(const QComboBox* combo);
// A plain JPEG picture of the given size.
QByteArray Jpeg(int width, int height, QColor colour = Qt::darkCyan);

} // namespace testing
