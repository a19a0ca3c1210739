// The MP3 decoder under any input: damaged and truncated frames, in pieces of any size, decoded
// with any limit. Every call must end, take no more input than its limit, append exactly the
// PCM it reports, and leave the format within what the device can be set up for.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <set>
#include <string>
#include <sys/soundcard.h>

#include "eaudiodecoder.h"
#include "eiobuffer.h"

namespace
{
void check(bool holds, const char *what)
{
    if (!holds) {
        fprintf(stderr, "mp3 decoder: %s\n", what);
        abort();
    }
}

const std::set<int> mpegRates = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    eIOBuffer compressed(4096), pcm(65536);
    eAudioDecoderMP3 decoder(compressed, pcm);
    bool gaveUp = false;

    while (input.remaining_bytes() > 0) {
        const size_t piece = input.ConsumeIntegralInRange<size_t>(0, 16384);
        const int limit = input.ConsumeIntegralInRange(1, 65536);
        if (input.ConsumeIntegralInRange(0, 63) == 0) {
            decoder.resync();
            gaveUp = false;
        }
        const std::string bytes = input.ConsumeBytesAsString(piece);
        compressed.write(bytes.data(), static_cast<int>(bytes.size()));

        const int before = compressed.size();
        const int pcmBefore = pcm.size();
        const int result = decoder.decode(0, limit, nullptr);
        const int taken = before - compressed.size();
        check(taken >= 0 && taken <= limit, "took more input than the limit");
        check(pcm.size() - pcmBefore == (result > 0 ? result : 0),
              "the PCM differs from the result");
        check(result % 2 == 0 || result < 0, "a result of half a sample");
        check(!gaveUp || result < 0, "decoded again after giving up");
        gaveUp = gaveUp || result < 0;
        check(decoder.minimumInput() >= 1 && decoder.minimumInput() <= 2881,
              "the minimum input holds back more than a frame");

        const AudioFormat &format = decoder.format;
        check(mpegRates.count(format.sampleRate) == 1, "a sample rate MPEG audio does not have");
        check(format.channels == 1 || format.channels == 2, "a channel count other than 1 or 2");
        check(format.sampleFormat == AFMT_S16_NE, "a sample format other than native 16-bit");
        check(format.setupPending == 0, "a set-up flag");
        pcm.clear();
    }
    return 0;
}
