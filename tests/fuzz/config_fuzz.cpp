// The configuration store's reader under any file. Storing one value must keep everything else
// a person wrote: every key reads back as before and every line the reader did not understand
// is still in the file, byte for byte.
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_box.h"
#include "store.h"

namespace
{
void check(bool holds, const char *what)
{
    if (!holds) {
        fprintf(stderr, "config: %s\n", what);
        abort();
    }
}

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The key of a line the reader takes as key=value, or "" for a line it keeps as it stands.
std::string keyOf(const std::string &line)
{
    if (line.empty() || line[0] == '#')
        return "";
    const size_t equals = line.find('=');
    if (equals == 0 || equals == std::string::npos)
        return "";
    for (size_t i = 0; i < equals; ++i) {
        const unsigned char c = line[i];
        if (c <= ' ' || c == 0x7F)
            return "";
    }
    return line.substr(0, equals);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    const std::string path = FuzzBox::instance().write("var/etc/fuzz.conf", text);
    const std::string stored = "/quenlora/minbuffersize";

    eConfig::Store before(path);
    check(before.set(stored, "4096"), "the file could not be written");
    eConfig::Store after(path);
    check(after.get(stored) == std::optional<std::string>("4096"), "the stored value is lost");

    const std::string rewritten = testing_support::readFile(path);
    const std::vector<std::string> newLines = linesOf(rewritten);
    for (const std::string &line : linesOf(text)) {
        const std::string key = keyOf(line);
        if (key.empty()) {
            bool kept = false;
            for (const std::string &l : newLines)
                kept = kept || l == line;
            check(kept, "a line the reader did not understand was lost");
        } else if (key != stored) {
            check(after.get(key) == before.get(key), "another key's value changed");
        }
    }
    return 0;
}
