// The event loop. Key events only set held-key flags; all game logic runs
// in update(), once per loop pass and once more per timer tick in a game.
#include "game/game_state.h"
#include "shell/present.h"
#include "shell/shell.h"

static void setKey(int keycode, bool down) {
    switch (keycode) {
    case ALLEGRO_KEY_A:
    case ALLEGRO_KEY_LEFT:
        game.keyLeft = down;
        break;
    case ALLEGRO_KEY_D:
    case ALLEGRO_KEY_RIGHT:
        game.keyRight = down;
        break;
    case ALLEGRO_KEY_SPACE:
        game.keyStart = down;
        break;
    default:
        break;
    }
}

void handleEvent() {
    ALLEGRO_EVENT ev;
    al_wait_for_event(shell.queue, &ev);
    switch (ev.type) {
    case ALLEGRO_EVENT_TIMER:
        if (game.inGame) {
            update();
        }
        break;
    case ALLEGRO_EVENT_KEY_DOWN:
        setKey(ev.keyboard.keycode, true);
        break;
    case ALLEGRO_EVENT_KEY_UP:
        setKey(ev.keyboard.keycode, false);
        break;
    case ALLEGRO_EVENT_DISPLAY_CLOSE:
        game.running = false;
        break;
    // The window may have lost what it showed; the next frame repaints it.
    case ALLEGRO_EVENT_DISPLAY_EXPOSE:
    case ALLEGRO_EVENT_DISPLAY_SWITCH_IN:
    case ALLEGRO_EVENT_DISPLAY_RESIZE:
    case ALLEGRO_EVENT_DISPLAY_FOUND:
        forgetShownFrame();
        break;
    default:
        break;
    }
}

// Frames are skipped when events pile up; updates never are.
void runLoopPass() {
    handleEvent();
    update();
    if (game.redrawPending && al_is_event_queue_empty(shell.queue)) {
        game.redrawPending = false;
        presentFrame();
    }
    loadPictureWhileIdle();
}

void runLoop() {
    while (game.running) {
        runLoopPass();
    }
}
