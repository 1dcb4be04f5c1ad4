// SPDX-License-Identifier: MIT
#pragma once
// Late-bound automation: members are looked up by name (GetIDsOfNames) and
// called through IDispatch::Invoke, the way a script drives the CAD host.
// Plain C++ on purpose; the Qt side only converts strings and failures.
#include "call_result.h"

#include <functional>
#include <memory>
#include <string>

struct IDispatch;

namespace generation::win {

// COM for the calling thread, initialised on first use (apartment threaded:
// the calls come from the user-interface thread). A thread that already has
// COM in either model can use it as it is.
CallStatus EnsureComInitialized();

// How a host that is not ready is waited for. A host that is starting up or
// running a command turns calls away (RPC_E_CALL_REJECTED, or
// RPC_E_SERVERCALL_RETRYLATER from its message filter), and one that is
// still loading has not registered its class yet; such a call is tried again
// as long as pauseBeforeRetry, which waits a moment, answers true. Without
// it a call is tried once.
struct BusyWait {
    std::function<bool()> pauseBeforeRetry;
};

class DispatchObject;
using ObjectResult = CallResult<std::unique_ptr<DispatchObject>>;

class DispatchObject {
public:
    // Takes over one reference of dispatch.
    DispatchObject(IDispatch* dispatch, BusyWait wait);
    ~DispatchObject();
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    // The running object registered for progId (GetActiveObject).
    static ObjectResult AttachToRunning(const std::wstring& progId, BusyWait wait = {});
    // A new instance of progId (CoCreateInstance, any server context).
    static ObjectResult CreateInstance(const std::wstring& progId, BusyWait wait = {});

    // object.name = value
    CallStatus PutBoolProperty(const std::wstring& name, bool value);
    // object.name, an object.
    ObjectResult GetObjectProperty(const std::wstring& name);
    // object.name(text, flag), an object.
    ObjectResult CallWithTextAndBool(const std::wstring& name, const std::wstring& text,
                                     bool flag);
    // object.name(text)
    CallStatus CallWithText(const std::wstring& name, const std::wstring& text);

private:
    IDispatch* dispatch_;
    BusyWait wait_;
};

} // namespace generation::win
