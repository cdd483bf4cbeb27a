// The frame key of the current state, and the decision to draw or skip.
#include "shell/present.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "game/game_state.h"
#include "render/maze_view.h"
#include "render/scene.h"
#include "render/screens.h"
#include "shell/assets.h"
#include "shell/mouse_sprites.h"
#include "shell/shell.h"
#include "shell/window_region.h"

static_assert(sizeof(FrameKey) == 17 * 4 + 2 * mazeCellCount,
              "FrameKey must have no padding: it is compared with memcmp");

FrameMemo frameMemo;

namespace {

// The mouse's layer reads its sprite, angle, radius and facing.
void keyMouse(FrameKey &key) {
    key.sprite = game.mouse.animFrame / mouseFramesPerSprite;
    key.mouseAngle = game.mouse.angle;
    key.mouseRadius = mouseRadius();
    key.facingRight = game.mouse.facingRight ? 1 : 0;
}

void keyGame(FrameKey &key) {
    key.warningLevel = warningLevel(game.timeLeft, game.timeLimit);
    key.score = game.score;
    key.zoomFrame = isZooming() ? static_cast<int32_t>(game.phaseFrame) : -1;
    key.outerClock = game.gameOver || game.score != 0 ? 1 : 0;
    key.handShown = game.timeLimit != 0 ? 1 : 0;
    key.handDegrees = key.handShown ? clockHandDegrees() : 0.0f;
    key.mazeHidden = mazeHidden() ? 1 : 0;
    std::memcpy(key.walls, wallMap.cells, sizeof key.walls);
    std::memcpy(key.arcs, arcMap.cells, sizeof key.arcs);
    keyMouse(key);
    key.fadeAlpha = game.gameOver ? fadeAlpha(game.phaseFrame) : -1;
    const bool message = game.levelTransition && game.phaseFrame > zoomLength &&
                         game.messageIndex >= 0 && game.messageIndex < messageCount;
    key.messageSlot = message ? game.messageIndex : -1;
    key.messageX = message ? levelMessageX(game.phaseFrame) : 0;
}

// A game needs every picture but the level messages, of which it holds the
// one it shows, and the mouse's sprite shown; the title, the ones up to its
// current slot, which are first in the loading order.
void readyPicturesShown() {
    if (assets.picturesOnDemand) {
        const int needed =
            game.inGame ? picturesBeforeMessages : menuFrameSlot(game.phaseFrame) + 1;
        while (assets.picturesLoaded < needed && !lastingPicturesLoaded()) {
            loadNextPicture();
        }
        if (game.inGame && game.levelTransition && game.phaseFrame > zoomLength) {
            holdLevelMessage(game.messageIndex);
        }
    }
    // The run cycle's picture is changed before the frame's drawing starts:
    // changed in the middle, the driver would first finish what was drawn.
    if (game.inGame) {
        mouseSprite(game.mouse.animFrame / mouseFramesPerSprite);
    }
}

} // namespace

FrameKey frameKey() {
    FrameKey key;
    std::memset(&key, 0, sizeof key);
    key.inGame = game.inGame ? 1 : 0;
    if (game.inGame) {
        keyGame(key);
    } else {
        key.menuSlot = menuFrameSlot(game.phaseFrame);
        key.bestScore = game.bestScore;
        key.score = game.score;
    }
    return key;
}

namespace {

FrameKey withoutMovingParts(FrameKey key) {
    key.messageX = 0;
    key.handDegrees = 0.0f;
    key.sprite = 0;
    key.mouseAngle = 0.0f;
    key.mouseRadius = 0.0f;
    key.facingRight = 0;
    return key;
}

ScreenBox mouseBoxOf(const FrameKey &key) {
    return mouseBox(key.sprite, key.mouseAngle, key.mouseRadius, key.facingRight != 0);
}

ScreenBox onWindow(const ScreenBox &box) {
    return {std::max(box.x0, 0), std::max(box.y0, 0), std::min<int>(box.x1, screenWidth),
            std::min<int>(box.y1, screenHeight)};
}

// Each box redrawn in full, the rest of the back buffer left holding the
// frame before.
void redrawBoxes(const ScreenBox boxes[], int count) {
    for (int i = 0; i < count; ++i) {
        const ScreenBox &b = boxes[i];
        al_set_clipping_rectangle(b.x0, b.y0, b.x1 - b.x0, b.y1 - b.y0);
        render();
    }
    al_reset_clipping_rectangle();
}

void showBoxes(const ScreenBox boxes[], int count) {
    for (int i = 0; i < count; ++i) {
        showRegion(boxes[i].x0, boxes[i].y0, boxes[i].x1 - boxes[i].x0, boxes[i].y1 - boxes[i].y0);
    }
}

void showWhole() {
    if (regionUpdatesOn()) {
        showRegion(0, 0, screenWidth, screenHeight);
    } else {
        al_flip_display();
    }
}

bool sameMouse(const FrameKey &a, const FrameKey &b) {
    return a.sprite == b.sprite && a.mouseAngle == b.mouseAngle && a.mouseRadius == b.mouseRadius &&
           a.facingRight == b.facingRight;
}

// Boxes that overlap much are redrawn as one: one pass over their joint
// box paints no more than two would.
int mergeBoxes(ScreenBox boxes[], int count) {
    for (int i = 0; i < count; ++i) {
        for (int j = i + 1; j < count; ++j) {
            const ScreenBox both = joinBoxes(boxes[i], boxes[j]);
            if (boxArea(both) <= boxArea(boxes[i]) + boxArea(boxes[j])) {
                boxes[i] = both;
                boxes[j] = boxes[count - 1];
                return mergeBoxes(boxes, count - 1);
            }
        }
    }
    return count;
}

// The first frame of a level in play, after the title or a zoom.
bool playBegins(const FrameKey &next) {
    const FrameKey &shown = frameMemo.shown;
    return next.inGame && next.zoomFrame < 0 &&
           (!frameMemo.valid || !shown.inGame || shown.zoomFrame >= 0);
}

} // namespace

int changedBoxes(const FrameKey &shown, const FrameKey &next, ScreenBox boxes[maxChangedBoxes]) {
    const FrameKey a = withoutMovingParts(shown), b = withoutMovingParts(next);
    if (!next.inGame || std::memcmp(&a, &b, sizeof a) != 0) {
        return 0;
    }
    ScreenBox changed[maxChangedBoxes];
    std::fill(std::begin(changed), std::end(changed), noBox);
    for (int i = 0; i < handPieces && shown.handDegrees != next.handDegrees; ++i) {
        changed[i] = joinBoxes(clockHandPieceBox(shown.handDegrees, i),
                               clockHandPieceBox(next.handDegrees, i));
    }
    if (!sameMouse(shown, next)) {
        changed[handPieces] = joinBoxes(mouseBoxOf(shown), mouseBoxOf(next));
    }
    if (shown.messageX != next.messageX) {
        changed[handPieces + 1] = joinBoxes(levelMessageBox(shown.messageSlot, shown.messageX),
                                            levelMessageBox(next.messageSlot, next.messageX));
    }
    int count = 0;
    for (const ScreenBox &box : changed) {
        if (!isEmpty(onWindow(box))) {
            boxes[count++] = onWindow(box);
        }
    }
    return mergeBoxes(boxes, count);
}

void presentFrame() {
    readyPicturesShown();
    if (!shell.display) {
        render();
        return;
    }
    const FrameKey key = frameKey();
    if (frameMemo.valid && frameMemo.skipped < maxSkippedFrames &&
        std::memcmp(&key, &frameMemo.shown, sizeof key) == 0) {
        frameMemo.skipped += 1;
        return;
    }
    // Where the window takes regions the back buffer is never swapped, so it
    // always holds the frame shown: only what changed is redrawn, and a
    // window to repair, or one due to be put there whole, is copied from it.
    const bool kept = regionUpdatesOn() && frameMemo.valid;
    ScreenBox boxes[maxChangedBoxes];
    const int count = kept ? changedBoxes(frameMemo.shown, key, boxes) : 0;
    if (count > 0) {
        redrawBoxes(boxes, count);
    } else if (!kept || std::memcmp(&key, &frameMemo.shown, sizeof key) != 0) {
        render();
    }
    if (count > 0 && frameMemo.regionFrames < maxRegionFrames) {
        showBoxes(boxes, count);
        frameMemo.regionFrames += 1;
    } else {
        showWhole();
        frameMemo.regionFrames = 0;
    }
    if (playBegins(key)) {
        // Starting a level leaves free holes behind: the zoom's drawing and
        // the message's decoding. Handed back, they do not pile up.
        releaseFreeHeap();
    }
    frameMemo.shown = key;
    frameMemo.valid = true;
    frameMemo.skipped = 0;
    frameMemo.drawn += 1;
}

void readyFirstFrame() {
    readyPicturesShown();
    if (shell.display) {
        render();
    }
}

void forgetShownFrame() { frameMemo.valid = false; }

void loadPictureWhileIdle() {
    if (assets.picturesOnDemand && !lastingPicturesLoaded() &&
        al_is_event_queue_empty(shell.queue)) {
        loadNextPicture();
    }
}
