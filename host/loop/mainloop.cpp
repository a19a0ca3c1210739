#include "mainloop.h"

#include <cerrno>
#include <poll.h>

#include "timer.h"

namespace
{
eMainloop defaultLoop;
}

eMainloop *eApp = &defaultLoop;

namespace
{
template <class T> void eraseValue(std::map<uint64_t, T *> &registry, T *value)
{
    for (auto it = registry.begin(); it != registry.end(); ++it)
        if (it->second == value) {
            registry.erase(it);
            return;
        }
}
} // namespace

void eMainloop::addNotifier(eSocketNotifier *notifier)
{
    eraseValue(notifiers, notifier);
    notifiers.emplace(nextId++, notifier);
}

void eMainloop::removeNotifier(eSocketNotifier *notifier)
{
    eraseValue(notifiers, notifier);
}

void eMainloop::addTimer(eTimer *timer)
{
    // A restarted timer goes to the back, like a new one.
    eraseValue(timers, timer);
    timers.emplace(nextId++, timer);
}

void eMainloop::removeTimer(eTimer *timer)
{
    eraseValue(timers, timer);
}

int eMainloop::millisecondsToNextTimer(int timeoutMs) const
{
    int wait = timeoutMs;
    const auto now = Clock::now();
    for (const auto &entry : timers) {
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(entry.second->deadline() - now)
                .count();
        if (left < 0)
            left = 0;
        if (wait < 0 || left < wait)
            wait = static_cast<int>(left);
    }
    return wait;
}

void eMainloop::fireTimers()
{
    const auto now = Clock::now();
    std::vector<uint64_t> due;
    for (const auto &entry : timers)
        if (entry.second->deadline() <= now)
            due.push_back(entry.first);
    const uint64_t startRound = roundCount;
    for (uint64_t id : due) {
        auto it = timers.find(id);
        if (it == timers.end())
            continue; // stopped or deleted by an earlier slot
        it->second->expire();
        if (roundCount != startRound)
            return; // a nested run has turned the loop: what is left is stale
    }
}

void eMainloop::processOneEvent(int timeoutMs)
{
    std::vector<pollfd> fds;
    std::vector<uint64_t> ids;
    for (const auto &entry : notifiers) {
        eSocketNotifier *n = entry.second;
        fds.push_back(pollfd{n->getFD(), static_cast<short>(n->getRequested()), 0});
        ids.push_back(entry.first);
    }
    const int wait = idleTasks.empty() ? millisecondsToNextTimer(timeoutMs) : 0;
    ++roundCount;
    const uint64_t thisRound = roundCount;
    const int ready = ::poll(fds.data(), fds.size(), wait);
    if (ready < 0 && errno != EINTR)
        return;
    if (ready == 0 && !idleTasks.empty() && millisecondsToNextTimer(-1) != 0) {
        std::vector<std::function<void()>> tasks;
        tasks.swap(idleTasks);
        for (auto &task : tasks)
            task();
        return;
    }
    for (size_t i = 0; ready > 0 && i < fds.size(); ++i) {
        if (!fds[i].revents)
            continue;
        auto it = notifiers.find(ids[i]);
        if (it == notifiers.end())
            continue;
        it->second->activated.emit(fds[i].revents);
        if (roundCount != thisRound)
            return; // a slot ran a nested loop, which has seen newer events than these
    }
    fireTimers();
}

void eMainloop::whenIdle(std::function<void()> task)
{
    idleTasks.push_back(std::move(task));
}

void eMainloop::runUntil(const std::function<bool()> &done)
{
    while (!done())
        processOneEvent(-1);
}

bool eMainloop::runUntil(const std::function<bool()> &done, std::chrono::milliseconds limit)
{
    const auto end = Clock::now() + limit;
    while (!done()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0)
            return done();
        processOneEvent(static_cast<int>(left));
    }
    return true;
}
