#include "test_driver.h"

#include <algorithm>

#include "edebug.h"
#include "emessagebox.h"
#include "ewidget.h"
#include "keys.h"
#include "mainloop.h"

namespace gui
{

TestDriver::TestDriver() : previous(Desktop::instance().getObserver())
{
    Desktop::instance().setObserver(this);
}

TestDriver::~TestDriver()
{
    Desktop::instance().setObserver(previous);
}

void TestDriver::press(std::initializer_list<const char *> keys)
{
    press(std::vector<std::string>(keys.begin(), keys.end()));
}

void TestDriver::press(const std::vector<std::string> &keys)
{
    for (const std::string &name : keys) {
        if (auto key = keyFromName(name))
            feeder.push(*key);
        else
            eFatal("test driver: unknown key name \"%s\"", name.c_str());
    }
}

bool TestDriver::runUntil(const std::function<bool()> &done, std::chrono::milliseconds limit)
{
    return eApp->runUntil(done, limit);
}

bool TestDriver::drainKeys(std::chrono::milliseconds limit)
{
    return runUntil([this] { return !feeder.pending(); }, limit);
}

std::vector<eWidget *> TestDriver::findAll(const std::string &className, const eWidget *root) const
{
    std::vector<eWidget *> found;
    for (eWidget *widget : Desktop::instance().allWidgets()) {
        if (widget->className() != className)
            continue;
        if (root) {
            bool below = false;
            for (const eWidget *w = widget; w && !below; w = w->getParent())
                below = w == root;
            if (!below)
                continue;
        }
        found.push_back(widget);
    }
    return found;
}

eWidget *TestDriver::find(const std::string &className, const std::string &text,
                          const eWidget *root) const
{
    for (eWidget *widget : findAll(className, root))
        if (text.empty() || widget->getText() == text)
            return widget;
    return nullptr;
}

std::vector<std::string> TestDriver::textsOf(const eWidget *widget) const
{
    std::vector<std::string> texts;
    for (const Event &event : log)
        if (event.widget == widget && event.change == Change::Text)
            texts.push_back(event.text);
    return texts;
}

void TestDriver::clearRecords()
{
    log.clear();
    runs.clear();
}

void TestDriver::widgetChanged(const eWidget &widget, Change change)
{
    if (change != Change::Text && change != Change::Visibility && change != Change::Created &&
        change != Change::Destroyed)
        return;
    log.push_back(Event{&widget, widget.className(), change, widget.getText(), widget.isShown()});
}

void TestDriver::modalRunBegins(const eWidget &window)
{
    ModalRun run{window.className(),
                 window.getText(),
                 "",
                 0,
                 window.getClientPosition().x(),
                 window.getClientPosition().y()};
    if (const auto *box = dynamic_cast<const eMessageBox *>(&window)) {
        run.message = box->getMessage();
        run.flags = box->getFlags();
    }
    runs.push_back(run);
    if (modalHook)
        modalHook(window);
}

} // namespace gui
