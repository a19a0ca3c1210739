#include "boxpath.h"

#include <cstring>

#include "boxpaths.h"

namespace boxpaths
{
namespace
{
std::string rootDir;
std::string device;
} // namespace

void setRoot(const std::string &r)
{
    rootDir = r;
    while (rootDir.size() > 1 && rootDir.back() == '/')
        rootDir.pop_back();
}

const std::string &root()
{
    return rootDir;
}

void setAudioDevice(const std::string &d)
{
    device = d;
}
} // namespace boxpaths

eString boxPath(const char *path)
{
    if (!path)
        return eString();
    if (strcmp(path, boxpaths::audioDevice) == 0)
        return boxpaths::device.empty() ? eString(path) : eString(boxpaths::device);
    if (path[0] == '/' && !boxpaths::rootDir.empty())
        return eString(boxpaths::rootDir + path);
    return eString(path);
}
