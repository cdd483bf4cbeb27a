// The real game as a child process: started in its asset folder, stopped
// and resumed with signals, its rules' records read straight from its memory.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

#include "game/game_state.h"
#include "game/maze.h"

// One copy of the records the frame function reads.
struct GameSnapshot {
    GameState state;
    RingCellMap walls;
    RingCellMap arcs;
};

struct GameProcess {
    pid_t pid = -1;
    std::string binary;           // path of the executable that was started
    uintptr_t gameAddress = 0;    // where `game` lives in the child
    uintptr_t wallMapAddress = 0; // where `wallMap` lives in the child
    uintptr_t arcMapAddress = 0;  // where `arcMap` lives in the child
    bool exited = false;          // the child has been reaped
    int exitStatus = -1;          // its wait status once reaped
};

// Forks and runs `binary` with `assetDir` as its working directory.
bool launchGame(GameProcess &proc, const std::string &binary, const std::string &assetDir);

// Finds the three records from the executable's symbol table and its load
// address in the running child. Sets `error` on failure.
bool locateRecords(GameProcess &proc, std::string &error);

bool readSnapshot(const GameProcess &proc, GameSnapshot &snap);
bool readGameState(const GameProcess &proc, GameState &state);

// SIGSTOP, returning once every thread has stopped; false if the child exited.
bool stopGame(GameProcess &proc);
void continueGame(GameProcess &proc);

// Waits up to `seconds` for the child to end; false on timeout (it still runs).
bool waitForExit(GameProcess &proc, double seconds);

// Last resort for a failed run: SIGKILL and reap.
void killGame(GameProcess &proc);
