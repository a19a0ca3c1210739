// The main window with its settings window opened by keys, as a person with a remote would.
#ifndef QUENLORA_TESTS_SETTINGS_FIXTURE_H
#define QUENLORA_TESTS_SETTINGS_FIXTURE_H

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "boxpaths.h"
#include "dialog_fixture.h"
#include "econfig.h"
#include "enumber.h"
#include "store.h"
#include "timer.h"

// Calls check every 10 ms of the main loop (nested runs included) until it returns true: a
// look at windows while a modal run holds the test's own call.
class LoopProbe
{
public:
    explicit LoopProbe(std::function<bool()> check) : check(std::move(check)), timer(eApp)
    {
        timer.timeout.connect([this] {
            if (this->check())
                timer.stop();
        });
        timer.start(10, false);
    }

private:
    std::function<bool()> check;
    eTimer timer;
};

class SettingsTest : public DialogTest
{
protected:
    SettingsTest()
    {
        driver.onModalRun([this](const eWidget &window) {
            if (window.getText() == "Settings...")
                settings = &window;
        });
    }

    // Runs the main window with these keys; the first yellow opens the settings window, the
    // last key should end the main run ("exit").
    void runMainWindow(const std::vector<std::string> &keys)
    {
        if (!dialog)
            makeDialog();
        dialog->show();
        driver.press(keys);
        dialog->exec();
    }

    // The settings window's children of a class, in creation order (while it is open).
    std::vector<eWidget *> settingsChildren(const std::string &className) const
    {
        return driver.findAll(className, settings);
    }
    // What the settings window's status line was given, in order (also after it closed).
    std::vector<std::string> settingsStatusTexts() const
    {
        std::vector<std::string> texts;
        for (const auto &event : driver.events())
            if (event.className == "eStatusBar" && event.widget != statusBar() &&
                event.change == gui::Change::Text)
                texts.push_back(event.text);
        return texts;
    }

    // The stored value of the buffer size, read from the file as a restart would.
    std::string storedBufferSize() const
    {
        eConfig::Store store(box.file("var/etc/quenlora.conf"));
        return store.get("/quenlora/minbuffersize").value_or("(none)");
    }
    void storeConfig(const std::string &text)
    {
        box.write("var/etc/quenlora.conf", text);
        config::useFile(box.file("var/etc/quenlora.conf"));
    }

    const eWidget *settings = nullptr; // the settings window of the last run, once opened
};

#endif
