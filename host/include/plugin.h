// The entry point a plug-in exports for the host application.
#ifndef QUENLORA_PLUGIN_H
#define QUENLORA_PLUGIN_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

// What the host passes to the plug-in; the radio uses none of it.
struct PluginParam;

extern "C" int plugin_exec(PluginParam *parameters);

#pragma GCC visibility pop

#endif
