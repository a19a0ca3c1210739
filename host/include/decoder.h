// The box's TV decoder: the parameter record and the call that applies it.
#ifndef QUENLORA_DECODER_H
#define QUENLORA_DECODER_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include <cstdint>

struct decoderParameters {
    int32_t vpid;      // video PID
    int32_t apid;      // audio PID; 0x1FFE (8190) selects no audio
    int32_t tpid;      // teletext PID
    int32_t pcrpid;    // clock reference PID
    int32_t pmtpid;    // programme map PID
    int32_t audioType; // audio stream type
};

class Decoder
{
public:
    static decoderParameters parms;
    // Applies parms to the decoder. Returns 0.
    static int Set();
};

#pragma GCC visibility pop

#endif
