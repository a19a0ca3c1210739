// The host application's command line.
#ifndef QUENLORA_APP_OPTIONS_H
#define QUENLORA_APP_OPTIONS_H

#include <optional>
#include <string>

namespace app
{

struct Options {
    std::string root; // "" : the default root
    std::string dsp;  // "" : /dev/sound/dsp itself
    std::string log;  // "" : var/log/quenlora.log under the root
    std::string screen = "terminal";
    std::string plugin;   // "" : quenlora.so beside the executable
    std::string snapshot; // "" : no picture of the display
    bool help = false;
};

// The options, or nothing with a message in error.
std::optional<Options> parseOptions(int argc, char **argv, std::string &error);
extern const char *const usage;

} // namespace app

#endif
