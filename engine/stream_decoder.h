// One playback run of one stream: the HTTP request, the ICY sink, the MP3 decoder and the
// audio device, regulated so that none of them waits on another.
#ifndef QUENLORA_ENGINE_STREAM_DECODER_H
#define QUENLORA_ENGINE_STREAM_DECODER_H

#include <eaudiodecoder.h>
#include <ehttpconnection.h>
#include <eiobuffer.h>
#include <elock.h>
#include <emainloop.h>
#include <estring.h>
#include <sigc_compat.h>

class QuenloDialog;
class scHTTPStream;

class StreamDecoder : public SigC::Object
{
public:
    // Playback states.
    enum { Starting, NoDevice, Buffering, Throttled, Playing, Finished };

private:
    int state;
    int dspFd;
    int highWaterMark;  // output bytes above which network reads are disabled
    int minBufferBytes; // output bytes to exceed before the device is started
    int requestError;
    QuenloDialog *dialog;
    eAudioDecoderMP3 *audioDecoder;
    eIOBuffer input;  // compressed bytes from the sink
    eIOBuffer output; // PCM for the device
    scHTTPStream *sink;
    eHTTPConnection *connection;
    eString statusText;
    eLock lock;
    eString streamTitle;
    eString streamUrl;
    AudioFormat dspFormat; // what the device was last set up for
    eSocketNotifier *dspNotifier;

    void streamingDone(int result);
    eHTTPDataSource *createStreamSink(eHTTPConnection *connection);
    void newAudioStreamIdFound(unsigned int id);

    void checkFlow(int flags);
    void decodeMoreHTTP();
    void outputReady(int what);
    void dspSync();

    void metaDataUpdated(eString text);

    // In-process tests drive single steps of a run.
    friend class StreamDecoderProbe;

public:
    StreamDecoder(const char *url, QuenloDialog *dialog, int minBufferBytes);
    virtual ~StreamDecoder();
};

#endif
