// A growing queue of bytes, kept in blocks.
#ifndef QUENLORA_EIOBUFFER_H
#define QUENLORA_EIOBUFFER_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include <deque>
#include <vector>

class eIOBuffer
{
public:
    explicit eIOBuffer(int allocationSize);
    ~eIOBuffer();

    // Appends length bytes.
    void write(const void *data, int length);
    // Takes up to length bytes from the front; returns how many.
    int read(void *data, int length);
    // Copies up to length bytes from the front without taking them; returns how many.
    int peek(void *data, int length) const;
    // Drops up to length bytes from the front; returns how many.
    int skip(int length);
    // Writes at most max bytes from the front to fd with write(2), and takes what was written.
    // Returns that count, or -1 with errno when nothing could be written.
    int tofile(int fd, int max);
    int size() const { return total; }
    bool empty() const { return total == 0; }
    void clear();

private:
    // A new block has room for this many bytes (more when one write is larger).
    int allocation;
    std::deque<std::vector<char>> blocks;
    // The last emptied block, kept for the next one so that a steady flow allocates nothing.
    std::vector<char> spare;
    int frontOffset = 0; // bytes of blocks.front() already taken
    int total = 0;
};

#pragma GCC visibility pop

#endif
