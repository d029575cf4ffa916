// Zandrovia: the game's built-in settings and the preferences file.
#include "zandrovia/constants.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <system_error>

#include "platform/files.h"
#include "zandrovia/globals.h"
#include "zandrovia/emailkeyboard.h"
#include "zandrovia/levels.h"
#include "zandrovia/namekeyboard.h"
#include "zandrovia/scoreservice.h"

std::string VERSION;
bool CheatKeys = false;
bool DebugPrints = false;
bool GuiEditor = false;
bool HALL_OF_FAME_ENABLED = true;

std::string ScoreServiceUrl;
std::string HomepageUrl;
std::string SocialUrl1;
std::string SocialUrl2;
std::string PrivacyUrl;

std::string TitleFont;
std::string TextFont;

bool TrailsEnabled = true;
bool TankDustEnabled = true;

float MixVolume = 1;

BudgetPair BulletDustBudget{};
BudgetPair TankDustBudget{};
BudgetPair RocketSmokeBudget{};
BudgetPair ImpactBudget{};
BudgetPair ExplosionBudget{};
int ParticleTotal = 0;

int STATE_LEVEL_UP = 0;
int STATE_NEW_GAME = 0;
int STATE_COMPLETED = 0;
int STATE_GAME_OVER = 0;

int WEAPON_LEVELS = 0;
int LASER_RANGE = 0;
int LASER_AMMO_PICKUP = 0;
int TRACKER_AMMO_PICKUP = 0;
float SHIELD_ALPHA = 0;
int PLAYER_ENERGY = 0;
int SHIELD_ENERGY_PICKUP = 0;

std::array<platform::Vec2i, 36> TurretMuzzleOffsets{};

std::string PREFS_KEY_INSTRUCTIONS;

void InitConstantsFile() {
    VERSION = "125";
    CheatKeys = false;
    DebugPrints = false;
    GuiEditor = false;
    HALL_OF_FAME_ENABLED = true;

    ScoreServiceUrl = ScoreServiceUrlFromEnvironment("https://scores.zandrovia.example/game/index.php");
    HomepageUrl = "https://www.zandrovia.example/";
    SocialUrl1 = "https://social.zandrovia.example/zandrovia";
    SocialUrl2 = "https://video.zandrovia.example/zandrovia";
    PrivacyUrl = "https://www.zandrovia.example/privacy";

    TitleFont = "fonts/stargaze.otf";
    TextFont = "fonts/stencil.otf";

    TrailsEnabled = true;
    TankDustEnabled = true;

    // Headroom for the sum of the sounds. The music peaks at 0.95 of full
    // scale and the effects play over it at their own volumes (1 for most);
    // with the explosions of one frame starting together, the busiest
    // moments of the wave levels sum to 1.5 to 1.8. Half the gain (-6 dB)
    // keeps them under full scale with 1 dB to spare, and, given to the
    // whole mix rather than to one part of it, leaves the effects as loud
    // against the music as their volumes say.
    MixVolume = 0.5f;

    BulletDustBudget = {24, 1};
    TankDustBudget = {48, 2};
    RocketSmokeBudget = {24, 3};
    ImpactBudget = {128, 4};
    ExplosionBudget = {32, 5};
    ParticleTotal = BulletDustBudget[0] + TankDustBudget[0] + RocketSmokeBudget[0] + ImpactBudget[0] +
                    ExplosionBudget[0];

    STATE_LEVEL_UP = 1;
    STATE_NEW_GAME = 10;
    STATE_COMPLETED = 100;
    STATE_GAME_OVER = 1000;

    WEAPON_LEVELS = 3;
    LASER_RANGE = 320;
    LASER_AMMO_PICKUP = 50;
    TRACKER_AMMO_PICKUP = 25;
    SHIELD_ALPHA = 0.25f;
    PLAYER_ENERGY = 8;
    SHIELD_ENERGY_PICKUP = 30;

    TurretMuzzleOffsets = {{{44, 2},    {43, 0},    {41, -3},   {39, -6},   {36, -8},   {33, -10},
                            {30, -12},  {27, -13},  {24, -14},  {21, -15},  {18, -16},  {15, -17},
                            {13, -18},  {10, -19},  {7, -20},   {5, -21},   {2, -22},   {0, -23},
                            {-3, -21},  {-5, -20},  {-8, -18},  {-10, -17}, {-13, -17}, {-15, -16},
                            {-18, -15}, {-20, -14}, {-23, -13}, {-26, -12}, {-29, -11}, {-32, -10},
                            {-35, -8},  {-38, -6},  {-41, -3},  {-43, 0},   {-44, 2},   {-45, 5}}};

    PREFS_KEY_INSTRUCTIONS = "instructions1";
}

// --- Preferences file --------------------------------------------------------

namespace {

// The file that start-up found but could not read. Saving over it would
// replace the player's progress with the defaults this run started from, so
// it is left alone until the next start.
std::string& UnreadablePrefs() {
    static std::string path;
    return path;
}

// The file whose failed save was reported: saves come at every level change,
// and one line a run tells the player all there is to know.
std::string& UnsavedPrefs() {
    static std::string path;
    return path;
}

// One line on standard output, as the program's other failures: what
// happened, the file and the system's reason.
void PrintPrefsFailure(const char* what, const std::string& path, const std::error_code& reason) {
    std::string message = reason.message();
    // System messages may end in a full stop and a line break.
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.')) {
        message.pop_back();
    }
    std::printf("%s: %s: %s\n", what, path.c_str(), message.c_str());
    std::fflush(stdout);
}

}  // namespace

std::string PrefsPath() { return platform::HomeDir() + ".zandrovia.pref.dat"; }

std::string LoadPrefsText() {
    const std::string path = PrefsPath();
    // Saves killed before their rename left temporary files beside it; they
    // go now rather than at the first save, which may be a level away.
    platform::RemoveStaleTemporaries(path);
    std::error_code error;
    std::optional<std::string> text = platform::TryLoadString(path, &error);
    if (text) return std::move(*text);
    // No file is the first run: nothing to say.
    if (error != std::errc::no_such_file_or_directory) {
        UnreadablePrefs() = path;
        PrintPrefsFailure("Preferences cannot be read, and are not saved in this run", path, error);
    }
    return std::string();
}

bool SavePrefsText(const std::string& text) {
    const std::string path = PrefsPath();
    if (path == UnreadablePrefs()) return false;
    std::error_code error;
    if (platform::SaveString(text, path, &error)) return true;
    if (path != UnsavedPrefs()) {
        UnsavedPrefs() = path;
        PrintPrefsFailure("Preferences cannot be saved", path, error);
    }
    return false;
}

int PrefsLevelIndex(kestrum::framework::Config& prefs) {
    constexpr int fallback = 1;
    prefs.Cursor = 0;
    const std::string text = prefs.ReadString("levelIndex", "");
    prefs.Cursor = 0;
    if (text.empty()) return fallback;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0') return fallback;
    if (value < 0 || value >= LevelCount) return fallback;
    return static_cast<int>(value);
}

bool PrefsInstructionsSeen(kestrum::framework::Config& prefs) {
    prefs.Cursor = 0;
    const bool seen = prefs.ReadBool(PREFS_KEY_INSTRUCTIONS, false);
    prefs.Cursor = 0;
    return seen;
}

void SaveState() {
    if (!Prefs) return;
    // Each lookup starts from the first line, so a repeated key is written
    // where the next start reads it.
    Prefs->Cursor = 0;
    if (NameEntry && NameDisplay) Prefs->ReplaceValue("player", NameDisplay->Text());
    Prefs->Cursor = 0;
    if (EmailEntry && EmailDisplay) Prefs->ReplaceValue("email", EmailDisplay->Text());
    Prefs->Cursor = 0;
    Prefs->WriteInt("levelIndex", levelIndex);
    Prefs->Cursor = 0;
    SavePrefsText(Prefs->ToString("\n"));
}
