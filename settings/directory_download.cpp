// Download: replaces the station directory file with a fresh list from the SHOUTcast
// directory, fetched by wget. The old file is replaced only by a download that is a station
// directory, so a failed or wrong answer loses nothing.
#include <stdlib.h>
#include <sys/wait.h>

#include <boxpath.h>
#include <edebug.h>
#include <emessagebox.h>
#include <gettext.h>

#include "box_files.h"
#include "file_replacement.h"
#include "settings_dialog.h"
#include "shell_words.h"
#include "station_file.h"

namespace
{
// The SHOUTcast directory service's web host.
const char *const directoryHost = "www.shoutcast.com";

// wget tries once, gives up on a server silent for 20 seconds, and the whole command ends
// within a minute (wget's defaults are 20 tries and 15 minutes of silence, with the box frozen
// meanwhile). A directory larger than 16 MB (32768 blocks of 512 bytes) is none.
const char *const downloadCommand =
    "ulimit -f 32768; timeout -k 5 60 wget --tries=1 --timeout=20 -O %s "
    "'http://%s/sbin/xmllister.phtml?service=quenlora&no_compress=1&limit=%d'";

// Whether the downloaded file is a station directory the main window can list.
bool isStationDirectory(const char *path)
{
    eString error;
    // A download cut short is none: the old file is worth more than the start of a new one.
    XMLTreeParser *parser = parseStationFile(path, path, true, error);
    if (!parser) {
        eDebug("the download is no station directory: %s", error.c_str());
        return false;
    }
    const int stations = countPlayableStations(parser->RootNode());
    delete parser;
    if (!stations) {
        eDebug("the download holds no station with a playlist address");
        return false;
    }
    eDebug("the download holds %d stations", stations);
    return true;
}

// Runs the download into replacement's file and puts it in place; whether that worked.
bool fetchDirectory(FileReplacement &replacement, int limit)
{
    if (!replacement.isOpen())
        return false;
    eString command;
    command.sprintf(downloadCommand, shellQuoted(replacement.path()).c_str(), directoryHost, limit);
    eDebug("download command: %s", command.c_str());
    const int status = system(command.c_str());
    if (status != 0) {
        if (status == -1 || !WIFEXITED(status))
            eDebug("the download command did not end normally (%d)", status);
        else
            eDebug("the download command failed with exit status %d", WEXITSTATUS(status));
        return false;
    }
    return isStationDirectory(replacement.path()) && replacement.commit();
}
} // namespace

void QuenloSettingsDialog::download()
{
    eMessageBox box(_("Do you want to replace /var/etc/stations.xml?"), _("Replace"), 76, 1, 0);
    box.show();
    const int answer = box.exec();
    box.hide();
    if (answer != eMessageBox::btYes)
        return;

    const int limit = limitNumber->getNumber();
    setStatus(_("Downloading XML..."));
    FileReplacement replacement(boxPath(STATIONS_FILE).c_str());
    if (fetchDirectory(replacement, limit))
        setStatus(_("Download complete..."));
    else
        setError(_("Download failed..."));
}
