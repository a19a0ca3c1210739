#include "stream_decoder.h"

#include <fcntl.h>
#include <unistd.h>

#include <boxpath.h>
#include <edebug.h>
#include <gettext.h>

#include "box_files.h"
#include "icy_stream.h"
#include "quenlo_dialog.h"

StreamDecoder::StreamDecoder(const char *url, QuenloDialog *dialog, int minBufferBytes)
    : dialog(dialog), input(8192), output(262144), lock(100)
{
    state = Starting;
    connection = 0;
    sink = 0;
    requestError = 0;

    connection = eHTTPConnection::doRequest(url, eApp, &requestError);
    if (!connection) {
        streamingDone(requestError);
    } else {
        connection->transferDone.connect(SigC::slot(*this, &StreamDecoder::streamingDone));
        connection->createDataSink.connect(SigC::slot(*this, &StreamDecoder::createStreamSink));
        connection->requestHeaders["User-Agent"] = "Quenlora-mp3/1.0.0";
        connection->requestHeaders["Icy-MetaData"] = "1";
        connection->start();
        statusText = _("Connecting...");
        dialog->setStatus(statusText);
    }

    dspFormat.setupPending = 1;
    dspFd = open(boxPath(AUDIO_DEVICE).c_str(), O_WRONLY | O_NONBLOCK);
    if (dspFd < 0) {
        eDebug("output failed! (%m)");
        state = NoDevice;
        dspNotifier = 0;
    } else {
        dspNotifier = new eSocketNotifier(eApp, dspFd, 4, false);
        dspNotifier->activated.connect(SigC::slot(*this, &StreamDecoder::outputReady));
    }

    audioDecoder = new eAudioDecoderMP3(input, output);

    highWaterMark = 262144;
    // Playing starts only below the mark: a larger (hand-edited) setting would never play.
    if (minBufferBytes >= highWaterMark) {
        eDebug("minimum buffer %d is not below %d: using %d", minBufferBytes, highWaterMark,
               highWaterMark - 1);
        minBufferBytes = highWaterMark - 1;
    }
    this->minBufferBytes = minBufferBytes;
}

StreamDecoder::~StreamDecoder()
{
    dspSync();
    if (dspNotifier)
        delete dspNotifier;
    if (dspFd >= 0)
        close(dspFd);
    if (connection)
        delete connection;
    if (audioDecoder)
        delete audioDecoder;
    eDebug("StreamDecoder::~StreamDecoder - start/end");
}

void StreamDecoder::streamingDone(int result)
{
    if (!result && connection && connection->statusCode == 200) {
        state = Finished;
        if (dspNotifier)
            dspNotifier->start();
        eDebug("streaming ended");
        connection = 0;
        return;
    }

    {
        eLocker locker(lock, 100);
        if (!result && connection)
            statusText.sprintf("error: %d (%s)", connection->statusCode,
                               connection->reasonText.c_str());
        else if (!result)
            statusText = "unknown";
        else if (result == -2)
            statusText = "Can't resolve hostname!";
        else if (result == -3)
            statusText = "Can't connect!";
        else
            statusText.sprintf("unknown error %d", result);
        dialog->setError(statusText.c_str());
    }
    connection = 0;
}

eHTTPDataSource *StreamDecoder::createStreamSink(eHTTPConnection *connection)
{
    eDebug("creating the stream sink");
    sink = new scHTTPStream(connection, input);
    sink->dataArrived.connect(SigC::slot(*this, &StreamDecoder::decodeMoreHTTP));
    sink->metaDataArrived.connect(SigC::slot(*this, &StreamDecoder::metaDataUpdated));
    statusText = _("playing...");
    eDebug("%s", statusText.c_str());
    return sink;
}

void StreamDecoder::newAudioStreamIdFound(unsigned int id)
{
    eDebug("StreamDecoder::newAudioStreamIdFound(%02x)", id);
}
