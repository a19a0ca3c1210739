// The box's fixed paths that the radio uses. Each goes through boxPath() wherever a file is
// opened or a command line is built; what the user is told names the box path itself.
#ifndef QUENLORA_PLUGIN_BOX_FILES_H
#define QUENLORA_PLUGIN_BOX_FILES_H

#define STATIONS_FILE "/var/etc/stations.xml"
#define PLAYLIST_FILE "/tmp/qnlora.tmp"
#define AUDIO_DEVICE "/dev/sound/dsp"

#endif
