#include "eiobuffer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

eIOBuffer::eIOBuffer(int allocationSize) : allocation(std::max(allocationSize, 1)) {}

eIOBuffer::~eIOBuffer() = default;

void eIOBuffer::write(const void *data, int length)
{
    const char *from = static_cast<const char *>(data);
    while (length > 0) {
        if (blocks.empty() || blocks.back().size() == blocks.back().capacity()) {
            std::vector<char> block;
            if (spare.capacity() >= static_cast<size_t>(allocation))
                block.swap(spare);
            else
                block.reserve(std::max(allocation, length));
            blocks.push_back(std::move(block));
        }
        std::vector<char> &back = blocks.back();
        const int room = static_cast<int>(back.capacity() - back.size());
        const int n = std::min(room, length);
        back.insert(back.end(), from, from + n);
        from += n;
        length -= n;
        total += n;
    }
}

int eIOBuffer::peek(void *data, int length) const
{
    char *to = static_cast<char *>(data);
    int copied = 0;
    int offset = frontOffset;
    for (const auto &block : blocks) {
        if (copied >= length)
            break;
        const int n = std::min(static_cast<int>(block.size()) - offset, length - copied);
        std::memcpy(to + copied, block.data() + offset, n);
        copied += n;
        offset = 0;
    }
    return copied;
}

int eIOBuffer::skip(int length)
{
    int dropped = 0;
    while (dropped < length && !blocks.empty()) {
        std::vector<char> &front = blocks.front();
        const int n = std::min(static_cast<int>(front.size()) - frontOffset, length - dropped);
        frontOffset += n;
        dropped += n;
        if (frontOffset == static_cast<int>(front.size())) {
            front.clear();
            spare.swap(front);
            blocks.pop_front();
            frontOffset = 0;
        }
    }
    total -= dropped;
    return dropped;
}

int eIOBuffer::read(void *data, int length)
{
    return skip(peek(data, length));
}

int eIOBuffer::tofile(int fd, int max)
{
    int written = 0;
    while (written < max && !blocks.empty()) {
        const std::vector<char> &front = blocks.front();
        const int n = std::min(static_cast<int>(front.size()) - frontOffset, max - written);
        const ssize_t done = ::write(fd, front.data() + frontOffset, n);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            if (written == 0)
                return -1;
            break;
        }
        skip(static_cast<int>(done));
        written += static_cast<int>(done);
        if (done < n)
            break; // the descriptor is full for now
    }
    return written;
}

void eIOBuffer::clear()
{
    skip(total);
}
