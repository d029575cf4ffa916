// CollisionMonitor: the collision test of a scene. Every reader is asked
// about every writer, in list order, through the reader's CollisionMethod;
// only the reader is told, through OnCollision. Identical pairs, the
// reader's owner, disabled objects and, while the task clock is paused,
// pausable objects are skipped.
//
// Objects join and leave the lists only through LayerObject::CollisionRead
// and CollisionWrite. Handlers may register, unregister, remove and create
// objects during the pass.
#pragma once

#include "kestrum-scenegraph/objectlist.h"

namespace kestrum::scenegraph {

class CollisionMonitor {
public:
    CollisionMonitor() = default;
    virtual ~CollisionMonitor();
    CollisionMonitor(const CollisionMonitor&) = delete;
    CollisionMonitor& operator=(const CollisionMonitor&) = delete;

    ObjectList Readers;
    ObjectList Writers;

    // One collision pass; the scene runs it once per update while the task
    // clock is neither paused nor frozen.
    virtual void Update();
};

}  // namespace kestrum::scenegraph
