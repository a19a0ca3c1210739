#include "elock.h"

// The box runs on one thread; the lock is recursive so that a holder that nests the main loop
// (an error box shown under the lock) and comes back to take it again never waits for itself.
eLock::eLock(int) {}
eLock::~eLock() = default;
void eLock::lock(int)
{
    mutex.lock();
}
void eLock::unlock(int)
{
    mutex.unlock();
}

eLocker::eLocker(eLock &lock, int count) : held(lock), count(count)
{
    held.lock(count);
}
eLocker::~eLocker()
{
    held.unlock(count);
}
