// The event loop. Only the timer drives the game: two updates per tick in a
// game, one on the title, whatever the keyboard or the window sends. Key
// events only set the held-key flags.
#include "game/game_state.h"
#include "render/screens.h"
#include "shell/assets.h"
#include "shell/shell.h"

namespace {

// The title picture and scores on the window. The title changes picture six
// times a second; drawing a title frame only then takes the title screen
// from 18.5 % to 3.5 % of a core on a software renderer.
struct TitleShown {
    bool valid = false; // a title frame is on the window, and nothing has spoilt it
    int slot = -1;      // of menuFrames
    int32_t bestScore = 0;
    int32_t score = 0;
};

TitleShown titleShown;

bool sameTitle(const TitleShown &a, const TitleShown &b) {
    return a.valid && b.valid && a.slot == b.slot && a.bestScore == b.bestScore &&
           a.score == b.score;
}

// Title pictures come first in the loading order, so the title needs those
// up to the one it shows; a game needs them all.
void loadPicturesShown() {
    const int needed = game.inGame ? pictureCount : menuFrameSlot(game.phaseFrame) + 1;
    while (picturesLoaded < needed) {
        loadNextPicture();
    }
}

void drawFrame() {
    loadPicturesShown();
    const TitleShown title = {!game.inGame, menuFrameSlot(game.phaseFrame), game.bestScore,
                              game.score};
    if (sameTitle(title, titleShown)) {
        return;
    }
    titleShown = title;
    render();
    al_flip_display();
}

void setKey(int keycode, bool down) {
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

} // namespace

bool handleEvent() {
    ALLEGRO_EVENT ev;
    al_wait_for_event(shell.queue, &ev);
    switch (ev.type) {
    case ALLEGRO_EVENT_TIMER:
        if (game.inGame) {
            update();
        }
        return true;
    case ALLEGRO_EVENT_KEY_DOWN:
        setKey(ev.keyboard.keycode, true);
        break;
    case ALLEGRO_EVENT_KEY_UP:
        setKey(ev.keyboard.keycode, false);
        break;
    case ALLEGRO_EVENT_DISPLAY_CLOSE:
        game.running = false;
        break;
    // The window may have lost what it showed.
    case ALLEGRO_EVENT_DISPLAY_EXPOSE:
    case ALLEGRO_EVENT_DISPLAY_SWITCH_IN:
        titleShown.valid = false;
        game.redrawPending = true;
        break;
    default:
        break;
    }
    return false;
}

// Frames are skipped when events pile up; updates never are.
void runLoopPass() {
    if (handleEvent()) {
        update();
    }
    if (!al_is_event_queue_empty(shell.queue)) {
        return;
    }
    if (game.redrawPending) {
        game.redrawPending = false;
        drawFrame();
    }
    // Waiting for the next event anyway: time to read one more picture.
    if (al_is_event_queue_empty(shell.queue)) {
        loadNextPicture();
    }
}

void runLoop() {
    while (game.running) {
        runLoopPass();
    }
}
