// SPDX-License-Identifier: MIT
#include "fake_autocad_process.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

namespace testing {

namespace {

constexpr int kProcessTimeoutMs = 30000;

QString Output(QProcess& process)
{
    return QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
}

} // namespace

FakeAutoCad::FakeAutoCad(QString journalPath) : journalPath_(std::move(journalPath)) {}

FakeAutoCad::~FakeAutoCad()
{
    // Ends the instance started here and any that COM started and a failed
    // test left behind, so that they cannot serve the next test. Fails
    // harmlessly when none is left.
    runTool({QStringLiteral("/stop")});
    if (running_.state() != QProcess::NotRunning && !running_.waitForFinished(kProcessTimeoutMs)) {
        running_.kill();
        running_.waitForFinished(kProcessTimeoutMs);
    }
    unregisterServer();
}

QString FakeAutoCad::program()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()
                                    + QStringLiteral("/fake_autocad.exe"));
}

base::Status FakeAutoCad::registerServer(const QStringList& serverOptions)
{
    return runTool(QStringList{QStringLiteral("/regserver"), QStringLiteral("/journal"),
                               journalPath_}
                   + serverOptions);
}

base::Status FakeAutoCad::unregisterServer()
{
    return runTool({QStringLiteral("/unregserver")});
}

base::Status FakeAutoCad::startRunning(const QStringList& serverOptions)
{
    running_.start(program(), QStringList{QStringLiteral("/run"), QStringLiteral("/journal"),
                                          journalPath_}
                                  + serverOptions);
    if (!running_.waitForStarted(kProcessTimeoutMs))
        return base::Fail(QStringLiteral("fake_autocad /run did not start: ")
                          + running_.errorString());
    // It prints "ready" once it is in the Running Object Table.
    while (!running_.canReadLine()) {
        if (!running_.waitForReadyRead(kProcessTimeoutMs))
            return base::Fail(QStringLiteral("fake_autocad /run never got ready: ")
                              + Output(running_));
    }
    if (running_.readLine().trimmed() != "ready")
        return base::Fail(QStringLiteral("fake_autocad /run said something else"));
    return {};
}

base::Status FakeAutoCad::stopRunning()
{
    if (running_.state() == QProcess::NotRunning)
        return base::Fail(QStringLiteral("no instance was started"));
    if (base::Status stopped = runTool({QStringLiteral("/stop")}); !stopped)
        return stopped;
    if (!running_.waitForFinished(kProcessTimeoutMs))
        return base::Fail(QStringLiteral("fake_autocad /run did not end"));
    return {};
}

base::Status FakeAutoCad::waitForServerEnd(int timeoutMs)
{
    const bool ended = QTest::qWaitFor(
        [this] {
            const QStringList lines = journal();
            return !lines.isEmpty() && lines.last().startsWith(QStringLiteral("exit"));
        },
        timeoutMs);
    if (!ended)
        return base::Fail(QStringLiteral("the server did not end; journal: ")
                          + journal().join(QStringLiteral(" | ")));
    return {};
}

QStringList FakeAutoCad::journal() const
{
    QFile file(journalPath_);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

base::Status FakeAutoCad::runTool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(program(), arguments);
    if (!tool.waitForFinished(kProcessTimeoutMs))
        return base::Fail(QStringLiteral("fake_autocad ") + arguments.join(QLatin1Char(' '))
                          + QStringLiteral(" did not finish: ") + tool.errorString());
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return base::Fail(QStringLiteral("fake_autocad ") + arguments.join(QLatin1Char(' '))
                          + QStringLiteral(" failed: ") + Output(tool));
    return {};
}

} // namespace testing
