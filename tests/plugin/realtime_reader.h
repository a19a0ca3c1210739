// A sound card's pace for a FIFO device: a thread that drains it at the real-time rate and
// counts the times it found nothing to play.
#ifndef QUENLORA_TESTS_REALTIME_READER_H
#define QUENLORA_TESTS_REALTIME_READER_H

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

// 44.1 kHz, two channels of 16 bits: what a sound card takes of a CD-quality stream.
const double cdBytesPerSecond = 44100 * 4;

// Reads the FIFO at bytesPerSecond from its first byte on, until total bytes have come.
class RealTimeReader
{
public:
    RealTimeReader(const std::string &fifo, double bytesPerSecond, size_t total)
        : rate(bytesPerSecond), total(total)
    {
        fd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
        thread = std::thread([this] { drain(); });
    }
    ~RealTimeReader()
    {
        stopping = true;
        thread.join();
        close(fd);
    }
    size_t consumed() const { return got; }
    int underruns() const { return empty; }
    std::string pcm() const { return data; }

private:
    void drain()
    {
        std::chrono::steady_clock::time_point first{};
        std::vector<char> piece(1 << 16);
        while (!stopping && got < total) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            size_t due = piece.size();
            if (got) {
                const double seconds =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - first).count();
                const double wanted = seconds * rate - static_cast<double>(got);
                due = wanted > 0 ? std::min(piece.size(), static_cast<size_t>(wanted)) : 0;
                if (!due)
                    continue;
            }
            const ssize_t n = read(fd, piece.data(), due);
            if (n > 0) {
                if (!got)
                    first = std::chrono::steady_clock::now();
                data.append(piece.data(), n);
                got += n;
            } else if (got) {
                ++empty; // the sound card would have played silence here
            }
        }
    }

    int fd;
    double rate;
    size_t total;
    std::atomic<bool> stopping{false};
    std::atomic<size_t> got{0};
    std::atomic<int> empty{0};
    std::string data;
    std::thread thread;
};

#endif
