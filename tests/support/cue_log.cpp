#include "support/cue_log.h"

#include "game/sound_cues.h"

std::vector<std::string> cueLog;

void startTickMusic() { cueLog.push_back("startTickMusic"); }
void setTickTempo() { cueLog.push_back("setTickTempo"); }
void stopTickMusic() { cueLog.push_back("stopTickMusic"); }
void stopAllSounds() { cueLog.push_back("stopAllSounds"); }
void playMenuMusic() { cueLog.push_back("playMenuMusic"); }
void playGameOverSound() { cueLog.push_back("playGameOverSound"); }
void playZoomSound() { cueLog.push_back("playZoomSound"); }
