// The sounds the rules ask for at their state changes. The audio module
// supplies them; the rules never see the audio library itself.
#pragma once

void startTickMusic();
void setTickTempo(); // reads game.score
void stopTickMusic();
void stopAllSounds();
void playMenuMusic();
void playGameOverSound();
void playZoomSound();
