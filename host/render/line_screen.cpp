// The screen for scripts and services: nothing is drawn; key names arrive on standard input.
#include <string>
#include <unistd.h>

#include "desktop.h"
#include "dump.h"
#include "edebug.h"
#include "key_feeder.h"
#include "keys.h"
#include "mainloop.h"
#include "screen.h"

namespace render
{

namespace
{
class LineScreen : public Screen, public sigc::trackable
{
public:
    explicit LineScreen(int dumpFd) : dumpFd(dumpFd) {}

    bool open(std::string &) override
    {
        notifier = std::make_unique<eSocketNotifier>(eApp, STDIN_FILENO, eSocketNotifier::Read);
        notifier->activated.connect(sigc::mem_fun(*this, &LineScreen::readable));
        return true;
    }

    void close() override { notifier.reset(); }

private:
    void readable(int)
    {
        char buffer[512];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            // End of input: keep running until a key or a signal ends the program.
            notifier->stop();
            return;
        }
        pending.append(buffer, static_cast<size_t>(n));
        if (pending.size() > 4096 && pending.find('\n') == std::string::npos)
            pending.clear(); // no key name is that long
        size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            std::string name = pending.substr(0, end);
            pending.erase(0, end + 1);
            while (!name.empty() && (name.back() == '\r' || name.back() == ' '))
                name.pop_back();
            handle(name);
        }
    }

    void handle(const std::string &name)
    {
        if (name.empty())
            return;
        if (name == "dump") {
            const std::string tree = dumpWidgetTree();
            ssize_t ignored = ::write(dumpFd, tree.data(), tree.size());
            (void)ignored;
            return;
        }
        if (auto key = gui::keyFromName(name))
            keys.push(*key);
        else
            eDebug("screen: unknown key name \"%.40s\" ignored", name.c_str());
    }

    int dumpFd;
    std::unique_ptr<eSocketNotifier> notifier;
    std::string pending;
    gui::KeyFeeder keys;
};
} // namespace

std::unique_ptr<Screen> makeLineScreen(int dumpFd)
{
    return std::make_unique<LineScreen>(dumpFd);
}

} // namespace render
