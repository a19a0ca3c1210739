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

// What a window's child should be, in creation order.
struct ExpectedWidget {
    const char *className;
    int x, y, w, h;
    const char *text;
    const char *key; // the colour key and the symbol drawn, "" for none
    bool shown;
    const char *fontFamily;
    int fontSize;
};

inline void expectChildren(const eWidget &window, const std::vector<ExpectedWidget> &expected)
{
    const auto children = window.getChildren();
    ASSERT_EQ(children.size(), expected.size());
    for (size_t i = 0; i < children.size(); ++i) {
        const ExpectedWidget &e = expected[i];
        const eWidget *w = children[i];
        SCOPED_TRACE("widget " + std::to_string(i + 1) + " " + e.text);
        EXPECT_STREQ(w->className(), e.className);
        EXPECT_EQ(w->getPosition().x(), e.x);
        EXPECT_EQ(w->getPosition().y(), e.y);
        EXPECT_EQ(w->getSize().width(), e.w);
        EXPECT_EQ(w->getSize().height(), e.h);
        EXPECT_EQ(w->getText(), e.text);
        EXPECT_EQ(w->getShortcut(), e.key);
        EXPECT_EQ(w->isShown(), e.shown);
        EXPECT_EQ(w->getFont().family, e.fontFamily);
        EXPECT_EQ(w->getFont().pointSize, e.fontSize);
        if (auto *label = dynamic_cast<const eLabel *>(w)) {
            EXPECT_EQ(label->getShortcutPixmap(), e.key);
        }
    }
}

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
