// The bounds every HTTP transfer keeps, in one place so that tests can shorten the waits.
#ifndef QUENLORA_NET_LIMITS_H
#define QUENLORA_NET_LIMITS_H

#include <cstddef>

namespace net
{

struct Limits {
    // From the request to the end of the final response's headers (connecting included).
    int answerMs = 15000;
    // No byte received for this long while reading is wanted. A transfer whose reads are
    // disabled is never timed out.
    int idleMs = 20000;
    // One response's header block, status line included.
    size_t headerBytes = 64 * 1024;
    long redirects = 10;
};

// The bounds for transfers started from now on.
Limits &limits();

} // namespace net

#endif
