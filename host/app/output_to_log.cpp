#include "output_to_log.h"

#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "log.h"

namespace app
{

bool OutputToLog::start()
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return false;
    fflush(stdout);
    fflush(stderr);
    // dup2 clears close-on-exec on the copies: children inherit 1 and 2, not the ends.
    dup2(ends[1], STDOUT_FILENO);
    dup2(ends[1], STDERR_FILENO);
    ::close(ends[1]);
    setvbuf(stdout, nullptr, _IOLBF, 0);
    readEnd = ends[0];
    copier = std::thread([this] { copy(); });
    return true;
}

void OutputToLog::copy()
{
    char piece[4096];
    for (;;) {
        pollfd ready{readEnd, POLLIN, 0};
        // A child that outlives the program may hold the pipe open: the stop is checked
        // between waits, so the end never hangs on it.
        if (poll(&ready, 1, 100) <= 0) {
            if (stopping)
                return;
            continue;
        }
        const ssize_t n = ::read(readEnd, piece, sizeof piece);
        if (n <= 0)
            return; // every writer has gone
        logging::writeRaw(piece, static_cast<size_t>(n));
    }
}

OutputToLog::~OutputToLog()
{
    if (readEnd < 0)
        return;
    fflush(stdout);
    fflush(stderr);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) {
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        ::close(null);
    }
    stopping = true;
    copier.join();
    ::close(readEnd);
}

} // namespace app
