// Key routing, focus, modal runs and the widgets' own keys.
#include <gtest/gtest.h>

#include <memory>

#include "desktop.h"
#include "ebutton.h"
#include "ecombobox.h"
#include "emessagebox.h"
#include "enumber.h"
#include "ewindow.h"
#include "test_driver.h"
#include "test_support.h"

using gui::TestDriver;

namespace
{

class ToolkitTest : public testing_support::BoxTest
{
protected:
    // A shown window with a button per colour given; counts the activations per button.
    eButton *addButton(eWindow &window, const char *text, const char *colour, int *count)
    {
        auto *button = new eButton(&window);
        button->setText(text);
        button->move(ePoint(10, 10 + 40 * static_cast<int>(window.getChildren().size())));
        button->resize(eSize(100, 30));
        button->setShortcut(colour);
        button->selected.connect([count] { ++*count; });
        return button;
    }

    TestDriver driver;
};

TEST_F(ToolkitTest, ColourKeyFiresOnlyTheShownButtonOfTheInnermostWindow)
{
    eWindow main(0);
    int stop = 0, close = 0, boxOpened = 0;
    eButton *stopButton = addButton(main, "Stop", "red", &stop);
    addButton(main, "Close", "red", &close);
    stopButton->hide();
    int boxResult = 0;
    auto *about = addButton(main, "About", "blue", &boxOpened);
    about->selected.connect([&] {
        eMessageBox box("text", "Box", eMessageBox::btOK);
        box.show();
        boxResult = box.exec();
        box.hide();
    });
    main.show();
    // red reaches Close (Stop is hidden); blue opens the box, whose run takes the next red
    // (its OK has no red key, so nothing fires) and the exit; then red reaches Close again.
    driver.press({"red", "blue", "red", "exit", "red", "exit"});
    int result = main.exec();
    main.hide();
    EXPECT_EQ(stop, 0);
    EXPECT_EQ(close, 2);
    EXPECT_EQ(boxOpened, 1);
    EXPECT_EQ(boxResult, -1);
    EXPECT_EQ(result, -1);
}

TEST_F(ToolkitTest, ExitEndsOnlyTheInnermostRun)
{
    eWindow main(0);
    int opened = 0;
    auto *button = addButton(main, "Open", "green", &opened);
    int boxResult = 0;
    bool mainStillRunning = false;
    button->selected.connect([&] {
        eMessageBox box("question", "Box", eMessageBox::btYes | eMessageBox::btNo);
        box.show();
        boxResult = box.exec();
        box.hide();
        mainStillRunning = main.inModalRun();
    });
    main.show();
    driver.press({"green", "exit", "exit"});
    EXPECT_EQ(main.exec(), -1);
    EXPECT_EQ(boxResult, -1); // Exit on a Yes/No box is no button's bit, so it means No
    EXPECT_TRUE(mainStillRunning);
}

TEST_F(ToolkitTest, MessageBoxReturnsTheChosenButtonsBit)
{
    struct Case {
        int flags;
        std::vector<std::string> keys;
        int expected;
    } cases[] = {
        {eMessageBox::btOK | eMessageBox::iconError, {"ok"}, eMessageBox::btOK},
        {eMessageBox::btYes | eMessageBox::btNo | eMessageBox::iconQuestion,
         {"ok"},
         eMessageBox::btYes},
        {eMessageBox::btYes | eMessageBox::btNo, {"down", "ok"}, eMessageBox::btNo},
        {eMessageBox::btYes | eMessageBox::btNo, {"right", "ok"}, eMessageBox::btNo},
        {eMessageBox::btYes | eMessageBox::btNo, {"red"}, eMessageBox::btNo},
        {eMessageBox::btYes | eMessageBox::btNo, {"green"}, eMessageBox::btYes},
        {eMessageBox::btYes | eMessageBox::btNo, {"exit"}, -1},
    };
    for (const Case &c : cases) {
        eMessageBox box("Do it?", "Question", c.flags, 1, 0);
        box.show();
        driver.press(c.keys);
        EXPECT_EQ(box.exec(), c.expected) << "flags " << c.flags << " first key " << c.keys[0];
        box.hide();
    }
}

TEST_F(ToolkitTest, FocusStartsOnTheFirstFocusableChildAndSkipsHiddenOnes)
{
    eWindow window(0);
    auto *label = new eLabel(&window);
    label->setText("caption");
    auto *zeroSize = new eButton(&window); // no place or size, still focusable
    int fired = 0;
    zeroSize->selected.connect([&] { ++fired; });
    EXPECT_EQ(window.getFocus(), zeroSize);

    auto *second = new eButton(&window);
    auto *third = new eButton(&window);
    window.setFocus(second);
    EXPECT_EQ(window.getFocus(), second);
    second->hide();
    EXPECT_EQ(window.getFocus(), third) << "hiding the focused widget moves focus on";
    second->show();
    driver.press({"up"});
    window.show();
    driver.press({"ok", "exit"});
    window.exec();
    EXPECT_EQ(window.getFocus(), second) << "up from third reaches second";
    EXPECT_EQ(fired, 0);
}

TEST_F(ToolkitTest, OkActivatesTheOnlyButtonOfABar)
{
    eWindow bar(0);
    bar.cmove(ePoint(100, 550));
    bar.cresize(eSize(510, 0));
    auto *restore = new eButton(&bar, nullptr, 1, "eButton");
    restore->selected.connect(SigC::slot(bar, &eWidget::reject));
    bar.show();
    driver.press({"ok"});
    EXPECT_EQ(bar.exec(), -1);
    EXPECT_FALSE(driver.keysPending());
}

TEST_F(ToolkitTest, ComboBoxOpensChoosesTakesAndCancels)
{
    eWindow window(0);
    auto *combo = new eComboBox(&window, 4, nullptr, 1, "eComboBox");
    combo->resize(eSize(200, 30));
    for (const char *name : {"one", "two", "three"})
        new eListBoxEntryText(combo, name, const_cast<char *>(name));
    EXPECT_EQ(combo->getCurrentIndex(), 0)
        << "a fill without a current row makes the first current";
    EXPECT_EQ(combo->getText(), "one");
    int changes = 0;
    combo->selchanged.connect([&](eListBoxEntryText *) { ++changes; });
    window.show();

    // Down and OK take the second row; in the open list Exit cancels without a change.
    driver.press({"ok", "down", "ok", "ok", "down", "exit", "exit"});
    window.exec();
    EXPECT_EQ(combo->getCurrentIndex(), 1);
    EXPECT_EQ(static_cast<const char *>(combo->getCurrent()->getKey()), std::string("two"));
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(combo->isOpen());

    combo->clearList();
    EXPECT_EQ(combo->getCurrent(), nullptr);
    new eListBoxEntryText(combo, "fresh", nullptr);
    EXPECT_EQ(combo->getCurrentIndex(), 0);
    EXPECT_EQ(combo->getText(), "fresh");
}

TEST_F(ToolkitTest, NumberEntryReplacesAppendsAndClamps)
{
    struct Case {
        int initial;
        std::vector<std::string> keys;
        int expected;
    } cases[] = {
        {8, {}, 8},
        {8, {"1", "6"}, 16},
        {8, {"3", "down"}, 3},   // focus moving away ends the entry
        {8, {"0", "down"}, 1},   // below the minimum
        {8, {"9", "9"}, 64},     // the digit count ends the entry, clamped
        {8, {"7", "7", "5"}, 5}, // a digit after a full entry starts a new one
        {0, {}, 1},              // an initial value outside the range shows clamped
        {1536, {}, 64},
        {8, {"2", "green"}, 2}, // a colour key ends the entry before its button fires
    };
    for (const Case &c : cases) {
        eWindow window(0);
        int initial = c.initial;
        auto *number = new eNumber(&window, 1, 1, 64, 2, &initial, 0, nullptr, 1, "eNumber");
        number->resize(eSize(50, 30));
        auto *other = new eButton(&window);
        other->setShortcut("green");
        int seenByButton = -1;
        other->selected.connect([&] { seenByButton = number->getNumber(); });
        window.show();
        std::vector<std::string> keys = c.keys;
        keys.push_back("exit");
        driver.press(keys);
        window.exec();
        window.hide();
        EXPECT_EQ(number->getNumber(), c.expected) << "initial " << c.initial;
        EXPECT_EQ(number->getText(), std::to_string(c.expected));
        if (!c.keys.empty() && c.keys.back() == "green") {
            EXPECT_EQ(seenByButton, c.expected);
        }
    }
}

TEST_F(ToolkitTest, QuitEndsEveryRunInnermostFirstAndStaysSet)
{
    eWindow main(0);
    int opened = 0;
    auto *button = addButton(main, "Open", "green", &opened);
    std::vector<std::string> order;
    int laterRun = 0;
    button->selected.connect([&] {
        eMessageBox box("inner", "Inner", eMessageBox::btOK);
        box.show();
        box.exec();
        order.push_back("inner ended");
        box.hide();
        eMessageBox after("after", "After", eMessageBox::btOK);
        after.show();
        laterRun = after.exec(); // begun after the quit: returns at once
        after.hide();
    });
    main.show();
    driver.press({"green", "quit"});
    const int result = main.exec();
    order.push_back("main ended");
    EXPECT_EQ(result, -1);
    EXPECT_EQ(laterRun, -1);
    EXPECT_EQ(order, (std::vector<std::string>{"inner ended", "main ended"}));
    EXPECT_EQ(main.exec(), -1) << "every run begun after a quit returns at once";
    EXPECT_EQ(driver.modalRuns().size(), 2u) << "the run after the quit never began";
}

TEST_F(ToolkitTest, DeletingAFocusedWidgetInsideAContainerClearsTheWindowsFocus)
{
    eWindow window(0);
    auto *container = new eWidget(&window);
    auto *inner = new eButton(container);
    auto *other = new eButton(&window);
    window.setFocus(inner);
    delete inner; // the window holds the focus, not the container
    EXPECT_EQ(window.getFocus(), other);
}

TEST_F(ToolkitTest, ChildrenDieWithTheirWindowAndMayBeDeletedFirst)
{
    const size_t before = gui::Desktop::instance().allWidgets().size();
    {
        eWindow window(0);
        auto *a = new eLabel(&window);
        new eLabel(&window);
        delete a; // a child deleted by hand leaves its window
        EXPECT_EQ(window.getChildren().size(), 1u);
    }
    EXPECT_EQ(gui::Desktop::instance().allWidgets().size(), before);
}

} // namespace
