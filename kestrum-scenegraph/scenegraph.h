// kestrum-scenegraph: the scene graph.
//
// Offers scenes of layers holding layer objects (sprites, labels, groups,
// lines and particles), layers with parallax and a cell grid that limits
// updating and drawing to what a camera sees, cameras with a virtual
// resolution, reader/writer collision monitoring with per-object score
// records, particle emitters read from particle files, grid lookups and
// sprite synchronisation. Depends on kestrum-framework and the platform.
//
// InitScenegraphModule() runs once at start-up, before any scene exists.
#pragma once

#include <memory>

#include "kestrum-framework/contentmanager.h"
#include "kestrum-scenegraph/camera.h"
#include "kestrum-scenegraph/collisionmonitor.h"
#include "kestrum-scenegraph/emitter.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/layergroup.h"
#include "kestrum-scenegraph/layerlabel.h"
#include "kestrum-scenegraph/layerline.h"
#include "kestrum-scenegraph/layerobject.h"
#include "kestrum-scenegraph/layersprite.h"
#include "kestrum-scenegraph/particle.h"
#include "kestrum-scenegraph/scene.h"
#include "kestrum-scenegraph/scoresystem.h"

namespace kestrum::scenegraph {

// The caches of the scene-file loader and of the virtual tile set's tiles.
extern std::shared_ptr<framework::contentmanager::ContentManager> SceneLoaderContent;
extern std::shared_ptr<framework::contentmanager::ContentManager> VirtualTilesetContent;

// Runs the framework's initialiser, then makes the two caches. Later calls
// return at once.
void InitScenegraphModule();

// Pairs the animated sprites of every layer by identifier: per identifier the
// first one found joins the scene's task manager as the leader (updated every
// frame, seen or not); the others take it as their Synchronizer. Sprites that
// already have one are left alone, so a second call changes nothing.
void Synchronize(Scene* scene);

// Split the window between two cameras, leaving a two-pixel gap.
void SplitScreenTopBottom(Camera* top, Camera* bottom, platform::Vec2i size);
void SplitScreenLeftRight(Camera* left, Camera* right, platform::Vec2i size);

}  // namespace kestrum::scenegraph
