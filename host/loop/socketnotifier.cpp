#include "emainloop.h"
#include "mainloop.h"

eSocketNotifier::eSocketNotifier(eMainloop *loop, int fd, int events, bool startNow)
    : loop(loop), fd(fd), events(events)
{
    if (startNow)
        start();
}

eSocketNotifier::~eSocketNotifier()
{
    stop();
}

void eSocketNotifier::start()
{
    if (running)
        return;
    running = true;
    loop->addNotifier(this);
}

void eSocketNotifier::stop()
{
    if (!running)
        return;
    running = false;
    loop->removeNotifier(this);
}
