#include "kestrum-scenegraph/layer.h"

#include <gtest/gtest.h>

#include "sgtest.h"

namespace kestrum::scenegraph {

struct LayerTestAccess {
    static void CullLayerObjects_(Layer& layer, ObjectList& list, int x, int y, int w, int h) {
        layer.CullLayerObjects_(list, x, y, w, h);
    }
};

}  // namespace kestrum::scenegraph

namespace sg = kestrum::scenegraph;
using sgtest::MakeProbe;
using sgtest::Probe;

namespace {

bool Listed(const sg::ObjectList& list, const std::shared_ptr<sg::LayerObject>& object) {
    return list.Contains(object);
}

}  // namespace

TEST(LayerCulling, VisitsTwoCellsBeforeAndThreeAfterTheView) {
    sgtest::FakeClock clock;
    struct Case {
        int margin;
        int viewColumn;
        int objectColumn;
        bool listed;
    };
    const Case cases[] = {
        {2, 0, 0, true},   {2, 0, 3, true},   {2, 0, 4, false},  {2, 10, 7, false}, {2, 10, 8, true},
        {2, 10, 13, true}, {2, 10, 14, false}, {0, 0, 1, true},  {0, 0, 2, false},  {0, 10, 8, false},
        {0, 10, 9, true},  {0, 10, 11, true},  {0, 10, 12, false}, {1, 10, 9, true}, {1, 10, 8, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "margin " << c.margin << " view column " << c.viewColumn
                                        << " object column " << c.objectColumn);
        auto layer = sg::Layer::New();
        layer->CullMargin = {c.margin, c.margin};
        auto probe = MakeProbe(layer.get(), c.objectColumn * 2048.0f + 100, 100);
        sg::ObjectList list;
        sg::LayerTestAccess::CullLayerObjects_(*layer, list, c.viewColumn * 2048, 0, 1136, 640);
        EXPECT_EQ(Listed(list, probe), c.listed);
    }
}

TEST(LayerCulling, GrowsTheGridToTheViewAndListsFloatingObjectsLast) {
    sgtest::FakeClock clock;
    auto layer = sg::Layer::New();
    auto floating = MakeProbe(layer.get(), 10, 10, "floating");
    floating->Floating = true;
    auto disabled = MakeProbe(layer.get(), 20, 10, "disabled");
    disabled->Enabled(false);
    auto invisible = MakeProbe(layer.get(), 30, 10, "invisible");
    invisible->Visible = false;
    auto far = MakeProbe(layer.get(), 2100, 4100, "far");
    auto negative = MakeProbe(layer.get(), -500, -500, "negative");

    sg::ObjectList list;
    sg::LayerTestAccess::CullLayerObjects_(*layer, list, 0, 0, 1136, 640);
    EXPECT_EQ(layer->HorizontalTiles(), 5);
    EXPECT_EQ(layer->VerticalTiles(), 5);
    ASSERT_EQ(list.Length(), 4);
    EXPECT_EQ(list[0], invisible);  // the draw pass skips it, the list does not
    EXPECT_EQ(list[1], negative);
    EXPECT_EQ(list[2], far);        // column by column: (0, 0) before (1, 2)
    EXPECT_EQ(list[3], floating);
    EXPECT_FALSE(Listed(list, disabled));
}

TEST(LayerGrid, FarPositionsShareTheLastCellsInsteadOfGrowingTheGrid) {
    sgtest::FakeClock clock;
    auto layer = sg::Layer::New();
    // Without the bound, x = 1e9 would ask for half a million columns, and
    // the view of a camera out there for as many again.
    auto far = MakeProbe(layer.get(), 1e9f, 1e9f, "far");
    auto edge = MakeProbe(layer.get(), (sg::Layer::MaxCells - 1) * 2048.0f + 10, 10, "edge");
    auto near = MakeProbe(layer.get(), 100, 100, "near");
    EXPECT_EQ(layer->HorizontalTiles(), sg::Layer::MaxCells);
    EXPECT_EQ(layer->VerticalTiles(), sg::Layer::MaxCells);
    const sg::ObjectList* last = layer->GetLayerObjects(sg::Layer::MaxCells - 1, sg::Layer::MaxCells - 1, false);
    ASSERT_NE(last, nullptr);
    EXPECT_TRUE(last->Contains(far));

    struct Case {
        int x, y;
        bool far, edge, near;
    };
    const Case cases[] = {
        {1000000000, 1000000000, true, false, false},
        {2147483647, 2147483647, true, false, false},
        {(sg::Layer::MaxCells - 1) * 2048, 0, false, true, false},
        {0, 0, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "view at " << c.x << ", " << c.y);
        sg::ObjectList list;
        sg::LayerTestAccess::CullLayerObjects_(*layer, list, c.x, c.y, 2147483647, 640);
        EXPECT_EQ(Listed(list, far), c.far);
        EXPECT_EQ(Listed(list, edge), c.edge);
        EXPECT_EQ(Listed(list, near), c.near);
        EXPECT_LE(layer->HorizontalTiles(), sg::Layer::MaxCells);
        EXPECT_LE(layer->VerticalTiles(), sg::Layer::MaxCells);
    }

    // Moving back re-files the object where it belongs.
    far->Location({3000, 100});
    EXPECT_TRUE(layer->GetLayerObjects(1, 0, false)->Contains(far));
}

TEST(LayerGrid, QueriesAndBulkOperations) {
    sgtest::FakeClock clock;
    sg::Scene scene(nullptr);
    auto layer = sg::Layer::New(&scene);
    auto a = MakeProbe(layer.get(), 10, 10, "a");
    auto b = MakeProbe(layer.get(), 3000, 10, "b");
    auto hidden = MakeProbe(layer.get(), 20, 10, "hidden");
    hidden->Visible = false;
    hidden->Enabled(false);
    auto tattooed = MakeProbe(layer.get(), 30, 10, "tattooed");
    tattooed->Tattooed = true;

    EXPECT_EQ(layer->GetAllLayerObjects(true, true).Length(), 3);
    const sg::ObjectList hiddenOnly = layer->GetAllLayerObjects(false, false);
    ASSERT_EQ(hiddenOnly.Length(), 1);
    EXPECT_EQ(hiddenOnly[0], hidden);
    EXPECT_EQ(layer->GetObject("b").Object, b);
    EXPECT_EQ(scene.GetObject("b").Object, b);
    EXPECT_EQ(layer->GetLayerObjects(10, 10, false), nullptr);  // no column 10
    EXPECT_EQ(layer->GetLayerObjects(3000, 10, true), b->Cell());

    layer->Scroll(-2000, 5);
    EXPECT_EQ(b->Location(), (platform::Vec2f{1000, 15}));
    EXPECT_EQ(b->Cell(), a->Cell());
    EXPECT_EQ(hidden->Location(), (platform::Vec2f{20, 10}));  // disabled objects stay

    scene.ClearLayers();
    EXPECT_EQ(scene.Layers.Length(), 1);
    EXPECT_EQ(layer->CountLayerObjects(), 1);
    EXPECT_TRUE(tattooed->Enabled());
    EXPECT_FALSE(a->Enabled());
    EXPECT_EQ(a->Layer(), nullptr);
}

TEST(LayerGrid, TileSizeRefilesEveryObjectOnce) {
    sgtest::FakeClock clock;
    auto layer = sg::Layer::New();
    std::vector<std::shared_ptr<Probe>> probes;
    for (int i = 0; i < 8; ++i) probes.push_back(MakeProbe(layer.get(), 300.0f * i, 900.0f * i));
    layer->TileSize({256, 512});
    EXPECT_EQ(layer->CountLayerObjects(), 8);
    for (int i = 0; i < 8; ++i) {
        const auto* cell = layer->Cells()((300 * i) / 256, (900 * i) / 512).get();
        EXPECT_EQ(probes[static_cast<std::size_t>(i)]->Cell(), cell) << i;
        EXPECT_EQ(cell->Length(), 1) << i;
    }
    layer->TileSize({0, 100});  // would divide by zero: ignored
    EXPECT_EQ(layer->TileSize(), (platform::Vec2i{256, 512}));
}

TEST(LayerGrid, GroupifyMovesObjectsIntoNamedGroupsOnly) {
    sgtest::FakeClock clock;
    auto layer = sg::Layer::New();
    auto group = sg::LayerGroup::New(layer.get());
    group->Name = "ships";
    auto sprite = MakeProbe(layer.get(), 50, 50, "sprite");
    auto joins = MakeProbe(layer.get(), 10, 10, "joins");
    joins->Groupify("ships");
    auto stays = MakeProbe(layer.get(), 20, 10, "stays");
    stays->Groupify("sprite");
    auto lost = MakeProbe(layer.get(), 30, 10, "lost");
    lost->Groupify("nothing");
    layer->Groupify();
    EXPECT_EQ(joins->Group(), group.get());
    EXPECT_EQ(stays->Group(), nullptr);
    EXPECT_NE(stays->Cell(), nullptr);
    EXPECT_EQ(lost->Group(), nullptr);
}

TEST(LayerScene, MembershipOrderAndLookups) {
    sgtest::FakeClock clock;
    sg::Scene scene(nullptr);
    auto a = sg::Layer::New(&scene);
    auto b = sg::Layer::New(&scene);
    a->Name = "";
    b->Name = "b";
    a->Scene(&scene);  // already there: moves to the end
    ASSERT_EQ(scene.Layers.Length(), 2);
    EXPECT_EQ(scene.Layers[1], a);
    auto c = sg::Layer::New();
    c->Insert(&scene, 0);
    EXPECT_EQ(scene.GetLayer(0), c);
    EXPECT_EQ(scene.GetLayer(7), nullptr);
    EXPECT_EQ(scene.GetLayer(-1), nullptr);
    EXPECT_EQ(scene.GetLayer("b"), b);
    EXPECT_EQ(scene.GetLayer(""), nullptr);
    EXPECT_EQ(scene.GetObject("b").Layer, b);
    c->Tattooed = true;
    c->Remove();
    b->Remove();
    EXPECT_EQ(scene.Layers.Length(), 2);
    EXPECT_EQ(b->Scene(), nullptr);
    EXPECT_FALSE(b->MouseHit(1));
}

TEST(LayerGrid, ShowTilemapCountsReportsCrowdedCells) {
    sgtest::FakeClock clock;
    auto layer = sg::Layer::New();
    layer->Name = "tiles";
    MakeProbe(layer.get(), 10, 10);
    MakeProbe(layer.get(), 3000, 10);
    testing::internal::CaptureStdout();
    layer->ShowTilemapCounts();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "No problems detected on layer 'tiles'\n");
    MakeProbe(layer.get(), 3100, 4100);
    MakeProbe(layer.get(), 3200, 4200);
    testing::internal::CaptureStdout();
    layer->ShowTilemapCounts();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Layer 'tiles' has 2 objects at 1,2\n");
}
