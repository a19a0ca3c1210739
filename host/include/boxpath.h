// Where the box's fixed paths live on this machine.
#ifndef QUENLORA_BOXPATH_H
#define QUENLORA_BOXPATH_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include "estring.h"

// Maps a box path ("/var/etc/stations.xml", "/dev/sound/dsp", ...) to the file to use.
// With nothing configured every path maps to itself.
eString boxPath(const char *path);

#pragma GCC visibility pop

#endif
