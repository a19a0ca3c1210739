// A stream played at the real-time rate into a FIFO that a reader drains at the real-time rate,
// as a sound card would: the reader must never find it empty while the stream lasts.
#include <gmock/gmock.h>

#include "playback_fixture.h"
#include "realtime_reader.h"
#include "stream_probe.h"

using namespace testing_support;

namespace
{

TEST_F(PlaybackTest, AtTheRealTimeRateTheDeviceNeverRunsDryAndTheBufferStaysBounded)
{
    allowModalRunsFor(150000);
    const std::string mp3 = makeMp3({60});
    const std::string expected = mpg123Pcm(mp3);
    // 128 kbit/s: 16000 bytes a second after a 64 KB burst.
    station(playlistFor(streamOf(mp3, "metaint=16000&titles=A|B&title_every=300000"
                                      "&burst=65536&rate=16000&chunk=1460")));
    RealTimeReader reader(useFifoDevice(), cdBytesPerSecond, expected.size());
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
