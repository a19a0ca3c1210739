// A lock that never blocks the thread that holds it.
#ifndef QUENLORA_ELOCK_H
#define QUENLORA_ELOCK_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include <mutex>

class eLock
{
public:
    explicit eLock(int max = 100);
    ~eLock();
    void lock(int count = 100);
    void unlock(int count = 100);

private:
    std::recursive_mutex mutex;
};

class eLocker
{
public:
    eLocker(eLock &lock, int count = 100);
    ~eLocker();

private:
    eLock &held;
    int count;
};

#pragma GCC visibility pop

#endif
