// The steps of the end-to-end run, in the order a player meets them.
#pragma once

// Runs every step; stops at the first one that fails, since each later
// step needs the state the earlier ones reached.
bool runSteps();
