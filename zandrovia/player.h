// Zandrovia: values of the player's ships shared with the men they catch.
#pragma once

// Sign of the next man's animation step; each new man takes it and negates it.
extern int ManSpinSign;
// The ship's firing cool-down in updates (a burst every 7 updates).
extern int PlayerFireDelay;
// The ship's tracker cool-down in updates (a tracker shot every 31 updates).
extern int PlayerTrackerDelay;

// Runs at module start after the constants and globals.
void InitPlayerFile();
