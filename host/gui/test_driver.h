// Drives the toolkit from a test as a person with a remote control would: queues keys, turns
// the main loop until something holds, reads what widgets show, and records every change of
// text and visibility in order (also those made inside a blocking call).
#ifndef QUENLORA_GUI_TEST_DRIVER_H
#define QUENLORA_GUI_TEST_DRIVER_H

#include <chrono>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "desktop.h"
#include "key_feeder.h"

class eWidget;

namespace gui
{

class TestDriver : public Observer
{
public:
    struct Event {
        const eWidget *widget;
        std::string className;
        Change change;
        std::string text; // the text after the change
        bool shown;       // the widget's own shown flag after the change
    };
    struct ModalRun {
        std::string className;
        std::string title;
        std::string message; // a message box's text
        int flags;           // a message box's flags
        int x, y;            // the client area's place
    };

    TestDriver();
    ~TestDriver() override;

    // Queues key names ("ok", "red", "5", "quit", ...); the main loop delivers one per turn,
    // so modal runs that open meanwhile take the keys that follow.
    void press(std::initializer_list<const char *> keys);
    void press(const std::vector<std::string> &keys);
    bool keysPending() const { return feeder.pending(); }

    // Turns the main loop until done() holds or the limit passes; returns done().
    bool runUntil(const std::function<bool()> &done,
                  std::chrono::milliseconds limit = std::chrono::seconds(5));
    // Turns the main loop until every queued key has been delivered.
    bool drainKeys(std::chrono::milliseconds limit = std::chrono::seconds(5));

    // The first existing widget of that class (and text, when given) below root, or anywhere.
    eWidget *find(const std::string &className, const std::string &text = "",
                  const eWidget *root = nullptr) const;
    std::vector<eWidget *> findAll(const std::string &className,
                                   const eWidget *root = nullptr) const;
    // The texts a widget was given, in order.
    std::vector<std::string> textsOf(const eWidget *widget) const;
    const std::vector<Event> &events() const { return log; }
    const std::vector<ModalRun> &modalRuns() const { return runs; }
    void clearRecords();
    // Called as each modal run begins, for checks of the state at that moment.
    void onModalRun(std::function<void(const eWidget &)> hook) { modalHook = std::move(hook); }

    void widgetChanged(const eWidget &widget, Change change) override;
    void modalRunBegins(const eWidget &window) override;

private:
    KeyFeeder feeder;
    std::vector<Event> log;
    std::vector<ModalRun> runs;
    Observer *previous;
    std::function<void(const eWidget &)> modalHook;
};

} // namespace gui

#endif
