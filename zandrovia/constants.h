// Zandrovia: the game's built-in settings and the preferences file.
//
// The constants are plain values given by InitConstantsFile() at module
// start; nothing changes them afterwards (tests may flip the switches). The
// preferences file keeps the player's name, e-mail, level and tutorial flag
// in the framework's key=value format in the user's home folder.
//
// Depends on kestrum-framework (Config) and the platform's files.
#pragma once

#include <array>
#include <string>

#include "kestrum-framework/config.h"
#include "platform/types.h"

// Version text sent with a score.
extern std::string VERSION;
// Debug keys of the game frame and a few diagnostic lines.
extern bool CheatKeys;
// Diagnostic lines on standard output and the particle counters on screen.
extern bool DebugPrints;
// The layout editor on the pause menu's root.
extern bool GuiEditor;
// Scores are posted and the hall of fame is fetched.
extern bool HALL_OF_FAME_ENABLED;

extern std::string ScoreServiceUrl;
extern std::string HomepageUrl;
extern std::string SocialUrl1;
extern std::string SocialUrl2;
extern std::string PrivacyUrl;

extern std::string TitleFont;
extern std::string TextFont;

extern bool TrailsEnabled;
extern bool TankDustEnabled;

// The gain of the whole mix, music and effects alike (the audio device's
// master volume, set at start-up).
extern float MixVolume;

// Particle budget pairs: [most live particles, kind]. Effects without a pair
// pass (-1, 0): no budget.
using BudgetPair = std::array<int, 2>;
extern BudgetPair BulletDustBudget;
extern BudgetPair TankDustBudget;
extern BudgetPair RocketSmokeBudget;
extern BudgetPair ImpactBudget;
extern BudgetPair ExplosionBudget;
// The sum of the five budgets: the size of the shared particle pool.
extern int ParticleTotal;

// Game-state bases; a base's following steps are base + 1, base + 2, ...
// Play is the plain value 0.
constexpr int STATE_PLAY = 0;
extern int STATE_LEVEL_UP;
extern int STATE_NEW_GAME;
extern int STATE_COMPLETED;
extern int STATE_GAME_OVER;

extern int WEAPON_LEVELS;
extern int LASER_RANGE;
extern int LASER_AMMO_PICKUP;
extern int TRACKER_AMMO_PICKUP;
extern float SHIELD_ALPHA;
extern int PLAYER_ENERGY;
extern int SHIELD_ENERGY_PICKUP;

// Muzzle offset of a tank's gun for each of the 36 turret frames.
extern std::array<platform::Vec2i, 36> TurretMuzzleOffsets;

extern std::string PREFS_KEY_INSTRUCTIONS;

// Gives every constant above its value; runs before the globals file's initialiser.
void InitConstantsFile();

// --- Preferences file --------------------------------------------------------

// The preferences live in Prefs, a Config whose reads and writes start at
// its cursor. A start-up reads each key at its first line; so that a save
// writes the value the next start reads, even when a hand-edited file holds a
// key twice, every read and write of Prefs starts at line 0 and leaves the
// cursor there (the functions below do so).

// ".zandrovia.pref.dat" in the user's home folder.
std::string PrefsPath();
// The whole text of the preferences file, read once at start-up; "" when it
// is missing or unreadable. A file that is there but cannot be read (a
// folder, a file of another user) is reported in one line, and no save of
// this run replaces it: its progress is kept for a start that can read it.
// Temporary files of saves that were killed before their rename are removed.
std::string LoadPrefsText();
// Replaces the preferences file by the text (platform::SaveString: all or
// nothing, keeping the file's permissions, writing through a link). Returns
// false when the save did not happen; the old file, if any, is then
// untouched. The first failed save of a run prints one line naming the file
// and the reason; play goes on with the preferences in memory.
bool SavePrefsText(const std::string& text);

// The saved level index: "levelIndex" when it is a whole number naming an
// entry of the level table, else 1 (a missing, garbled or out-of-range value
// must not start a level that does not exist).
int PrefsLevelIndex(kestrum::framework::Config& prefs);
// The saved tutorial flag ("instructions1"); False when absent or not a Bool.
bool PrefsInstructionsSeen(kestrum::framework::Config& prefs);

// Writes the player's progress into Prefs and saves Prefs to the file.
void SaveState();
