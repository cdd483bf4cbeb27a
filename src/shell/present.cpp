// The frame key of the current state, and the decision to draw or skip.
#include "shell/present.h"

#include <cstring>
#include <iterator>

#include "game/game_state.h"
#include "render/maze_view.h"
#include "render/scene.h"
#include "render/screens.h"
#include "shell/assets.h"
#include "shell/shell.h"

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

// A game needs every picture; the title, the ones up to its current slot,
// which are first in the loading order.
void loadPicturesShown() {
    if (!assets.picturesOnDemand) {
        return;
    }
    const int needed = game.inGame ? pictureCount : menuFrameSlot(game.phaseFrame) + 1;
    while (assets.picturesLoaded < needed) {
        loadNextPicture();
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

void presentFrame() {
    loadPicturesShown();
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
    render();
    al_flip_display();
    frameMemo.shown = key;
    frameMemo.valid = true;
    frameMemo.skipped = 0;
    frameMemo.drawn += 1;
}

void forgetShownFrame() { frameMemo.valid = false; }

void loadPictureWhileIdle() {
    if (assets.picturesOnDemand && !allPicturesLoaded() && al_is_event_queue_empty(shell.queue)) {
        loadNextPicture();
    }
}
