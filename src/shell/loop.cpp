// The event loop. Only the timer drives the game: two updates per tick in a
// game, one on the title, none while paused, whatever the keyboard, the
// gamepad or the window sends. Their events only set the held-key flags or
// act on the window, the pause and the sound.
#include "audio/audio.h"
#include "game/game_state.h"
#include "render/screens.h"
#include "shell/assets.h"
#include "shell/shell.h"

namespace {

// The title picture and scores on the window. The title changes picture six
// times a second; drawing a title frame only then takes the title screen
// from 27 % to 4 % of a core on a software renderer.
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
    renderToWindow();
    al_flip_display();
}

// The window must be painted again, though the game may stand still.
void repaint() {
    titleShown.valid = false;
    game.redrawPending = true;
}

// After a stall (a switch to fullscreen, the process stopped and continued)
// the ticks the timer missed arrive all at once. Only the last few are
// played, enough to absorb ordinary jitter; the rest would be play nobody
// saw, so the game simply resumes where it stood.
constexpr int64_t catchUpTicks = 4;

bool isRecent(const ALLEGRO_TIMER_EVENT &tick) {
    return al_get_timer_count(shell.timer) - tick.count < catchUpTicks;
}

void setPaused(bool paused) {
    game.paused = paused && game.inGame;
    pauseSounds(game.paused);
    repaint();
}

// Timer counts of the moments the loop remembers, and what waits on them.
struct Moments {
    int64_t titleFromGame = -1;     // a game last gave way to the title
    int64_t fullscreenToggled = -1; // the window last went to or from fullscreen
    bool pauseOnSettle = false;     // the focus went in that switch and is still away
};

Moments moments;

int64_t now() { return al_get_timer_count(shell.timer); }

bool within(int64_t since, int64_t ticks) {
    const int64_t elapsed = now() - since;
    return since >= 0 && elapsed >= 0 && elapsed < ticks;
}

// Esc pressed to pause just as a game ends arrives on the title, where Esc
// quits. A player's press follows what they see by a good part of a second,
// so for this long after a game Esc on the title does nothing.
constexpr int64_t escapeQuitsAfterTicks = 60;

bool escapeQuits() { return !within(moments.titleFromGame, escapeQuitsAfterTicks); }

// Going to or from fullscreen, some window systems (Wine's among them)
// take the focus away for a moment and give it back. A game pauses on such
// a switch only if the focus is still away once this settles.
constexpr int64_t fullscreenSettleTicks = 30;

void loseFocus() {
    if (within(moments.fullscreenToggled, fullscreenSettleTicks)) {
        moments.pauseOnSettle = game.inGame;
    } else if (game.inGame) {
        setPaused(true);
    }
}

// Two updates per tick in a game, one on the title.
void tick() {
    if (moments.pauseOnSettle && !within(moments.fullscreenToggled, fullscreenSettleTicks)) {
        moments.pauseOnSettle = false;
        setPaused(true);
    }
    if (game.paused) {
        return;
    }
    const bool wasInGame = game.inGame;
    if (game.inGame) {
        update();
    }
    update();
    if (wasInGame && !game.inGame) {
        moments.titleFromGame = now();
    }
}

// Which way a gamepad steers, -1, 0 or 1: its releases must not let go of
// a steering key still held on the keyboard.
int padSteering = 0;

void releaseKeys() {
    game.keyLeft = game.keyRight = game.keyStart = false;
    padSteering = 0;
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

void toggleFullscreen() {
    const bool on = al_get_display_flags(shell.display) & ALLEGRO_FULLSCREEN_WINDOW;
    al_set_display_flag(shell.display, ALLEGRO_FULLSCREEN_WINDOW, !on);
    // The switch may take a while; the focus it takes away comes after.
    moments.fullscreenToggled = now();
    repaint();
}

// Keys that act once per press, not held: pause, quit, mute, fullscreen.
void pressKey(const ALLEGRO_KEYBOARD_EVENT &key) {
    const bool alt = key.modifiers & ALLEGRO_KEYMOD_ALT;
    if (key.repeat) {
        return;
    }
    if (key.keycode == ALLEGRO_KEY_ESCAPE && !game.inGame) {
        game.running = !escapeQuits();
    } else if (key.keycode == ALLEGRO_KEY_P || key.keycode == ALLEGRO_KEY_ESCAPE) {
        setPaused(!game.paused);
    } else if (key.keycode == ALLEGRO_KEY_M) {
        muteSounds(!audio.muted);
    } else if (key.keycode == ALLEGRO_KEY_F11 ||
               ((key.keycode == ALLEGRO_KEY_ENTER || key.keycode == ALLEGRO_KEY_PAD_ENTER) &&
                alt)) {
        toggleFullscreen();
    }
}

constexpr float stickDeadZone = 0.5f; // of a stick's travel
constexpr int faceButtons = 4;        // the first buttons of every common pad

// The left stick is a pad's first stick; a d-pad is a digital one.
bool steersWith(const ALLEGRO_JOYSTICK_EVENT &pad) {
    if (pad.axis != 0) {
        return false;
    }
    return pad.stick == 0 ||
           (pad.id && (al_get_joystick_stick_flags(pad.id, pad.stick) & ALLEGRO_JOYFLAG_DIGITAL));
}

void steerWithPad(float position) {
    const int steering = position < -stickDeadZone ? -1 : position > stickDeadZone ? 1 : 0;
    if (steering == padSteering) {
        return;
    }
    if (padSteering != 0) {
        (padSteering < 0 ? game.keyLeft : game.keyRight) = false;
    }
    if (steering != 0) {
        (steering < 0 ? game.keyLeft : game.keyRight) = true;
    }
    padSteering = steering;
}

// A face button is Space. Start, and any other button, pauses or resumes a
// game; on the title it is Space too.
void pressPadButton(int button) {
    if (button >= faceButtons && game.inGame) {
        setPaused(!game.paused);
    } else {
        game.keyStart = true;
    }
}

} // namespace

bool handleEvent() {
    ALLEGRO_EVENT ev;
    al_wait_for_event(shell.queue, &ev);
    switch (ev.type) {
    case ALLEGRO_EVENT_TIMER:
        return isRecent(ev.timer);
    case ALLEGRO_EVENT_KEY_DOWN:
        setKey(ev.keyboard.keycode, true);
        break;
    case ALLEGRO_EVENT_KEY_UP:
        setKey(ev.keyboard.keycode, false);
        break;
    case ALLEGRO_EVENT_KEY_CHAR:
        pressKey(ev.keyboard);
        break;
    case ALLEGRO_EVENT_JOYSTICK_AXIS:
        if (steersWith(ev.joystick)) {
            steerWithPad(ev.joystick.pos);
        }
        break;
    case ALLEGRO_EVENT_JOYSTICK_BUTTON_DOWN:
        pressPadButton(ev.joystick.button);
        break;
    case ALLEGRO_EVENT_JOYSTICK_BUTTON_UP:
        game.keyStart = false;
        break;
    // A pad plugged in or out: what the others held is let go.
    case ALLEGRO_EVENT_JOYSTICK_CONFIGURATION:
        al_reconfigure_joysticks();
        steerWithPad(0.0f);
        break;
    case ALLEGRO_EVENT_DISPLAY_CLOSE:
        game.running = false;
        break;
    // Keys released elsewhere never reach the game: let go of them all.
    case ALLEGRO_EVENT_DISPLAY_SWITCH_OUT:
        releaseKeys();
        loseFocus();
        break;
    case ALLEGRO_EVENT_DISPLAY_RESIZE:
        al_acknowledge_resize(ev.display.source);
        repaint();
        break;
    // The window may have lost what it showed.
    case ALLEGRO_EVENT_DISPLAY_SWITCH_IN:
        moments.pauseOnSettle = false;
        repaint();
        break;
    case ALLEGRO_EVENT_DISPLAY_EXPOSE:
        repaint();
        break;
    default:
        break;
    }
    return false;
}

// Frames are skipped when events pile up; updates never are.
void runLoopPass() {
    if (handleEvent()) {
        tick();
        watchAudioDevice();
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
