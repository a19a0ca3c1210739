#include "startup.h"

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <libintl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "default_stations.h"
#include "store.h"

namespace app
{

namespace
{
bool isDirectory(const std::string &path)
{
    struct stat st {
    };
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool exists(const std::string &path)
{
    struct stat st {
    };
    return lstat(path.c_str(), &st) == 0;
}

// mkdir -p
bool makeDirectories(const std::string &path)
{
    std::string partial;
    size_t at = 0;
    while (at != std::string::npos) {
        at = path.find('/', at + 1);
        partial = path.substr(0, at);
        if (partial.empty() || isDirectory(partial))
            continue;
        if (mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    return isDirectory(path);
}

bool isPlainLocale(const char *name)
{
    return !name || !*name || strcmp(name, "C") == 0 || strcmp(name, "POSIX") == 0;
}
} // namespace

void setUpLocale()
{
    const char *chosen = setlocale(LC_ALL, "");
    if (!chosen || isPlainLocale(setlocale(LC_CTYPE, nullptr)))
        setlocale(LC_ALL, "C.UTF-8");
}

std::string executableDir()
{
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    path[n] = 0;
    std::string dir(path);
    return dir.substr(0, dir.rfind('/'));
}

void setUpTranslations(const std::string &dir)
{
    std::string catalogues = dir + "/locale";
    if (!isDirectory(catalogues))
        catalogues = dir + "/../share/locale";
    bindtextdomain("quenlora", catalogues.c_str());
    bind_textdomain_codeset("quenlora", "UTF-8");
    textdomain("quenlora");
}

std::string defaultPlugin(const std::string &dir)
{
    const std::string beside = dir + "/quenlora.so";
    if (exists(beside))
        return beside;
    return dir + "/../lib/quenlora/quenlora.so";
}

std::string defaultRoot()
{
    const char *data = getenv("XDG_DATA_HOME");
    if (data && data[0] == '/')
        return std::string(data) + "/quenlora";
    const char *home = getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/quenlora";
}

bool prepareRoot(const std::string &root, bool seed, std::string &error)
{
    const bool isNew = !exists(root + "/var/etc");
    for (const char *folder : {"/var/etc", "/tmp", "/var/log"})
        if (!makeDirectories(root + folder)) {
            error = "cannot create " + root + folder + ": " + strerror(errno);
            return false;
        }
    const std::string stations = root + "/var/etc/stations.xml";
    if (seed && isNew && !exists(stations) &&
        !config::writeFileAtomically(stations, defaultStations())) {
        error = "cannot write " + stations + ": " + strerror(errno);
        return false;
    }
    return true;
}

void prepareDevice(const std::string &path)
{
    if (exists(path))
        return;
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    if (!isDirectory(folder.empty() ? "/" : folder))
        return; // a device in a missing folder stays missing
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0)
        ::close(fd);
}

} // namespace app
