// Scene loader: the file format, dispatch and block builders. Depends on the
// framework's Config, asset paths, content cache and utilities, and on the
// scene graph's layers, objects, shapes and tile sets.
#include "kestrum-scenegraph/sceneloader.h"

#include <cstdio>

#include "kestrum-framework/assetpath.h"
#include "kestrum-framework/contentmanager.h"
#include "kestrum-framework/utilities.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/layergroup.h"
#include "kestrum-scenegraph/layerobject.h"
#include "kestrum-scenegraph/layershape.h"
#include "kestrum-scenegraph/layersprite.h"
#include "kestrum-scenegraph/scene.h"
#include "kestrum-scenegraph/scenegraph.h"
#include "kestrum-scenegraph/virtualtileset.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kestrum::scenegraph {

namespace {

using framework::Config;

const std::string kAssetPrefix = "asset::";

platform::Vec2f ReadHandle(Config& config, float fallback) {
    const float x = config.ReadFloat("handleX", fallback);
    const float y = config.ReadFloat("handleY", fallback);
    return {x, y};
}

}  // namespace

SceneLoader::SceneLoader(const std::string& path, Scene* scene) {
    Load(path);
    Build(scene);
}

std::shared_ptr<framework::ContentManager> SceneLoader::Content_() {
    if (!SceneLoaderContent) InitScenegraphModule();
    return SceneLoaderContent;
}

// --- Factories and hooks -----------------------------------------------------

void SceneLoader::OnConfig(const ConfigPtr&) {}

std::shared_ptr<LayerSprite> SceneLoader::NewLayerSprite(const std::string&) {
    return std::make_shared<LayerSprite>();
}

std::shared_ptr<LayerRectangle> SceneLoader::NewLayerRectangle(const std::string&) {
    return std::make_shared<LayerRectangle>();
}

std::shared_ptr<LayerObject> SceneLoader::NewLayerObject(const std::string&) {
    return std::make_shared<LayerObject>();
}

std::shared_ptr<LayerGroup> SceneLoader::NewLayerGroup(const std::string&) {
    return std::make_shared<LayerGroup>();
}

std::shared_ptr<scenegraph::Layer> SceneLoader::NewLayer(const std::string&) { return Layer::New(nullptr); }

std::shared_ptr<platform::Image> SceneLoader::LoadImage(const std::string& path, platform::Shader* shader) {
    return Content_()->GetImage(framework::ResolvePath(path, Directory()), shader,
                             platform::TextureFlags::FilterMipmap);
}

SceneLoader::ConfigPtr SceneLoader::LoadConfig(const std::string& path) {
    return Content_()->GetConfig(framework::ResolvePath(path, Directory()));
}

// --- Reading -----------------------------------------------------------------

void SceneLoader::Load(const std::string& path) {
    Path = platform::Replace(path, "\\", "/");
    ImportData(platform::LoadString(framework::ResolvePath(Path, kAssetPrefix)));
}

void SceneLoader::ImportData(const std::string& text) {
    const std::string trimmed = platform::Trim(platform::Replace(text, "\n\r", "\n"));
    ImportData(platform::Split(trimmed, "\n\n"));
}

void SceneLoader::ImportData(const std::vector<std::string>& texts) {
    Blocks.clear();
    Blocks.reserve(texts.size());
    for (const auto& text : texts) {
        auto config = std::make_shared<Config>();
        config->Parse(text);
        Blocks.push_back(config);
        OnConfig(config);
    }
}

std::string SceneLoader::ToString() const {
    std::string text;
    for (const auto& block : Blocks) {
        const std::string part = block->ToString("\n");
        if (!text.empty()) text += "\n\n";
        text += part;
    }
    return text;
}

std::string SceneLoader::Directory() const {
    const std::size_t slash = Path.rfind('/');
    const std::size_t prefix = Path.rfind("::");
    std::size_t end = std::string::npos;
    if (slash != std::string::npos) end = slash + 1;
    if (prefix != std::string::npos && (end == std::string::npos || prefix + 2 > end)) end = prefix + 2;
    return end == std::string::npos ? std::string() : Path.substr(0, end);
}

SceneLoader::ConfigPtr SceneLoader::GetProperties(const std::string& text) {
    if (text.empty()) return nullptr;
    const std::string lines = platform::Replace(text, "],[", "\n");
    // The outer brackets go, whatever the first and last characters are.
    const std::string inner = lines.size() >= 2 ? lines.substr(1, lines.size() - 2) : std::string();
    auto config = std::make_shared<Config>();
    config->Parse(inner);
    return config;
}

// --- Building ----------------------------------------------------------------

void SceneLoader::Build(Scene* scene) {
    if (scene == nullptr) return;
    // A snapshot: OnConfig or a builder of a derived loader may import anew.
    const auto blocks = Blocks;
    for (const auto& block : blocks) {
        const std::string kind = block->ReadString("class", "");
        if (kind == "LayerSprite") {
            AddLayerSprite(scene, block);
        } else if (kind == "LayerObject") {
            AddLayerObject(scene, block);
        } else if (kind == "LayerEllipse") {
            AddLayerEllipse(scene, block);
        } else if (kind == "LayerPolygon") {
            AddLayerPolygon(scene, block);
        } else if (kind == "LayerRectangle") {
            AddLayerRectangle(scene, block);
        } else if (kind == "LayerGroup") {
            AddLayerGroup(scene, block);
        } else if (kind == "Layer") {
            AddLayer(scene, block);
        } else if (kind == "VirtualTileset") {
            AddVirtualTileset(scene, block);
        } else if (kind == "TexturePacker") {
            AddFromTexturePacker(scene, block);
        } else {
            ReadScene(scene, block);
        }
    }
}

std::shared_ptr<scenegraph::Layer> SceneLoader::FindLayer_(Scene* scene, const ConfigPtr& block, bool full) {
    Config& config = *block;
    const std::string name = config.ReadString("layer", "");
    if (auto layer = scene->GetLayer(name)) return layer;
    std::shared_ptr<scenegraph::Layer> layer;
    if (full) {
        layer = NewLayer(config.ReadString("layerIdentifier", ""));
        if (!layer) layer = Layer::New(nullptr);  // a derived factory that made none
        layer->Scene(scene);
    } else {
        layer = Layer::New(scene);
    }
    layer->Name = name;
    return layer;
}

void SceneLoader::ReadScene(Scene* scene, const ConfigPtr& block) {
    if (scene == nullptr || !block) return;
    Config& config = *block;
    scene->Height = static_cast<float>(config.ReadInt("height", 0));
    scene->Name = config.ReadString("name", "");
    scene->Width = static_cast<float>(config.ReadInt("width", 0));
}

std::shared_ptr<scenegraph::Layer> SceneLoader::AddLayer(Scene* scene, const ConfigPtr& block) {
    if (scene == nullptr || !block) return nullptr;
    Config& config = *block;
    auto layer = scene->GetLayer(config.ReadString("name", ""));
    const bool drawFlags = config.ReadBool("drawFlags", false);
    const bool enabled = config.ReadBool("enabled", true);
    const std::string identifier = config.ReadString("identifier", "");
    const std::string name = config.ReadString("name", "");
    const int cellWidth = config.ReadInt("cellWidth", 2048);
    const int cellHeight = config.ReadInt("cellHeight", 2048);
    const int type = config.ReadInt("type", 0);
    const bool visible = config.ReadBool("visible", true);
    if (!layer) {
        layer = NewLayer(identifier);
        if (!layer) layer = Layer::New(nullptr);
        layer->Scene(scene);
    }
    // A cell size below 1 is ignored by the layer, which keeps its own.
    layer->TileSize(platform::Vec2i(cellWidth, cellHeight));
    layer->DrawFlags = drawFlags;
    layer->Enabled = enabled;
    layer->Identifier = identifier;
    layer->Name = name;
    layer->Type = type;
    layer->Visible = visible;
    return layer;
}

std::shared_ptr<LayerObject> SceneLoader::AddLayerObject(Scene* scene, const ConfigPtr& block) {
    if (scene == nullptr || !block) return nullptr;
    Config& config = *block;
    const std::string identifier = config.ReadString("identifier", "");
    const float alpha = config.ReadFloat("alpha", 1);
    const int blendMode = config.ReadInt("blendmode", 2);
    const int flags = config.ReadInt("flags", -1);
    const float width = config.ReadFloat("width", 0);
    const float height = config.ReadFloat("height", 0);
    const float x = config.ReadFloat("x", 0);
    const float y = config.ReadFloat("y", 0);
    auto layer = FindLayer_(scene, block, false);
    auto object = NewLayerObject(identifier);
    if (!object) return nullptr;
    object->Alpha(alpha);
    object->BlendMode = framework::BlendModeFromInt(blendMode);
    object->Flags = flags;
    object->Height(height);
    object->Identifier = identifier;
    object->Layer(layer.get());
    object->Location(platform::Vec2f(x, y));
    object->Width(width);
    return object;
}

std::shared_ptr<LayerSprite> SceneLoader::AddLayerSprite(Scene* scene, const ConfigPtr& block) {
    if (scene == nullptr || !block) return nullptr;
    Config& config = *block;
    const std::string identifier = config.ReadString("identifier", "");
    const std::string name = config.ReadString("name", "");
    const auto paths = config.ReadStringData("imagePath", {}, ",");
    const auto frameTimes = config.ReadIntData("frameTime", {}, ",");
    const float frame = config.ReadFloat("frame", 0);
    const float alpha = config.ReadFloat("alpha", 1);
    const int blendMode = config.ReadInt("blendmode", 2);
    const bool enabled = config.ReadBool("enabled", true);
    const int flags = config.ReadInt("flags", -1);
    const int flippedX = config.ReadInt("flippedX", 1);
    const int flippedY = config.ReadInt("flippedY", 1);
    const int flippedXY = config.ReadInt("flippedXY", 1);
    const bool floating = config.ReadBool("floating", false);
    const std::string groupify = config.ReadString("groupify", "");
    const platform::Vec2f handle = ReadHandle(config, 0.5f);
    const float x = config.ReadFloat("x", 0);
    const float y = config.ReadFloat("y", 0);
    const float z = config.ReadFloat("z", 0);
    // Radians as a decimal number: 1.57 stays 1.57.
    const float rotation = config.ReadFloat("rotation", 0);
    const float scaleX = config.ReadFloat("scaleX", 1);
    const float scaleY = config.ReadFloat("scaleY", 1);
    const bool selected = config.ReadBool("selected", false);
    const bool tattooed = config.ReadBool("tattooed", false);
    const bool visible = config.ReadBool("visible", true);
    const std::string globalPropertiesPath = config.ReadString("globalPropertiesPath", "");
    const std::string properties = config.ReadString("properties", "");

    auto layer = FindLayer_(scene, block, true);
    auto sprite = NewLayerSprite(identifier);
    if (!sprite) return nullptr;

    std::vector<platform::ImagePtr> images;
    images.reserve(paths.size());
    for (const auto& path : paths) images.push_back(LoadImage(path, nullptr));
    const bool animated = !frameTimes.empty() && frameTimes.size() == images.size();
    sprite->Images(std::move(images));
    if (animated) {
        sprite->FrameTimes = frameTimes;
        const Scene* owner = layer->Scene();
        sprite->LastFrameChange = owner != nullptr ? TruncToInt(owner->Time) : 0;
    }

    sprite->Layer(layer.get());
    sprite->Alpha(alpha);
    sprite->BlendMode = framework::BlendModeFromInt(blendMode);
    sprite->Enabled(enabled);
    sprite->Frame = frame;
    sprite->Floating = floating;
    sprite->Groupify(groupify);
    sprite->Handle = handle;
    sprite->Identifier = identifier;
    sprite->X(x);
    sprite->Y(y);
    sprite->Name = name;
    sprite->Rotation = rotation;
    sprite->Scale = platform::Vec2f(scaleX, scaleY);
    sprite->Selected = selected;
    sprite->Tattooed = tattooed;
    sprite->Flags = flags;
    sprite->Visible = visible;
    sprite->Flip(flippedX, flippedY, flippedXY);
    sprite->Z = z;

    // Sprites naming the same file share one store through the cache.
    if (!globalPropertiesPath.empty()) sprite->GlobalProperties = LoadConfig(globalPropertiesPath);
    if (!properties.empty()) sprite->Properties = GetProperties(properties);
    // Only an animated sprite joins the layer's task manager, so that the
    // layer's pass updates it.
    if (animated) sprite->TaskManager(layer->TaskManager);

    sprite->SourceConfig = block;
    sprite->Ready();
    return sprite;
}

std::shared_ptr<LayerGroup> SceneLoader::AddLayerGroup(Scene* scene, const ConfigPtr& block) {
    if (scene == nullptr || !block) return nullptr;
    Config& config = *block;
    const std::string identifier = config.ReadString("identifier", "");
    const std::string name = config.ReadString("name", "");
    const std::string groupify = config.ReadString("groupify", "");
    const platform::Vec2f handle = ReadHandle(config, 0.5f);
    const float x = config.ReadFloat("x", 0);
    const float y = config.ReadFloat("y", 0);
    const float z = config.ReadFloat("z", 0);
    auto layer = FindLayer_(scene, block, true);
    // The identifier only reaches the factory: the group's own stays empty.
    auto group = NewLayerGroup(identifier);
    if (!group) return nullptr;
    group->Groupify(groupify);
    group->Handle = handle;
    group->Layer(layer.get());
    group->Name = name;
    group->X(x);
    group->Y(y);
    group->Z = z;
    return group;
}

}  // namespace kestrum::scenegraph
