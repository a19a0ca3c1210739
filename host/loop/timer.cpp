#include "timer.h"

eTimer::eTimer(eMainloop *loop) : loop(loop) {}

eTimer::~eTimer()
{
    stop();
}

void eTimer::start(int ms, bool singleShot)
{
    single = singleShot;
    interval = std::chrono::milliseconds(ms < 0 ? 0 : ms);
    due = eMainloop::Clock::now() + interval;
    active = true;
    loop->addTimer(this);
}

void eTimer::stop()
{
    if (!active)
        return;
    active = false;
    loop->removeTimer(this);
}

void eTimer::expire()
{
    if (single) {
        stop();
    } else {
        due += interval;
        if (due < eMainloop::Clock::now())
            due = eMainloop::Clock::now() + interval;
    }
    timeout.emit();
}
