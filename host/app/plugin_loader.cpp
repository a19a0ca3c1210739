#include "plugin_loader.h"

#include <dlfcn.h>

namespace app
{

PluginLibrary::~PluginLibrary()
{
    if (handle)
        dlclose(handle);
}

bool PluginLibrary::load(const std::string &path, std::string &error)
{
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char *why = dlerror();
        error = why ? why : ("cannot load " + path);
        return false;
    }
    exec = reinterpret_cast<Entry>(dlsym(handle, "plugin_exec"));
    if (!exec) {
        error = path + " has no plugin_exec";
        return false;
    }
    return true;
}

} // namespace app
