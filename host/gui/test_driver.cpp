#include "test_driver.h"

#include <algorithm>

#include "edebug.h"
#include "emessagebox.h"
#include "ewidget.h"
#include "keys.h"
#include "timer.h"

namespace gui
{

TestDriver::TestDriver()
    : timer(std::make_unique<eTimer>(eApp)), previous(Desktop::instance().getObserver())
{
    timer->timeout.connect([this] { deliver(); });
    Desktop::instance().setObserver(this);
}

TestDriver::~TestDriver()
{
    Desktop::instance().setObserver(previous);
}

void TestDriver::press(std::initializer_list<const char *> keys)
{
    for (const char *key : keys)
        queue.emplace_back(key);
    if (!timer->isActive())
        timer->start(0);
}

void TestDriver::press(const std::vector<std::string> &keys)
{
    queue.insert(queue.end(), keys.begin(), keys.end());
    if (!timer->isActive())
        timer->start(0);
}

void TestDriver::deliver()
{
    if (queue.empty())
        return;
    const std::string name = queue.front();
    queue.erase(queue.begin());
    // Re-armed before the key is handled: the key may open a modal run that needs the next.
    if (!queue.empty())
        timer->start(0);
    if (auto key = keyFromName(name))
        Desktop::instance().handleKey(*key);
    else
        eDebug("test driver: unknown key %s", name.c_str());
}

bool TestDriver::runUntil(const std::function<bool()> &done, std::chrono::milliseconds limit)
{
    return eApp->runUntil(done, limit);
}

bool TestDriver::drainKeys(std::chrono::milliseconds limit)
{
    return runUntil([this] { return queue.empty(); }, limit);
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
