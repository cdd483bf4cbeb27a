// Music and sounds: the looping in-game music on its own instance, whose
// tempo rises with the score, and one shared one-shot slot for the rest.
// The cues themselves are declared with the rules that fire them.
#pragma once

#include "game/sound_cues.h"

void initAudio();
