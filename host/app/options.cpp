#include "options.h"

#include <cstring>

namespace app
{

const char *const usage =
    "Usage: quenlora [OPTION]...\n"
    "Internet radio for the set-top box, in a terminal or a window.\n"
    "\n"
    "  --root DIR       the box's file system root (default: $XDG_DATA_HOME/quenlora)\n"
    "  --dsp PATH       the audio device (default: /dev/sound/dsp)\n"
    "  --log FILE       the log (default: var/log/quenlora.log under the root)\n"
    "  --screen NAME    terminal (default), window (SDL2), or none (key names on standard\n"
    "                   input)\n"
    "  --snapshot FILE  keep FILE.png showing the display, with any screen\n"
    "  --plugin PATH    the plug-in to run (default: quenlora.so beside this program)\n"
    "  --help           this text\n"
    "\n"
    "Keys: arrows, Enter = OK, Esc = Exit, F1-F4 or r g y b = red green yellow blue,\n"
    "digits; Ctrl-C ends the program.\n";

std::optional<Options> parseOptions(int argc, char **argv, std::string &error)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        std::string name = arg, value;
        bool hasValue = false;
        const size_t eq = arg.find('=');
        if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            hasValue = true;
        }
        std::string *target = nullptr;
        if (name == "--root")
            target = &options.root;
        else if (name == "--dsp")
            target = &options.dsp;
        else if (name == "--log")
            target = &options.log;
        else if (name == "--screen")
            target = &options.screen;
        else if (name == "--plugin")
            target = &options.plugin;
        else if (name == "--snapshot")
            target = &options.snapshot;
        if (!target) {
            error = "unknown option '" + arg + "'";
            return std::nullopt;
        }
        if (!hasValue) {
            if (i + 1 >= argc) {
                error = "option '" + arg + "' needs a value";
                return std::nullopt;
            }
            value = argv[++i];
        }
        if (value.empty()) {
            error = "option '" + name + "' needs a value";
            return std::nullopt;
        }
        *target = value;
    }
    if (options.screen != "terminal" && options.screen != "window" && options.screen != "none") {
        error = "unknown screen '" + options.screen + "' (terminal, window or none)";
        return std::nullopt;
    }
    return options;
}

} // namespace app
