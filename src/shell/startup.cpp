// Bring-up of the library, the window and the loaders, in a fixed order.
#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_native_dialog.h>
#include <allegro5/allegro_primitives.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "audio/audio.h"
#include "game/game_state.h"
#include "shell/assets.h"
#include "shell/shell.h"

Shell shell;

// A game started from a desktop menu, or on Windows, has no terminal to
// read standard error in: the player is told in a message box as well
// (where there is no desktop at all, the box simply does not open).
static bool fail(const char *what) {
    std::fprintf(stderr, "clockmaze: %s\n", what);
    al_show_native_message_box(nullptr, "Clock Maze", "Clock Maze cannot start", what, nullptr,
                               ALLEGRO_MESSAGEBOX_ERROR);
    return false;
}

// The library's shutdown, which it asks to have run at exit.
static void (*shutDownLibrary)() = nullptr;

// When the X server goes away, Xlib's default handler calls exit() from
// inside the library while the loop still runs, on whichever thread saw it
// go, and maybe on two at once; shutting the library down then waits for
// ever on the queue the loop waits on. An exit while the loop runs is such
// an end: the process goes at once, and its sound with it. After the loop
// the library shuts down as usual.
static void shutDownAtExit() {
    if (game.running) {
        std::_Exit(1);
    }
    shutDownLibrary();
}

// Registered once start-up is done rather than when the library asks: exit
// handlers run last first, so this one comes before those of the libraries
// that the window and the sound bring in, which are not safe to run while
// the loop still runs.
static int atExit(void (*shutDown)()) {
    shutDownLibrary = shutDown;
    return 0;
}

// The library reads a Windows program's drivers from a file beside it, which
// a player may lose; asked for here, they are always the ones meant. Pads
// through DirectInput, Xbox pads included: Wine's xinput1_4.dll, which the
// XInput driver unloads at exit, crashed about one exit in five. Other
// systems have one driver and ignore the setting.
static void chooseDrivers() {
    al_set_config_value(al_get_system_config(), "joystick", "driver", "DIRECTINPUT");
}

// The library cannot tell the screen's work area (the part a task bar
// leaves); a window of at most this share of the screen each way fits
// inside it, with the window's frame, on every common desktop.
constexpr double workAreaShare = 0.85;
constexpr int standardDpi = 96;
constexpr int highestDpi = 480; // beyond it a reading is taken for nonsense
constexpr int scaleSteps = 4;   // the scale goes in quarters

WindowSize startingWindowSize(int dpi, int monitorWidth, int monitorHeight) {
    double scale = 1.0;
    if (dpi > 0 && dpi <= highestDpi) {
        // X reports the dots per inch truncated from whole millimetres (191
        // for a screen set to 192): a twentieth of a step forgives that.
        scale = std::floor(dpi * scaleSteps / static_cast<double>(standardDpi) + 0.05) / scaleSteps;
    }
    if (monitorWidth > 0 && monitorHeight > 0) {
        const FrameBox fits = frameBox(static_cast<int>(monitorWidth * workAreaShare),
                                       static_cast<int>(monitorHeight * workAreaShare));
        scale = std::min(scale, static_cast<double>(fits.width) / screenWidth);
    }
    scale = std::max(scale, 1.0);
    return {static_cast<int>(std::lround(screenWidth * scale)),
            static_cast<int>(std::lround(screenHeight * scale))};
}

// The frame at the scale the desktop uses for everything else on the
// screen the window opens on, so that it is not small on a sharp screen.
static WindowSize windowSizeForScreen() {
    ALLEGRO_MONITOR_INFO screen = {};
    const int adapter = std::max(al_get_new_display_adapter(), 0);
    if (!al_get_monitor_info(adapter, &screen)) {
        screen = {};
    }
    return startingWindowSize(al_get_monitor_dpi(adapter), screen.x2 - screen.x1,
                              screen.y2 - screen.y1);
}

bool startUp() {
    if (!al_install_system(ALLEGRO_VERSION_INT, atExit)) {
        return fail("cannot initialise the Allegro library");
    }
    chooseDrivers();
    al_install_keyboard();
    al_install_joystick();
    al_init_primitives_addon();
    al_init_image_addon();
    // Expose events tell the loop to draw a title frame it would otherwise
    // skip as unchanged. OpenGL everywhere: Windows would otherwise pick
    // Direct3D 9, which drops every picture when the window is resized or
    // goes fullscreen (they are made without the library's backup copy).
    al_set_new_display_flags(ALLEGRO_WINDOWED | ALLEGRO_RESIZABLE | ALLEGRO_GENERATE_EXPOSE_EVENTS |
                             ALLEGRO_OPENGL);
    al_set_new_window_title("Clock Maze");
    // Straight alpha: every colour and picture in the game is non-premultiplied.
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    const WindowSize size = windowSizeForScreen();
    shell.display = al_create_display(size.width, size.height);
    if (!shell.display) {
        return fail("cannot open a window (is a graphical display available?)");
    }
    shell.queue = al_create_event_queue();
    shell.timer = al_create_timer(timerPeriod);
    if (!shell.queue || !shell.timer) {
        return fail("cannot create the event queue or the 60 Hz timer");
    }
    al_register_event_source(shell.queue, al_get_display_event_source(shell.display));
    al_register_event_source(shell.queue, al_get_timer_event_source(shell.timer));
    al_register_event_source(shell.queue, al_get_keyboard_event_source());
    if (al_is_joystick_installed()) {
        al_register_event_source(shell.queue, al_get_joystick_event_source());
    }
    // Touchscreens, and a mouse's left button, steer and pause too; on X the
    // mouse needs the window's connection first.
    if (al_install_touch_input()) {
        al_register_event_source(shell.queue, al_get_touch_input_event_source());
    }
    if (al_install_mouse()) {
        al_register_event_source(shell.queue, al_get_mouse_event_source());
    }
    al_start_timer(shell.timer);

    chooseAssetRoot();
    if (ALLEGRO_BITMAP *icon = loadIcon()) {
        al_set_display_icon(shell.display, icon);
    }
    initAudio();
    // Only the first title picture comes before the first frame; the loop
    // loads the rest while it waits for the timer, each before the first
    // frame that shows it.
    loadNextPicture();
    loadFont();
    std::atexit(shutDownAtExit);
    game.running = true;
    return true;
}
