// Audio start-up and the sound cues the rules fire.
#include "audio/audio.h"

#include <allegro5/allegro_acodec.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>

#include "game/game_state.h"
#include "shell/assets.h"

AudioSet audio;

const char *const soundFiles[soundCount] = {"BGM_piano_tick.wav", "Menu_bgm.wav",
                                            "game_over_overlay.wav", "zoom_transition.wav"};

// A single slot: a one-shot asked for while another still sounds is dropped.
constexpr int oneShotSlots = 1;
constexpr float menuMusicGain = 1.0f;
constexpr float gameOverGain = 1.0f;
constexpr float zoomGain = 0.7f;
constexpr float centrePan = 0.0f;
constexpr float normalSpeed = 1.0f;
constexpr double tempoStepPerLevel = 1.01;

static ALLEGRO_SAMPLE *loadSound(const char *name) {
    std::string filename = assetRoot + name;
    ALLEGRO_SAMPLE *sample = al_load_sample(filename.c_str());
    // A file with no samples at all would play as a burst of noise.
    if (sample && al_get_sample_length(sample) == 0) {
        al_destroy_sample(sample);
        sample = nullptr;
    }
    if (!sample) {
        loadProblems.sounds += 1;
        std::fputs("error", stdout);
        // Flushed at once so the report survives a process killed later on.
        std::fflush(stdout);
    }
    return sample;
}

// Attaching to a missing mixer is an assertion failure inside the library,
// so the instance exists only where it can really play.
static ALLEGRO_SAMPLE_INSTANCE *makeTickInstance() {
    ALLEGRO_MIXER *mixer = al_get_default_mixer();
    if (!audio.ready || !audio.tickMusic || !mixer) {
        return nullptr;
    }
    ALLEGRO_SAMPLE_INSTANCE *instance = al_create_sample_instance(audio.tickMusic);
    if (instance && !al_attach_sample_instance_to_mixer(instance, mixer)) {
        al_destroy_sample_instance(instance);
        instance = nullptr;
    }
    return instance;
}

// The sound device going away. A killed sound server leaves the library's
// PulseAudio and OpenAL drivers pulling sound for nobody as fast as a core
// allows, and neither ever reconnects; on Windows, a device unplugged or
// switched leaves DirectSound asking for no more sound at all. The pace at
// which the mixer on the voice is fed is the one sign the game sees, so
// that mixer counts what it mixes; far ahead of real time, or far behind
// it, the voice is closed, and another like it is tried every second until
// sound flows again. Only the voice is replaced (reinstalling the
// PulseAudio driver crashes the library): the mixers, the samples and
// their instances stay, so every sound goes on from where it stood.

// A live device takes mixed sound at real time, give or take the little its
// buffer holds; a driver writing to a dead server takes it many times
// faster, and one on a device that is gone takes none.
constexpr double paceWindowSeconds = 0.5;
constexpr double lostPace = 4.0;     // times real time
constexpr double stalledPace = 0.25; // times real time
// The first stream on a fresh PulseAudio server took up to a second and a
// half before it took sound: only this many quiet windows in a row mean the
// device is gone.
constexpr int quietWindowsForLoss = 4;
constexpr double retrySeconds = 1.0;
// OpenAL opens voices on a lost device that race at once: each such loss
// in a row waits twice as long before the next voice, up to this.
constexpr double longestWaitSeconds = 32.0;

VoicePace judgeVoicePace(PaceWindow &window, double now, double framesMixed, double frequency) {
    const double seconds = now - window.start;
    if (seconds < paceWindowSeconds) {
        return VoicePace::Open;
    }
    window.start = now;
    const double realTime = seconds * frequency;
    if (framesMixed >= stalledPace * realTime) {
        window.quietInARow = 0;
        return framesMixed > lostPace * realTime ? VoicePace::Racing : VoicePace::Live;
    }
    window.quietInARow += 1;
    return window.quietInARow >= quietWindowsForLoss ? VoicePace::Stalled : VoicePace::Quiet;
}

// The pace of the mixer on the voice, counted on the audio thread and read
// on the game's, and how to make another voice like the first.
struct DeviceWatch {
    ALLEGRO_MIXER *voiceMixer = nullptr;  // the library's own, on the voice
    std::atomic<uint64_t> framesMixed{0}; // by voiceMixer since pace.start
    PaceWindow pace;                      // of voiceMixer
    bool lost = false;                    // the voice is gone
    bool deviceGone = false;              // and the device with it: the driver must open anew
    unsigned int tickPosition = 0;        // of the in-game music as the device went, samples
    double nextTry = 0.0;                 // al_get_time() seconds, while lost
    double waitAfterLoss = retrySeconds;  // before the first try after a loss
    unsigned int frequency = 0;           // of the voice, in Hz
    ALLEGRO_AUDIO_DEPTH depth = ALLEGRO_AUDIO_DEPTH_INT16;
    ALLEGRO_CHANNEL_CONF channels = ALLEGRO_CHANNEL_CONF_2;
};

static DeviceWatch watch;

static void countMixedFrames(void *, unsigned int frames, void *) {
    watch.framesMixed.fetch_add(frames, std::memory_order_relaxed);
}

static void startWatch() {
    watch.framesMixed = 0;
    watch.pace = {al_get_time(), 0};
}

static void watchVoice(ALLEGRO_MIXER *voiceMixer) {
    ALLEGRO_VOICE *voice = al_get_default_voice();
    if (!voice) {
        return;
    }
    watch.voiceMixer = voiceMixer;
    watch.frequency = al_get_voice_frequency(voice);
    watch.depth = al_get_voice_depth(voice);
    watch.channels = al_get_voice_channels(voice);
    al_set_mixer_postprocess_callback(voiceMixer, countMixedFrames, nullptr);
    startWatch();
}

// Destroying the voice joins the driver's thread, busy or not.
static void closeVoice() {
    al_set_default_voice(nullptr);
    watch.lost = true;
}

static bool openVoice() {
    ALLEGRO_VOICE *voice = al_create_voice(watch.frequency, watch.depth, watch.channels);
    if (!voice) {
        return false;
    }
    if (!al_attach_mixer_to_voice(watch.voiceMixer, voice)) {
        al_destroy_voice(voice);
        return false;
    }
    al_set_default_voice(voice);
    watch.lost = false;
    startWatch();
    return true;
}

static void reinstallAudio();

// Only DirectSound stops taking sound when its device goes (a headset
// unplugged, the default output switched), and there the device comes back
// only with the whole driver opened anew: measured under Wine, a new voice
// on the old driver stays silent. Elsewhere a voice that takes nothing is a
// sound server that froze, where closing it would wait for ever, or a
// browser waiting for the player's first key or touch.
static bool quietMeansDeviceGone() { return al_get_system_id() == ALLEGRO_SYSTEM_ID_WINDOWS; }

bool reopenAudio() {
    if (!watch.voiceMixer) {
        return false;
    }
    closeVoice();
    watch.nextTry = al_get_time() + retrySeconds;
    return openVoice();
}

void watchAudioDevice() {
    if (!watch.voiceMixer && !watch.deviceGone) {
        return;
    }
    const double now = al_get_time();
    if (watch.lost) {
        if (now >= watch.nextTry) {
            watch.nextTry = now + retrySeconds;
            if (watch.deviceGone) {
                reinstallAudio();
            } else {
                openVoice();
            }
        }
        return;
    }
    const VoicePace pace =
        judgeVoicePace(watch.pace, now, static_cast<double>(watch.framesMixed.load()),
                       al_get_mixer_frequency(watch.voiceMixer));
    if (pace == VoicePace::Open) {
        return;
    }
    watch.framesMixed = 0;
    switch (pace) {
    case VoicePace::Racing:
        closeVoice();
        watch.nextTry = now + watch.waitAfterLoss;
        watch.waitAfterLoss = std::min(2.0 * watch.waitAfterLoss, longestWaitSeconds);
        break;
    // Nothing races while it waits: the next voice is tried in a second,
    // and again each time it takes no sound, until one does.
    case VoicePace::Stalled:
        if (quietMeansDeviceGone()) {
            closeVoice();
            watch.deviceGone = true;
            watch.nextTry = now;
        }
        break;
    case VoicePace::Live:
        watch.waitAfterLoss = retrySeconds;
        break;
    default:
        break;
    }
}

// The game's sounds get a default mixer of their own, played through the
// library's, which stays on the voice: pausing stops only the game's, and
// the voice goes on taking silence at real time. With the mixer on the
// voice stopped, the PulseAudio driver asked for sound without rest, on a
// whole core.
static void mixOnOwnMixer() {
    ALLEGRO_MIXER *voiceMixer = audio.ready ? al_get_default_mixer() : nullptr;
    if (!voiceMixer) {
        return;
    }
    ALLEGRO_MIXER *mixer =
        al_create_mixer(al_get_mixer_frequency(voiceMixer), al_get_mixer_depth(voiceMixer),
                        al_get_mixer_channels(voiceMixer));
    if (!mixer || !al_attach_mixer_to_mixer(mixer, voiceMixer)) {
        al_destroy_mixer(mixer);
        return;
    }
    // The one-shot slot moves onto the game's mixer with it.
    al_set_default_mixer(mixer);
    watchVoice(voiceMixer);
}

// The library's audio with the one-shot slot and the game's own mixer.
// Without a sound card the library has no driver to install, and reserving
// samples would then abort the process: the game plays silently instead.
static bool openAudioDevice() {
    const bool installed = al_install_audio();
    al_init_acodec_addon();
    audio.ready = installed && al_reserve_samples(oneShotSlots);
    mixOnOwnMixer();
    return audio.ready;
}

static void loadSounds() {
    loadProblems.sounds = 0;
    audio.tickMusic = loadSound(soundFiles[0]);
    audio.menuMusic = loadSound(soundFiles[1]);
    audio.gameOverSound = loadSound(soundFiles[2]);
    audio.zoomSound = loadSound(soundFiles[3]);
    audio.tickInstance = makeTickInstance();
}

void initAudio() {
    if (!openAudioDevice()) {
        std::fprintf(stderr, "clockmaze: no audio device; the game runs without sound\n");
    }
    // Loaded even when silent, so that the report of missing files does not
    // depend on the machine's sound card.
    loadSounds();
}

// The driver closed and opened anew, tried every second until a device
// answers. Closing it drops every sample, so they are read again, and what
// the game plays by then goes on: the in-game music in a game (where it
// stood when the device went, if that game still runs), the title's music
// on the title, pause and mute as they are.
static void reinstallAudio() {
    if (audio.tickInstance) {
        watch.tickPosition = al_get_sample_instance_position(audio.tickInstance);
    }
    const bool muted = audio.muted;
    al_uninstall_audio();
    audio = AudioSet{};
    audio.muted = muted;
    watch.voiceMixer = nullptr;
    if (!openAudioDevice()) {
        return;
    }
    watch.deviceGone = false;
    watch.lost = false;
    loadSounds();
    if (game.inGame && audio.tickInstance) {
        startTickMusic();
        setTickTempo();
        al_set_sample_instance_position(audio.tickInstance, watch.tickPosition);
    } else if (!game.inGame && game.timeLeft < 0) {
        playMenuMusic();
    }
    muteSounds(muted);
    pauseSounds(game.paused);
}

double tickTempo(int32_t score) {
    double base = tempoStepPerLevel;
    double result = 1.0;
    // Scores never fall below 0; a stray negative one plays at normal speed.
    uint32_t exponent = score > 0 ? static_cast<uint32_t>(score) : 0u;
    while (exponent > 0) {
        if (exponent & 1u) {
            result *= base;
        }
        base *= base;
        exponent >>= 1;
    }
    return result;
}

bool playOneShot(ALLEGRO_SAMPLE *sample, float gain, ALLEGRO_PLAYMODE mode) {
    if (!audio.ready || !sample) {
        return false;
    }
    return al_play_sample(sample, gain, centrePan, normalSpeed, mode, nullptr);
}

void startTickMusic() {
    if (!audio.tickInstance) {
        return;
    }
    al_play_sample_instance(audio.tickInstance);
    al_set_sample_instance_playmode(audio.tickInstance, ALLEGRO_PLAYMODE_LOOP);
    al_set_sample_instance_speed(audio.tickInstance, normalSpeed);
}

void setTickTempo() {
    if (audio.tickInstance) {
        al_set_sample_instance_speed(audio.tickInstance, static_cast<float>(tickTempo(game.score)));
    }
}

void stopTickMusic() {
    if (audio.tickInstance) {
        al_stop_sample_instance(audio.tickInstance);
    }
}

void stopAllSounds() {
    if (audio.ready) {
        al_stop_samples();
    }
}

void playMenuMusic() {
    if (!audio.ready || !audio.menuMusic) {
        return;
    }
    al_stop_samples();
    playOneShot(audio.menuMusic, menuMusicGain, ALLEGRO_PLAYMODE_LOOP);
}

void playGameOverSound() { playOneShot(audio.gameOverSound, gameOverGain, ALLEGRO_PLAYMODE_ONCE); }

void playZoomSound() { playOneShot(audio.zoomSound, zoomGain, ALLEGRO_PLAYMODE_ONCE); }

// Every sound goes through the default mixer: stopping it holds each one
// where it is, and its gain silences them all while they go on.
void pauseSounds(bool paused) {
    if (ALLEGRO_MIXER *mixer = audio.ready ? al_get_default_mixer() : nullptr) {
        al_set_mixer_playing(mixer, !paused);
    }
}

void muteSounds(bool muted) {
    audio.muted = muted;
    if (ALLEGRO_MIXER *mixer = audio.ready ? al_get_default_mixer() : nullptr) {
        al_set_mixer_gain(mixer, muted ? 0.0f : 1.0f);
    }
}
