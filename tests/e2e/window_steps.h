// The steps that stop play or change the game's window: the pause, the
// keyboard taken away, fullscreen and a resized window.
#pragma once

// P in play: the game stands still under the pause veil.
bool pauseInPlay();

// While paused, so that the picture stands still: F11 to fullscreen and
// back, then the window resized by the window manager and put back.
bool fullscreenAndBack();
bool resizedWindow();

// P again: the clock runs on.
bool resumePlay(const char *step);

// The keyboard taken by another window while Right is held: the key is let
// go and the game pauses; back in the game, P resumes it.
bool focusLoss();
