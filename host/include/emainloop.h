// The host's main loop and socket notifiers.
#ifndef QUENLORA_EMAINLOOP_H
#define QUENLORA_EMAINLOOP_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include "sigc_compat.h"

class eMainloop;

// The main loop everything of the box runs on.
extern eMainloop *eApp;

// Watches one descriptor for the poll(2) events in its mask while started.
class eSocketNotifier : public SigC::Object
{
public:
    enum { Read = 1, Priority = 2, Write = 4 }; // POLLIN, POLLPRI, POLLOUT

    eSocketNotifier(eMainloop *loop, int fd, int events, bool startNow = true);
    virtual ~eSocketNotifier();

    void start();
    void stop();
    bool isRunning() const { return running; }
    int getFD() const { return fd; }
    int getRequested() const { return events; }

    // Fires with the events that occurred.
    SigC::Signal1<void, int> activated;

private:
    eMainloop *loop;
    int fd;
    int events;
    bool running = false;
};

#pragma GCC visibility pop

#endif
