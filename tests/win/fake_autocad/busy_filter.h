// SPDX-License-Identifier: MIT
#pragma once
// A host that is busy for a while: its message filter turns away a number of
// incoming automation calls, the way a CAD host does while it starts up or
// runs a command.
#include <objidl.h>

namespace fake_autocad {

enum class BusyAnswer {
    RetryLater,  // SERVERCALL_RETRYLATER: the caller sees RPC_E_SERVERCALL_RETRYLATER
    Rejected,    // SERVERCALL_REJECTED: the caller sees RPC_E_CALL_REJECTED
};

struct BusyPlan {
    int callsBefore = 0;  // automation calls served before the busy spell
    int busyCalls = 0;    // automation calls turned away, one after another
    BusyAnswer answer = BusyAnswer::RetryLater;
    // As a real host: every call turned away for a time after the start (it
    // is still loading) and after each Open (the drawing loads), or for ever.
    int busySeconds = 0;
    int busyAfterOpenSeconds = 0;
    bool neverReady = false;

    bool turnsCallsAway() const
    {
        return busyCalls > 0 || busySeconds > 0 || busyAfterOpenSeconds > 0 || neverReady;
    }
};

// Registers the filter for the calling apartment; nothing when the plan
// turns no call away. The start's busy time counts from here.
void InstallBusyFilter(const BusyPlan& plan);

// A drawing was opened: the plan's busy time after an Open begins.
void StartBusyAfterOpen();

// True when the filter has just answered "retry later" for the call now being
// dispatched. COM implementations that do not act on that answer (Wine's)
// deliver the call anyway; the object then gives the caller the same
// RPC_E_SERVERCALL_RETRYLATER it would have received.
bool TakeUndeliveredRetryLater();

} // namespace fake_autocad
