// The steps in play: a level on screen, the four steering keys, and the
// scripted player clearing a level to the zoom and the next level.
#pragma once

bool levelInPlay();
bool steeringKeys();

// `reached` gets the score of the game once the next level is in play.
bool clearOneLevel(int &reached);
