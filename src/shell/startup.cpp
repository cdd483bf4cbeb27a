// Bring-up of the library, the window and the loaders, in a fixed order.
#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "audio/audio.h"
#include "game/game_state.h"
#include "shell/assets.h"
#include "shell/shell.h"

Shell shell;

static bool fail(const char *what) {
    std::fprintf(stderr, "clockmaze: %s\n", what);
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

bool startUp() {
    if (!al_install_system(ALLEGRO_VERSION_INT, atExit)) {
        return fail("cannot initialise the Allegro library");
    }
    al_install_keyboard();
    al_install_joystick();
    // Touchscreens, and a mouse's left button, steer and pause too.
    al_install_touch_input();
    al_install_mouse();
    al_init_primitives_addon();
    al_init_image_addon();
    // Expose events tell the loop to draw a title frame it would otherwise
    // skip as unchanged.
    al_set_new_display_flags(ALLEGRO_WINDOWED | ALLEGRO_RESIZABLE | ALLEGRO_GENERATE_EXPOSE_EVENTS);
    al_set_new_window_title("Clock Maze");
    // Straight alpha: every colour and picture in the game is non-premultiplied.
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    shell.display = al_create_display(screenWidth, screenHeight);
    if (!shell.display) {
        return fail("cannot open an 800x600 window (is a graphical display available?)");
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
    if (al_is_touch_input_installed()) {
        al_register_event_source(shell.queue, al_get_touch_input_event_source());
    }
    if (al_is_mouse_installed()) {
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
