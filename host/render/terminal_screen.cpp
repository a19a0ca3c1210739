// The display on the terminal device with ncursesw. ncurses sends only what changed, so the
// whole display is drawn again after every change.
#define NCURSES_WIDECHAR 1
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <curses.h>
#include <fcntl.h>
#include <sys/ioctl.h>
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

// SIGWINCH arrives while the loop waits in poll, where ncurses would not notice it: the handler
// wakes the loop through a pipe and the screen takes the new size there.
int resizePipe[2] = {-1, -1};

void onResize(int)
{
    const char byte = 0;
    ssize_t ignored = ::write(resizePipe[1], &byte, 1);
    (void)ignored;
}

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
        if (resizePipe[0] < 0 && pipe2(resizePipe, O_CLOEXEC | O_NONBLOCK) == 0) {
            struct sigaction action {
            };
            action.sa_handler = onResize;
            sigemptyset(&action.sa_mask);
            sigaction(SIGWINCH, &action, nullptr);
        }
        if (resizePipe[0] >= 0) {
            resizeNotifier =
                std::make_unique<eSocketNotifier>(eApp, resizePipe[0], eSocketNotifier::Read);
            resizeNotifier->activated.connect(sigc::mem_fun(*this, &TerminalScreen::resized));
        }
        painter->paint();
        return true;
    }

    void close() override
    {
        if (!terminal)
            return;
        notifier.reset();
        resizeNotifier.reset();
        signal(SIGWINCH, SIG_DFL);
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
    void resized(int)
    {
        char drained[64];
        while (::read(resizePipe[0], drained, sizeof drained) > 0) {
        }
        winsize size{};
        if (ioctl(ttyFd, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0)
            resize_term(size.ws_row, size.ws_col);
        painter->paint();
    }

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
    std::unique_ptr<eSocketNotifier> resizeNotifier;
    gui::KeyFeeder keys;
};

} // namespace

std::unique_ptr<Screen> makeTerminalScreen()
{
    return std::make_unique<TerminalScreen>();
}

} // namespace render
