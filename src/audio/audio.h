// Music and sounds: the looping in-game music on its own instance, whose
// tempo rises with the score, and one shared one-shot slot for the rest.
// The cues themselves are declared with the rules that fire them.
#pragma once

#include <allegro5/allegro_audio.h>

#include <cstdint>

#include "game/sound_cues.h"

// The audio handles, loaded once at start-up and kept for the run. An empty
// handle means its file could not be loaded (or there is no audio device);
// every cue whose handle is empty does nothing.
struct AudioSet {
    ALLEGRO_SAMPLE *tickMusic = nullptr;             // in-game music, looped on tickInstance
    ALLEGRO_SAMPLE *menuMusic = nullptr;             // title music, looped in the one-shot slot
    ALLEGRO_SAMPLE *gameOverSound = nullptr;         // one-shot slot, played once
    ALLEGRO_SAMPLE *zoomSound = nullptr;             // one-shot slot, played once at reduced gain
    ALLEGRO_SAMPLE_INSTANCE *tickInstance = nullptr; // tickMusic on the default mixer
    bool ready = false; // an audio device is open and the one-shot slot is reserved
    bool muted = false; // the player silenced every sound
};

extern AudioSet audio;

// The four sound files, in the order they load: tick music, menu music,
// game-over sound, zoom sound.
constexpr int soundCount = 4;
extern const char *const soundFiles[soundCount];

// Brings up the audio and codec add-ons, reserves the one-shot slot and
// loads the four sound files, writing "error" to standard output for each
// file that cannot be loaded. Without an audio device the game stays silent.
void initAudio();

// 1.01 to the power score, by repeated squaring in double precision: the
// in-game music's playback speed after `score` cleared levels.
double tickTempo(int32_t score);

// While a game is paused every sound holds still, and goes on from there.
void pauseSounds(bool paused);
// Muted, nothing is heard, but every cue goes on as before: unmuted, the
// music plays where and how fast it would have.
void muteSounds(bool muted);

// Called on every timer tick. A sound server that goes away leaves the
// library's driver pulling sound as fast as a core allows, and it never
// reconnects; a device unplugged on Windows leaves it taking none. Seen
// here as the voice taking sound far ahead of or far behind real time,
// that closes the device; another is opened every second until one takes
// sound at real time, and every sound goes on from where it stood.
void watchAudioDevice();

// The voice's pace, judged over windows of half a second.
struct PaceWindow {
    double start = 0.0;  // of the window open now, al_get_time() seconds
    int quietInARow = 0; // windows in a row in which the voice took (nearly) nothing
};
// Open: the window is not over. Live: sound taken at real time. Quiet:
// nearly none, not yet for long. Racing: taken far ahead of real time, the
// sign of a dead sound server. Stalled: none for long, the sign of a device
// that went away.
enum class VoicePace { Open, Live, Quiet, Racing, Stalled };
// At `now`, with `framesMixed` frames taken since window.start at
// `frequency` frames a second: once the window is over, its verdict, and
// the next window begins at `now` (the caller counts afresh).
VoicePace judgeVoicePace(PaceWindow &window, double now, double framesMixed, double frequency);
// Closes the audio device and opens another like it at once: what the watch
// does over a loss, in one step. False when none opens; the watch then
// tries again every second.
bool reopenAudio();

// Plays a sample once or looped in the one-shot slot, centred, at normal
// speed. False when the slot is still busy (the request is dropped) or
// there is nothing to play.
bool playOneShot(ALLEGRO_SAMPLE *sample, float gain, ALLEGRO_PLAYMODE mode);
