// Play resolves the chosen station through its playlist to a stream address and starts a
// playback run; Stop ends it.
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <boxpath.h>
#include <econfig.h>
#include <edebug.h>
#include <gettext.h>

#include "box_files.h"
#include "playlist.h"
#include "quenlo_dialog.h"
#include "shell_words.h"
#include "stream_decoder.h"

namespace
{
// A playlist address longer than this is no address a station would have.
const size_t longestPlaylistAddress = 8192;

// The download may not run for ever (a live stream, a stalled server) nor retry, and a
// playlist larger than 1 MB (2048 blocks of 512 bytes) is no playlist.
const char *const playCommand = "ulimit -f 2048; timeout -k 5 15 wget --tries=1 -O %s -- %s";
} // namespace

void QuenloDialog::playStream()
{
    eDebug("QuenloDialog::playStream - start");
    eListBoxEntryText *entry = stationBox->getCurrent();
    if (entry) {
        playButton->hide();
        closeButton->hide();
        settingsButton->hide();
        aboutButton->hide();
        stopButton->show();
        minimiseButton->show();
        setStatus(_("Locating Server..."));

        if (decoder) {
            delete decoder;
            decoder = 0;
        }

        const char *playlist = (const char *)entry->getKey();
        if (!playlist) {
            eDebug("the station has no playlist address");
        } else if (strlen(playlist) > longestPlaylistAddress) {
            eDebug("the station's playlist address is too long");
        } else {
            eString command;
            command.sprintf(playCommand, shellQuoted(boxPath(PLAYLIST_FILE).c_str()).c_str(),
                            shellQuoted(playlist).c_str());
            eDebug("play stream command: %s", command.c_str());
            if (!system(command.c_str())) {
                char streamURL[PLAYLIST_VALUE_SIZE];
                int found = -1;
                for (int attempt = 0; attempt < 10 && found == -1; attempt++) {
                    sleep(1);
                    found = gettag((char *)"File1", streamURL);
                }
                if (found != -1) {
                    int minBufferBytes = 0;
                    eConfig::instance()->getKey("/quenlora/minbuffersize", minBufferBytes);
                    if (!minBufferBytes)
                        minBufferBytes = 8192;
                    decoder = new StreamDecoder(streamURL, this, minBufferBytes);
                    eDebug("streamURL: %s", streamURL);
                }
            }
        }
    }
    eDebug("QuenloDialog::playStream - end");
}

void QuenloDialog::stopStream()
{
    if (decoder) {
        delete decoder;
        decoder = 0;
    }
    titleValue->setText(_("None"));
    genreValue->setText(_("None"));
    songValue->setText(_("None"));
    setStatus(_("Stopped."));
    minimiseButton->hide();
    stopButton->hide();
    aboutButton->show();
    settingsButton->show();
    closeButton->show();
    playButton->show();
}
