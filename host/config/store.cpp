#include "store.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <unistd.h>

#include "boxpath.h"
#include "edebug.h"

namespace
{
bool validKey(const std::string &key)
{
    if (key.empty())
        return false;
    for (unsigned char c : key)
        if (c <= ' ' || c == '=' || c == 0x7F)
            return false;
    return true;
}

bool writeAll(int fd, const std::string &text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}
} // namespace

namespace config
{
bool writeFileAtomically(const std::string &path, const std::string &text)
{
    const std::string temporary = path + ".tmp." + std::to_string(getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, text) && fsync(fd) == 0;
    int savedErrno = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        errno = savedErrno;
        return false;
    }
    // The rename itself must reach the disk before a power cut.
    const int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        ::close(dir);
    }
    return true;
}
} // namespace config

eConfig::Store::Store(std::string path) : file(std::move(path))
{
    std::ifstream in(file, std::ios::binary);
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        Line line{text, std::nullopt, "", false};
        const size_t eq = text.find('=');
        const bool comment = text.empty() || text[0] == '#';
        if (!comment && eq != std::string::npos && validKey(text.substr(0, eq))) {
            line.key = text.substr(0, eq);
            line.value = text.substr(eq + 1);
            if (!line.value.empty() && line.value.back() == '\r') {
                line.value.pop_back();
                line.crlf = true;
            }
        } else if (!comment) {
            eDebug("config: %s line %d not understood, kept as it is", file.c_str(), number);
        }
        lines.push_back(std::move(line));
    }
}

std::optional<std::string> eConfig::Store::get(const std::string &key) const
{
    // The last line of a key counts, as a person appending a line would expect.
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        if (it->key && *it->key == key)
            return it->value;
    return std::nullopt;
}

bool eConfig::Store::set(const std::string &key, const std::string &value)
{
    Line *target = nullptr;
    for (auto it = lines.rbegin(); it != lines.rend() && !target; ++it)
        if (it->key && *it->key == key)
            target = &*it;
    if (!target) {
        lines.push_back(Line{"", key, "", false});
        target = &lines.back();
    }
    target->value = value;
    return save();
}

bool eConfig::Store::save() const
{
    std::string text;
    for (const Line &line : lines)
        text += line.key ? *line.key + "=" + line.value + (line.crlf ? "\r\n" : "\n")
                         : line.text + "\n";
    if (config::writeFileAtomically(file, text))
        return true;
    eDebug("config: cannot write %s (%m); the old file is kept", file.c_str());
    return false;
}

namespace
{
std::unique_ptr<eConfig> current;
}

namespace config
{
void useFile(const std::string &path)
{
    current = std::make_unique<eConfig>(std::make_unique<eConfig::Store>(path));
}
} // namespace config

eConfig::eConfig(std::unique_ptr<Store> s) : store(std::move(s)) {}

eConfig::~eConfig() = default;

eConfig *eConfig::instance()
{
    if (!current)
        config::useFile(boxPath("/var/etc/quenlora.conf"));
    return current.get();
}

int eConfig::getKey(const char *key, int &value)
{
    if (!key)
        return -1;
    const auto text = store->get(key);
    if (!text)
        return -1;
    errno = 0;
    char *end = nullptr;
    const long parsed = strtol(text->c_str(), &end, 10);
    if (text->empty() || *end != '\0' || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) {
        eDebug("config: %s=%s is no whole number; ignored", key, text->c_str());
        return -1;
    }
    value = static_cast<int>(parsed);
    return 0;
}

int eConfig::setKey(const char *key, const int &value)
{
    if (!key || !validKey(key))
        return -1;
    return store->set(key, std::to_string(value)) ? 0 : -1;
}
