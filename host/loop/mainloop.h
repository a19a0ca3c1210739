// eMainloop: one poll(2) round at a time over socket notifiers and timers. Runs nest: a slot may
// run a modal window, which turns the loop again from inside a dispatch.
#ifndef QUENLORA_LOOP_MAINLOOP_H
#define QUENLORA_LOOP_MAINLOOP_H

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "emainloop.h"

class eTimer;

class eMainloop
{
public:
    using Clock = std::chrono::steady_clock;

    eMainloop() = default;
    eMainloop(const eMainloop &) = delete;
    eMainloop &operator=(const eMainloop &) = delete;

    // Waits up to timeoutMs (-1: until something happens) and dispatches what is ready.
    void processOneEvent(int timeoutMs = -1);
    // Turns the loop until done() holds.
    void runUntil(const std::function<bool()> &done);
    // Turns the loop until done() holds or the time is up; returns done().
    bool runUntil(const std::function<bool()> &done, std::chrono::milliseconds limit);

    // Runs task once, at the first turn of the loop that finds no descriptor ready and no
    // timer due: work that may wait for a quiet moment (a picture of the display, say).
    void whenIdle(std::function<void()> task);

    // Bookkeeping, called by notifiers and timers.
    void addNotifier(eSocketNotifier *notifier);
    void removeNotifier(eSocketNotifier *notifier);
    void addTimer(eTimer *timer);
    void removeTimer(eTimer *timer);

private:
    int millisecondsToNextTimer(int timeoutMs) const;
    void fireTimers();

    // Insertion-ordered so that dispatch order is stable; ids detect removal during dispatch.
    std::map<uint64_t, eSocketNotifier *> notifiers;
    std::map<uint64_t, eTimer *> timers;
    uint64_t nextId = 1;
    // Poll rounds so far, nested ones included: a dispatch that sees it change knows that a
    // nested run has handled newer events than the ones it holds.
    uint64_t roundCount = 0;
    std::vector<std::function<void()>> idleTasks;
};

#endif
