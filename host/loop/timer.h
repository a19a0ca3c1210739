// A timer of the main loop.
#ifndef QUENLORA_LOOP_TIMER_H
#define QUENLORA_LOOP_TIMER_H

#include <chrono>

#include "mainloop.h"

class eTimer : public sigc::trackable
{
public:
    explicit eTimer(eMainloop *loop);
    ~eTimer();
    eTimer(const eTimer &) = delete;
    eTimer &operator=(const eTimer &) = delete;

    // Fires after ms milliseconds, once or every ms milliseconds.
    void start(int ms, bool singleShot = true);
    void stop();
    bool isActive() const { return active; }
    eMainloop::Clock::time_point deadline() const { return due; }

    sigc::signal<void()> timeout;

    // Called by the loop when the deadline has passed.
    void expire();

private:
    eMainloop *loop;
    bool active = false;
    bool single = true;
    std::chrono::milliseconds interval{0};
    eMainloop::Clock::time_point due;
};

#endif
