// eIOBuffer against a plain std::deque<char> under any sequence of writes, reads, peeks, skips
// and writes to a pipe: both must hold the same bytes after every step.
#include <fuzzer/FuzzedDataProvider.h>

#include <cerrno>
#include <cstdlib>
#include <deque>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "eiobuffer.h"

namespace
{
void check(bool holds, const char *what)
{
    if (!holds) {
        fprintf(stderr, "iobuffer: %s\n", what);
        abort();
    }
}

std::string front(const std::deque<char> &model, size_t count)
{
    return std::string(model.begin(), model.begin() + std::min(count, model.size()));
}

// A non-blocking pipe small enough to fill, so that tofile meets short and refused writes.
struct Pipe {
    int ends[2];
    Pipe()
    {
        check(pipe2(ends, O_NONBLOCK | O_CLOEXEC) == 0, "no pipe");
        fcntl(ends[1], F_SETPIPE_SZ, 4096);
    }
    ~Pipe()
    {
        close(ends[0]);
        close(ends[1]);
    }
    std::string drain()
    {
        std::string all;
        char piece[65536];
        ssize_t n;
        while ((n = ::read(ends[0], piece, sizeof piece)) > 0)
            all.append(piece, n);
        return all;
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    eIOBuffer buffer(input.ConsumeIntegralInRange(1, 4096));
    std::deque<char> model;
    Pipe pipe;
    std::string inPipe; // what tofile has written and the pipe still holds

    while (input.remaining_bytes() > 0) {
        const int length = input.ConsumeIntegralInRange(0, 20000);
        switch (input.ConsumeIntegralInRange(0, 6)) {
        case 0: {
            std::string bytes = input.ConsumeBytesAsString(length);
            if (bytes.empty())
                bytes.assign(length, 'w');
            buffer.write(bytes.data(), static_cast<int>(bytes.size()));
            model.insert(model.end(), bytes.begin(), bytes.end());
            break;
        }
        case 1: {
            std::string got(length, '\0');
            got.resize(buffer.read(got.data(), length));
            check(got == front(model, length), "read gave other bytes");
            model.erase(model.begin(), model.begin() + got.size());
            break;
        }
        case 2: {
            std::string got(length, '\0');
            got.resize(buffer.peek(got.data(), length));
            check(got == front(model, length), "peek gave other bytes");
            break;
        }
        case 3: {
            const int skipped = buffer.skip(length);
            check(skipped == static_cast<int>(std::min<size_t>(length, model.size())),
                  "skip took another count");
            model.erase(model.begin(), model.begin() + skipped);
            break;
        }
        case 4: {
            const int written = buffer.tofile(pipe.ends[1], length);
            if (written < 0) {
                check(errno == EAGAIN && !model.empty() && length > 0,
                      "tofile failed other than on a full pipe");
                break;
            }
            check(written <= length, "tofile wrote more than asked");
            inPipe += front(model, written);
            model.erase(model.begin(), model.begin() + written);
            break;
        }
        case 5:
            check(pipe.drain() == inPipe, "tofile wrote other bytes");
            inPipe.clear();
            break;
        case 6:
            if (length % 97 == 0) {
                buffer.clear();
                model.clear();
            }
            break;
        }
        check(buffer.size() == static_cast<int>(model.size()), "the sizes differ");
        check(buffer.empty() == model.empty(), "empty() differs");
    }
    check(pipe.drain() == inPipe, "tofile wrote other bytes");
    std::string all(buffer.size(), '\0');
    check(buffer.peek(all.data(), buffer.size()) == buffer.size(), "peek of everything");
    check(all == std::string(model.begin(), model.end()), "the bytes differ at the end");
    return 0;
}
