// A new version of a file, written beside it and put in its place in one step, so that the old
// file stays whole until the new one is complete and has been checked.
#ifndef QUENLORA_SETTINGS_FILE_REPLACEMENT_H
#define QUENLORA_SETTINGS_FILE_REPLACEMENT_H

#include <estring.h>

class FileReplacement
{
    eString target;
    eString temporary;
    bool created;
    bool committed;

public:
    // Creates an empty temporary file in the folder of the file at path (of the file a link
    // there points to).
    explicit FileReplacement(const char *path);
    // Removes the temporary file unless it took the target's place.
    ~FileReplacement();

    // Whether the temporary file could be created.
    bool isOpen() const { return created; }
    const char *path() const { return temporary.c_str(); }

    // Gives the new file the old one's permissions, flushes it to the disk and renames it over
    // the target. Returns false (the target untouched) when any step fails.
    bool commit();
};

#endif
