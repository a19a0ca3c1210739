// The display on the terminal device with ncursesw. ncurses sends only what changed, so the
// whole display is drawn again after every change.
#define NCURSES_WIDECHAR 1
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <curses.h>
#include <fcntl.h>
#include <unistd.h>

#include "canvas.h"
#include "desktop.h"
#include "display.h"
#include "edebug.h"
#include "key_feeder.h"
#include "keys.h"
#include "mainloop.h"
#include "screen.h"

namespace render
{

namespace
{

short pairOf(Colour colour)
{
    switch (colour) {
    case Colour::Red:
        return 1;
    case Colour::Green:
        return 2;
    case Colour::Yellow:
        return 3;
    case Colour::Blue:
        return 4;
    case Colour::Cyan:
        return 5;
    default:
        return 0;
    }
}

class CursesCanvas : public Canvas
{
public:
    int rows() const override { return LINES; }
    int columns() const override { return COLS; }
    void clear() override { erase(); }
    void put(int row, int column, wchar_t c, Style style) override
    {
        attr_t attributes = A_NORMAL;
        if (style.reverse)
            attributes |= A_REVERSE;
        if (style.bold)
            attributes |= A_BOLD;
        const wchar_t text[2] = {c, 0};
        cchar_t cell;
        setcchar(&cell, text, attributes, has_colors() ? pairOf(style.colour) : 0, nullptr);
        mvadd_wch(row, column, &cell);
    }
    void flush() override
    {
        move(LINES - 1, COLS - 1);
        refresh();
    }
};

class TerminalScreen : public Screen, public sigc::trackable
{
public:
    ~TerminalScreen() override { close(); }

    bool open(std::string &error) override
    {
        ttyFd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (ttyFd < 0) {
            error = "no terminal (";
            error += strerror(errno);
            error += "); use --screen none to run without one";
            return false;
        }
        tty = fdopen(ttyFd, "r+");
        if (!tty) {
            ::close(ttyFd);
            error = "cannot use the terminal";
            return false;
        }
        if (!getenv("ESCDELAY"))
            ESCDELAY = 25;
        terminal = newterm(nullptr, tty, tty);
        if (!terminal) {
            error = "the terminal type is not known (TERM)";
            fclose(tty);
            tty = nullptr;
            return false;
        }
        set_term(terminal);
        raw(); // Ctrl-C arrives as a key
        noecho();
        nonl();
        keypad(stdscr, TRUE);
        nodelay(stdscr, TRUE);
        curs_set(0);
        if (has_colors()) {
            start_color();
            use_default_colors();
            init_pair(1, COLOR_RED, -1);
            init_pair(2, COLOR_GREEN, -1);
            init_pair(3, COLOR_YELLOW, -1);
            init_pair(4, COLOR_BLUE, -1);
            init_pair(5, COLOR_CYAN, -1);
        }
        painter = std::make_unique<DisplayPainter>(canvas);
        gui::Desktop::instance().setPainter(painter.get());
        notifier = std::make_unique<eSocketNotifier>(eApp, ttyFd, eSocketNotifier::Read);
        notifier->activated.connect(sigc::mem_fun(*this, &TerminalScreen::readable));
        painter->paint();
        return true;
    }

    void close() override
    {
        if (!terminal)
            return;
        notifier.reset();
        gui::Desktop::instance().setPainter(nullptr);
        painter.reset();
        curs_set(1);
        endwin();
        delscreen(terminal);
        terminal = nullptr;
        fclose(tty); // closes ttyFd as well
        tty = nullptr;
    }

private:
    void readable(int)
    {
        wint_t ch;
        int kind;
        while ((kind = wget_wch(stdscr, &ch)) != ERR) {
            if (kind == KEY_CODE_YES && ch == KEY_RESIZE) {
                painter->paint();
                continue;
            }
            if (const int key = translate(kind, ch))
                keys.push(key);
        }
    }

    static int translate(int kind, wint_t ch)
    {
        if (kind == KEY_CODE_YES) {
            switch (ch) {
            case KEY_UP:
                return gui::KeyUp;
            case KEY_DOWN:
                return gui::KeyDown;
            case KEY_LEFT:
                return gui::KeyLeft;
            case KEY_RIGHT:
                return gui::KeyRight;
            case KEY_ENTER:
                return gui::KeyOk;
            case KEY_F(1):
                return gui::KeyRed;
            case KEY_F(2):
                return gui::KeyGreen;
            case KEY_F(3):
                return gui::KeyYellow;
            case KEY_F(4):
                return gui::KeyBlue;
            default:
                return 0;
            }
        }
        switch (ch) {
        case '\r':
        case '\n':
            return gui::KeyOk;
        case 27:
            return gui::KeyExit;
        case 3: // Ctrl-C
            return gui::KeyQuit;
        case 'r':
            return gui::KeyRed;
        case 'g':
            return gui::KeyGreen;
        case 'y':
            return gui::KeyYellow;
        case 'b':
            return gui::KeyBlue;
        default:
            if (ch >= '0' && ch <= '9')
                return gui::Key0 + static_cast<int>(ch - '0');
            return 0;
        }
    }

    int ttyFd = -1;
    FILE *tty = nullptr;
    SCREEN *terminal = nullptr;
    CursesCanvas canvas;
    std::unique_ptr<DisplayPainter> painter;
    std::unique_ptr<eSocketNotifier> notifier;
    gui::KeyFeeder keys;
};

} // namespace

std::unique_ptr<Screen> makeTerminalScreen()
{
    return std::make_unique<TerminalScreen>();
}

} // namespace render
