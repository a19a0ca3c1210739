// The plug-in as a loaded shared library.
#ifndef QUENLORA_APP_PLUGIN_LOADER_H
#define QUENLORA_APP_PLUGIN_LOADER_H

#include <string>

#include "plugin.h"

namespace app
{

class PluginLibrary
{
public:
    using Entry = int (*)(PluginParam *);

    ~PluginLibrary();
    // dlopen and the lookup of plugin_exec; false with dlerror's text.
    bool load(const std::string &path, std::string &error);
    Entry entry() const { return exec; }

private:
    void *handle = nullptr;
    Entry exec = nullptr;
};

} // namespace app

#endif
