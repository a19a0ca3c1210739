#include <gmock/gmock.h>

#include <random>

#include "emainloop.h"
#include "icy_stream.h"
#include "radio.h"
#include "test_support.h"

using namespace testing_support;

namespace
{
using Headers = std::map<eString, eString>;

// A sink over a connection that is never started, with the response headers given.
struct SinkBench {
    explicit SinkBench(std::map<eString, eString> headers)
    {
        int error = 0;
        connection.reset(eHTTPConnection::doRequest("http://127.0.0.1:1/", eApp, &error));
        connection->responseHeaders = std::move(headers);
        sink = std::make_unique<scHTTPStream>(connection.get(), audio);
        sink->dataArrived.connect([this] { ++arrivals; });
        sink->metaDataArrived.connect([this](eString text) { blocks.push_back(text); });
    }
    void deliver(const std::string &bytes) { sink->haveData((void *)bytes.data(), bytes.size()); }
    std::string audioBytes() const
    {
        std::string bytes(audio.size(), '\0');
        audio.peek(bytes.data(), audio.size());
        return bytes;
    }

    eIOBuffer audio{8192};
    std::unique_ptr<eHTTPConnection> connection;
    std::unique_ptr<scHTTPStream> sink;
    int arrivals = 0;
    std::vector<std::string> blocks;
};

std::string block(const std::string &text, int lengthByte)
{
    std::string b(1, static_cast<char>(lengthByte));
    b += text;
    b.resize(1 + lengthByte * 16, '\0');
    return b;
}

TEST(IcySink, TakesNameGenreAndIntervalFromTheHeaders)
{
    SinkBench bench(Headers{{"icy-name", "Loop FM"}, {"icy-genre", "Jazz"}, {"icy-metaint", "16"}});
    EXPECT_EQ(bench.sink->icyName, "Loop FM");
    EXPECT_EQ(bench.sink->icyGenre, "Jazz");
    bench.deliver(std::string(16, 'a') + block("StreamTitle='x';", 1) + "b");
    EXPECT_EQ(bench.audioBytes(), std::string(16, 'a') + "b");
    EXPECT_THAT(bench.blocks, testing::ElementsAre("StreamTitle='x';"));
    EXPECT_EQ(bench.arrivals, 1);
}

TEST(IcySink, WithoutAUsableIntervalEveryByteIsAudio)
{
    for (const char *interval : std::vector<const char *>{"", "0", "abc", "-16", nullptr}) {
        std::map<eString, eString> headers;
        if (interval)
            headers["icy-metaint"] = interval;
        SinkBench bench(headers);
        const std::string body = std::string(40, 'a') + block("StreamTitle='x';", 1);
        bench.deliver(body);
        EXPECT_EQ(bench.audioBytes(), body) << (interval ? interval : "(absent)");
        EXPECT_TRUE(bench.blocks.empty());
        EXPECT_EQ(bench.sink->icyName, "");
    }
}

// The same stream, cut into pieces of every size, gives the same audio and the same blocks.
TEST(IcySink, PiecesOfAnySizeGiveTheSameAudioAndBlocks)
{
    std::mt19937 random(5);
    for (int interval : {1, 16, 100, 8192}) {
        std::string body, audio;
        std::vector<std::string> texts;
        for (int frame = 0; frame < 40; ++frame) {
            std::string run;
            for (int i = 0; i < interval; ++i)
                run += static_cast<char>(random());
            audio += run;
            body += run;
            switch (frame % 4) {
            case 0:
                body += block("", 0); // no metadata in this frame
                break;
            case 1: {
                const std::string t = "StreamTitle='Song " + std::to_string(frame) + "';";
                texts.push_back(t);
                body += block(t, 3);
                break;
            }
            case 2:
                texts.push_back("");
                body += block("", 1); // a block whose first byte is NUL
                break;
            default:
                texts.push_back(std::string(4080, 'z')); // 255 * 16, no NUL at all
                body += block(std::string(4080, 'z'), 255);
            }
        }
        for (int largest : {1, 7, 4096, 16384}) {
            SinkBench bench(Headers{{"icy-metaint", std::to_string(interval)}});
            int deliveries = 0;
            for (size_t at = 0; at < body.size(); ++deliveries) {
                const size_t n = std::min<size_t>(body.size() - at, 1 + random() % largest);
                bench.deliver(body.substr(at, n));
                at += n;
            }
            EXPECT_TRUE(bench.audioBytes() == audio) << interval << "/" << largest;
            EXPECT_EQ(bench.blocks, texts) << interval << "/" << largest;
            EXPECT_EQ(bench.arrivals, deliveries);
        }
    }
}

TEST(IcySink, AnEmptyDeliveryStillSignalsAndACutBlockIsNeverEmitted)
{
    SinkBench bench(Headers{{"icy-metaint", "4"}});
    bench.deliver("");
    EXPECT_EQ(bench.arrivals, 1);
    bench.deliver("abcd" + block("StreamTitle='cut", 2).substr(0, 10));
    EXPECT_EQ(bench.arrivals, 2);
    EXPECT_TRUE(bench.blocks.empty());
    EXPECT_EQ(bench.audioBytes(), "abcd");
}

TEST(IcySink, PaddingAndWhatFollowsANulAreDropped)
{
    SinkBench bench(Headers{{"icy-metaint", "2"}});
    std::string b = block("StreamTitle='a';", 2);
    b.replace(20, 3, std::string("\0zz", 3));
    bench.deliver("xy" + b + "z");
    ASSERT_EQ(bench.blocks.size(), 1u);
    EXPECT_EQ(bench.blocks[0], "StreamTitle='a';");
}

TEST(IcySink, HugeIntervalsDoNotOverflow)
{
    SinkBench bench(Headers{{"icy-metaint", "99999999999"}});
    bench.deliver(std::string(20000, 'a'));
    bench.deliver(std::string(20000, 'b'));
    EXPECT_EQ(bench.audioBytes().size(), 40000u);
    EXPECT_TRUE(bench.blocks.empty());
}
} // namespace
