// The screen's windows: which are shown and in what order, the modal runs, where keys go, and
// who is told of every visible change.
#ifndef QUENLORA_GUI_DESKTOP_H
#define QUENLORA_GUI_DESKTOP_H

#include <vector>

class eWidget;

namespace gui
{

enum class Change { Created, Destroyed, Text, Visibility, Geometry, Font, Focus, Content };

// Told of every change to a widget, shown or not (the test driver records them).
class Observer
{
public:
    virtual ~Observer() = default;
    virtual void widgetChanged(const eWidget &widget, Change change) = 0;
    // A window's modal run begins (message boxes included).
    virtual void modalRunBegins(const eWidget &) {}
};

// Draws the desktop; called after every change to what is visible.
class Painter
{
public:
    virtual ~Painter() = default;
    virtual void paint() = 0;
};

class Desktop
{
public:
    // The screen's coordinate space.
    static const int width = 720;
    static const int height = 576;

    static Desktop &instance();

    // Every top-level widget that is shown, bottom first.
    const std::vector<eWidget *> &shownWindows() const { return stack; }
    // Every widget that exists, in creation order.
    const std::vector<eWidget *> &allWidgets() const { return widgets; }

    void setPainter(Painter *p) { painter = p; }
    Painter *getPainter() const { return painter; }
    void setObserver(Observer *o) { observer = o; }
    Observer *getObserver() const { return observer; }

    void handleKey(int key);
    // Ends every modal run, innermost first; every later run returns at once.
    void requestQuit();
    bool quitRequested() const { return quit; }
    // For tests that run several programs in one process.
    void resetQuit() { quit = false; }

    // The innermost window whose modal run is still going (one just closed is on its way out).
    eWidget *innermostModal() const;

    // Widget bookkeeping, called by the toolkit.
    void created(eWidget *widget);
    void destroyed(eWidget *widget);
    void changed(const eWidget &widget, Change change);
    void windowShown(eWidget *window);
    void windowHidden(eWidget *window);
    void modalBegins(eWidget *window);
    void modalEnds(eWidget *window);

private:
    Desktop() = default;

    std::vector<eWidget *> widgets;
    std::vector<eWidget *> stack;
    std::vector<eWidget *> modals;
    Painter *painter = nullptr;
    Observer *observer = nullptr;
    bool quit = false;
};

} // namespace gui

#endif
