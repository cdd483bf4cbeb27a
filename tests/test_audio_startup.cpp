// Audio start-up in a child process, the way the game starts: what reaches
// standard output for each set of sound files, with and without an audio
// device, and that every cue is safe afterwards. The child ends with _exit,
// so only what initAudio flushed itself is seen.
#include <gtest/gtest.h>

#include <allegro5/allegro.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "audio/audio.h"
#include "support/wav_tone.h"

namespace {

// How a sound file lies in the folder: missing, a tone, or a WAV file
// with no samples at all.
enum SoundFile { Missing, Tone, NoSamples };

struct ChildRun {
    std::string out;    // everything written to standard output
    std::string err;    // everything written to standard error
    std::string report; // "ready=R tick=T", written by the child after initAudio
    int status = -1;    // exit status, or -1 if it did not exit normally
};

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

[[noreturn]] void childBody(const std::string &assetDir, const std::string &logDir, bool noDevice) {
    if (chdir(assetDir.c_str()) != 0) {
        _exit(10);
    }
    std::FILE *out = std::freopen((logDir + "/out").c_str(), "w", stdout);
    std::FILE *err = std::freopen((logDir + "/err").c_str(), "w", stderr);
    if (!out || !err) {
        _exit(11);
    }
    // Standard error is unbuffered in a real run; standard output stays
    // fully buffered, as it is when the game's output goes to a file.
    std::setvbuf(stderr, nullptr, _IONBF, 0);
    if (noDevice) {
        // No sound server and no OpenAL backend: nothing Allegro tries can open.
        setenv("PULSE_SERVER", "unix:/nonexistent/clockmaze-no-server", 1);
        setenv("ALSOFT_DRIVERS", "none", 1);
    }
    if (!al_install_system(ALLEGRO_VERSION_INT, nullptr)) {
        _exit(12);
    }
    initAudio();
    std::FILE *report = std::fopen((logDir + "/report").c_str(), "w");
    std::fprintf(report, "ready=%d tick=%d", audio.ready ? 1 : 0, audio.tickInstance ? 1 : 0);
    std::fclose(report);
    // A whole game's worth of cues, in the order the rules fire them.
    playMenuMusic();
    stopAllSounds();
    startTickMusic();
    setTickTempo();
    playZoomSound();
    setTickTempo();
    playGameOverSound();
    stopTickMusic();
    playMenuMusic();
    _exit(0);
}

// Runs initAudio and every cue in a child working in a folder that holds
// the sound files as `files` says.
ChildRun runInitAudio(const SoundFile files[4], bool noDevice) {
    ChildRun run;
    char assetTemplate[] = "/tmp/clockmaze-audio-XXXXXX";
    char logTemplate[] = "/tmp/clockmaze-audio-log-XXXXXX";
    std::string assetDir = mkdtemp(assetTemplate), logDir = mkdtemp(logTemplate);
    for (int i = 0; i < 4; ++i) {
        if (files[i] != Missing) {
            const double seconds = files[i] == Tone ? 0.5 : 0.0;
            EXPECT_TRUE(writeToneWav(assetDir + "/" + soundFiles[i], seconds, 440.0, 0.3));
        }
    }
    std::fflush(nullptr); // nothing of ours may be left in a buffer the child inherits
    pid_t pid = fork();
    if (pid == 0) {
        childBody(assetDir, logDir, noDevice);
    }
    int status = 0;
    for (int waited = 0; waited < 600 && waitpid(pid, &status, WNOHANG) == 0; ++waited) {
        usleep(100000);
    }
    if (waitpid(pid, &status, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        ADD_FAILURE() << "the child hung for 60 s";
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readFile(logDir + "/out");
    run.err = readFile(logDir + "/err");
    run.report = readFile(logDir + "/report");
    std::system(("rm -rf '" + assetDir + "' '" + logDir + "'").c_str());
    return run;
}

struct FileRow {
    const char *name;      // what the row is about
    SoundFile files[4];    // tick music, menu music, game-over sound, zoom sound
    const char *expectOut; // exactly what standard output must hold
};

// A WAV file without samples counts as missing: played, it would buzz.
const FileRow fileRows[] = {
    {"all four present", {Tone, Tone, Tone, Tone}, ""},
    {"all four missing", {Missing, Missing, Missing, Missing}, "errorerrorerrorerror"},
    {"only the menu music missing", {Tone, Missing, Tone, Tone}, "error"},
    {"only the tick music missing", {Missing, Tone, Tone, Tone}, "error"},
    {"only the two sounds missing", {Tone, Tone, Missing, Missing}, "errorerror"},
    {"the tick music without samples", {NoSamples, Tone, Tone, Tone}, "error"},
    {"the zoom sound without samples", {Tone, Tone, Tone, NoSamples}, "error"},
};

class AudioStartup : public ::testing::Test {
  protected:
    void SetUp() override {
        // A forked child inherits the library's threads' state only half.
        ASSERT_FALSE(al_is_system_installed()) << "run this suite in a process of its own";
    }
};

TEST_F(AudioStartup, WritesErrorOncePerMissingFileAndEveryCueIsSafe) {
    ASSERT_NE(std::getenv("PULSE_SERVER"), nullptr) << "needs the null-sink sound server: "
                                                       "run under tests/support/with_pulse.sh";
    for (const FileRow &row : fileRows) {
        SCOPED_TRACE(row.name);
        ChildRun run = runInitAudio(row.files, false);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, row.expectOut);
        std::string tick = row.files[0] == Tone ? "1" : "0";
        EXPECT_EQ(run.report, "ready=1 tick=" + tick);
        EXPECT_EQ(run.err.find("no audio device"), std::string::npos) << run.err;
    }
}

TEST_F(AudioStartup, WithoutAnyDeviceRunsSilentlyAndReportsTheSameFiles) {
    for (const FileRow &row : fileRows) {
        SCOPED_TRACE(row.name);
        ChildRun run = runInitAudio(row.files, true);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, row.expectOut);
        EXPECT_EQ(run.report, "ready=0 tick=0");
        EXPECT_NE(run.err.find("clockmaze: no audio device"), std::string::npos) << run.err;
    }
}

} // namespace
