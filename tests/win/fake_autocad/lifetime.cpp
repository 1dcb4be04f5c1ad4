// SPDX-License-Identifier: MIT
#include "lifetime.h"

#include <windows.h>

namespace fake_autocad {

namespace {

// All calls reach the server on its one apartment thread; the counts still
// use interlocked operations as COM may release from its own threads.
LONG liveObjects = 0;
LONG serverLocks = 0;
DWORD loopThread = 0;
bool endWhenUnused = false;

void EndIfUnused()
{
    if (endWhenUnused && liveObjects == 0 && serverLocks == 0)
        PostThreadMessageW(loopThread, WM_QUIT, 0, 0);
}

} // namespace

void EndWhenUnused(bool end)
{
    loopThread = GetCurrentThreadId();
    endWhenUnused = end;
}

void ObjectCreated()
{
    InterlockedIncrement(&liveObjects);
}

void ObjectReleased()
{
    if (InterlockedDecrement(&liveObjects) == 0)
        EndIfUnused();
}

void LockServer(bool lock)
{
    if (lock) {
        InterlockedIncrement(&serverLocks);
    } else if (InterlockedDecrement(&serverLocks) == 0) {
        EndIfUnused();
    }
}

long LiveObjects()
{
    return liveObjects;
}

} // namespace fake_autocad
