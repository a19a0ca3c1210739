// The display in an SDL window of its own (any X11 or Wayland desktop, or Xvfb), drawn in
// pixels; the keyboard is the remote control, with the terminal's keys.
#include <SDL.h>

#include <cstdlib>
#include <memory>

#include "desktop.h"
#include "key_feeder.h"
#include "keys.h"
#include "pixel_display.h"
#include "screen.h"
#include "timer.h"

namespace render
{

namespace
{
// SDL has no descriptor to wait on for its events: they are collected this often.
const int eventPollMs = 20;

int translate(const SDL_KeyboardEvent &key)
{
    const SDL_Keycode code = key.keysym.sym;
    if ((key.keysym.mod & KMOD_CTRL) && code == SDLK_c)
        return gui::KeyQuit;
    switch (code) {
    case SDLK_UP:
        return gui::KeyUp;
    case SDLK_DOWN:
        return gui::KeyDown;
    case SDLK_LEFT:
        return gui::KeyLeft;
    case SDLK_RIGHT:
        return gui::KeyRight;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return gui::KeyOk;
    case SDLK_ESCAPE:
        return gui::KeyExit;
    case SDLK_F1:
    case SDLK_r:
        return gui::KeyRed;
    case SDLK_F2:
    case SDLK_g:
        return gui::KeyGreen;
    case SDLK_F3:
    case SDLK_y:
        return gui::KeyYellow;
    case SDLK_F4:
    case SDLK_b:
        return gui::KeyBlue;
    default:
        break;
    }
    if (code >= SDLK_0 && code <= SDLK_9)
        return gui::Key0 + (code - SDLK_0);
    if (code >= SDLK_KP_1 && code <= SDLK_KP_9)
        return gui::Key0 + 1 + (code - SDLK_KP_1);
    if (code == SDLK_KP_0)
        return gui::Key0;
    return 0;
}

class WindowScreen : public Screen, public sigc::trackable
{
public:
    ~WindowScreen() override { close(); }

    bool open(std::string &error) override
    {
        // Without a desktop SDL would fall back to a driver nobody sees.
        if (!getenv("DISPLAY") && !getenv("WAYLAND_DISPLAY") && !getenv("SDL_VIDEODRIVER")) {
            error = "cannot open a window (no DISPLAY or WAYLAND_DISPLAY); use --screen "
                    "terminal or none";
            return false;
        }
        // SIGINT and SIGTERM stay the host's: they end every modal run.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_Init(SDL_INIT_VIDEO) != 0) {
            error = std::string("cannot open a window (") + SDL_GetError() +
                    "); use --screen terminal or none";
            return false;
        }
        started = true;
        if (!display.open(error)) {
            close();
            return false;
        }
        window = SDL_CreateWindow("Quenlora - Enter OK, Esc Exit, F1-F4 or r g y b, 0-9",
                                  SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  gui::Desktop::width, gui::Desktop::height, 0);
        if (!window) {
            error = std::string("cannot open a window (") + SDL_GetError() + ")";
            close();
            return false;
        }
        display.onPainted = [this] { present(); };
        gui::Desktop::instance().setPainter(&display);
        timer = std::make_unique<eTimer>(eApp);
        timer->timeout.connect(sigc::mem_fun(*this, &WindowScreen::collectEvents));
        timer->start(eventPollMs, false);
        display.paint();
        return true;
    }

    void close() override
    {
        timer.reset();
        if (gui::Desktop::instance().getPainter() == &display)
            gui::Desktop::instance().setPainter(nullptr);
        if (window)
            SDL_DestroyWindow(window);
        window = nullptr;
        if (started)
            SDL_Quit();
        started = false;
    }

private:
    void present()
    {
        if (SDL_Surface *target = SDL_GetWindowSurface(window)) {
            SDL_BlitSurface(display.surface(), nullptr, target, nullptr);
            SDL_UpdateWindowSurface(window);
        }
    }

    void collectEvents()
    {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_QUIT) {
                keys.push(gui::KeyQuit);
            } else if (event.type == SDL_KEYDOWN) {
                if (const int key = translate(event.key))
                    keys.push(key);
            } else if (event.type == SDL_WINDOWEVENT &&
                       (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                        event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)) {
                present();
            }
        }
    }

    bool started = false;
    SDL_Window *window = nullptr;
    PixelDisplay display;
    std::unique_ptr<eTimer> timer;
    gui::KeyFeeder keys;
};

} // namespace

std::unique_ptr<Screen> makeWindowScreen()
{
    return std::make_unique<WindowScreen>();
}

} // namespace render
