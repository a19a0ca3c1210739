// Keeps a PNG file showing the display as it is, whatever the screen: after a change the
// picture is drawn again at most four times a second, and only at a quiet turn of the main
// loop, so that it never holds up playback.
#ifndef QUENLORA_RENDER_SNAPSHOT_H
#define QUENLORA_RENDER_SNAPSHOT_H

#include <memory>
#include <string>

#include <sigc++/sigc++.h>

#include "desktop.h"
#include "pixel_display.h"

class eTimer;

namespace render
{

class Snapshot : public gui::Painter, public sigc::trackable
{
public:
    explicit Snapshot(std::string path);
    ~Snapshot() override;
    // Takes the desktop's painting over (the screen's painter still paints first) and writes
    // the first picture; false with a reason when it cannot.
    bool open(std::string &error);
    void paint() override;

private:
    void due();
    void write();

    std::string path;
    gui::Painter *screen = nullptr;
    PixelDisplay display;
    std::unique_ptr<eTimer> timer;
    bool changed = false;
    bool writing = false; // a write waits for a quiet turn
    // The waiting write looks here first: the loop may outlive the snapshot.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

} // namespace render

#endif
