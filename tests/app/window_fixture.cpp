// SPDX-License-Identifier: MIT
#include "window_fixture.h"
#include "catalogue/database.h"
#include "generation/native_file_system.h"
#ifdef Q_OS_WIN
#include "fake_autocad_process.h"
#include "generation/platform_cad_host.h"
#else
#include "generation/standin/standin_connector.h"
#endif
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QFile>
#include <QTest>

namespace testing {

WindowFixture::WindowFixture()
{
    QDir(root_.path()).mkpath(QStringLiteral("work"));
    // In the platform's own spelling, as the program finds its temporary folder.
    fileSystem_ = std::make_unique<generation::NativeFileSystem>(QDir::toNativeSeparators(workFolder()));
#ifdef Q_OS_WIN
    cadHost_ = generation::CreatePlatformCadHostConnector();
    environment.cadHost = cadHost_.get();
    fakeAutoCad_ = std::make_unique<FakeAutoCad>(QDir::toNativeSeparators(journalPath()));
#else
    setCadHostProgram(QStringLiteral(TALVEX_ROOT_DIR "/talvex-cadhost"));
#endif

    environment.installRoot = [this] { return QDir::toNativeSeparators(root_.path()); };
    environment.catalogue = &catalogue;
    environment.messageBoxes = &messages;
    environment.fileSystem = fileSystem_.get();
    environment.discTray = &tray;
    environment.shell = &shell;
}

WindowFixture::~WindowFixture()
{
    // The window lets go of the host first; then the host ends.
    window_.reset();
#ifdef Q_OS_WIN
    fakeAutoCad_.reset();
#else
    static_cast<generation::StandInHostConnector&>(*cadHost_).shutDownHost();
#endif
}

#ifdef Q_OS_WIN
base::Status WindowFixture::runCadHost()
{
    if (base::Status registered = fakeAutoCad_->registerServer(); !registered)
        return registered;
    return fakeAutoCad_->startRunning();
}

void WindowFixture::withoutCadHost()
{
    // Nothing is registered until runCadHost().
}
#else
base::Status WindowFixture::runCadHost()
{
    // The program starts the stand-in host itself, on its first use.
    return {};
}

void WindowFixture::withoutCadHost()
{
    setCadHostProgram(rootPath(QStringLiteral("no-such-host")));
}

void WindowFixture::setCadHostProgram(const QString& program)
{
    generation::StandInHostOptions host;
    host.socketPath = rootPath(QStringLiteral("cadhost.socket"));
    host.hostProgram = program;
    host.hostArguments = {QStringLiteral("--journal"), journalPath(), QStringLiteral("--offscreen")};
    cadHost_ = std::make_unique<generation::StandInHostConnector>(host);
    environment.cadHost = cadHost_.get();
}
#endif

#ifdef Q_OS_WIN
namespace {

// fake_autocad's line in the stand-in host's words; empty for the lines
// that note COM objects coming and going. Anything else (a refusal, a busy
// answer, an unknown name) is kept as written, so that it shows.
QString InStandInWords(const QString& line)
{
    static const QString open = QStringLiteral("Open ");
    static const QString command = QStringLiteral("SendCommand ");
    if (line.startsWith(QLatin1String("create ")) || line.startsWith(QLatin1String("release "))
        || line == QLatin1String("get Documents") || line == QLatin1String("exit"))
        return {};
    if (line.startsWith(QLatin1String("Visible ")))
        return line.toLower();
    if (line.startsWith(open)) {
        const qsizetype flag = line.lastIndexOf(QLatin1Char(' '));
        return QStringLiteral("open readonly=") + line.mid(flag + 1) + QLatin1Char(' ')
            + line.mid(open.size(), flag - open.size());
    }
    if (line.startsWith(command))
        return QStringLiteral("command ") + line.mid(command.size());
    return line;
}

} // namespace

QStringList WindowFixture::journal() const
{
    QStringList lines;
    for (const QString& line : fakeAutoCad_->journal())
        if (const QString translated = InStandInWords(line); !translated.isEmpty())
            lines << translated;
    return lines;
}
#else
QStringList WindowFixture::journal() const
{
    QFile file(journalPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
#endif

QString WindowFixture::staged(const QString& name) const
{
    return QDir::toNativeSeparators(workFolder() + QLatin1Char('/') + name);
}

QString WindowFixture::rootPath(const QString& relative) const
{
    return QDir(root_.path()).filePath(relative);
}

bool WindowFixture::writeFile(const QString& relative, const QByteArray& content) const
{
    const QString path = rootPath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

bool WindowFixture::copyCatalogue(const QString& sampleName) const
{
    QDir().mkpath(rootPath(QStringLiteral("Database")));
    return QFile::copy(QStringLiteral(TALVEX_TEST_DATA "/") + sampleName,
                       rootPath(QStringLiteral("Database/TALVEX.mdb")));
}

bool WindowFixture::start()
{
    window_ = std::make_unique<app::frmMain>(environment);
    if (!window_->Form_Load())
        return false;
    window_->show();
    window_->activateWindow();
    return QTest::qWaitForWindowActive(window_.get());
}

bool WindowFixture::pick(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0 || combo->isHidden())
        return false;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    return true;
}

bool WindowFixture::choose(const QString& series, const QString& type, const QString& bore)
{
    return pick(window_->cboItem, series) && pick(window_->cboStyle, type)
        && pick(window_->cboDia, bore);
}

void WindowFixture::enterStroke(app::StrokeBox* box, const QString& text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

void WindowFixture::failNextQueries(int count)
{
    failuresLeft_ = count;
    sqlite3_set_authorizer(
        catalogue.connection->database()->handle(),
        [](void* left, int action, const char*, const char*, const char*, const char*) {
            int& failures = *static_cast<int*>(left);
            if (action != SQLITE_SELECT || failures == 0)
                return SQLITE_OK;
            --failures;
            return SQLITE_DENY;
        },
        &failuresLeft_);
}

QByteArray Jpeg(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

QStringList Items(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

} // namespace testing
