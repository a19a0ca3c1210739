// The main window with its settings window opened by keys, as a person with a remote would.
#ifndef QUENLORA_TESTS_SETTINGS_FIXTURE_H
#define QUENLORA_TESTS_SETTINGS_FIXTURE_H

#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "econfig.h"
#include "enumber.h"
#include "loop_probe.h"
#include "store.h"

class SettingsTest : public DialogTest
{
protected:
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
};

#endif
