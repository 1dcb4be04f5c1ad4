// SPDX-License-Identifier: MIT
#pragma once
#include "com_dispatch.h"
#include "generation/cad_host.h"
#include "generation/host_wait.h"

#include <memory>

namespace generation {

// The CAD host reached through its automation interface; only converts
// strings and failures and hands over to the late-bound calls of
// DispatchObject. A failure's reason names the call and carries the host's or
// the system's own words.
class ComCadHostConnector final : public CadHostConnector {
public:
    // wait: how long one generate command waits for a starting or busy host.
    explicit ComCadHostConnector(std::shared_ptr<HostWait> wait = std::make_shared<HostWait>());
    void beginCommand() override { wait_->restart(); }
    base::Result<std::unique_ptr<CadApplication>> getActiveObject(const QString& progId) override;
    base::Result<std::unique_ptr<CadApplication>> createObject(const QString& progId) override;

private:
    win::BusyWait busyWait() const;

    std::shared_ptr<HostWait> wait_;
};

} // namespace generation
