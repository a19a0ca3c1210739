// eAudioDecoderMP3 on libmpg123's feed interface: compressed bytes are taken from the input
// buffer and handed to the library, which keeps partial frames itself; every frame it can
// complete is decoded into native-endian 16-bit PCM at the stream's own rate and channels.
#include <mpg123.h>
#include <sys/soundcard.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "eaudiodecoder.h"
#include "edebug.h"
#include "eiobuffer.h"

namespace
{
// Input that yields no frame for this long is not an MPG stream (or has lost it for good).
constexpr long junkLimit = 65536;

// An ID3v2 tag at the start may be large (cover art) and is not junk: its size, or 0.
long id3v2Size(const unsigned char *head, int length)
{
    if (length < 10 || std::memcmp(head, "ID3", 3) != 0)
        return 0;
    for (int i = 6; i < 10; ++i)
        if (head[i] & 0x80)
            return 0;
    long size = (long(head[6]) << 21) | (long(head[7]) << 14) | (long(head[8]) << 7) | head[9];
    const bool footer = head[5] & 0x10;
    return 10 + size + (footer ? 10 : 0);
}
} // namespace

eAudioDecoder::eAudioDecoder(eIOBuffer &input, eIOBuffer &output)
    : format{44100, 2, AFMT_S16_NE, 0}, input(input), output(output)
{
}

eAudioDecoder::~eAudioDecoder() = default;

struct eAudioDecoderMP3::Engine {
    mpg123_handle *handle = nullptr;
    std::vector<unsigned char> scratch;
    bool started = false;   // the first bytes have been looked at
    long junk = 0;          // bytes fed since the last frame (or the start), tag excluded
    long tagLeft = 0;       // bytes of a leading ID3v2 tag still to come
    bool exhausted = false; // no frame in junkLimit bytes: every later call says so

    Engine()
    {
        int error = MPG123_OK;
        handle = mpg123_new(nullptr, &error);
        if (!handle) {
            eDebug("[MP3] cannot create a decoder: %s", mpg123_plain_strerror(error));
            return;
        }
        mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
        // The length of junk is bounded here, not by the library's own limit.
        mpg123_param(handle, MPG123_RESYNC_LIMIT, -1, 0);
        mpg123_format_none(handle);
        const long *rates = nullptr;
        size_t count = 0;
        mpg123_rates(&rates, &count);
        for (size_t i = 0; i < count; ++i)
            mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
        if (mpg123_open_feed(handle) != MPG123_OK) {
            eDebug("[MP3] cannot open the feed: %s", mpg123_strerror(handle));
            mpg123_delete(handle);
            handle = nullptr;
        }
    }
    ~Engine()
    {
        if (handle)
            mpg123_delete(handle);
    }
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;
};

eAudioDecoderMP3::eAudioDecoderMP3(eIOBuffer &input, eIOBuffer &output)
    : eAudioDecoder(input, output), engine(std::make_unique<Engine>())
{
}

eAudioDecoderMP3::~eAudioDecoderMP3() = default;

int eAudioDecoderMP3::minimumInput()
{
    // The library keeps what is left of a frame, so any new byte can complete one.
    return 1;
}

void eAudioDecoderMP3::resync()
{
    if (!engine->handle)
        return;
    mpg123_close(engine->handle);
    mpg123_open_feed(engine->handle);
    engine->started = false;
    engine->junk = 0;
    engine->tagLeft = 0;
    engine->exhausted = false; // a new stream starts: the old one's junk says nothing of it
}

int eAudioDecoderMP3::decode(int, int limit, SigC::Signal1<void, unsigned int> *)
{
    Engine &e = *engine;
    if (!e.handle || e.exhausted)
        return -1;

    const int take = std::min(limit, input.size());
    if (take > 0) {
        e.scratch.resize(take);
        input.read(e.scratch.data(), take);
        if (!e.started) {
            e.started = true;
            e.tagLeft = id3v2Size(e.scratch.data(), take);
        }
        const long tag = std::min<long>(e.tagLeft, take);
        e.tagLeft -= tag;
        e.junk += take - tag;
        if (mpg123_feed(e.handle, e.scratch.data(), take) != MPG123_OK)
            eDebug("[MP3] feed failed: %s", mpg123_strerror(e.handle));
    }

    int produced = 0;
    for (;;) {
        off_t frame = 0;
        unsigned char *audio = nullptr;
        size_t bytes = 0;
        const int result = mpg123_decode_frame(e.handle, &frame, &audio, &bytes);
        if (result == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0, encoding = 0;
            mpg123_getformat(e.handle, &rate, &channels, &encoding);
            format.sampleRate = static_cast<int32_t>(rate);
            format.channels = channels;
            format.sampleFormat = AFMT_S16_NE;
            format.setupPending = 0;
            eDebug("[MP3] format %ld Hz, %d channel(s)", rate, channels);
            continue;
        }
        if (result == MPG123_OK) {
            if (bytes) {
                output.write(audio, static_cast<int>(bytes));
                produced += static_cast<int>(bytes);
            }
            e.junk = 0;
            continue;
        }
        if (result != MPG123_NEED_MORE && result != MPG123_DONE)
            eDebug("[MP3] decode: %s", mpg123_strerror(e.handle));
        break;
    }

    if (e.junk > junkLimit) {
        eDebug("[MP3] no frame in %ld bytes: giving up", e.junk);
        e.exhausted = true;
        return produced ? produced : -1;
    }
    return produced;
}
