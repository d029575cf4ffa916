// Zandrovia: the game-wide state shared by the screens, actors and levels.
#include "zandrovia/globals.h"

#include "zandrovia/soundscheduler.h"
#include "zandrovia/taskscheduler.h"

int gameState = 0;
int GuiMode = 0;
int StateTimer = 0;
float Fade = 1.0f;
float Flash = 0.0f;
bool manualPaused = false;
bool InstructionsSeen = false;
int levelIndex = 0;
int Score = 0;
int ShipsAlive = 0;
int WeaponLevel = 0;
int TrackerAmmo = 0;
int LaserAmmo = 0;
int TanksDestroyed = 0;
int AttackersLeft = 0;
bool MousePressed = false;
bool MouseReleased = false;
platform::Vec2f SwipeLast{0, 0};
std::string Language = "en";
std::string SystemLocale = "-";
std::string SpriteSet;
int GasVariant = 1;
int PlanetVariant = 1;
int SoilVariant = 1;
int RocksVariant = 1;

std::array<platform::SoundPtr, 7> Voices;
kestrum::framework::ObjectPool<AttackerBullet> AttackerBulletPool;
kestrum::framework::ObjectPool<PlayerBullet> PlayerBulletPool;
kestrum::framework::ObjectPool<TankBullet> TankBulletPool;
kestrum::framework::ObjectPool<TrailParticle> TrailPool;
std::shared_ptr<TaskScheduler> GameScheduler;
std::shared_ptr<SoundScheduler> GameSoundScheduler;
std::array<std::shared_ptr<kestrum::gui::GuiLayer>, 4> GuiRoots;

// The window is defined before the screens so that, at the end of the
// process, the screens are freed while their window still exists.
std::shared_ptr<MainWindow> AppWindow;
std::shared_ptr<Game> GameScreen;
std::shared_ptr<kestrum::framework::Config> Prefs;
std::shared_ptr<kestrum::scenegraph::Scene> GameScene;
std::shared_ptr<kestrum::scenegraph::Camera> GameCamera;
std::shared_ptr<kestrum::scenegraph::Layer> BackgroundLayer;
std::shared_ptr<kestrum::scenegraph::Layer> GameLayer;
std::shared_ptr<kestrum::scenegraph::Layer> BulletsLayer;
std::shared_ptr<kestrum::scenegraph::Layer> EffectsLayer;
std::shared_ptr<kestrum::scenegraph::Layer> FrontLayer;
std::shared_ptr<kestrum::scenegraph::LayerSprite> soil;
std::shared_ptr<ScreenShake> CameraShake;
std::shared_ptr<Laser> PlayerLaser;
std::vector<platform::Vec2i> StartSpots;
std::shared_ptr<Player> CurrentPlayer;
std::shared_ptr<Player> PendingPlayer;
std::shared_ptr<kestrum::scenegraph::LayerObject> TrackerTarget;
std::shared_ptr<kestrum::scenegraph::LayerObject> LaserTarget;
std::shared_ptr<TextMessage> LevelBanner;
std::vector<ImageArray> LevelPickups;
std::shared_ptr<PooledEmitter> ExplosionEmitter;
std::shared_ptr<PooledEmitter> SmokeEmitter;
std::shared_ptr<PooledEmitter> DustEmitter;
platform::SoundPtr Music;
platform::ChannelPtr MusicChannel;
std::shared_ptr<kestrum::gui::GuiLayer> MousePointerRoot;
std::shared_ptr<Button> PauseButton;
std::shared_ptr<NameKeyboard> NameEntry;
std::shared_ptr<EmailKeyboard> EmailEntry;
std::shared_ptr<CreditBox> Credits;
std::shared_ptr<ToggleBox> MusicToggle;
std::shared_ptr<ToggleBox> SoundToggle;

platform::SoundPtr BonusSound;
platform::SoundPtr Explosion1Sound;
platform::SoundPtr Explosion2Sound;
platform::SoundPtr ImpactSound;
platform::SoundPtr Laser1Sound;
platform::SoundPtr Laser2Sound;
platform::SoundPtr PickupSound;
platform::SoundPtr Shoot1Sound;
platform::SoundPtr Shoot2Sound;
platform::SoundPtr WarningSound;
platform::SoundPtr WhooshSound;

platform::ImagePtr PlayerBulletImage;
platform::ImagePtr PurpleBulletImage;
platform::ImagePtr TankBulletImage;
platform::ImagePtr SpiderBulletImage;
platform::ImagePtr SparkBlueImage;
platform::ImagePtr SparkPurpleImage;
platform::ImagePtr SparkRedImage;
platform::ImagePtr LaserGreenImage;
platform::ImagePtr LaserRedImage;
platform::ImagePtr ShieldImage;
platform::ImagePtr FootImage;

ImageArray PlayerFrames, PlayerGhostFrames;
ImageArray CargoFrames, CargoGhostFrames;
ImageArray HunterFrames, HunterGhostFrames;
ImageArray SawcerFrames, SawcerGhostFrames;
ImageArray SaucerFrames, SaucerGhostFrames;
ImageArray LauncherFrames, LauncherGhostFrames;
ImageArray RocketFrames, RocketGhostFrames;
ImageArray TankTopFrames, TankTopGhostFrames;
ImageArray TankWheelFrames, TankWheelGhostFrames;
ImageArray CrusherFrames;
ImageArray SpiderFrames, SpiderGhostFrames;
ImageArray ManFrames;
ImageArray PowerUpPickupFrames;
ImageArray TrackerPickupFrames;
ImageArray NukePickupFrames;
ImageArray ShieldPickupFrames;
ImageArray LaserPickupFrames;

float SaucerScale = 1.0f;
float LauncherScale = 1.0f;
float PadRocketScale = 1.0f;
float FootScale = 1.0f;
float SawcerScale = 1.0f;
float HunterScale = 1.0f;
float CargoScale = 1.0f;
float TankScale = 1.0f;
float CrusherScale = 1.0f;
float PlayerScale = 1.0f;

void InitGlobalsFile() {
    Voices = {};
    GasVariant = 1;
    PlanetVariant = 1;
    SoilVariant = 1;
    RocksVariant = 1;
    AttackerBulletPool = {};
    PlayerBulletPool = {};
    TankBulletPool = {};
    TrailPool = {};
    MousePressed = false;
    MouseReleased = false;
    LaserAmmo = 0;
    TrackerAmmo = 0;
    AttackersLeft = 0;
    Fade = 1.0f;
    WeaponLevel = 0;
    gameState = 0;
    GuiRoots = {};
    GuiMode = 0;
    StateTimer = 0;
    Flash = 0.0f;
    levelIndex = 0;
    TanksDestroyed = 0;
    Score = 0;
    ShipsAlive = 0;
    GameScheduler = std::make_shared<TaskScheduler>();
    GameSoundScheduler = std::make_shared<SoundScheduler>();
    SpriteSet = "";
    InstructionsSeen = false;
    SaucerScale = LauncherScale = PadRocketScale = FootScale = 1.0f;
    SawcerScale = HunterScale = CargoScale = 1.0f;
    TankScale = CrusherScale = PlayerScale = 1.0f;
    Language = "en";
    SystemLocale = "-";
    manualPaused = false;
}
