// Reading the game's records: the executable is position independent, so a
// record's address is its symbol value plus where the kernel loaded the file.
#include "e2e/game_process.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

bool launchGame(GameProcess &proc, const std::string &binary, const std::string &assetDir) {
    char resolved[PATH_MAX];
    if (!realpath(binary.c_str(), resolved)) {
        return false;
    }
    proc.binary = resolved;
    proc.pid = fork();
    if (proc.pid == 0) {
        // Never left behind, perhaps stopped, by a driver that died.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (chdir(assetDir.c_str()) != 0) {
            _exit(126);
        }
        execl(resolved, resolved, static_cast<char *>(nullptr));
        _exit(127);
    }
    return proc.pid > 0;
}

// Values of the wanted symbols as `nm` prints them (hexadecimal).
static std::map<std::string, uintptr_t> symbolValues(const std::string &binary) {
    std::map<std::string, uintptr_t> values;
    const std::string command = "nm --defined-only '" + binary + "'";
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return values;
    }
    char line[1024];
    while (std::fgets(line, sizeof line, pipe)) {
        char value[64], type[8], name[512];
        if (std::sscanf(line, "%63s %7s %511s", value, type, name) == 3) {
            values[name] = static_cast<uintptr_t>(std::strtoull(value, nullptr, 16));
        }
    }
    pclose(pipe);
    return values;
}

// ET_DYN (a PIE) has symbol values relative to its load address; ET_EXEC absolute ones.
static bool isPositionIndependent(const std::string &binary) {
    std::ifstream file(binary, std::ios::binary);
    unsigned char header[18] = {};
    file.read(reinterpret_cast<char *>(header), sizeof header);
    return file && header[16] == 3 && header[17] == 0;
}

// The lowest mapping of the executable file, which for a PIE starts at value 0.
static uintptr_t loadBase(pid_t pid, const std::string &binary) {
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::string line;
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        std::string range, perms, offset, device, inode, path;
        fields >> range >> perms >> offset >> device >> inode >> path;
        if (path == binary && std::strtoull(offset.c_str(), nullptr, 16) == 0) {
            return static_cast<uintptr_t>(std::strtoull(range.c_str(), nullptr, 16));
        }
    }
    return 0;
}

bool locateRecords(GameProcess &proc, std::string &error) {
    const std::map<std::string, uintptr_t> values = symbolValues(proc.binary);
    for (const char *name : {"game", "wallMap", "arcMap"}) {
        if (values.find(name) == values.end()) {
            error = std::string("no symbol '") + name + "' in " + proc.binary;
            return false;
        }
    }
    uintptr_t base = 0;
    if (isPositionIndependent(proc.binary)) {
        base = loadBase(proc.pid, proc.binary);
        if (base == 0) {
            error = "cannot find where " + proc.binary + " is loaded in process " +
                    std::to_string(proc.pid);
            return false;
        }
    }
    proc.gameAddress = base + values.at("game");
    proc.wallMapAddress = base + values.at("wallMap");
    proc.arcMapAddress = base + values.at("arcMap");
    return true;
}

static bool readRemote(pid_t pid, uintptr_t address, void *into, size_t size) {
    iovec local{into, size};
    iovec remote{reinterpret_cast<void *>(address), size};
    return process_vm_readv(pid, &local, 1, &remote, 1, 0) == static_cast<ssize_t>(size);
}

bool readSnapshot(const GameProcess &proc, GameSnapshot &snap) {
    return readRemote(proc.pid, proc.gameAddress, &snap.state, sizeof snap.state) &&
           readRemote(proc.pid, proc.wallMapAddress, &snap.walls, sizeof snap.walls) &&
           readRemote(proc.pid, proc.arcMapAddress, &snap.arcs, sizeof snap.arcs);
}

bool readGameState(const GameProcess &proc, GameState &state) {
    return readRemote(proc.pid, proc.gameAddress, &state, sizeof state);
}

bool stopGame(GameProcess &proc) {
    if (proc.exited || kill(proc.pid, SIGSTOP) != 0) {
        return false;
    }
    int status = 0;
    while (waitpid(proc.pid, &status, WUNTRACED) == proc.pid) {
        if (WIFSTOPPED(status)) {
            return true;
        }
        if (WIFEXITED(status) || WIFSIGNALED(status)) {
            proc.exited = true;
            proc.exitStatus = status;
            return false;
        }
    }
    return false;
}

void continueGame(GameProcess &proc) {
    if (!proc.exited) {
        kill(proc.pid, SIGCONT);
    }
}

bool waitForExit(GameProcess &proc, double seconds) {
    for (double waited = 0; !proc.exited && waited < seconds; waited += 0.05) {
        int status = 0;
        if (waitpid(proc.pid, &status, WNOHANG) == proc.pid &&
            (WIFEXITED(status) || WIFSIGNALED(status))) {
            proc.exited = true;
            proc.exitStatus = status;
            break;
        }
        usleep(50000);
    }
    return proc.exited;
}

void killGame(GameProcess &proc) {
    if (proc.pid > 0 && !proc.exited) {
        kill(proc.pid, SIGKILL);
        kill(proc.pid, SIGCONT);
        waitForExit(proc, 5.0);
    }
}
