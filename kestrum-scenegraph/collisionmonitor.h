// CollisionMonitor: the collision test of a scene. Every reader is asked
// about every writer, in list order, through the reader's CollisionMethod;
// only the reader is told, through OnCollision. Identical pairs, the
// reader's owner, disabled objects and, while the task clock is paused,
// pausable objects are skipped.
//
// Objects join and leave the lists only through LayerObject::CollisionRead
// and CollisionWrite. Handlers may register, unregister, remove and create
// objects during the pass: an object that leaves a list at or before the
// pass's position in it moves the position back with it, so the pass goes on
// with the object that came next, and no pair is skipped or tested twice.
#pragma once

#include "kestrum-scenegraph/objectlist.h"

namespace kestrum::scenegraph {

class LayerObject;

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

private:
    // Takes every occurrence of the object out of the readers (or the
    // writers), stepping the pass's index in that list back by those that
    // stood at or before it.
    void Leave_(const LayerObject* object, bool reader);

    // The positions of a running pass; -1 between passes.
    int ReaderIndex_ = -1;
    int WriterIndex_ = -1;
    friend class LayerObject;
};

}  // namespace kestrum::scenegraph
