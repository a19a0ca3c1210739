#include "snapshot.h"

#include "edebug.h"
#include "mainloop.h"
#include "timer.h"

namespace render
{

namespace
{
const int shortestGapMs = 250;
}

Snapshot::Snapshot(std::string path) : path(std::move(path)) {}

Snapshot::~Snapshot()
{
    gui::Desktop &desktop = gui::Desktop::instance();
    if (desktop.getPainter() == this)
        desktop.setPainter(screen);
}

bool Snapshot::open(std::string &error)
{
    if (!display.open(error))
        return false;
    display.paint();
    if (!savePng(display.surface(), path, error)) {
        error = "cannot write the snapshot " + path + ": " + error;
        return false;
    }
    timer = std::make_unique<eTimer>(eApp);
    timer->timeout.connect(sigc::mem_fun(*this, &Snapshot::due));
    gui::Desktop &desktop = gui::Desktop::instance();
    screen = desktop.getPainter();
    desktop.setPainter(this);
    return true;
}

void Snapshot::paint()
{
    if (screen)
        screen->paint();
    changed = true;
    if (!timer->isActive() && !writing)
        timer->start(shortestGapMs, true);
}

void Snapshot::due()
{
    writing = true;
    std::weak_ptr<bool> stillAlive = alive;
    eApp->whenIdle([this, stillAlive] {
        if (stillAlive.lock())
            write();
    });
}

void Snapshot::write()
{
    writing = false;
    if (!changed)
        return;
    changed = false;
    display.paint();
    std::string error;
    if (!savePng(display.surface(), path, error))
        eDebug("cannot write the snapshot %s: %s", path.c_str(), error.c_str());
    // Changes made meanwhile wait for the next gap.
    timer->start(shortestGapMs, true);
}

} // namespace render
