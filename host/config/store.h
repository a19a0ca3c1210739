// The configuration file: one key=value line per key, readable and editable by a person.
// Lines it does not understand are kept as they were whenever the file is rewritten.
#ifndef QUENLORA_CONFIG_STORE_H
#define QUENLORA_CONFIG_STORE_H

#include <optional>
#include <string>
#include <vector>

#include "econfig.h"

class eConfig::Store
{
public:
    // Reads the file; a missing file is an empty store.
    explicit Store(std::string path);

    std::optional<std::string> get(const std::string &key) const;
    // Sets the value in memory and rewrites the file atomically; false when writing failed.
    bool set(const std::string &key, const std::string &value);
    const std::string &path() const { return file; }

private:
    struct Line {
        std::string text; // the line as read, for lines kept verbatim
        std::optional<std::string> key;
        std::string value;
        bool crlf = false; // the line ended in CR LF, and is written back with it
    };
    bool save() const;

    std::string file;
    std::vector<Line> lines;
};

namespace config
{
// Makes eConfig::instance() use the file at path from now on.
void useFile(const std::string &path);
// Writes the whole text to path atomically: a temporary file beside it, fsync, rename, fsync
// of the folder. On failure the old file stays and errno tells why.
bool writeFileAtomically(const std::string &path, const std::string &text);
} // namespace config

#endif
