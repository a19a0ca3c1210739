// The regulator between network, decoder and audio device. It runs after every delivery of
// network data and after every write to the device, and makes at most one decode call per run.
#include <sys/ioctl.h>
#include <sys/soundcard.h>

#include <edebug.h>
#include <gettext.h>

#include "quenlo_dialog.h"
#include "stream_decoder.h"

void StreamDecoder::checkFlow(int flags)
{
    int inSize = input.size();
    int outSize = output.size();
    // Buffering that overflows the mark in one go must still start the device (below).
    bool wasBuffering = false;

    if (!outSize) {
        if (state == Finished) {
            if (dspNotifier)
                dspNotifier->stop();
            eDebug("ok, everything played..");
            return;
        }
        if (state != Buffering) {
            dialog->setStatus(_("Buffering..."));
            state = Buffering;
            if (dspNotifier)
                dspNotifier->stop();
        }
    }

    if (outSize > highWaterMark) {
        // Finished is final: what is left plays out, nothing changes the state any more.
        if (state != Throttled && state != Finished) {
            if (connection)
                connection->disableRead();
            wasBuffering = state == Buffering;
            state = Throttled;
        }
    }

    if (outSize < highWaterMark) {
        int produced = 0;
        if (audioDecoder->minimumInput() <= inSize) {
            SigC::Signal1<void, unsigned int> newStreamId;
            newStreamId.connect(SigC::slot(*this, &StreamDecoder::newAudioStreamIdFound));
            produced = audioDecoder->decode(flags, 16384, &newStreamId);
            if (produced < 0) {
                state = Finished;
                eDebug("Stream ended");
                // Nothing more can be decoded: reading on would only fill the input.
                if (connection)
                    connection->disableRead();
            }
        }
        if (state != Finished && outSize + produced < highWaterMark) {
            if (state == Throttled)
                state = Playing;
            if (connection)
                connection->enableRead();
        }
    }

    if ((state == Buffering || wasBuffering) && outSize > minBufferBytes) {
        dialog->setStatus(_("Playing..."));
        if (state == Buffering)
            state = Playing;
        if (dspNotifier)
            dspNotifier->start();
        else
            dialog->setStatus(_("Error /dev/sound/dsp not found..."));
    }
}

void StreamDecoder::decodeMoreHTTP()
{
    checkFlow(0);
}

void StreamDecoder::outputReady(int)
{
    if (dspFormat.setupPending || dspFormat.sampleRate != audioDecoder->format.sampleRate ||
        dspFormat.channels != audioDecoder->format.channels) {
        dspFormat = audioDecoder->format;
        if (ioctl(dspFd, SNDCTL_DSP_SPEED, &dspFormat.sampleRate) < 0)
            eDebug("SNDCTL_DSP_SPEED failed (%m)");
        if (ioctl(dspFd, SNDCTL_DSP_CHANNELS, &dspFormat.channels) < 0)
            eDebug("SNDCTL_DSP_CHANNELS failed (%m)");
        if (ioctl(dspFd, SNDCTL_DSP_SETFMT, &dspFormat.sampleFormat) < 0)
            eDebug("SNDCTL_DSP_SETFMT failed (%m)");
    }
    output.tofile(dspFd, 65536);
    checkFlow(0);
}

void StreamDecoder::dspSync()
{
    eDebug("dspSync");
    if (ioctl(dspFd, SNDCTL_DSP_RESET) < 0)
        eDebug("SNDCTL_DSP_RESET failed (%m)");
}
