#include "file_replacement.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <edebug.h>

namespace
{
// The permissions a file created now would get.
mode_t defaultMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// A rename reaches the disk only once the folder that holds the name has been flushed.
void syncFolderOf(const eString &path)
{
    const size_t slash = path.rfind('/');
    const eString folder = slash == eString::npos ? eString(".")
                           : slash == 0           ? eString("/")
                                                  : eString(path.substr(0, slash));
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}
} // namespace

FileReplacement::FileReplacement(const char *path) : target(path), created(false), committed(false)
{
    // A link is followed, so that the file it names is the one replaced, as writing it would.
    char *real = realpath(path, 0);
    if (real) {
        target = real;
        free(real);
    }
    eString pattern(target);
    pattern += ".XXXXXX";
    char *name = strdup(pattern.c_str());
    const int fd = mkstemp(name);
    if (fd >= 0) {
        close(fd);
        temporary = name;
        created = true;
    } else {
        eDebug("cannot create a file beside %s: %s", target.c_str(), strerror(errno));
    }
    free(name);
}

FileReplacement::~FileReplacement()
{
    if (created && !committed)
        unlink(temporary.c_str());
}

bool FileReplacement::commit()
{
    if (!created || committed)
        return false;
    struct stat old;
    const mode_t mode = stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : defaultMode();
    const int fd = open(temporary.c_str(), O_RDONLY);
    if (fd < 0 || fchmod(fd, mode) != 0 || fsync(fd) != 0) {
        eDebug("cannot flush %s: %s", temporary.c_str(), strerror(errno));
        if (fd >= 0)
            close(fd);
        return false;
    }
    close(fd);
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        eDebug("cannot rename %s to %s: %s", temporary.c_str(), target.c_str(), strerror(errno));
        return false;
    }
    committed = true;
    syncFolderOf(target);
    return true;
}
