// A connection whose reading can be paused.
#ifndef QUENLORA_ESOCKET_H
#define QUENLORA_ESOCKET_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include "sigc_compat.h"

class eSocket : public SigC::Object
{
public:
    virtual ~eSocket();
    // Stops handing over received data until enableRead; on a finished transfer, nothing.
    virtual void disableRead() = 0;
    virtual void enableRead() = 0;
};

#pragma GCC visibility pop

#endif
