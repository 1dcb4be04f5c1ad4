// SPDX-License-Identifier: MIT
#pragma once
// How long the server process lives. Started by COM it ends when its last
// object is released (and no client holds a server lock); run by hand it
// ends when told to stop. Objects are counted either way, so that an object
// still held at the end shows in the journal.

namespace fake_autocad {

// Called on the thread that runs the message loop.
void EndWhenUnused(bool end);
void ObjectCreated();
void ObjectReleased();
void LockServer(bool lock);
long LiveObjects();

} // namespace fake_autocad
