// SPDX-License-Identifier: MIT
#pragma once
// Starting a local automation server without freezing the caller. A CAD
// host's first start of the day takes from seconds to more than a minute
// before it registers its class, and COM's activation call blocks all that
// time without running the caller's messages: its window would neither
// paint nor answer the system. So the activation runs on a thread of its
// own, while the caller pauses (and paints) until it is done.
#include "com_dispatch.h"

#include <objbase.h>

namespace generation::win {

// A new instance of clsid as an IDispatch of the calling thread's apartment
// (one reference, the caller's). While the activation runs, wait's pause is
// called; when the wait runs out first, the activation is left to finish on
// its own (it then releases what it made) and the call fails with
// RPC_E_TIMEOUT. Without a pause, the call simply waits.
CallResult<IDispatch*> ActivateLocalServer(const CLSID& clsid, const BusyWait& wait);

} // namespace generation::win
