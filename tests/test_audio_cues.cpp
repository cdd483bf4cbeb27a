// The sound cues against a real (silent) audio device, checked through the
// library's own state: the tick music's instance and the one-shot slot.
#include <gtest/gtest.h>

#include <allegro5/allegro.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "audio/audio.h"
#include "game/game_state.h"
#include "shell/shell.h"
#include "support/wav_tone.h"

namespace {

constexpr double shortSoundSeconds = 0.3; // the two one-shot sounds
constexpr double musicSeconds = 2.0;      // both pieces of music
constexpr double patienceSeconds = 20.0;  // a loaded machine may be slow to play

class AudioCues : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_NE(std::getenv("PULSE_SERVER"), nullptr)
            << "needs the null-sink sound server: run under tests/support/with_pulse.sh";
        char dirTemplate[] = "/tmp/clockmaze-cues-XXXXXX";
        std::string dir = mkdtemp(dirTemplate);
        ASSERT_TRUE(writeToneWav(dir + "/BGM_piano_tick.wav", musicSeconds, 660.0, 0.3));
        ASSERT_TRUE(writeToneWav(dir + "/Menu_bgm.wav", musicSeconds, 440.0, 0.3));
        ASSERT_TRUE(writeToneWav(dir + "/game_over_overlay.wav", shortSoundSeconds, 330.0, 0.3));
        ASSERT_TRUE(writeToneWav(dir + "/zoom_transition.wav", shortSoundSeconds, 880.0, 0.3));
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        ASSERT_EQ(chdir(dir.c_str()), 0);
        ASSERT_TRUE(al_install_system(ALLEGRO_VERSION_INT, atexit));
        initAudio();
        ASSERT_EQ(chdir(here), 0);
        std::system(("rm -rf '" + dir + "'").c_str());
    }

    void SetUp() override {
        ASSERT_TRUE(audio.ready);
        ASSERT_NE(audio.tickInstance, nullptr);
        stopTickMusic();
        stopAllSounds();
        game = GameState{};
    }

    void TearDown() override {
        stopTickMusic();
        stopAllSounds();
    }

    // Whether the one-shot slot takes a request; if it does, the probe is
    // stopped again at once.
    static bool slotIsFree() {
        bool took = playOneShot(audio.gameOverSound, 0.0f, ALLEGRO_PLAYMODE_ONCE);
        if (took) {
            al_stop_samples();
        }
        return took;
    }

    static bool waitUntilSlotIsFree() {
        for (double waited = 0.0; waited < patienceSeconds; waited += 0.05) {
            if (slotIsFree()) {
                return true;
            }
            usleep(50000);
        }
        return false;
    }
};

TEST_F(AudioCues, StartTickMusicPlaysLoopedAtNormalSpeed) {
    // Leave the instance as a previous game could not have, to see each call.
    al_set_sample_instance_playmode(audio.tickInstance, ALLEGRO_PLAYMODE_ONCE);
    al_set_sample_instance_speed(audio.tickInstance, 1.5f);
    startTickMusic();
    EXPECT_TRUE(al_get_sample_instance_playing(audio.tickInstance));
    EXPECT_EQ(al_get_sample_instance_playmode(audio.tickInstance), ALLEGRO_PLAYMODE_LOOP);
    EXPECT_EQ(al_get_sample_instance_speed(audio.tickInstance), 1.0f);
    // Looping: still playing well after the end of the file.
    usleep(static_cast<useconds_t>((musicSeconds + 0.5) * 1e6));
    EXPECT_TRUE(al_get_sample_instance_playing(audio.tickInstance));
}

TEST_F(AudioCues, SetTickTempoFollowsTheScore) {
    struct Row {
        int32_t score;
        float speed; // expected playback speed
    };
    const Row rows[] = {{0, 1.0f},        {1, 1.01f},       {2, 1.0201f}, {3, 1.030301f},
                        {10, 1.1046221f}, {25, 1.2824320f}, {0, 1.0f}};
    startTickMusic();
    for (const Row &row : rows) {
        game.score = row.score;
        setTickTempo();
        EXPECT_NEAR(al_get_sample_instance_speed(audio.tickInstance), row.speed, 2e-6f)
            << "score " << row.score;
        EXPECT_TRUE(al_get_sample_instance_playing(audio.tickInstance)) << "score " << row.score;
    }
}

TEST_F(AudioCues, TickTempoIsOnePointZeroOneToThePowerOfTheScore) {
    for (int32_t score = 0; score <= 300; ++score) {
        double expected = std::pow(1.01, score);
        EXPECT_NEAR(tickTempo(score) / expected, 1.0, 1e-13) << "score " << score;
    }
}

TEST_F(AudioCues, StopAllSoundsSparesTheTickMusicAndStopTickMusicStopsIt) {
    startTickMusic();
    playMenuMusic();
    EXPECT_FALSE(slotIsFree());
    stopAllSounds();
    EXPECT_TRUE(slotIsFree());
    EXPECT_TRUE(al_get_sample_instance_playing(audio.tickInstance));
    stopTickMusic();
    EXPECT_FALSE(al_get_sample_instance_playing(audio.tickInstance));
}

TEST_F(AudioCues, OneShotAskedForWhileTheSlotIsBusyIsRefused) {
    struct Row {
        const char *name;
        void (*first)();
        ALLEGRO_SAMPLE *second;
    };
    const Row rows[] = {{"zoom, then game over", playZoomSound, audio.gameOverSound},
                        {"game over, then zoom", playGameOverSound, audio.zoomSound}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(slotIsFree());
        row.first();
        EXPECT_FALSE(playOneShot(row.second, 1.0f, ALLEGRO_PLAYMODE_ONCE));
        // Played once: the slot frees itself when the first sound ends.
        EXPECT_TRUE(waitUntilSlotIsFree());
    }
}

TEST_F(AudioCues, MenuMusicStopsAOneShotAndLoopsInTheSlot) {
    playZoomSound();
    ASSERT_FALSE(slotIsFree());
    playMenuMusic();
    // The zoom sound alone would have freed the slot by now; the looped
    // menu music keeps it.
    usleep(static_cast<useconds_t>((musicSeconds + 0.5) * 1e6));
    EXPECT_FALSE(slotIsFree());
    stopAllSounds();
    EXPECT_TRUE(slotIsFree());
}

// The sink's output while `play` runs, for `seconds` in all: mono 16-bit
// at 44.1 kHz, as parec records it.
std::vector<int16_t> recordWhile(double seconds, const std::function<void()> &play) {
    const std::string command = "timeout " + std::to_string(seconds) +
                                " parec --device=silent.monitor --format=s16le --rate=44100 "
                                "--channels=1 --raw";
    std::vector<int16_t> recording;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return recording;
    }
    std::thread reader([&] {
        int16_t buffer[4096];
        size_t got = 0;
        while ((got = std::fread(buffer, sizeof buffer[0], 4096, pipe)) > 0) {
            recording.insert(recording.end(), buffer, buffer + got);
        }
    });
    usleep(500000); // parec takes a moment to start
    play();
    reader.join();
    pclose(pipe);
    return recording;
}

// The loudest 50 ms of `recording` in which a tone of `frequency` stands
// clear of everything else; 0 if it never does.
double loudness(const std::vector<int16_t> &recording, double frequency) {
    constexpr size_t window = 2205;
    double loudest = 0.0;
    for (size_t at = 0; at + window <= recording.size(); at += window / 2) {
        const ToneMeasure m = measureTone(recording.data() + at, window, frequency);
        if (m.toneShare > 0.9) {
            loudest = std::max(loudest, m.rms);
        }
    }
    return loudest;
}

// Each one-shot's loudness measured from a recording of the sink: the menu
// music and the game-over sound at full gain, the zoom sound at 0.7. The
// three test tones are equally loud in their files.
TEST_F(AudioCues, OneShotsPlayAtTheirGains) {
    const std::vector<int16_t> recording = recordWhile(2.6, [] {
        playMenuMusic();
        usleep(400000);
        stopAllSounds();
        playGameOverSound();
        usleep(500000);
        playZoomSound();
    });
    ASSERT_GT(recording.size(), 44100u) << "parec recorded too little";
    const double menu = loudness(recording, 440.0), gameOver = loudness(recording, 330.0),
                 zoom = loudness(recording, 880.0);
    std::printf("rms: menu music %.4f, game over %.4f, zoom %.4f\n", menu, gameOver, zoom);
    ASSERT_GT(menu, 0.01) << "the menu music is not heard";
    EXPECT_NEAR(gameOver / menu, 1.0, 0.05);
    EXPECT_NEAR(zoom / menu, 0.7, 0.05);
}

// Waits until the tick music has played on for `seconds`, counting through
// its loops; false if it does not within the patience.
bool tickMusicPlaysOn(double seconds) {
    const unsigned length = al_get_sample_instance_length(audio.tickInstance);
    const double wanted = seconds * al_get_sample_instance_frequency(audio.tickInstance);
    unsigned last = al_get_sample_instance_position(audio.tickInstance);
    double played = 0.0;
    for (double waited = 0.0; waited < patienceSeconds && played < wanted; waited += 0.05) {
        usleep(50000);
        const unsigned now = al_get_sample_instance_position(audio.tickInstance);
        played += (now + length - last) % length;
        last = now;
    }
    return played >= wanted;
}

// P pressed in a game, through the loop: the tick music holds its place,
// and goes on from there at the second press. Holding still costs next to
// nothing: no driver thread asks for sound without rest.
TEST_F(AudioCues, PausingAGameHoldsTheMusicWhereItIs) {
    ALLEGRO_EVENT_SOURCE keys;
    al_init_user_event_source(&keys);
    shell.queue = al_create_event_queue();
    al_register_event_source(shell.queue, &keys);
    auto pressP = [&] {
        ALLEGRO_EVENT ev = {};
        ev.type = ALLEGRO_EVENT_KEY_CHAR;
        ev.keyboard.keycode = ALLEGRO_KEY_P;
        al_emit_user_event(&keys, &ev, nullptr);
        handleEvent();
    };
    game.inGame = true;
    startTickMusic();
    ASSERT_TRUE(tickMusicPlaysOn(0.3));
    pressP();
    EXPECT_TRUE(game.paused);
    usleep(100000); // what the mixer had taken before the pause plays out
    const unsigned held = al_get_sample_instance_position(audio.tickInstance);
    const std::clock_t cpuBefore = std::clock();
    usleep(400000);
    EXPECT_LT(static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC, 0.05)
        << "CPU seconds of this process in 0.4 s of pause";
    EXPECT_EQ(al_get_sample_instance_position(audio.tickInstance), held);
    EXPECT_GT(held, 0u);
    pressP();
    EXPECT_FALSE(game.paused);
    EXPECT_TRUE(tickMusicPlaysOn(0.3));
    EXPECT_TRUE(al_get_sample_instance_playing(audio.tickInstance));
    al_destroy_user_event_source(&keys);
    al_destroy_event_queue(shell.queue);
    shell.queue = nullptr;
}

// A device opened anew while the game is paused keeps every sound held
// until the game resumes, and then plays on from there.
TEST_F(AudioCues, ReopenedDeviceGoesOnWhereTheSoundsStood) {
    startTickMusic();
    pauseSounds(true);
    ASSERT_TRUE(reopenAudio());
    const unsigned held = al_get_sample_instance_position(audio.tickInstance);
    usleep(400000);
    EXPECT_EQ(al_get_sample_instance_position(audio.tickInstance), held);
    EXPECT_TRUE(al_get_sample_instance_playing(audio.tickInstance));
    pauseSounds(false);
    EXPECT_TRUE(tickMusicPlaysOn(1.0));
}

// Muted, nothing is heard while the music goes on at its tempo; unmuted, it
// is heard again at that tempo.
TEST_F(AudioCues, MuteSilencesEverythingAndKeepsTheTempo) {
    startTickMusic();
    game.score = 10;
    setTickTempo();
    const double pitch = 660.0 * std::pow(1.01, 10); // the tick tone, played faster
    const std::vector<int16_t> recording = recordWhile(2.8, [] {
        muteSounds(true);
        usleep(200000);
        playZoomSound();
        usleep(1200000);
        muteSounds(false);
    });
    ASSERT_GT(recording.size(), 2 * 44100u) << "parec recorded too little";
    // Muted from about 0.5 s to 1.9 s after the recording was asked for;
    // parec itself starts a little late.
    const std::vector<int16_t> muted(recording.begin() + 44100 * 9 / 10,
                                     recording.begin() + 44100 * 15 / 10);
    const std::vector<int16_t> heard(recording.begin() + 44100 * 21 / 10, recording.end());
    EXPECT_EQ(loudness(muted, pitch), 0.0) << "the music while muted";
    EXPECT_EQ(loudness(muted, 880.0), 0.0) << "the zoom sound while muted";
    EXPECT_GT(loudness(heard, pitch), 0.05) << "the music after unmuting, at its tempo";
    EXPECT_TRUE(al_get_sample_instance_playing(audio.tickInstance));
}

} // namespace
