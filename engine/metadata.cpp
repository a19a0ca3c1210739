// The in-band metadata of an ICY stream: "StreamTitle='...';StreamUrl='...';" pairs, shown in
// the main window together with the station's name and genre from the response headers.
#include <edebug.h>

#include "icy_stream.h"
#include "quenlo_dialog.h"
#include "stream_decoder.h"

void StreamDecoder::metaDataUpdated(eString text)
{
    eLocker locker(lock, 100);

    if (text.substr(0, 6) != "Stream") {
        streamTitle = text;
    } else {
        eString rest = text;
        while (!rest.empty()) {
            eString::size_type equals = rest.find('=');
            if (equals == eString::npos)
                break;
            eString key = rest.substr(0, equals);
            rest = rest.substr(equals + 1);
            eString::size_type semicolon = rest.find(';');
            if (semicolon == eString::npos)
                break;
            eString value = rest.substr(0, semicolon);
            rest = rest.substr(semicolon + 1);
            if (key == "StreamTitle")
                streamTitle = value;
            else if (key == "StreamUrl")
                streamUrl = value;
            else
                eDebug("unknown tag: %s = %s", key.c_str(), value.c_str());
        }
    }

    dialog->setIcyName(sink->icyName);
    dialog->setIcyGenre(sink->icyGenre);
    dialog->setStreamTitle(streamTitle);
}
