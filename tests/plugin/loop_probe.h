// Looking at windows while a modal run holds the test's own call.
#ifndef QUENLORA_TESTS_LOOP_PROBE_H
#define QUENLORA_TESTS_LOOP_PROBE_H

#include <functional>

#include "emainloop.h"
#include "timer.h"

// Calls check every 10 ms of the main loop (nested runs included) until it returns true.
class LoopProbe
{
public:
    explicit LoopProbe(std::function<bool()> check) : check(std::move(check)), timer(eApp)
    {
        timer.timeout.connect([this] {
            if (this->check())
                timer.stop();
        });
        timer.start(10, false);
    }

private:
    std::function<bool()> check;
    eTimer timer;
};

#endif
