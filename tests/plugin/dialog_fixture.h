// Building the main window in a test box, and reading what it shows.
#ifndef QUENLORA_TESTS_DIALOG_FIXTURE_H
#define QUENLORA_TESTS_DIALOG_FIXTURE_H

#include <memory>
#include <string>
#include <vector>

#include "display.h"
#include "ebutton.h"
#include "ecombobox.h"
#include "estatusbar.h"
#include "memory_canvas.h"
#include "quenlo_dialog.h"
#include "test_driver.h"
#include "test_support.h"

// While it lives, the display is drawn into a character grid of the given size.
struct ScreenCapture {
    render::MemoryCanvas canvas;
    render::DisplayPainter painter{canvas};
    ScreenCapture(int rows, int columns) : canvas(rows, columns)
    {
        gui::Desktop::instance().setPainter(&painter);
    }
    ~ScreenCapture() { gui::Desktop::instance().setPainter(nullptr); }
};

class DialogTest : public testing_support::BoxTest
{
protected:
    // Keys queued before the dialog is made answer the boxes its constructor opens.
    QuenloDialog &makeDialog(std::initializer_list<const char *> keys = {})
    {
        if (keys.size())
            driver.press(keys);
        dialog = std::make_unique<QuenloDialog>();
        return *dialog;
    }

    eComboBox *chooser() const
    {
        return static_cast<eComboBox *>(driver.find("eComboBox", "", dialog.get()));
    }
    eStatusBar *statusBar() const
    {
        return static_cast<eStatusBar *>(driver.find("eStatusBar", "", dialog.get()));
    }
    std::string status() const { return statusBar()->getText(); }
    // The texts of the station name, genre and song lines.
    std::vector<std::string> nowPlaying() const
    {
        const auto labels = driver.findAll("eLabel", dialog.get());
        return {labels.at(1)->getText(), labels.at(3)->getText(), labels.at(5)->getText()};
    }
    eButton *button(const std::string &text) const
    {
        return static_cast<eButton *>(driver.find("eButton", text, dialog.get()));
    }
    std::vector<std::string> rowTexts() const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < chooser()->getCount(); ++i)
            texts.push_back(chooser()->entryAt(i)->getText());
        return texts;
    }
    // Each row's key as text, "(null)" for rows without one.
    std::vector<std::string> rowKeys() const
    {
        std::vector<std::string> keys;
        for (int i = 0; i < chooser()->getCount(); ++i) {
            auto *row = static_cast<eListBoxEntryText *>(chooser()->entryAt(i));
            keys.push_back(row->getKey() ? static_cast<const char *>(row->getKey()) : "(null)");
        }
        return keys;
    }

    gui::TestDriver driver;
    std::unique_ptr<QuenloDialog> dialog;
};

#endif
