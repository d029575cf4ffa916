// The draw order of the shot and effect layers: grouped by blend mode and
// image, equal sprites in their order, floating objects last.
#include "zandrovia/batchsorter.h"

#include <gtest/gtest.h>

#include "kestrum-scenegraph/layersprite.h"
#include "support/testsupport.h"

TEST(BatchSorter, GroupsByBlendAndImageKeepingOrderAndFloatingLast) {
    testsupport::App();
    const auto a = std::make_shared<platform::Image>(4, 4, 0);
    const auto b = std::make_shared<platform::Image>(4, 4, 0);
    auto sprite = [](const platform::ImagePtr& image, int blend, bool floating = false) {
        auto s = std::make_shared<kestrum::scenegraph::LayerSprite>();
        s->Image(image);
        s->BlendMode = blend;
        s->Floating = floating;
        return s;
    };
    const int add = platform::BlendMode::Additive, alpha = platform::BlendMode::Alpha;
    const std::shared_ptr<kestrum::scenegraph::LayerSprite> items[] = {
        sprite(a, add), sprite(b, alpha), sprite(b, add), sprite(a, add), sprite(b, alpha), sprite(a, alpha, true),
        sprite(b, add, true)};
    kestrum::scenegraph::ObjectList list;
    for (const auto& item : items) list.Add(item);
    BatchSorter().Sort(list);
    // Alpha (2) before additive (3); within each, one image after the other, in list order.
    const bool aFirst = a->GetTexture().get() < b->GetTexture().get();
    const std::vector<int> expected =
        aFirst ? std::vector<int>{1, 4, 0, 3, 2, 5, 6} : std::vector<int>{1, 4, 2, 0, 3, 5, 6};
    ASSERT_EQ(list.Length(), 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(list[i], items[expected[static_cast<std::size_t>(i)]]) << i;
}
