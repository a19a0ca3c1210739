// SIGINT and SIGTERM become a quit of every modal run, handled on the main loop.
#ifndef QUENLORA_APP_SIGNALS_H
#define QUENLORA_APP_SIGNALS_H

#include <memory>

#include "emainloop.h"

namespace app
{

class QuitSignals
{
public:
    // Installs the handlers (and ignores SIGPIPE); false when the pipe cannot be made.
    bool install();
    ~QuitSignals();

private:
    void received(int);
    std::unique_ptr<eSocketNotifier> notifier;
};

} // namespace app

#endif
