// Preparing the process before the plug-in runs: locale, translations, the box root.
#ifndef QUENLORA_APP_STARTUP_H
#define QUENLORA_APP_STARTUP_H

#include <string>

namespace app
{

// setlocale from the environment; C.UTF-8 where that gives C, POSIX or nothing.
void setUpLocale();
// Binds the text domain to the catalogues beside the executable (build tree or prefix).
void setUpTranslations(const std::string &executableDir);
// The folder of the running executable.
std::string executableDir();
// quenlora.so beside the executable (the build tree), else in the installed lib/quenlora.
std::string defaultPlugin(const std::string &executableDir);
// $XDG_DATA_HOME/quenlora, or ~/.local/share/quenlora.
std::string defaultRoot();
// Creates the root's folders (var/etc, tmp, var/log); seeds the default directory of stations
// when seed is set and the root is new. False with a reason when the root cannot be made.
bool prepareRoot(const std::string &root, bool seed, std::string &error);
// Creates an empty device file when the path does not exist and its folder does.
void prepareDevice(const std::string &path);

} // namespace app

#endif
