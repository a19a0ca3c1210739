// Audio decoders: compressed bytes from one buffer, PCM into another.
#ifndef QUENLORA_EAUDIODECODER_H
#define QUENLORA_EAUDIODECODER_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include <cstdint>
#include <memory>

#include "sigc_compat.h"

class eIOBuffer;

// The PCM a decoder produces.
struct AudioFormat {
    int32_t sampleRate;   // samples per second
    int32_t channels;     // channel count
    int32_t sampleFormat; // OSS sample-format code (AFMT_S16_NE for native 16-bit)
    int32_t setupPending; // always 0 here: the device needs no set-up at every write
};

class eAudioDecoder : public SigC::Object
{
public:
    eAudioDecoder(eIOBuffer &input, eIOBuffer &output);
    virtual ~eAudioDecoder();
    // Consumes at most limit bytes of input (whole frames) and appends their PCM to output.
    // Returns the PCM bytes produced, or a negative value when it can go no further.
    virtual int decode(int flags, int limit, SigC::Signal1<void, unsigned int> *newStreamId) = 0;
    // Forgets partial input (after a seek or a change of stream).
    virtual void resync() = 0;
    // The input needed before decode can make progress.
    virtual int minimumInput() = 0;

    AudioFormat format;

protected:
    eIOBuffer &input;
    eIOBuffer &output;
};

class eAudioDecoderMP3 : public eAudioDecoder
{
public:
    eAudioDecoderMP3(eIOBuffer &input, eIOBuffer &output);
    ~eAudioDecoderMP3() override;
    int decode(int flags, int limit, SigC::Signal1<void, unsigned int> *newStreamId) override;
    void resync() override;
    int minimumInput() override;

    struct Engine;

private:
    std::unique_ptr<Engine> engine;
};

#pragma GCC visibility pop

#endif
