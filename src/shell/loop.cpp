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

// A tap on the title is Space held until an update has seen it: lifted
// between two ticks, it would otherwise start nothing.
bool startTapped = false;

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
    if (startTapped) {
        game.keyStart = startTapped = false;
    }
}

// Which way a gamepad steers, -1, 0 or 1: its releases must not let go of
// a steering key still held on the keyboard.
int padSteering = 0;

// Touches, and the mouse's left button, each held on the side of the frame it
// came down on: the left half steers anticlockwise, the right clockwise. The
// flags they set are theirs: letting go of them lets go of no key nor pad.
constexpr int mousePointer = -2; // touches are numbered from 0
struct PointerHold {
    int id = 0;
    int side = 0; // -1 left, 1 right; 0: a free slot
};
PointerHold pointerHolds[11]; // ten fingers and the mouse
bool pointerLeft = false, pointerRight = false;
bool keyboardLeft = false, keyboardRight = false; // steering keys held on the keyboard

void steerWithPointer() {
    bool left = false, right = false;
    for (const PointerHold &hold : pointerHolds) {
        left = left || hold.side < 0;
        right = right || hold.side > 0;
    }
    if (left != pointerLeft && (left || (padSteering >= 0 && !keyboardLeft))) {
        game.keyLeft = left;
    }
    if (right != pointerRight && (right || (padSteering <= 0 && !keyboardRight))) {
        game.keyRight = right;
    }
    pointerLeft = left;
    pointerRight = right;
}

void releaseKeys() {
    game.keyLeft = game.keyRight = game.keyStart = false;
    padSteering = 0;
    for (PointerHold &hold : pointerHolds) {
        hold = PointerHold{};
    }
    pointerLeft = pointerRight = keyboardLeft = keyboardRight = false;
}

void setKey(int keycode, bool down) {
    switch (keycode) {
    case ALLEGRO_KEY_A:
    case ALLEGRO_KEY_LEFT:
        game.keyLeft = keyboardLeft = down;
        break;
    case ALLEGRO_KEY_D:
    case ALLEGRO_KEY_RIGHT:
        game.keyRight = keyboardRight = down;
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

// Where a point of the window lies in the 800x600 frame.
void toFrame(float &x, float &y) {
    ALLEGRO_BITMAP *window = al_get_target_bitmap();
    const FrameBox box = frameBox(al_get_bitmap_width(window), al_get_bitmap_height(window));
    x = (x - box.x) * screenWidth / box.width;
    y = (y - box.y) * screenHeight / box.height;
}

int sideOf(float x) { return x < screenWidth / 2 ? -1 : 1; }

PointerHold *holdOf(int id) {
    for (PointerHold &hold : pointerHolds) {
        if (hold.side != 0 && hold.id == id) {
            return &hold;
        }
    }
    return nullptr;
}

// A finger's reach: the control answers a little beyond its edge.
bool onPauseControl(float x, float y) {
    const float dx = x - pauseControlX, dy = y - pauseControlY;
    const float reach = 1.5f * pauseControlRadius;
    return dx * dx + dy * dy <= reach * reach;
}

// On the title a press is Space. In a game it pauses on the pause control,
// resumes a paused game anywhere, and otherwise steers until let go.
void pressPointer(int id, float x, float y) {
    if (!shell.pointerUsed) {
        shell.pointerUsed = true;
        repaint();
    }
    toFrame(x, y);
    if (!game.inGame) {
        game.keyStart = true;
    } else if (game.paused || onPauseControl(x, y)) {
        setPaused(!game.paused);
    } else {
        for (PointerHold &hold : pointerHolds) {
            if (hold.side == 0) {
                hold = {id, sideOf(x)};
                break;
            }
        }
        steerWithPointer();
    }
}

// A held finger slid across the middle steers the other way.
void movePointer(int id, float x, float y) {
    if (PointerHold *hold = holdOf(id)) {
        toFrame(x, y);
        hold->side = sideOf(x);
        steerWithPointer();
    }
}

void releasePointer(int id) {
    if (game.keyStart && !game.inGame) {
        startTapped = true;
    } else {
        game.keyStart = false;
    }
    if (PointerHold *hold = holdOf(id)) {
        *hold = PointerHold{};
        steerWithPointer();
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
    case ALLEGRO_EVENT_TOUCH_BEGIN:
        pressPointer(ev.touch.id, ev.touch.x, ev.touch.y);
        break;
    case ALLEGRO_EVENT_TOUCH_MOVE:
        movePointer(ev.touch.id, ev.touch.x, ev.touch.y);
        break;
    case ALLEGRO_EVENT_TOUCH_END:
    case ALLEGRO_EVENT_TOUCH_CANCEL:
        releasePointer(ev.touch.id);
        break;
    case ALLEGRO_EVENT_MOUSE_BUTTON_DOWN:
        if (ev.mouse.button == 1) {
            pressPointer(mousePointer, ev.mouse.x, ev.mouse.y);
        }
        break;
    case ALLEGRO_EVENT_MOUSE_AXES:
        movePointer(mousePointer, ev.mouse.x, ev.mouse.y);
        break;
    case ALLEGRO_EVENT_MOUSE_BUTTON_UP:
        if (ev.mouse.button == 1) {
            releasePointer(mousePointer);
        }
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
