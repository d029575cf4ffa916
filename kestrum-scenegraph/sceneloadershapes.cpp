// Scene loader: the block builders of shapes, tile sets and texture atlases.
#include <cstdio>

#include "kestrum-framework/assetpath.h"
#include "kestrum-framework/contentmanager.h"
#include "kestrum-framework/texturepacker.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/layershape.h"
#include "kestrum-scenegraph/scene.h"
#include "kestrum-scenegraph/sceneloader.h"
#include "kestrum-scenegraph/virtualtileset.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kestrum::scenegraph {

namespace {

using framework::Config;

// The keys every shape block reads for its placement.
struct Placement {
    platform::Vec2f handle;
    platform::Vec2f location;
    float rotation;
    bool visible;
    float z;
};

Placement ReadPlacement(Config& config) {
    Placement p{};
    p.handle = {config.ReadFloat("handleX", 0), config.ReadFloat("handleY", 0)};
    p.location = {config.ReadFloat("x", 0), config.ReadFloat("y", 0)};
    // Radians as a decimal number: 1.57 stays 1.57.
    p.rotation = config.ReadFloat("rotation", 0);
    p.visible = config.ReadBool("visible", true);
    p.z = config.ReadFloat("z", 0);
    return p;
}

void Place(LayerObject& object, const Placement& p) {
    object.Handle = p.handle;
    object.Location(p.location);
    object.Rotation = p.rotation;
    object.Visible = p.visible;
    object.Z = p.z;
}

}  // namespace

std::shared_ptr<LayerRectangle> SceneLoader::AddLayerRectangle(Scene* scene, const ConfigPtr& block) {
    if (scene == nullptr || !block) return nullptr;
    Config& config = *block;
    const std::string identifier = config.ReadString("identifier", "");
    const int orientation = config.ReadInt("orientation", 0);
    const float width = config.ReadFloat("width", 0);
    const float height = config.ReadFloat("height", 0);
    const Placement placement = ReadPlacement(config);
    auto layer = FindLayer_(scene, block, false);
    auto rectangle = NewLayerRectangle(identifier);
    if (!rectangle) return nullptr;
    rectangle->Layer(layer.get());
    rectangle->Orientation = orientation;
    rectangle->Height(height);
    rectangle->Width(width);
    rectangle->Identifier = identifier;
    Place(*rectangle, placement);
    return rectangle;
}

std::shared_ptr<LayerPolygon> SceneLoader::AddLayerPolygon(Scene* scene, const ConfigPtr& block) {
    if (scene == nullptr || !block) return nullptr;
    Config& config = *block;
    const int type = config.ReadInt("type", 0);
    const int orientation = config.ReadInt("orientation", 0);
    const auto vertices = config.ReadFloatData("vertices", {}, ",");
    const Placement placement = ReadPlacement(config);
    auto layer = FindLayer_(scene, block, false);
    auto polygon = LayerPolygon::New(layer.get());
    polygon->Type = type;
    polygon->Orientation = orientation;
    polygon->Vertices(vertices);
    Place(*polygon, placement);
    return polygon;
}

std::shared_ptr<LayerEllipse> SceneLoader::AddLayerEllipse(Scene* scene, const ConfigPtr& block) {
    if (scene == nullptr || !block) return nullptr;
    Config& config = *block;
    const int orientation = config.ReadInt("orientation", 0);
    const float width = config.ReadFloat("width", 0);
    const float height = config.ReadFloat("height", 0);
    const Placement placement = ReadPlacement(config);
    auto layer = FindLayer_(scene, block, false);
    auto ellipse = LayerEllipse::New(layer.get());
    ellipse->Orientation = orientation;
    ellipse->Height(height);
    ellipse->Width(width);
    Place(*ellipse, placement);
    return ellipse;
}

std::shared_ptr<VirtualTileset> SceneLoader::AddVirtualTileset(Scene*, const ConfigPtr& block) {
    if (!block) return nullptr;
    Config& config = *block;
    const std::string imagePath = config.ReadString("imagePath", "");
    const int tileWidth = config.ReadInt("tileWidth", 0);
    const int tileHeight = config.ReadInt("tileHeight", 0);
    const int margin = config.ReadInt("margin", 0);
    const int spacing = config.ReadInt("spacing", 0);
    const platform::Vec2f handle{config.ReadFloat("handleX", 0.5f), config.ReadFloat("handleY", 0.5f)};
    return std::make_shared<VirtualTileset>(imagePath, tileWidth, tileHeight, margin, spacing, handle, nullptr);
}

void SceneLoader::AddFromTexturePacker(Scene*, const ConfigPtr& block) {
    if (!block) return;
    Config& config = *block;
    const std::string dataPath = config.ReadString("dataPath", "");
    const std::string imagePath = config.ReadString("imagePath", "");
    const std::string resolvedImage = framework::ResolvePath(imagePath, "asset::");
    // Loaded with the shader the content cache gives images without one of
    // their own, so the frames answer the cache's requests for their names.
    const auto atlas = platform::Image::Load(resolvedImage, platform::Shader::GetShader("sprite"),
                                             platform::TextureFlags::FilterMipmap);
    if (!atlas) {
        std::printf("Image not found: %s\n", resolvedImage.c_str());
        std::fflush(stdout);
        return;
    }
    auto cache = Content_();
    const std::string text = platform::LoadString(framework::ResolvePath(dataPath, "asset::"));
    for (const auto& line : platform::Split(text, "\n")) {
        const auto entry = framework::TexturePacker::ReadEntry(line);
        if (!entry) continue;
        // A name registered already keeps its first frame.
        cache->AddImage(std::make_shared<platform::Image>(*atlas, entry->Rect), entry->Name);
    }
}

}  // namespace kestrum::scenegraph
