// The mouse's two steps per update: steering along its ring, and
// dropping inward through the ring's opening.
#pragma once

void moveMouse();
void checkRingPassage();
