// Neighbour lookups through a layer's grid.
#include <gtest/gtest.h>

#include "sgtest.h"

namespace sg = kestrum::scenegraph;
using sgtest::MakeProbe;

TEST(GridLookups, NeighboursByOffsetFindTheTopmostUsableObject) {
    sgtest::FakeClock clock;
    auto layer = sg::Layer::New();
    layer->TileSize({32, 32});
    auto self = MakeProbe(layer.get(), 100, 100, "self");
    auto disabled = MakeProbe(layer.get(), 132, 100, "disabled");  // filed first
    disabled->Enabled(false);
    auto right = MakeProbe(layer.get(), 140, 110, "right");
    auto left = MakeProbe(layer.get(), 2, 100, "left");
    left->Identifier = "7";

    EXPECT_EQ(self->GetLayerObject(32, 0), right);
    EXPECT_EQ(self->GetLayerObject(layer.get(), {0, 0}), nullptr);  // only itself there
    EXPECT_EQ(self->GetLayerObject(-5000, 0), left);  // the point is raised to 0
    EXPECT_EQ(self->GetLayerObject(0, 64), nullptr);
    EXPECT_EQ(self->GetLayerObject(static_cast<sg::Layer*>(nullptr), 0, 0), nullptr);
    right->Visible = false;
    EXPECT_EQ(self->GetLayerObject(32, 0), nullptr);

    right->Visible = true;
    right->Identifier = "water";
    const std::vector<sg::Layer*> layers{layer.get()};
    EXPECT_EQ(self->GetLayerObject(layers, {-64, 32}, {0}, std::vector<std::string>{"water"}), right);
    EXPECT_EQ(self->GetLayerObject(layers, {-64, 32}, {0}, std::vector<std::string>{"lava"}), nullptr);
    EXPECT_EQ(self->GetLayerObject(layers, {-96, 32}, {0}, std::vector<int>{7}), left);
    EXPECT_EQ(self->GetLayerObject(layers, {}, {0}, std::vector<int>{7}), nullptr);
    EXPECT_EQ(self->GetLayerObject(layers, {-96}, {}, std::vector<int>{7}), nullptr);
}
