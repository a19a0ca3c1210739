#include "key_feeder.h"

#include "desktop.h"
#include "keys.h"
#include "timer.h"

namespace gui
{

namespace
{
// While no run waits for keys the program is busy; look again after a short while.
const int busyRetryMs = 10;
} // namespace

KeyFeeder::KeyFeeder() : timer(std::make_unique<eTimer>(eApp))
{
    timer->timeout.connect(sigc::mem_fun(*this, &KeyFeeder::deliver));
}

KeyFeeder::~KeyFeeder() = default;

void KeyFeeder::push(int key)
{
    queue.push_back(key);
    if (!timer->isActive())
        timer->start(0);
}

void KeyFeeder::deliver()
{
    if (queue.empty())
        return;
    Desktop &desktop = Desktop::instance();
    const int key = queue.front();
    // A quit needs no window: it also ends the runs that have not begun yet.
    if (key != KeyQuit && !desktop.innermostModal()) {
        timer->start(busyRetryMs);
        return;
    }
    queue.pop_front();
    // Armed before the key is handled: the key may open a modal run that needs the next one.
    if (!queue.empty())
        timer->start(0);
    desktop.handleKey(key);
}

} // namespace gui
