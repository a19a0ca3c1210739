// Putting untrusted text into a shell command line.
#ifndef QUENLORA_PLUGIN_SHELL_WORDS_H
#define QUENLORA_PLUGIN_SHELL_WORDS_H

#include <estring.h>

// text as one shell word that the shell reads back unchanged, whatever it holds.
eString shellQuoted(const char *text);

#endif
