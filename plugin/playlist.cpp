#include "playlist.h"

#include <cstdio>
#include <cstring>

#include <boxpath.h>

#include "box_files.h"

namespace
{
// The longest line kept; a longer one holds no value that fits and is read past.
const int lineSize = 4096;

bool isTrimmed(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Reads one whole line (its line feed dropped) into line; false at the end of the file.
// *cut tells that the line was longer than the buffer and only its start is in it.
bool readLine(FILE *file, char *line, bool *cut)
{
    int length = 0;
    int c;
    *cut = false;
    while ((c = getc(file)) != EOF && c != '\n') {
        if (length < lineSize - 1)
            line[length++] = (char)c;
        else
            *cut = true;
    }
    line[length] = 0;
    return c != EOF || length > 0 || *cut;
}
} // namespace

char *strip(char *text)
{
    while (*text && isTrimmed(*text))
        text++;
    char *end = text + strlen(text);
    while (end > text && isTrimmed(end[-1]))
        *--end = 0;
    return text;
}

int gettag(char *tag, char *value)
{
    printf("GetTag Requested -> %s\n", tag);
    FILE *file = fopen(boxPath(PLAYLIST_FILE).c_str(), "r");
    if (!file)
        return -1;

    static char line[lineSize];
    size_t tagLength = strlen(tag);
    int found = -1;
    bool cut;
    while (readLine(file, line, &cut)) {
        if (strncmp(line, tag, tagLength))
            continue;
        char *equals = line + tagLength;
        while (*equals == ' ' || *equals == '\t')
            equals++;
        if (*equals != '=')
            continue;
        // The first line with the tag decides; a value too long for the caller is not taken.
        *equals = 0;
        char *raw = equals + 1;
        printf("Tag -> %s\n", line);
        printf("Value -> %s\n", raw);
        char *trimmed = strip(raw);
        if (!cut && strlen(trimmed) < PLAYLIST_VALUE_SIZE) {
            strcpy(value, trimmed);
            found = 1;
        }
        break;
    }
    fclose(file);
    return found;
}
