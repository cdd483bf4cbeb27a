// Stand-in sound cues for the rules tests: each cue appends its name.
#pragma once

#include <string>
#include <vector>

extern std::vector<std::string> cueLog;
