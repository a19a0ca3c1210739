// Reaches into one playback run, so that a test can set up a state and run a single step.
#ifndef QUENLORA_TESTS_STREAM_PROBE_H
#define QUENLORA_TESTS_STREAM_PROBE_H

#include <string>
#include <vector>

#include "eaudiodecoder.h"
#include "emainloop.h"
#include "icy_stream.h"
#include "quenlo_dialog.h"
#include "stream_decoder.h"

// A decoder that produces what it is told and counts its calls.
class ScriptedDecoder : public eAudioDecoderMP3
{
public:
    ScriptedDecoder(eIOBuffer &input, eIOBuffer &output) : eAudioDecoderMP3(input, output) {}
    int decode(int, int limit, SigC::Signal1<void, unsigned int> *) override
    {
        ++calls;
        lastLimit = limit;
        input.skip(limit);
        if (produce > 0) {
            std::string pcm(produce, 'p');
            output.write(pcm.data(), produce);
        }
        return produce;
    }
    int minimumInput() override { return minimum; }

    int produce = 0;
    int minimum = 1;
    int calls = 0;
    int lastLimit = 0;
};

class StreamDecoderProbe
{
public:
    explicit StreamDecoderProbe(StreamDecoder &run) : run(run) {}
    // The window's current run, or null.
    static StreamDecoder *runOf(QuenloDialog &dialog) { return dialog.decoder; }

    // Replaces the run's decoder with a scripted one, and its connection with one that is
    // never started (or none).
    ScriptedDecoder &script(bool withConnection)
    {
        delete run.audioDecoder;
        auto *scripted = new ScriptedDecoder(run.input, run.output);
        run.audioDecoder = scripted;
        delete run.connection;
        run.connection = nullptr;
        if (withConnection) {
            int error = 0;
            run.connection = eHTTPConnection::doRequest("http://127.0.0.1:1/", eApp, &error);
        }
        return *scripted;
    }
    void fill(eIOBuffer &buffer, int bytes)
    {
        std::string filler(bytes, 'x');
        buffer.write(filler.data(), bytes);
    }
    void setOutput(int bytes)
    {
        run.output.clear();
        fill(run.output, bytes);
    }
    void setInput(int bytes)
    {
        run.input.clear();
        fill(run.input, bytes);
    }

    int &state() { return run.state; }
    int minBuffer() const { return run.minBufferBytes; }
    int outputSize() const { return run.output.size(); }
    eHTTPConnection *connection() const { return run.connection; }
    eSocketNotifier *notifier() const { return run.dspNotifier; }
    AudioFormat &dspFormat() { return run.dspFormat; }
    AudioFormat &decoderFormat() { return run.audioDecoder->format; }
    const std::string streamTitle() const { return run.streamTitle; }
    const std::string streamUrl() const { return run.streamUrl; }

    void checkFlow() { run.checkFlow(0); }
    void outputReady() { run.outputReady(4); }
    void streamingDone(int result) { run.streamingDone(result); }
    void metaData(const std::string &text) { run.metaDataUpdated(text); }
    // A sink as the connection would ask for it, with these response headers.
    scHTTPStream *sinkWithHeaders(const std::map<eString, eString> &headers)
    {
        int error = 0;
        sinkConnection.reset(eHTTPConnection::doRequest("http://127.0.0.1:1/", eApp, &error));
        sinkConnection->responseHeaders = headers;
        ownedSink.reset(static_cast<scHTTPStream *>(run.createStreamSink(sinkConnection.get())));
        return ownedSink.get();
    }

private:
    StreamDecoder &run;
    std::unique_ptr<eHTTPConnection> sinkConnection;
    std::unique_ptr<scHTTPStream> ownedSink;
};

#endif
