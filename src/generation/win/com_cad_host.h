#pragma once
#include "com_dispatch.h"
#include "generation/cad_host.h"

namespace generation {

// The CAD host reached through its automation interface; only converts
// strings and failures and hands over to the late-bound calls of
// DispatchObject. A failure's reason names the call and carries the host's or
// the system's own words.
class ComCadHostConnector final : public CadHostConnector {
public:
    // wait: how long a busy host is waited for on each call.
    explicit ComCadHostConnector(win::BusyWait wait = {});
    base::Result<std::unique_ptr<CadApplication>> getActiveObject(const QString& progId) override;
    base::Result<std::unique_ptr<CadApplication>> createObject(const QString& progId) override;

private:
    win::BusyWait wait_;
};

} // namespace generation
