// SPDX-License-Identifier: MIT
#pragma once
#include "generation/cad_host.h"
#include "generation/host_wait.h"
#include <QString>
#include <QStringList>
#include <memory>

namespace generation {

struct StandInHostOptions {
    QString socketPath;      // empty: the user's runtime folder + "/talvex-cadhost"
    QString hostProgram;     // empty: talvex-cadhost in the program's folder
    QStringList hostArguments;  // added after "--socket <path>" when starting it
    int callTimeoutMs = 5000;    // how long one call waits for its reply
    // How long a generate command waits for a host that is starting or turns
    // calls away; no call waits past it. Its bound starts with the connector
    // and again with each beginCommand().
    HostWait wait{kHostWaitBound, kHostRetryInterval};
};

// The CAD host where there is no AutoCAD: the stand-in host program, found by
// its socket or started from beside the program. Both ProgIDs of the generate
// command ("AutoCAD.Application", "Autocad.Application") name it; ProgIDs are
// compared without regard to case, as COM does.
class StandInHostConnector final : public CadHostConnector {
public:
    explicit StandInHostConnector(StandInHostOptions options = {});

    void beginCommand() override;

    // Connects to the host listening on the socket, a program of this user's;
    // nothing at the socket path is ever removed.
    base::Result<std::unique_ptr<CadApplication>> getActiveObject(const QString& progId) override;
    // Starts the host program detached and waits until it answers, within
    // the command's bound; a host whose process has ended is not waited for.
    base::Result<std::unique_ptr<CadApplication>> createObject(const QString& progId) override;

    const QString& socketPath() const { return options_.socketPath; }
    const QString& hostProgram() const { return options_.hostProgram; }
    int hostsStarted() const { return hostsStarted_; }

    // Asks the running host to close (QUIT) and waits for it to go, killing it
    // if it will not; true when no host answers afterwards. For tests and
    // tools; the generate command never closes the host.
    bool shutDownHost(int timeoutMs = 5000);

private:
    base::Result<std::unique_ptr<CadApplication>> attach();

    StandInHostOptions options_;
    // Shared with the application and document objects the connector hands out.
    std::shared_ptr<HostWait> wait_;
    int hostsStarted_ = 0;
};

// Tells a stand-in application (as returned by the connector) apart and reads
// the host's process id; 0 for any other application.
qint64 StandInHostProcessId(const CadApplication& application);

} // namespace generation
