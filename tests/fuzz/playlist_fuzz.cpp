// The playlist lookup over any downloaded file, compared with a reading of the file worked out
// here: the first line that is "File1", optional blanks and "=" decides; its value, trimmed,
// is taken when the line is whole and the value fits the caller's buffer.
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_box.h"
#include "playlist.h"

namespace
{
const size_t longestLine = 4095;

bool trimmed(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// 1 and the value, or -1.
int lookUp(const std::string &file, const std::string &tag, std::string &value)
{
    size_t start = 0;
    while (start < file.size()) {
        size_t end = file.find('\n', start);
        if (end == std::string::npos)
            end = file.size();
        std::string line = file.substr(start, end - start);
        start = end + 1;
        const bool cut = line.size() > longestLine;
        line = line.substr(0, longestLine);
        line = line.substr(0, line.find('\0'));
        if (line.compare(0, tag.size(), tag) != 0)
            continue;
        size_t at = tag.size();
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
            ++at;
        if (at >= line.size() || line[at] != '=')
            continue;
        std::string raw = line.substr(at + 1);
        size_t first = 0, last = raw.size();
        while (first < last && trimmed(raw[first]))
            ++first;
        while (last > first && trimmed(raw[last - 1]))
            --last;
        raw = raw.substr(first, last - first);
        if (cut || raw.size() >= PLAYLIST_VALUE_SIZE)
            return -1;
        value = raw;
        return 1;
    }
    return -1;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string file(reinterpret_cast<const char *>(data), size);
    FuzzBox::instance().write("tmp/qnlora.tmp", file);

    char tag[] = "File1";
    char value[PLAYLIST_VALUE_SIZE];
    memset(value, 'u', sizeof value);
    const int found = gettag(tag, value);

    std::string expected;
    const int expectedFound = lookUp(file, tag, expected);
    bool same = found == expectedFound;
    if (same && found == 1)
        same = strnlen(value, sizeof value) < sizeof value && value == expected;
    if (same && found != 1)
        same = std::string(value, sizeof value) == std::string(sizeof value, 'u'); // untouched
    if (!same) {
        fprintf(stderr, "playlist: gettag gave %d, expected %d '%s'\n", found, expectedFound,
                expected.c_str());
        abort();
    }
    return 0;
}
