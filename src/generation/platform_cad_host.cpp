// SPDX-License-Identifier: MIT
#include "platform_cad_host.h"

#ifdef Q_OS_WIN
#include "win/com_cad_host.h"
#else
#include "standin/standin_connector.h"
#endif

namespace generation {

std::unique_ptr<CadHostConnector> CreatePlatformCadHostConnector()
{
#ifdef Q_OS_WIN
    return std::make_unique<ComCadHostConnector>();
#else
    return std::make_unique<StandInHostConnector>();
#endif
}

} // namespace generation
