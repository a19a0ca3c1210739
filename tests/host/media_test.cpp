#include <gtest/gtest.h>

#include <fcntl.h>
#include <random>
#include <sys/soundcard.h>
#include <unistd.h>

#include "eaudiodecoder.h"
#include "eiobuffer.h"
#include "radio.h"
#include "test_support.h"

using namespace testing_support;

namespace
{
std::string contents(const eIOBuffer &buffer)
{
    std::string bytes(buffer.size(), '\0');
    buffer.peek(bytes.data(), buffer.size());
    return bytes;
}

std::string drain(eIOBuffer &buffer)
{
    std::string bytes(buffer.size(), '\0');
    buffer.read(bytes.data(), buffer.size());
    return bytes;
}

// Feeds the file to a decoder in pieces of random size, one decode call per piece, as the
// player does; returns the PCM.
std::string decodeInPieces(const std::string &mp3, unsigned seed, int largestPiece, int limit,
                           std::vector<AudioFormat> *formats = nullptr)
{
    eIOBuffer input(8192), output(262144);
    eAudioDecoderMP3 decoder(input, output);
    std::mt19937 random(seed);
    std::string pcm;
    size_t at = 0;
    int idle = 0;
    while (idle < 100) {
        if (at < mp3.size()) {
            const size_t n = std::min<size_t>(mp3.size() - at, 1 + random() % largestPiece);
            input.write(mp3.data() + at, static_cast<int>(n));
            at += n;
        }
        const int before = input.size();
        int produced = 0;
        if (decoder.minimumInput() <= input.size())
            produced = decoder.decode(0, limit, nullptr);
        EXPECT_GE(produced, 0);
        EXPECT_LE(before - input.size(), limit) << "took more input than the limit";
        pcm += drain(output);
        if (formats &&
            (formats->empty() || formats->back().sampleRate != decoder.format.sampleRate ||
             formats->back().channels != decoder.format.channels))
            formats->push_back(decoder.format);
        idle = at >= mp3.size() ? idle + 1 : 0;
    }
    return pcm;
}
} // namespace

TEST(IOBuffer, KeepsBytesInOrderAcrossBlocksAgainstAPlainModel)
{
    std::mt19937 random(11);
    eIOBuffer buffer(100); // small blocks, so that every operation crosses them
    std::string model;
    unsigned char next = 0;
    for (int step = 0; step < 5000; ++step) {
        const int n = static_cast<int>(random() % 350);
        switch (random() % 3) {
        case 0: {
            std::string bytes;
            for (int i = 0; i < n; ++i)
                bytes += static_cast<char>(next++);
            buffer.write(bytes.data(), n);
            model += bytes;
            break;
        }
        case 1: {
            std::string bytes(n, '\0');
            const int got = buffer.read(bytes.data(), n);
            ASSERT_EQ(got, std::min<int>(n, model.size()));
            ASSERT_EQ(bytes.substr(0, got), model.substr(0, got));
            model.erase(0, got);
            break;
        }
        default:
            ASSERT_EQ(buffer.skip(n), std::min<int>(n, model.size()));
            model.erase(0, std::min<size_t>(n, model.size()));
        }
        ASSERT_EQ(buffer.size(), static_cast<int>(model.size()));
    }
    EXPECT_EQ(contents(buffer), model);
}

TEST(IOBuffer, ToFileWritesAtMostMaxAndKeepsWhatTheDescriptorRefused)
{
    int pipeFds[2];
    ASSERT_EQ(pipe2(pipeFds, O_NONBLOCK), 0);
    const int capacity = fcntl(pipeFds[1], F_GETPIPE_SZ);
    eIOBuffer buffer(1000);
    std::string bytes;
    for (int i = 0; i < capacity + 5000; ++i)
        bytes += static_cast<char>(i * 7);
    buffer.write(bytes.data(), static_cast<int>(bytes.size()));

    EXPECT_EQ(buffer.tofile(pipeFds[1], 1500), 1500);
    EXPECT_EQ(buffer.size(), static_cast<int>(bytes.size()) - 1500);
    // The pipe takes what fits; the rest stays in the buffer, in order.
    const int second = buffer.tofile(pipeFds[1], 1 << 30);
    EXPECT_GT(second, 0);
    EXPECT_LE(second, capacity - 1500);
    EXPECT_EQ(buffer.tofile(pipeFds[1], 100), -1); // full: nothing written
    std::string piped(capacity, '\0');
    ASSERT_EQ(::read(pipeFds[0], piped.data(), capacity), 1500 + second);
    piped.resize(1500 + second);
    EXPECT_EQ(piped + contents(buffer), bytes);
    close(pipeFds[0]);
    close(pipeFds[1]);
}

TEST(Mp3Decoder, GivesWhatMpg123GivesForAnyPieceSize)
{
    const std::string path = makeMp3({});
    const std::string mp3 = readFile(path);
    const std::string expected = mpg123Pcm(path);
    ASSERT_GT(expected.size(), 100000u);
    for (int largest : {1, 417, 4096, 16384, 100000}) {
        const std::string pcm = decodeInPieces(mp3, largest, largest, 16384);
        EXPECT_EQ(pcm.size(), expected.size()) << "pieces up to " << largest;
        EXPECT_TRUE(pcm == expected) << "pieces up to " << largest;
    }
}

TEST(Mp3Decoder, ReportsEachFormatAndFollowsAChangeInMidStream)
{
    const std::string first = makeMp3({2, 44100, 2, 128});
    const std::string second = makeMp3({2, 22050, 1, 64});
    const std::string joined = joinFiles({first, second});
    std::vector<AudioFormat> formats;
    const std::string pcm = decodeInPieces(readFile(joined), 5, 3000, 16384, &formats);
    ASSERT_EQ(formats.size(), 2u);
    EXPECT_EQ(formats[0].sampleRate, 44100);
    EXPECT_EQ(formats[0].channels, 2);
    EXPECT_EQ(formats[1].sampleRate, 22050);
    EXPECT_EQ(formats[1].channels, 1);
    for (const AudioFormat &f : formats) {
        EXPECT_EQ(f.sampleFormat, AFMT_S16_NE);
        EXPECT_EQ(f.setupPending, 0);
    }
    const std::string expected = mpg123Pcm(joined);
    EXPECT_EQ(pcm.size(), expected.size());
    EXPECT_TRUE(pcm == expected);
}

TEST(Mp3Decoder, GivesUpOnInputWithoutFramesWithinABoundedStretch)
{
    eIOBuffer input(8192), output(262144);
    eAudioDecoderMP3 decoder(input, output);
    std::mt19937 random(3);
    int fed = 0;
    int result = 0;
    while (result >= 0 && fed < 1000000) {
        std::string junk(4096, '\0');
        for (char &c : junk)
            c = static_cast<char>((random() & 0xF0) | 0x05); // never a frame header's 0xFF
        input.write(junk.data(), 4096);
        fed += 4096;
        result = decoder.decode(0, 16384, nullptr);
    }
    EXPECT_LT(result, 0);
    EXPECT_LE(fed, 128 * 1024);
    EXPECT_EQ(output.size(), 0);
    EXPECT_LT(decoder.decode(0, 16384, nullptr), 0) << "the end stays the end";

    // Until a resync: the stream that follows it is decoded.
    input.clear();
    decoder.resync();
    const std::string path = makeMp3({});
    const std::string mp3 = readFile(path);
    input.write(mp3.data(), static_cast<int>(mp3.size()));
    while (decoder.decode(0, 16384, nullptr) > 0) {
    }
    EXPECT_TRUE(drain(output) == mpg123Pcm(path));
}

TEST(Mp3Decoder, ALeadingTagOfAnySizeIsNoJunk)
{
    const std::string path = makeMp3({});
    std::string tag = "ID3";
    tag += std::string("\x04\x00\x00", 3);
    const int size = 300000; // cover art, say
    for (int shift : {21, 14, 7, 0})
        tag += static_cast<char>((size >> shift) & 0x7F);
    tag += std::string(size, '\0');
    const std::string pcm = decodeInPieces(tag + readFile(path), 9, 16384, 16384);
    EXPECT_TRUE(pcm == mpg123Pcm(path));
}

TEST(Mp3Decoder, NeedsOneByteAndDecodesNothingFromNothing)
{
    eIOBuffer input(8192), output(262144);
    eAudioDecoderMP3 decoder(input, output);
    EXPECT_EQ(decoder.minimumInput(), 1);
    EXPECT_EQ(decoder.decode(0, 16384, nullptr), 0);
    EXPECT_EQ(decoder.format.sampleFormat, AFMT_S16_NE);
}
