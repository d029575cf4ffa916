// Zandrovia: the course of a game: the level to start with, the level-up
// sequence, the end of a game and a new game.
//
// gameState holds the step; GameStates_ runs one step per update:
// - play (0): the fade follows the task clock (it sinks to half while
//   halted, and climbs back to full while running);
// - level-up (1 to 5): the "level cleared" banner, 121 updates of waiting, a
//   fade to black in 20 updates, the next level built in the black frame
//   (the preferences saved with its index), a fade back in 20 updates;
// - game over (1000 to 1003): the name keyboard for a high score (its
//   keyboards move 1001 on to 1002), "GAME OVER" for six seconds, then the
//   hall of fame and the pause menu with the clock paused;
// - new game (10, 11): everything of play cleared and the screen started
//   anew, so OnStart builds the level that the preferences name;
// - completed (100): the closing texts; nothing enters it, as the level
//   index wraps to 1 before it could reach the end of the table.
// The level-up steps and the "GAME OVER" message wait while the task clock
// is halted (the pause menu); the other steps do not.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "kestrum-framework/contentmanager.h"
#include "kestrum-framework/taskmanager.h"
#include "kestrum-gui/guilayer.h"
#include "kestrum-scenegraph/camera.h"
#include "kestrum-scenegraph/scene.h"
#include "zandrovia/constants.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/laser.h"
#include "zandrovia/levels.h"
#include "zandrovia/localization.h"
#include "zandrovia/soundscheduler.h"
#include "zandrovia/taskscheduler.h"
#include "zandrovia/textmessage.h"
#include "zandrovia/zandrovia.h"

namespace {

using kestrum::framework::TasksHalted;

void DebugPrint(const char* line) {
    if (!DebugPrints) return;
    std::printf("%s\n", line);
    std::fflush(stdout);
}

int CentreX() { return GameCamera ? static_cast<int>(static_cast<float>(GameCamera->VirtualWidth()) * 0.5f) : 0; }
int CentreY() { return GameCamera ? static_cast<int>(static_cast<float>(GameCamera->VirtualHeight()) * 0.5f) : 0; }

platform::FontPtr BannerFont() { return kestrum::framework::Content->GetFont(TextFont, 64); }

// A message in the middle of the view from 600 ms on; it becomes LevelBanner.
void CentreMessage(std::vector<std::shared_ptr<TextMessageData>> entries) {
    LevelBanner = TextMessage::New(FrontLayer.get(), std::move(entries), CentreX(), CentreY(), 1, 600);
}

void CentreMessage(const std::string& text, int duration) {
    CentreMessage({std::make_shared<TextMessageData>(BannerFont(), text, duration)});
}

// The drag steering and the laser stop.
void StopControls() {
    SwipeLast = {0, 0};
    if (PlayerLaser) PlayerLaser->Enabled(false);
}

// The values of play that belong to one level's squadron.
void ClearSquadron() {
    LaserAmmo = 0;
    TrackerAmmo = 0;
    ShipsAlive = 0;
    TanksDestroyed = 0;
    WeaponLevel = 0;
    CurrentPlayer = nullptr;
    LevelPickups.clear();
}

void ClearSchedulers() {
    if (GameSoundScheduler) GameSoundScheduler->Clear();
    if (GameScheduler) GameScheduler->Clear();
}

void ClearLayers() {
    if (GameScene) GameScene->ClearLayers();
}

void StartLevel() {
    const LevelScript script = levelIndex >= 0 && levelIndex < LevelCount ? Levels[static_cast<std::size_t>(levelIndex)]
                                                                           : nullptr;
    if (script) script();
}

// Fade towards half while halted; a fade below half jumps to it.
void SinkFade() {
    Fade -= 0.01f;
    if (Fade < 0.5f) Fade = 0.5f;
}

void RaiseFade() { Fade = std::min(Fade + 0.01f, 1.0f); }

}  // namespace

void Game::OnStart() {
    InstructionsSeen = Prefs && PrefsInstructionsSeen(*Prefs);
    levelIndex = InstructionsSeen ? PrefsLevelIndex(*Prefs) : 0;
    StartLevel();
}

void Game::GameStates_() {
    const bool halted = TasksHalted();
    const int state = gameState;
    if (state == STATE_PLAY) {
        if (halted) {
            SinkFade();
        } else {
            RaiseFade();
        }
    } else if (state == STATE_LEVEL_UP) {
        DebugPrint("STATE_LEVEL_UP OK..");
        if (!halted) LevelCleared_();
    } else if (state == STATE_LEVEL_UP + 1) {
        if (halted) return;
        StateTimer -= 1;
        if (StateTimer < 0) gameState = STATE_LEVEL_UP + 2;
    } else if (state == STATE_LEVEL_UP + 2) {
        if (halted) return;
        const float e = Fade - 0.05f;
        if (e < 0) {
            Fade = 0;
            gameState = STATE_LEVEL_UP + 3;
        } else {
            Fade = e;
        }
    } else if (state == STATE_LEVEL_UP + 3) {
        if (!halted) LevelChange_();
    } else if (state == STATE_LEVEL_UP + 4) {
        if (halted) return;
        const float e = Fade + 0.05f;
        if (e > 1) {
            Fade = 1.0f;
            gameState = STATE_PLAY;
        } else {
            Fade = e;
        }
    } else if (state == STATE_COMPLETED) {
        if (!halted) Completed_();
    } else if (state == STATE_GAME_OVER) {
        if (HALL_OF_FAME_ENABLED && Score > 5000) {
            GuiMode = GUI_MODE_NAME;
            gameState = STATE_GAME_OVER + 1;
        } else {
            gameState = STATE_GAME_OVER + 2;
        }
    } else if (state == STATE_GAME_OVER + 1) {
        SinkFade();
    } else if (state == STATE_GAME_OVER + 2) {
        if (!halted) GameOverMessage_();
    } else if (state == STATE_GAME_OVER + 3) {
        RaiseFade();
        if (!halted && !(LevelBanner && LevelBanner->Enabled())) HallOfFame_();
    } else if (state == STATE_NEW_GAME) {
        Fade = 0;
        gameState = STATE_NEW_GAME + 1;
    } else if (state == STATE_NEW_GAME + 1) {
        NewGame_();
    }
}

void Game::LevelCleared_() {
    CentreMessage(morvane::locale::Localize("lvl_cleared"), 1000);
    DebugPrint("STATE_LEVEL_UP drin..");
    if (levelIndex == 0) {
        // The tutorial is done; its points do not count. The level change
        // writes the flag to the file.
        if (Prefs) Prefs->WriteBool(PREFS_KEY_INSTRUCTIONS, true);
        Score = 0;
    }
    PlaySfx(Voices[5]);
    StateTimer = 120;
    gameState = STATE_LEVEL_UP + 1;
}

void Game::LevelChange_() {
    StopControls();
    // The bonus of the level just cleared.
    Score += ShipsAlive * levelIndex;
    ClearSchedulers();
    ClearLayers();
    ClearSquadron();
    levelIndex += 1;
    if (levelIndex >= LevelCount) levelIndex = 1;
    SaveState();
    StartLevel();
    gameState = STATE_LEVEL_UP + 4;
}

void Game::Completed_() {
    PlaySfx(Voices[6]);
    std::vector<std::shared_ptr<TextMessageData>> entries{
        std::make_shared<TextMessageData>(BannerFont(), morvane::locale::Localize("end_youmadeit"), 4000),
        std::make_shared<TextMessageData>(BannerFont(), morvane::locale::Localize("end_thankyou"), 7000)};
    if (const auto& pauseRoot = GuiRoots[GUI_MODE_PAUSE]) {
        if (const auto close = pauseRoot->GetObject("close")) close->Enabled(false);
    }
    Score += ShipsAlive * levelIndex;
    levelIndex = 1;
    SaveState();
    levelIndex = -1;
    CentreMessage(std::move(entries));
    gameState = STATE_GAME_OVER + 1;
}

void Game::GameOverMessage_() {
    CentreMessage("GAME OVER", 1000);
    // The text stays six seconds before it fades.
    LevelBanner->Data.front()->Duration = 6000;
    gameState = STATE_GAME_OVER + 3;
}

void Game::HallOfFame_() {
    FetchHiscores_();
    gameState = STATE_PLAY;
    GuiMode = GUI_MODE_PAUSE;
    InitCredits_();
    kestrum::framework::SetTasksPaused(true);
}

void Game::NewGame_() {
    ClearLayers();
    ClearSchedulers();
    StopControls();
    Score = 0;
    ClearSquadron();
    // The screen starts anew in the next frame: OnStart builds the level.
    Set();
    kestrum::framework::SetTasksPaused(false);
    gameState = STATE_PLAY;
}
