#include "kestrum-scenegraph/sceneloader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "kestrum-scenegraph/scenegraph.h"
#include "kestrum-scenegraph/layershape.h"
#include "kestrum-scenegraph/virtualtileset.h"
#include "platform/files.h"
#include "support/testsupport.h"

namespace sg = kestrum::scenegraph;
using platform::Color;
using platform::Vec2f;

namespace {

// Scene files and their pictures are written into a fresh assets folder.
// The loader's cache lives for the whole run and is keyed by the paths as
// written, so every test names its files differently.
class SceneLoaderTest : public testing::Test {
protected:
    void SetUp() override {
        sg::InitScenegraphModule();
        dir = testsupport::TempDir();
        platform::SetAssetsDir(dir);
    }
    void TearDown() override { platform::SetAssetsDir(""); }

    void Write(const std::string& name, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(dir + name).parent_path());
        ASSERT_TRUE(platform::SaveString(text, dir + name));
    }
    void Picture(const std::string& name, int width, int height, Color color) {
        std::filesystem::create_directories(std::filesystem::path(dir + name).parent_path());
        platform::Pixmap pixmap(width, height);
        pixmap.Clear(color);
        ASSERT_TRUE(pixmap.Save(dir + name));
    }
    std::vector<std::shared_ptr<sg::LayerObject>> Objects(const std::string& layer) {
        std::vector<std::shared_ptr<sg::LayerObject>> list;
        if (auto found = scene.GetLayer(layer)) {
            for (const auto& object : found->GetAllLayerObjects(true, true)) list.push_back(object);
            for (const auto& object : found->GetAllLayerObjects(false, true)) list.push_back(object);
            for (const auto& object : found->GetAllLayerObjects(true, false)) list.push_back(object);
            for (const auto& object : found->GetAllLayerObjects(false, false)) list.push_back(object);
        }
        return list;
    }
    template <typename T>
    std::shared_ptr<T> Only(const std::string& layer) {
        auto list = Objects(layer);
        EXPECT_EQ(list.size(), 1u) << layer;
        return list.empty() ? nullptr : std::dynamic_pointer_cast<T>(list.front());
    }

    std::string dir;
    sg::Scene scene{nullptr};
};

}  // namespace

TEST_F(SceneLoaderTest, ObjectBlocksFindOrMakeTheirLayersAndOtherClassesSetTheScene) {
    sg::SceneLoader loader;
    loader.ImportData(
        "class=LayerSprite\nlayer=front\n\n"
        "class=LayerSprite\nlayer=front\nlayerIdentifier=ignored\n\n"
        "class=Layer\nname=front\nvisible=false\nidentifier=fg\ntype=3\ncellWidth=0\ncellHeight=64\n\n"
        "class=LayerObject\nx=1\n\n"
        "class=LayerObject\nx=2\n\n"
        "class=layersprite\nname=oops\nwidth=5\nheight=7");
    loader.Build(&scene);

    ASSERT_EQ(scene.Layers.Length(), 3);  // front, then one unnamed layer per object block without "layer"
    auto front = scene.GetLayer("front");
    ASSERT_NE(front, nullptr);
    EXPECT_FALSE(front->Visible);
    EXPECT_EQ(front->Identifier, "fg");
    EXPECT_EQ(front->Type, 3);
    EXPECT_EQ(front->TileSize(), platform::Vec2i(2048, 2048));  // a cell size of 0 is refused
    EXPECT_EQ(front->CountLayerObjects(), 2);
    EXPECT_EQ(scene.Layers[1]->Name, "");
    EXPECT_EQ(scene.Layers[1]->CountLayerObjects(), 1);
    EXPECT_EQ(scene.Name, "oops");  // a class in the wrong case makes a scene block
    EXPECT_FLOAT_EQ(scene.Width, 5);
    EXPECT_FLOAT_EQ(scene.Height, 7);

    // Build again builds everything again.
    loader.Build(&scene);
    EXPECT_EQ(front->CountLayerObjects(), 4);
    EXPECT_EQ(scene.Layers.Length(), 5);
}

TEST_F(SceneLoaderTest, SpriteBlockSetsEveryKey) {
    Picture("s2a.png", 8, 6, Color(1, 0, 0, 1));
    Picture("s2b.png", 4, 4, Color(0, 1, 0, 1));
    Write("s2shared.txt", "speed=4");
    Write("s2.txt",
          "class=LayerSprite\nlayer=main\nidentifier=hero\nname=Hero\n"
          "imagePath=s2a.png,s2b.png,s2missing.png\nframeTime=100,100,100\nframe=1\nalpha=0.5\n"
          "blendmode=3\nflags=4\nflippedX=-1\nfloating=true\ngroupify=g\nhandleX=0\nhandleY=1\n"
          "x=10\ny=20\nz=2.5\nrotation=1.57\nscaleX=2\nscaleY=3\nselected=true\ntattooed=true\n"
          "visible=false\nenabled=false\nproperties=[a=1],[b=2]\nglobalPropertiesPath=s2shared.txt\n\n"
          "class=LayerSprite\nlayer=second\nimagePath=s2a.png,s2b.png,s2a.png\nframeTime=100,100\n"
          "rotation=90\nblendmode=9\nglobalPropertiesPath=s2shared.txt");
    sg::SceneLoader loader("s2.txt", &scene);

    auto hero = Only<sg::LayerSprite>("main");
    ASSERT_NE(hero, nullptr);
    EXPECT_EQ(hero->Identifier, "hero");
    EXPECT_EQ(hero->Name, "Hero");
    ASSERT_EQ(hero->Frames(), 3);
    EXPECT_EQ((*hero->Images())[0]->Width(), 8);
    EXPECT_EQ((*hero->Images())[1]->Width(), 4);
    EXPECT_EQ((*hero->Images())[2], nullptr);  // a missing image leaves its frame empty
    EXPECT_EQ(hero->FrameTimes, (std::vector<int>{100, 100, 100}));
    EXPECT_EQ(hero->TaskManager(), scene.GetLayer("main")->TaskManager);
    EXPECT_FLOAT_EQ(hero->Frame, 1);
    EXPECT_FLOAT_EQ(hero->Alpha(), 0.5f);
    EXPECT_EQ(hero->BlendMode, 3);
    EXPECT_EQ(hero->Flags, 4);
    EXPECT_EQ(hero->FlippedX(), -1);
    EXPECT_EQ(hero->FlippedY(), 1);
    EXPECT_TRUE(hero->Floating);
    EXPECT_EQ(hero->Groupify(), "g");
    EXPECT_EQ(hero->Handle, Vec2f(0, 1));
    EXPECT_EQ(hero->Location(), Vec2f(10, 20));
    EXPECT_FLOAT_EQ(hero->Z, 2.5f);
    EXPECT_FLOAT_EQ(hero->Rotation, 1.57f);  // decimal radians are kept
    EXPECT_EQ(hero->Scale, Vec2f(2, 3));
    EXPECT_TRUE(hero->Selected);
    EXPECT_TRUE(hero->Tattooed);
    EXPECT_FALSE(hero->Visible);
    EXPECT_FALSE(hero->Enabled());
    ASSERT_NE(hero->Properties, nullptr);
    EXPECT_EQ(hero->Properties->ReadInt("a", 0), 1);
    EXPECT_EQ(hero->Properties->ReadInt("b", 0), 2);
    ASSERT_NE(hero->GlobalProperties, nullptr);
    EXPECT_EQ(hero->GlobalProperties->ReadInt("speed", 0), 4);
    EXPECT_EQ(hero->SourceConfig, loader.Blocks[0]);

    auto other = Only<sg::LayerSprite>("second");
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(other->FrameTimes.empty());  // two frame times for three images: ignored
    EXPECT_EQ(other->TaskManager(), nullptr);
    EXPECT_FLOAT_EQ(other->Rotation, 90);    // radians, not degrees
    EXPECT_EQ(other->BlendMode, 2);
    EXPECT_EQ(other->Properties, nullptr);
    EXPECT_EQ(other->GlobalProperties, hero->GlobalProperties);  // one shared store
    EXPECT_EQ(other->Handle, Vec2f(0.5f, 0.5f));
}

TEST_F(SceneLoaderTest, PathsInsideASceneAreRelativeToItsFolder) {
    Picture("scenes/s3hero.png", 5, 7, Color(1, 1, 1, 1));
    Write("scenes/s3props.txt", "kind=boss");
    Write("scenes/s3.txt",
          "class=LayerSprite\nlayer=l\nimagePath=s3hero.png\nglobalPropertiesPath=s3props.txt");
    sg::SceneLoader loader;
    loader.Load("scenes\\s3.txt");
    EXPECT_EQ(loader.Path, "scenes/s3.txt");
    EXPECT_EQ(loader.Directory(), "scenes/");
    loader.Build(&scene);
    auto sprite = Only<sg::LayerSprite>("l");
    ASSERT_NE(sprite, nullptr);
    ASSERT_NE(sprite->Image(), nullptr);
    EXPECT_EQ(sprite->Image()->Width(), 5);
    EXPECT_EQ(sprite->GlobalProperties->ReadString("kind", ""), "boss");

    struct Case {
        const char* path;
        const char* directory;
    };
    const Case cases[] = {
        {"level.txt", ""}, {"asset::level.txt", "asset::"}, {"asset::a/b.txt", "asset::a/"},
        {"a\\b\\c.txt", "a/b/"}, {"/tmp/x/s.txt", "/tmp/x/"},
    };
    for (const auto& c : cases) {
        sg::SceneLoader probe;
        probe.Load(c.path);
        EXPECT_EQ(probe.Directory(), c.directory) << c.path;
    }
}

TEST_F(SceneLoaderTest, ImportsBlocksAndWritesThemBack) {
    const std::string text = "class=Layer\nname=a\n\nclass=LayerObject\nlayer=a\nx=3\n\nname=s";
    sg::SceneLoader loader;
    loader.ImportData("\n  " + text + "\n\n\n");
    ASSERT_EQ(loader.Blocks.size(), 3u);
    EXPECT_EQ(loader.ToString(), text);
    loader.ImportData(std::vector<std::string>{});
    EXPECT_TRUE(loader.Blocks.empty());

    // A missing file reads as one empty block, which resets the scene's name and size.
    scene.Name = "before";
    scene.Width = 10;
    sg::SceneLoader missing("s4missing.txt", &scene);
    EXPECT_EQ(missing.Blocks.size(), 1u);
    EXPECT_EQ(scene.Name, "");
    EXPECT_FLOAT_EQ(scene.Width, 0);

    struct Case {
        const char* text;
        const char* key;
        int value;  // -1: no store
    };
    const Case cases[] = {
        {"", "a", -1},
        {"[a=1],[b=2]", "b", 2},
        {"[a=1],[b=2]", "a", 1},
        {"[x=7]", "x", 7},
        {"x", "x", 0},  // no brackets: an empty store, no crash
    };
    for (const auto& c : cases) {
        auto store = sg::SceneLoader::GetProperties(c.text);
        if (c.value < 0) {
            EXPECT_EQ(store, nullptr) << c.text;
        } else {
            ASSERT_NE(store, nullptr) << c.text;
            EXPECT_EQ(store->ReadInt(c.key, 0), c.value) << c.text;
        }
    }
}

namespace {

// A derived loader: its factories see the identifiers and make its own classes.
class Hero : public sg::LayerSprite {};

class RecordingLoader : public sg::SceneLoader {
public:
    std::vector<std::string> identifiers;
    std::vector<std::string> imagePaths;
    int configs = 0;
    void OnConfig(const ConfigPtr&) override { ++configs; }
    std::shared_ptr<sg::LayerSprite> NewLayerSprite(const std::string& identifier) override {
        identifiers.push_back(identifier);
        return identifier == "hero" ? std::make_shared<Hero>() : sg::SceneLoader::NewLayerSprite(identifier);
    }
    std::shared_ptr<sg::LayerGroup> NewLayerGroup(const std::string& identifier) override {
        identifiers.push_back(identifier);
        return sg::SceneLoader::NewLayerGroup(identifier);
    }
    std::shared_ptr<platform::Image> LoadImage(const std::string& path, platform::Shader* shader) override {
        imagePaths.push_back(path);
        return sg::SceneLoader::LoadImage(path, shader);
    }
};

}  // namespace

TEST_F(SceneLoaderTest, DerivedLoadersMakeTheirOwnObjects) {
    RecordingLoader loader;
    loader.ImportData(
        "class=LayerSprite\nlayer=l\nidentifier=hero\nimagePath=p1.png,p2.png\n\n"
        "class=LayerGroup\nlayer=l\nidentifier=grp\nname=g\nx=4\ny=5\nz=6\n\n"
        "class=LayerSprite\nlayer=l\nidentifier=plain");
    EXPECT_EQ(loader.configs, 3);
    loader.Build(&scene);
    EXPECT_EQ(loader.identifiers, (std::vector<std::string>{"hero", "grp", "plain"}));
    EXPECT_EQ(loader.imagePaths, (std::vector<std::string>{"p1.png", "p2.png"}));

    int heroes = 0;
    std::shared_ptr<sg::LayerGroup> group;
    for (const auto& object : Objects("l")) {
        if (std::dynamic_pointer_cast<Hero>(object)) ++heroes;
        if (auto g = std::dynamic_pointer_cast<sg::LayerGroup>(object)) group = g;
    }
    EXPECT_EQ(heroes, 1);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->Identifier, "");  // a group's identifier only reaches the factory
    EXPECT_EQ(group->Name, "g");
    EXPECT_EQ(group->Location(), Vec2f(4, 5));
    EXPECT_FLOAT_EQ(group->Z, 6);

    loader.Build(nullptr);  // nothing to build into: no crash

    // Factories that make nothing skip their objects; the layers are still made.
    struct NullLoader : sg::SceneLoader {
        std::shared_ptr<sg::LayerSprite> NewLayerSprite(const std::string&) override { return nullptr; }
        std::shared_ptr<sg::Layer> NewLayer(const std::string&) override { return nullptr; }
    } empty;
    empty.ImportData("class=LayerSprite\nlayer=n1\n\nclass=Layer\nname=n2");
    sg::Scene other(nullptr);
    empty.Build(&other);
    ASSERT_EQ(other.Layers.Length(), 2);
    EXPECT_EQ(other.Layers[0]->CountLayerObjects(), 0);
    EXPECT_EQ(other.Layers[1]->Name, "n2");
}

TEST_F(SceneLoaderTest, ShapeTileSetAndAtlasBlocks) {
    Picture("s6tiles.png", 32, 16, Color(0, 0, 1, 1));
    Picture("s6atlas.png", 64, 64, Color(1, 0, 0, 1));
    Write("s6atlas.txt", "s6hero:0:0:32:48\r\ns6short:0:0:32\n\ns6odd:x:y:8:8");
    Write("s6atlas2.txt", "s6hero:8:8:4:4\ns6second:1:1:2:2");
    sg::SceneLoader loader;
    loader.ImportData(
        "class=LayerRectangle\nlayer=shapes\nidentifier=box\nwidth=10\nheight=6\nx=1\ny=2\nrotation=1\n"
        "orientation=1\n\n"
        "class=LayerEllipse\nlayer=shapes\nwidth=4\nheight=3\nz=3\nrotation=0.5\n\n"
        "class=LayerPolygon\nlayer=shapes\nvertices=0,0,10,0,10,5\n\n"
        "class=LayerPolygon\nlayer=lines\ntype=2\nvertices=1,2,3\nhandleX=0.5\nvisible=false\n\n"
        "class=VirtualTileset\nimagePath=s6tiles.png\ntileWidth=16\ntileHeight=16\nhandleX=0\nhandleY=0\n\n"
        "class=VirtualTileset\nimagePath=s6none.png\ntileWidth=0\ntileHeight=0\n\n"
        "class=TexturePacker\nimagePath=s6atlas.png\ndataPath=s6atlas.txt\n\n"
        "class=TexturePacker\nimagePath=s6atlas.png\ndataPath=s6atlas2.txt\n\n"
        "class=TexturePacker\nimagePath=s6missing.png\ndataPath=s6atlas2.txt");
    testing::internal::CaptureStdout();
    loader.Build(&scene);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("Image not found"), std::string::npos);

    std::shared_ptr<sg::LayerRectangle> rectangle;
    std::shared_ptr<sg::LayerEllipse> ellipse;
    std::shared_ptr<sg::LayerPolygon> polygon;
    for (const auto& object : Objects("shapes")) {
        if (auto r = std::dynamic_pointer_cast<sg::LayerRectangle>(object)) rectangle = r;
        if (auto e = std::dynamic_pointer_cast<sg::LayerEllipse>(object)) ellipse = e;
        if (auto p = std::dynamic_pointer_cast<sg::LayerPolygon>(object)) polygon = p;
    }
    ASSERT_NE(rectangle, nullptr);
    EXPECT_EQ(rectangle->Identifier, "box");
    EXPECT_EQ(rectangle->Handle, Vec2f(0, 0));  // shapes anchor at the top-left by default
    EXPECT_EQ(rectangle->Location(), Vec2f(1, 2));
    EXPECT_FLOAT_EQ(rectangle->Width(), 10);
    EXPECT_FLOAT_EQ(rectangle->Height(), 6);
    EXPECT_FLOAT_EQ(rectangle->Rotation, 1);
    EXPECT_EQ(rectangle->Orientation, 1);
    ASSERT_NE(ellipse, nullptr);
    EXPECT_FLOAT_EQ(ellipse->Z, 3);
    EXPECT_FLOAT_EQ(ellipse->Rotation, 0.5f);
    EXPECT_FLOAT_EQ(ellipse->Width(), 4);
    ASSERT_NE(polygon, nullptr);
    EXPECT_EQ(polygon->Type, 0);  // no "type": a polygon that draws nothing
    EXPECT_EQ(polygon->VertexList.size(), 3u);
    EXPECT_FLOAT_EQ(polygon->Width(), 10);
    auto line = Only<sg::LayerPolygon>("lines");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->Type, 2);
    EXPECT_EQ(line->VertexList.size(), 1u);
    EXPECT_EQ(line->Handle, Vec2f(0.5f, 0));
    EXPECT_FALSE(line->Visible);

    // The tile set registers its tiles with the block's handle; the scene gets nothing.
    auto tile = sg::VirtualTilesetContent->GetImage("s6tiles.1");
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(tile->Handle(), Vec2f(0, 0));
    EXPECT_EQ(tile->Rect(), platform::Recti(16, 0, 32, 16));

    // Atlas frames: five fields only, the first registration wins.
    auto hero = sg::SceneLoaderContent->GetImage("s6hero");
    ASSERT_NE(hero, nullptr);
    EXPECT_EQ(hero->Rect(), platform::Recti(0, 0, 32, 48));
    EXPECT_EQ(sg::SceneLoaderContent->GetImage("s6short"), nullptr);
    auto odd = sg::SceneLoaderContent->GetImage("s6odd");
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(odd->Rect(), platform::Recti(0, 0, 8, 8));
    ASSERT_NE(sg::SceneLoaderContent->GetImage("s6second"), nullptr);
}

TEST_F(SceneLoaderTest, LoadsAndDrawsAWholeScene) {
    testsupport::App();
    // The atlas: red on the left half, green on the right.
    platform::Pixmap atlas(64, 32);
    atlas.Clear(Color(1, 0, 0, 1));
    for (int x = 32; x < 64; ++x) {
        for (int y = 0; y < 32; ++y) atlas.SetPixelARGB(x, y, 0xFF00FF00);
    }
    ASSERT_TRUE(atlas.Save(dir + "s7atlas.png"));
    Write("s7atlas.txt", "s7red:0:0:32:32\ns7green:32:0:32:32\n");
    Picture("s7tiles.png", 32, 32, Color(0, 0, 1, 1));
    Write("s7.txt",
          "name=demo\nwidth=128\nheight=96\n\n"
          "class=TexturePacker\nimagePath=s7atlas.png\ndataPath=s7atlas.txt\n\n"
          "class=VirtualTileset\nimagePath=s7tiles.png\ntileWidth=16\ntileHeight=16\n\n"
          "class=Layer\nname=back\n\n"
          "class=LayerSprite\nlayer=back\nimagePath=s7red\nx=20\ny=20\n\n"
          "class=LayerSprite\nlayer=back\nimagePath=s7green\nx=100\ny=20\ngroupify=pack\n\n"
          "class=LayerGroup\nlayer=back\nname=pack\nx=0\ny=0\n\n"
          "class=LayerRectangle\nlayer=front\nwidth=20\nheight=10\nx=10\ny=60\n\n"
          "class=LayerEllipse\nlayer=front\nwidth=10\nheight=6\nx=70\ny=70\n\n"
          "class=LayerPolygon\nlayer=front\ntype=1\nvertices=0,0,20,0\nx=90\ny=60\n\n"
          "class=LayerObject\nlayer=front\nx=5\ny=5\nwidth=2\nheight=2");

    platform::Window window("scene", {0, 0, 128, 96}, platform::WindowFlags::Hidden);
    sg::Scene world(&window);
    sg::Camera::New(&world);
    sg::SceneLoader loader("s7.txt", &world);
    EXPECT_EQ(world.Name, "demo");
    ASSERT_EQ(world.Layers.Length(), 2);
    EXPECT_EQ(world.Layers[0]->Name, "back");
    EXPECT_EQ(world.Layers[1]->Name, "front");
    EXPECT_NE(sg::VirtualTilesetContent->GetImage("s7tiles.3"), nullptr);

    world.Update();
    auto target = testsupport::MakeTarget(128, 96);
    world.Draw(*target.canvas);
    struct Probe {
        int x, y;
        Color color;
    };
    const Probe probes[] = {
        {20, 20, Color(1, 0, 0, 1)},   // the atlas's red frame, centred on (20, 20)
        {6, 6, Color(1, 0, 0, 1)},
        {37, 20, Color(0, 0, 0, 1)},
        {100, 20, Color(0, 1, 0, 1)},  // the green frame
        {10, 65, Color(1, 1, 1, 1)},   // the rectangle's left edge (outline width 1)
        {20, 65, Color(0, 0, 0, 1)},   // inside the frame
        {70, 70, Color(1, 1, 1, 1)},   // the ellipse
        {85, 70, Color(0, 0, 0, 1)},
    };
    for (const auto& p : probes) {
        EXPECT_TRUE(testsupport::Near(target.Pixel(p.x, p.y), p.color, 8))
            << "(" << p.x << ", " << p.y << ") " << testsupport::Describe(target.Pixel(p.x, p.y));
    }

    // Group members are named by "groupify" and moved by the scene's Groupify.
    world.Groupify();
    auto group = std::dynamic_pointer_cast<sg::LayerGroup>(world.GetObject("pack").Object);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->Members.Length(), 1);
}
