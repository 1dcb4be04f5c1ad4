#pragma once
#include "generation/cad_host.h"

namespace generation {

// The CAD host reached through its automation interface; only converts
// strings and hands over to the late-bound calls of DispatchObject.
class ComCadHostConnector final : public CadHostConnector {
public:
    base::Result<std::unique_ptr<CadApplication>> getActiveObject(const QString& progId) override;
    base::Result<std::unique_ptr<CadApplication>> createObject(const QString& progId) override;
};

} // namespace generation
