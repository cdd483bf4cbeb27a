#include "audio/audio.h"

void initAudio() {}
void startTickMusic() {}
void setTickTempo() {}
void stopTickMusic() {}
void stopAllSounds() {}
void playMenuMusic() {}
void playGameOverSound() {}
void playZoomSound() {}
