// What every HTTP transfer keeps to: its bounds (in one place, so that tests can shorten the
// waits) and whom it trusts.
#ifndef QUENLORA_NET_SETTINGS_H
#define QUENLORA_NET_SETTINGS_H

#include <cstddef>
#include <string>

namespace net
{

struct Settings {
    // From the request to the end of the final response's headers (connecting included).
    int answerMs = 15000;
    // No byte received for this long while reading is wanted. A transfer whose reads are
    // disabled is never timed out.
    int idleMs = 20000;
    // One response's header block, status line included.
    size_t headerBytes = 64 * 1024;
    long redirects = 10;
    // Certificates of the authorities HTTPS servers are checked against; empty: the system's.
    std::string caFile;
};

// The settings for transfers made from now on.
Settings &settings();

} // namespace net

#endif
