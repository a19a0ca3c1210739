// quenlora: runs the radio plug-in the way the set-top box does, with a terminal (or standard
// input) for its remote control.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "boxpath.h"
#include "boxpaths.h"
#include "edebug.h"
#include "log.h"
#include "options.h"
#include "output_to_log.h"
#include "plugin_loader.h"
#include "screen.h"
#include "signals.h"
#include "snapshot.h"
#include "startup.h"

namespace
{
int fail(const std::string &message)
{
    fprintf(stderr, "quenlora: %s\n", message.c_str());
    return 1;
}

// Where the output pipe cannot be made: straight into the file, which the children's size
// limits then hold for too.
void redirectOutputTo(const std::string &logPath)
{
    const int fd = ::open(logPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0) {
        fflush(stdout);
        fflush(stderr);
        dup2(fd, STDOUT_FILENO);
        dup2(fd, STDERR_FILENO);
        ::close(fd);
        setvbuf(stdout, nullptr, _IOLBF, 0);
    }
}

// A descriptor 0, 1 or 2 that was closed would be taken by the next file opened (the log, the
// signal pipe) and then read as keys or written as output: give them /dev/null instead.
void keepStandardDescriptorsTaken()
{
    for (int fd = 0; fd <= 2; ++fd)
        if (fcntl(fd, F_GETFD) < 0)
            ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
}
} // namespace

int main(int argc, char **argv)
{
    keepStandardDescriptorsTaken();
    std::string error;
    const auto options = app::parseOptions(argc, argv, error);
    if (!options) {
        fprintf(stderr, "quenlora: %s\n%s", error.c_str(), app::usage);
        return 2;
    }
    if (options->help) {
        fputs(app::usage, stdout);
        return 0;
    }

    app::setUpLocale();
    const std::string here = app::executableDir();
    app::setUpTranslations(here);

    const bool defaultRoot = options->root.empty();
    const std::string root = defaultRoot ? app::defaultRoot() : options->root;
    if (!app::prepareRoot(root, defaultRoot, error))
        return fail(error);
    boxpaths::setRoot(root);
    if (!options->dsp.empty()) {
        app::prepareDevice(options->dsp);
        boxpaths::setAudioDevice(options->dsp);
    }

    const std::string logPath =
        options->log.empty() ? root + "/var/log/quenlora.log" : options->log;
    if (!logging::openFile(logPath))
        return fail("cannot open the log " + logPath + ": " + strerror(errno));
    eDebug("quenlora starts: root %s, audio device %s", root.c_str(),
           boxPath(boxpaths::audioDevice).c_str());

    const std::string pluginPath =
        options->plugin.empty() ? app::defaultPlugin(here) : options->plugin;
    app::PluginLibrary plugin;
    if (!plugin.load(pluginPath, error))
        return fail("cannot load the plug-in: " + error);

    app::QuitSignals signals;
    if (!signals.install())
        return fail("cannot set up signal handling");

    const int reportFd = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    std::unique_ptr<render::Screen> screen;
    if (options->screen == "none")
        screen = render::makeLineScreen(reportFd);
    else if (options->screen == "window")
        screen = render::makeWindowScreen();
    else
        screen = render::makeTerminalScreen();
    if (!screen->open(error))
        return fail(error);
    std::unique_ptr<render::Snapshot> snapshot;
    if (!options->snapshot.empty()) {
        snapshot = std::make_unique<render::Snapshot>(options->snapshot);
        if (!snapshot->open(error)) {
            screen->close();
            return fail(error);
        }
    }
    logging::setFatalDescriptor(reportFd);
    logging::setFatalHook([&screen] { screen->close(); });

    // From here on the process's own output (wget's messages, printf) goes to the log, so
    // nothing garbles the screen.
    app::OutputToLog output;
    if (!output.start()) {
        eDebug("cannot make the output pipe (%m): output goes to the log file directly");
        redirectOutputTo(logPath);
    }
    const int result = plugin.entry()(nullptr);
    eDebug("plugin_exec returned %d", result);

    screen->close();
    logging::setFatalHook(nullptr);
    return 0;
}
