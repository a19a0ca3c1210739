// Hands queued keys to the toolkit one per turn of the main loop, and only while a modal run is
// waiting for them. Keys that arrive together (a script's lines, fast typing, a test's queue)
// thus reach the windows that are open when each key's turn comes: a box that one key closes
// does not swallow the next one meant for the window behind it.
#ifndef QUENLORA_GUI_KEY_FEEDER_H
#define QUENLORA_GUI_KEY_FEEDER_H

#include <deque>
#include <memory>

#include <sigc++/sigc++.h>

class eTimer;

namespace gui
{

class KeyFeeder : public sigc::trackable
{
public:
    KeyFeeder();
    ~KeyFeeder();
    void push(int key);
    bool pending() const { return !queue.empty(); }
    void clear() { queue.clear(); }

private:
    void deliver();

    std::deque<int> queue;
    std::unique_ptr<eTimer> timer;
};

} // namespace gui

#endif
