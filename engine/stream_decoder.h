// One playback run of one stream.
#ifndef QUENLORA_ENGINE_STREAM_DECODER_H
#define QUENLORA_ENGINE_STREAM_DECODER_H

#include <sigc_compat.h>

class StreamDecoder : public SigC::Object
{
public:
    virtual ~StreamDecoder();
};

#endif
