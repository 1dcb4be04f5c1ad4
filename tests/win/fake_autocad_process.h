// SPDX-License-Identifier: MIT
#pragma once
// Drives the stand-in automation server, fake_autocad.exe beside the tests:
// registers it under "AutoCAD.Application", runs an instance the way a user
// would have started AutoCAD, stops it, and reads its journal.
#include "base/result.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace testing {

class FakeAutoCad {
public:
    // journalPath: where every server started from here writes its journal.
    explicit FakeAutoCad(QString journalPath);
    // Stops every instance and removes the registration: the next test
    // starts from a machine without AutoCAD.
    ~FakeAutoCad();
    FakeAutoCad(const FakeAutoCad&) = delete;
    FakeAutoCad& operator=(const FakeAutoCad&) = delete;

    static QString program();

    // serverOptions: busy plan options, as fake_autocad takes them.
    base::Status registerServer(const QStringList& serverOptions = {});
    base::Status unregisterServer();
    // Returns once the instance is in the Running Object Table.
    base::Status startRunning(const QStringList& serverOptions = {});
    // Stops every instance; returns once the one started here has ended (and
    // written its last line).
    base::Status stopRunning();
    // Waits until a server started by COM has ended: its last object released.
    base::Status waitForServerEnd(int timeoutMs = 20000);

    QStringList journal() const;

private:
    base::Status runTool(const QStringList& arguments);

    QString journalPath_;
    QProcess running_;
};

} // namespace testing
