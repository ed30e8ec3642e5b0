#pragma once
// Counts what keeps the library loaded: live objects (class factories included) and server
// locks. DllCanUnloadNow answers from these counts.

namespace orvo {

void objectCreated();
void objectDestroyed();
void lockServer(bool lock);
// True while an object or a lock is alive.
bool serverInUse();

}  // namespace orvo
