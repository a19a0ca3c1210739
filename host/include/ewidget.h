// The toolkit's widget base: geometry, text, font, shortcut, focus, visibility and modal runs.
#ifndef QUENLORA_EWIDGET_H
#define QUENLORA_EWIDGET_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include <memory>
#include <vector>

#include "estring.h"
#include "sigc_compat.h"

class ePoint
{
public:
    ePoint(int x = 0, int y = 0) : px(x), py(y) {}
    int x() const { return px; }
    int y() const { return py; }

private:
    int px, py;
};

class eSize
{
public:
    eSize(int width = 0, int height = 0) : w(width), h(height) {}
    int width() const { return w; }
    int height() const { return h; }

private:
    int w, h;
};

// A font: a family name and a point size.
struct gFont {
    eString family;
    int pointSize;
    gFont(const eString &family = "Regular", int pointSize = 20)
        : family(family), pointSize(pointSize)
    {
    }
};

class eWidget : public SigC::Object
{
public:
    // A widget made with a parent belongs to it and is destroyed with it.
    explicit eWidget(eWidget *parent = nullptr, int takeFocus = 0);
    virtual ~eWidget();
    eWidget(const eWidget &) = delete;
    eWidget &operator=(const eWidget &) = delete;

    // Place and size: a child's in its parent's client coordinates, a window's on the screen.
    void move(const ePoint &position);
    void resize(const eSize &size);
    // A window's client area; for other widgets the same as move and resize.
    void cmove(const ePoint &position);
    void cresize(const eSize &size);
    ePoint getPosition() const { return position; }
    eSize getSize() const { return size; }
    ePoint getClientPosition() const;
    eSize getClientSize() const;

    void setText(const eString &text);
    const eString &getText() const { return text; }
    void setFont(const gFont &font);
    const gFont &getFont() const { return font; }
    // Binds a colour key of the remote control ("red", "green", "yellow", "blue").
    void setShortcut(const eString &colour);
    const eString &getShortcut() const { return shortcut; }

    // Gives the focus of this widget's window to child.
    void setFocus(eWidget *child);
    // The focused widget of this window: the one set, else the first shown focusable child.
    eWidget *getFocus() const;
    bool isFocusable() const { return takesFocus; }

    void show();
    void hide();
    // Shown itself (the flag show and hide set).
    bool isShown() const { return shown; }
    // Shown, and every ancestor too.
    bool isVisible() const;

    // Runs this widget modally, nesting the main loop; returns what close() gave it, or -1.
    int exec();
    // Ends the modal run with -1.
    void reject();
    // Ends the modal run with 0.
    void accept();
    // Ends the modal run with result.
    void close(int result);
    bool inModalRun() const { return modal; }

    eWidget *getParent() const { return parent; }
    std::vector<eWidget *> getChildren() const;
    // The top-level widget this one belongs to.
    eWidget *getTLW();
    bool isTopLevel() const { return parent == nullptr; }
    // Height of a top-level window's title bar above its client area.
    virtual int titleBarHeight() const { return 0; }
    virtual const char *className() const { return "eWidget"; }

    // A key of the remote control reaching this widget; true when it was used.
    virtual bool handleKey(int key);
    // Ends an entry in progress (a number being typed, an open list); true when one was open.
    virtual bool endEntry() { return false; }

protected:
    // A change of what this widget shows: records it and redraws.
    void changed(int what);

private:
    void moveFocusFrom(eWidget *hidden);

    eWidget *parent;
    std::vector<std::unique_ptr<eWidget>> children;
    ePoint position;
    eSize size;
    eString text;
    gFont font;
    eString shortcut;
    bool takesFocus;
    bool shown;
    eWidget *focus = nullptr;
    bool modal = false;
    int result = -1;
};

// A widget whose look comes from a named decoration of the skin.
class eDecoWidget : public eWidget
{
public:
    eDecoWidget(eWidget *parent, int takeFocus, const char *decoration);
    ~eDecoWidget() override;
    // Applies the decoration named at construction: its font and colours.
    void loadDeco();
    const eString &getDecoration() const { return decoration; }
    const char *className() const override { return "eDecoWidget"; }

private:
    eString decoration;
};

#pragma GCC visibility pop

#endif
