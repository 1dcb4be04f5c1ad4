// SPDX-License-Identifier: MIT
#pragma once
#include "base/result.h"
#include <QString>
#include <memory>

namespace generation {

// The calls the generate command makes on the CAD host, late-bound by name on
// Windows, over a local socket to the stand-in host elsewhere. Every call
// answers with its result and never throws.
class CadDocument {
public:
    virtual ~CadDocument() = default;
    virtual base::Status sendCommand(const QString& command) = 0;
};

class CadApplication {
public:
    virtual ~CadApplication() = default;
    virtual base::Status setVisible(bool visible) = 0;
    // Documents.Open(path, readOnly).
    virtual base::Result<std::unique_ptr<CadDocument>> openDocument(const QString& path,
                                                                    bool readOnly) = 0;
};

class CadHostConnector {
public:
    virtual ~CadHostConnector() = default;
    // A generate command reaches the host: from now on its calls, through the
    // objects they return too, wait for a starting or busy host up to the
    // command's bound (host_wait.h).
    virtual void beginCommand() {}
    // The running instance registered under progId.
    virtual base::Result<std::unique_ptr<CadApplication>> getActiveObject(const QString& progId) = 0;
    // A new instance of progId.
    virtual base::Result<std::unique_ptr<CadApplication>> createObject(const QString& progId) = 0;
};

} // namespace generation
