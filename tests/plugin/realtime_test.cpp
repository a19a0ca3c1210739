// A stream played at the real-time rate into a FIFO that a reader drains at the real-time rate,
// as a sound card would: the reader must never find it empty while the stream lasts.
#include <gmock/gmock.h>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "playback_fixture.h"
#include "stream_probe.h"

using namespace testing_support;
using Clock = std::chrono::steady_clock;

namespace
{
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
        Clock::time_point first{};
        std::vector<char> piece(1 << 16);
        while (!stopping && got < total) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            size_t due = piece.size();
            if (got) {
                const double seconds = std::chrono::duration<double>(Clock::now() - first).count();
                const double wanted = seconds * rate - static_cast<double>(got);
                due = wanted > 0 ? std::min(piece.size(), static_cast<size_t>(wanted)) : 0;
                if (!due)
                    continue;
            }
            const ssize_t n = read(fd, piece.data(), due);
            if (n > 0) {
                if (!got)
                    first = Clock::now();
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

TEST_F(PlaybackTest, AtTheRealTimeRateTheDeviceNeverRunsDryAndTheBufferStaysBounded)
{
    allowModalRunsFor(150000);
    const std::string mp3 = makeMp3({60});
    const std::string expected = mpg123Pcm(mp3);
    const std::string fifo = box.file("dsp.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    boxpaths::setAudioDevice(fifo);
    // 128 kbit/s: 16000 bytes a second after a 64 KB burst.
    station(playlistFor(streamOf(mp3, "metaint=16000&titles=A|B&title_every=300000"
                                      "&burst=65536&rate=16000&chunk=1460")));
    RealTimeReader reader(fifo, 44100 * 4, expected.size());
    makeDialog();
    play();

    int largestOutput = 0;
    int underrunsWhilePlaying = -1;
    const bool ended = driver.runUntil(
        [&] {
            if (StreamDecoder *run = StreamDecoderProbe::runOf(*dialog))
                largestOutput = std::max(largestOutput, StreamDecoderProbe(*run).outputSize());
            if (underrunsWhilePlaying < 0 && status() == "Playing...")
                underrunsWhilePlaying = reader.underruns();
            return log.contains("ok, everything played..");
        },
        std::chrono::seconds(100));
    ASSERT_TRUE(ended) << status();
    EXPECT_TRUE(log.contains("streaming ended"));
    // The FIFO still holds what the device had not taken at the end.
    EXPECT_TRUE(driver.runUntil([&] { return reader.consumed() >= expected.size(); },
                                std::chrono::seconds(5)));
    ASSERT_GE(underrunsWhilePlaying, 0);
    EXPECT_EQ(reader.underruns(), underrunsWhilePlaying)
        << "the reader found the device empty while the stream lasted";
    // The mark plus one decode call: 16384 bytes of input, 40 frames of 4608 PCM bytes at most.
    EXPECT_LE(largestOutput, 262144 + 40 * 4608);
    EXPECT_GT(largestOutput, 0);
    EXPECT_TRUE(reader.pcm() == expected);
}
} // namespace
