// Reading a station's downloaded playlist (the "File1=..." lines of a PLS file).
#ifndef QUENLORA_PLUGIN_PLAYLIST_H
#define QUENLORA_PLUGIN_PLAYLIST_H

// The caller's buffer for a value, terminating NUL included.
#define PLAYLIST_VALUE_SIZE 256

// Looks tag up in the downloaded playlist: the first line that is the tag, optional blanks and
// "=" gives its value, trimmed, in value (PLAYLIST_VALUE_SIZE bytes). Returns 1, or -1 when the
// file cannot be read, holds no such line, or the value does not fit (value untouched then).
int gettag(char *tag, char *value);

// Trims blanks, tabs, carriage returns and line feeds from both ends, in place; returns the
// first character kept.
char *strip(char *text);

#endif
