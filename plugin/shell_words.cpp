#include "shell_words.h"

// Inside single quotes nothing is special but the single quote itself, which is closed,
// escaped and reopened.
eString shellQuoted(const char *text)
{
    eString word = "'";
    for (const char *c = text; *c; ++c) {
        if (*c == '\'')
            word += "'\\''";
        else
            word += *c;
    }
    word += "'";
    return word;
}
