#include "signals.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "desktop.h"
#include "edebug.h"
#include "emainloop.h"

namespace app
{

namespace
{
int pipeFds[2] = {-1, -1};

void onSignal(int number)
{
    const unsigned char byte = static_cast<unsigned char>(number);
    ssize_t ignored = ::write(pipeFds[1], &byte, 1);
    (void)ignored;
}
} // namespace

bool QuitSignals::install()
{
    if (pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
    notifier = std::make_unique<eSocketNotifier>(eApp, pipeFds[0], eSocketNotifier::Read);
    notifier->activated.connect([this](int events) { received(events); });
    return true;
}

QuitSignals::~QuitSignals()
{
    notifier.reset();
    if (pipeFds[0] >= 0) {
        signal(SIGINT, SIG_DFL);
        signal(SIGTERM, SIG_DFL);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        pipeFds[0] = pipeFds[1] = -1;
    }
}

void QuitSignals::received(int)
{
    unsigned char byte = 0;
    while (::read(pipeFds[0], &byte, 1) == 1)
        eDebug("signal %d: quitting", byte);
    gui::Desktop::instance().requestQuit();
}

} // namespace app
