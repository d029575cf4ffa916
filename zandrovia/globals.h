// Zandrovia: the game-wide state shared by the screens, actors and levels.
//
// Module globals that live until the process ends. InitGlobalsFile() gives
// them their start values at module start (after InitConstantsFile()); the
// screens, the loader and the level scripts fill in the objects later. Types
// of actors and widgets that other parts of the game define are only
// declared here.
//
// Depends on the platform, kestrum-framework, kestrum-scenegraph and kestrum-gui.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "kestrum-framework/config.h"
#include "kestrum-framework/objectpool.h"
#include "kestrum-scenegraph/objectlist.h"
#include "platform/audio.h"
#include "platform/image.h"
#include "platform/types.h"

namespace kestrum::scenegraph {
class Camera;
class Layer;
class LayerObject;
class LayerSprite;
class Scene;
}  // namespace kestrum::scenegraph
namespace kestrum::gui {
class GuiLayer;
}

class AttackerBullet;
class Button;
class CreditBox;
class EmailKeyboard;
class Game;
class Laser;
class MainWindow;
class NameKeyboard;
class PlayerBullet;
class Player;
class PooledEmitter;
class ScreenShake;
class SoundScheduler;
class TankBullet;
class TaskScheduler;
class TextMessage;
class ToggleBox;
class TrailParticle;

using ImageArray = kestrum::scenegraph::ImageArray;

// GUI modes: the index into GuiRoots of the root that is updated and drawn.
constexpr int GUI_MODE_PLAY = 0;
constexpr int GUI_MODE_PAUSE = 1;
constexpr int GUI_MODE_NAME = 2;
constexpr int GUI_MODE_EMAIL = 3;

// --- Game state --------------------------------------------------------------

extern int gameState;
extern int GuiMode;
extern int StateTimer;
// Screen fade (1 normal, 0 black); also the alpha of the HUD labels.
extern float Fade;
// White flash over the scene, lowered by the frame.
extern float Flash;
// The pause menu was opened with the HUD's pause button.
extern bool manualPaused;
extern bool InstructionsSeen;
extern int levelIndex;
extern int Score;
extern int ShipsAlive;
extern int WeaponLevel;
extern int TrackerAmmo;
extern int LaserAmmo;
extern int TanksDestroyed;
extern int AttackersLeft;
extern bool MousePressed;
extern bool MouseReleased;
extern platform::Vec2f SwipeLast;
extern std::string Language;
extern std::string SystemLocale;
// Folder part inserted between an animation's folder and its file name.
extern std::string SpriteSet;
extern int GasVariant;
extern int PlanetVariant;
extern int SoilVariant;
extern int RocksVariant;

// --- Objects made at start-up --------------------------------------------------

extern std::array<platform::SoundPtr, 7> Voices;
extern kestrum::framework::ObjectPool<AttackerBullet> AttackerBulletPool;
extern kestrum::framework::ObjectPool<PlayerBullet> PlayerBulletPool;
extern kestrum::framework::ObjectPool<TankBullet> TankBulletPool;
extern kestrum::framework::ObjectPool<TrailParticle> TrailPool;
extern std::shared_ptr<TaskScheduler> GameScheduler;
extern std::shared_ptr<SoundScheduler> GameSoundScheduler;
extern std::array<std::shared_ptr<kestrum::gui::GuiLayer>, 4> GuiRoots;

// --- Objects set later -----------------------------------------------------------

extern std::shared_ptr<MainWindow> AppWindow;
extern std::shared_ptr<Game> GameScreen;
extern std::shared_ptr<kestrum::framework::Config> Prefs;
extern std::shared_ptr<kestrum::scenegraph::Scene> GameScene;
extern std::shared_ptr<kestrum::scenegraph::Camera> GameCamera;
extern std::shared_ptr<kestrum::scenegraph::Layer> BackgroundLayer;
extern std::shared_ptr<kestrum::scenegraph::Layer> GameLayer;
extern std::shared_ptr<kestrum::scenegraph::Layer> BulletsLayer;
extern std::shared_ptr<kestrum::scenegraph::Layer> EffectsLayer;
extern std::shared_ptr<kestrum::scenegraph::Layer> FrontLayer;
extern std::shared_ptr<kestrum::scenegraph::LayerSprite> soil;
extern std::shared_ptr<ScreenShake> CameraShake;
extern std::shared_ptr<Laser> PlayerLaser;
extern std::vector<platform::Vec2i> StartSpots;
extern std::shared_ptr<Player> CurrentPlayer;
extern std::shared_ptr<Player> PendingPlayer;
extern std::shared_ptr<kestrum::scenegraph::LayerObject> TrackerTarget;
extern std::shared_ptr<kestrum::scenegraph::LayerObject> LaserTarget;
extern std::shared_ptr<TextMessage> LevelBanner;
// The pick-up frames that the n-th destroyed tank of the level drops (null: none).
extern std::vector<ImageArray> LevelPickups;
extern std::shared_ptr<PooledEmitter> ExplosionEmitter;
extern std::shared_ptr<PooledEmitter> SmokeEmitter;
extern std::shared_ptr<PooledEmitter> DustEmitter;
extern platform::SoundPtr Music;
extern platform::ChannelPtr MusicChannel;
extern std::shared_ptr<kestrum::gui::GuiLayer> MousePointerRoot;
extern std::shared_ptr<Button> PauseButton;
extern std::shared_ptr<NameKeyboard> NameEntry;
extern std::shared_ptr<EmailKeyboard> EmailEntry;
extern std::shared_ptr<CreditBox> Credits;
extern std::shared_ptr<ToggleBox> MusicToggle;
extern std::shared_ptr<ToggleBox> SoundToggle;

// --- Sounds and images of the loader -----------------------------------------------

extern platform::SoundPtr BonusSound;
extern platform::SoundPtr Explosion1Sound;
extern platform::SoundPtr Explosion2Sound;
extern platform::SoundPtr ImpactSound;
extern platform::SoundPtr Laser1Sound;
extern platform::SoundPtr Laser2Sound;
extern platform::SoundPtr PickupSound;
extern platform::SoundPtr Shoot1Sound;
extern platform::SoundPtr Shoot2Sound;
extern platform::SoundPtr WarningSound;
extern platform::SoundPtr WhooshSound;

extern platform::ImagePtr PlayerBulletImage;
extern platform::ImagePtr PurpleBulletImage;
extern platform::ImagePtr TankBulletImage;
extern platform::ImagePtr SpiderBulletImage;
extern platform::ImagePtr SparkBlueImage;
extern platform::ImagePtr SparkPurpleImage;
extern platform::ImagePtr SparkRedImage;
extern platform::ImagePtr LaserGreenImage;
extern platform::ImagePtr LaserRedImage;
extern platform::ImagePtr ShieldImage;
extern platform::ImagePtr FootImage;

// Animations and their white hit-flash versions.
extern ImageArray PlayerFrames, PlayerGhostFrames;
extern ImageArray CargoFrames, CargoGhostFrames;
extern ImageArray HunterFrames, HunterGhostFrames;
extern ImageArray SawcerFrames, SawcerGhostFrames;
extern ImageArray SaucerFrames, SaucerGhostFrames;
extern ImageArray LauncherFrames, LauncherGhostFrames;
extern ImageArray RocketFrames, RocketGhostFrames;
extern ImageArray TankTopFrames, TankTopGhostFrames;
extern ImageArray TankWheelFrames, TankWheelGhostFrames;
extern ImageArray CrusherFrames;
extern ImageArray SpiderFrames, SpiderGhostFrames;
extern ImageArray ManFrames;
extern ImageArray PowerUpPickupFrames;
extern ImageArray TrackerPickupFrames;
extern ImageArray NukePickupFrames;
extern ImageArray ShieldPickupFrames;
extern ImageArray LaserPickupFrames;

// Draw scales multiplied into one kind of sprite's size when it is built.
extern float SaucerScale;
extern float LauncherScale;
extern float PadRocketScale;
extern float FootScale;
extern float SawcerScale;
extern float HunterScale;
extern float CargoScale;
extern float TankScale;
extern float CrusherScale;
extern float PlayerScale;

// Gives the globals their start values; runs after InitConstantsFile().
void InitGlobalsFile();
