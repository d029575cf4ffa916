// SceneLoader: builds layers and objects described by a scene file into an
// existing Scene.
//
// A scene file is text cut into blocks at empty lines, each block key=value
// lines read as a Config. The key "class" selects what a block builds:
// "Layer", "LayerObject", "LayerSprite", "LayerGroup", "LayerRectangle",
// "LayerPolygon", "LayerEllipse", "VirtualTileset" or "TexturePacker"
// (compared exactly, case included); any other block, one without "class"
// included, sets the scene's name and size. Blocks are built in file order,
// so a block can use only what earlier blocks made (an atlas before the
// sprites that show its frames). An object block names its layer by "layer"
// and creates the layer when the scene has none of that name.
//
// Image and property paths inside a scene file are relative to the file's
// folder unless they hold ":" or ".."; they load through the module cache
// SceneLoaderContent, which also holds the frames of texture atlases.
//
// The factories and block builders are virtual, so a derived loader can make
// its own classes or handle blocks differently. (The constructor that loads
// and builds at once runs the base class's versions; a derived loader calls
// Load and Build itself.)
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kestrum-framework/config.h"
#include "kestrum-framework/contentmanager.h"
#include "platform/image.h"

namespace kestrum::scenegraph {

class Layer;
class LayerEllipse;
class LayerGroup;
class LayerObject;
class LayerPolygon;
class LayerRectangle;
class LayerSprite;
class Scene;
class VirtualTileset;

class SceneLoader {
public:
    using ConfigPtr = std::shared_ptr<framework::Config>;

    SceneLoader() = default;
    // Load(path), then Build(scene).
    SceneLoader(const std::string& path, Scene* scene);
    virtual ~SceneLoader() = default;

    // One store per block of the last import, in file order; empty before an
    // import and after importing no texts.
    std::vector<ConfigPtr> Blocks;
    // The path of the last loaded file, backslashes turned into "/".
    std::string Path;

    // Called for each block right after it is parsed; empty in the base.
    virtual void OnConfig(const ConfigPtr& block);
    virtual std::shared_ptr<LayerSprite> NewLayerSprite(const std::string& identifier);
    virtual std::shared_ptr<LayerRectangle> NewLayerRectangle(const std::string& identifier);
    virtual std::shared_ptr<LayerObject> NewLayerObject(const std::string& identifier);
    virtual std::shared_ptr<LayerGroup> NewLayerGroup(const std::string& identifier);
    // A new layer in no scene.
    virtual std::shared_ptr<scenegraph::Layer> NewLayer(const std::string& identifier);
    // An image at a path relative to the scene file; null when it does not load.
    virtual std::shared_ptr<platform::Image> LoadImage(const std::string& path, platform::Shader* shader);
    // Reads a scene file (content path; a missing file reads as "") and imports it.
    virtual void Load(const std::string& path);
    virtual void ReadScene(Scene* scene, const ConfigPtr& block);
    virtual std::shared_ptr<VirtualTileset> AddVirtualTileset(Scene* scene, const ConfigPtr& block);
    virtual std::shared_ptr<LayerSprite> AddLayerSprite(Scene* scene, const ConfigPtr& block);
    virtual std::shared_ptr<LayerRectangle> AddLayerRectangle(Scene* scene, const ConfigPtr& block);
    virtual std::shared_ptr<LayerPolygon> AddLayerPolygon(Scene* scene, const ConfigPtr& block);
    virtual std::shared_ptr<LayerObject> AddLayerObject(Scene* scene, const ConfigPtr& block);
    virtual std::shared_ptr<LayerGroup> AddLayerGroup(Scene* scene, const ConfigPtr& block);
    virtual std::shared_ptr<LayerEllipse> AddLayerEllipse(Scene* scene, const ConfigPtr& block);
    virtual std::shared_ptr<scenegraph::Layer> AddLayer(Scene* scene, const ConfigPtr& block);
    // Registers the frames of a texture atlas in SceneLoaderContent. An atlas
    // image that does not load skips the block and prints "Image not found: <path>".
    virtual void AddFromTexturePacker(Scene* scene, const ConfigPtr& block);

    // Cuts a scene text into blocks and imports them; Path is unchanged.
    void ImportData(const std::string& text);
    // Replaces Blocks by one parsed store per text.
    void ImportData(const std::vector<std::string>& texts);
    // Builds every block into the scene, in order; again on every call.
    // Nothing for a null scene.
    void Build(Scene* scene);
    // The blocks as scene text, separated by empty lines.
    std::string ToString() const;
    // The folder part of Path with its trailing "/" or "::"; "" when none.
    std::string Directory() const;
    // A property file relative to the scene file; never null.
    ConfigPtr LoadConfig(const std::string& path);
    // A store of the lines of "[a=1],[b=2]" text; null for an empty text.
    static ConfigPtr GetProperties(const std::string& text);

private:
    // The layer named by the block's "layer" key, made when the scene has
    // none: through NewLayer for sprites and groups, directly for the others.
    std::shared_ptr<scenegraph::Layer> FindLayer_(Scene* scene, const ConfigPtr& block, bool full);
    // SceneLoaderContent, made by the module initialiser when it has not run yet.
    static std::shared_ptr<framework::ContentManager> Content_();
};

}  // namespace kestrum::scenegraph
