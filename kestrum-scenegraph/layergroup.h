// LayerGroup: a layer object holding member objects in its own space and
// drawing them inside its transform. Members are in no layer grid, so the
// layer's passes neither update nor draw them: the group draws them, and a
// group that needs its members updated does so in its own OnUpdate.
//
// A member's Location is measured from the group's top-left corner (after
// ContentOrigin is subtracted) in the group's unscaled, unrotated units.
// Removing the group does not remove its members from it.
#pragma once

#include <memory>
#include <string>

#include "kestrum-scenegraph/layerobject.h"

namespace kestrum::scenegraph {

class LayerGroup : public LayerObject {
public:
    LayerGroup() = default;
    ~LayerGroup() override;

    static std::shared_ptr<LayerGroup> New(scenegraph::Layer* layer = nullptr);

    // Point of the members' space drawn at the group's content corner.
    platform::Vec2f ContentOrigin{0, 0};
    // In drawing order; join and leave through LayerObject::Group.
    ObjectList Members;

    // Called inside the group's transform before the members are drawn.
    virtual void DrawBackground(platform::Canvas&) {}

    // The group itself, else the members' GetObject depth-first.
    std::shared_ptr<LayerObject> GetObject(const std::string& name) override;
    void Draw(platform::Canvas& canvas) override;
    // The extent of the enabled members, always including the origin.
    float GetContentWidth() const;
    float GetContentHeight() const;

private:
    // Each enabled, visible member's Draw, in order.
    void DrawMembers_(platform::Canvas& canvas);
};

}  // namespace kestrum::scenegraph
