#include "kestrum-scenegraph/layerobject.h"

#include <gtest/gtest.h>

#include <numbers>

#include "sgtest.h"

namespace sg = kestrum::scenegraph;
using platform::Vec2f;
using sgtest::MakeProbe;
using sgtest::Probe;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

sg::ObjectList* CellAt(sg::Layer& layer, int column, int row) {
    return layer.Cells().InRange(column, row) ? layer.Cells()(column, row).get() : nullptr;
}

}  // namespace

TEST(LayerObjectFiling, PositionsChooseTheCellAndGrowTheGrid) {
    sgtest::FakeClock clock;
    struct Case {
        Vec2f at;
        int column, row, columns, rows;
    };
    const Case cases[] = {
        {{100, 100}, 0, 0, 3, 3},    {{-10, -10}, 0, 0, 3, 3},   {{5000, 100}, 2, 0, 3, 3},
        {{7000, 0}, 3, 0, 4, 3},     {{100, 9000}, 0, 4, 3, 5},  {{-5000, 4100}, 0, 2, 3, 3},
        {{2047.9f, 2048}, 0, 1, 3, 3},
    };
    for (const Case& c : cases) {
        auto layer = sg::Layer::New();
        auto probe = MakeProbe(layer.get(), c.at.x, c.at.y);
        SCOPED_TRACE(testing::Message() << "at (" << c.at.x << ", " << c.at.y << ")");
        EXPECT_EQ(probe->Cell(), CellAt(*layer, c.column, c.row));
        EXPECT_EQ(layer->HorizontalTiles(), c.columns);
        EXPECT_EQ(layer->VerticalTiles(), c.rows);
        EXPECT_EQ(layer->CountLayerObjects(), 1);
    }
}

TEST(LayerObjectFiling, MovingAcrossACellBoundaryRefilesAtTheEnd) {
    sgtest::FakeClock clock;
    auto layer = sg::Layer::New();
    auto a = MakeProbe(layer.get(), 10, 10, "a");
    auto b = MakeProbe(layer.get(), 20, 10, "b");
    auto c = MakeProbe(layer.get(), 2100, 10, "c");
    sg::ObjectList* first = CellAt(*layer, 0, 0);
    sg::ObjectList* second = CellAt(*layer, 1, 0);

    a->X(500);  // same cell: nothing moves
    ASSERT_EQ(first->Length(), 2);
    EXPECT_EQ((*first)[0], a);

    a->X(2200);
    EXPECT_EQ(a->Cell(), second);
    ASSERT_EQ(second->Length(), 2);
    EXPECT_EQ((*second)[0], c);
    EXPECT_EQ((*second)[1], a);
    EXPECT_EQ(first->Length(), 1);

    // Setting the same layer again brings the object to the end of its cell.
    c->Layer(layer.get());
    EXPECT_EQ((*second)[1], c);
    EXPECT_EQ(second->Length(), 2);

    b->Layer(static_cast<sg::Layer*>(nullptr));
    EXPECT_EQ(b->Cell(), nullptr);
    EXPECT_EQ(first->Length(), 0);
    EXPECT_EQ(layer->CountLayerObjects(), 2);
}

TEST(LayerObjectPlacement, LayerAndGroupExcludeEachOther) {
    sgtest::FakeClock clock;
    auto layer = sg::Layer::New();
    auto outer = sg::LayerGroup::New(layer.get());
    auto inner = std::make_shared<sg::LayerGroup>();
    inner->Group(outer.get());
    auto probe = MakeProbe(layer.get(), 10, 10);

    probe->Group(inner.get());
    EXPECT_EQ(probe->Cell(), nullptr);
    EXPECT_EQ(probe->Layer(), layer.get());  // through the outermost group
    EXPECT_EQ(probe->RootGroup(), outer.get());
    ASSERT_EQ(probe->Groups().size(), 2u);
    EXPECT_EQ(probe->Groups()[0], inner.get());
    EXPECT_EQ(layer->CountLayerObjects(), 1);  // only the outer group is filed

    probe->Layer(layer.get());
    EXPECT_EQ(probe->Group(), nullptr);
    EXPECT_TRUE(inner->Members.Empty());
    EXPECT_NE(probe->Cell(), nullptr);
}

TEST(LayerObjectPlacement, RemoveLeavesEverythingAndTattooedObjectsStay) {
    sgtest::FakeClock clock;
    sg::Scene scene(nullptr);
    scene.CollisionMonitor = std::make_shared<sg::CollisionMonitor>();
    auto layer = sg::Layer::New(&scene);
    auto probe = MakeProbe(layer.get(), 10, 10);
    probe->CollisionRead(true);
    probe->CollisionWrite(true);

    auto tattooed = MakeProbe(layer.get(), 20, 20);
    tattooed->Tattooed = true;
    tattooed->Remove();
    tattooed->Discard();
    EXPECT_TRUE(tattooed->Enabled());
    EXPECT_NE(tattooed->Cell(), nullptr);

    probe->Remove();
    EXPECT_FALSE(probe->Enabled());
    EXPECT_EQ(probe->Layer(), nullptr);
    EXPECT_EQ(probe->Cell(), nullptr);
    EXPECT_EQ(probe->TaskManager(), nullptr);
    EXPECT_FALSE(probe->CollisionRead());
    EXPECT_FALSE(probe->CollisionWrite());
    EXPECT_TRUE(scene.CollisionMonitor->Readers.Empty());
    EXPECT_TRUE(scene.CollisionMonitor->Writers.Empty());
    EXPECT_TRUE(layer->TaskManager->Tasks.Length() == 1);
    probe->Remove();  // harmless twice
    EXPECT_EQ(layer->CountLayerObjects(), 1);
}

TEST(LayerObjectPlacement, ObjectsOutliveTheirLayerAndGroupSafely) {
    sgtest::FakeClock clock;
    auto probe = std::make_shared<Probe>("p");
    auto member = std::make_shared<Probe>("m");
    {
        auto layer = sg::Layer::New();
        auto group = sg::LayerGroup::New();
        probe->Layer(layer.get());
        member->Group(group.get());
    }
    EXPECT_EQ(probe->Layer(), nullptr);
    EXPECT_EQ(probe->Cell(), nullptr);
    EXPECT_EQ(member->Group(), nullptr);
    probe->X(5000);  // no layer to file into
    probe->Remove();
    EXPECT_FALSE(probe->Enabled());
}

TEST(LayerObjectCollisions, RegistrationNeedsALayerInASceneWithAMonitor) {
    sgtest::FakeClock clock;
    sg::Scene scene(nullptr);
    auto monitor = std::make_shared<sg::CollisionMonitor>();
    scene.CollisionMonitor = monitor;
    auto layer = sg::Layer::New(&scene);
    auto probe = std::make_shared<Probe>();

    probe->CollisionWrite(true);
    EXPECT_FALSE(probe->CollisionWrite());
    probe->CollisionWrite(false);  // unregistered: nothing

    probe->Layer(layer.get());
    probe->CollisionWrite(true);
    probe->CollisionWrite(true);
    EXPECT_EQ(monitor->Writers.Length(), 1);
    EXPECT_EQ(probe->WriterMonitor(), monitor.get());

    // A replaced monitor keeps no stale entry.
    auto replacement = std::make_shared<sg::CollisionMonitor>();
    scene.CollisionMonitor = replacement;
    probe->CollisionWrite(true);
    EXPECT_EQ(monitor->Writers.Length(), 0);
    EXPECT_EQ(replacement->Writers.Length(), 1);

    probe->CollisionWrite(false);
    EXPECT_TRUE(replacement->Writers.Empty());

    auto member = std::make_shared<Probe>();
    member->Group(sg::LayerGroup::New(layer.get()).get());
    member->CollisionRead(true);  // a group member has no layer field of its own
    EXPECT_FALSE(member->CollisionRead());
}

TEST(LayerObjectCollisions, DefaultMethodIsACentredBoxTest) {
    sgtest::FakeClock clock;
    struct Case {
        float size;
        Vec2f other;
        bool overlap;
    };
    const Case cases[] = {
        {10, {10, 0}, false},  // edges touch
        {10, {9.5f, 0}, true},
        {10, {0, -9.9f}, true},
        {0.9f, {0, 0}, false},  // sizes truncate to 0
    };
    for (const Case& c : cases) {
        auto a = std::make_shared<Probe>("a", c.size, c.size);
        auto b = std::make_shared<Probe>("b", c.size, c.size);
        b->Location(c.other);
        EXPECT_EQ(a->CollisionMethod(b), c.overlap) << c.size << " at " << c.other.x << "," << c.other.y;
    }
}

TEST(LayerObjectWorld, ValuesThroughNestedGroups) {
    sgtest::FakeClock clock;
    struct Case {
        const char* name;
        float rotation;
        Vec2f scale;
        Vec2f origin;
        Vec2f member;
        Vec2f world;
    };
    const Case cases[] = {
        {"plain", 0, {1, 1}, {0, 0}, {0, 0}, {90, 45}},
        {"content origin", 0, {1, 1}, {5, 5}, {5, 5}, {90, 45}},
        {"quarter turn", kPi / 2, {1, 1}, {0, 0}, {0, 0}, {105, 40}},
        {"scaled and turned", kPi / 2, {2, 2}, {0, 0}, {0, 0}, {110, 30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto group = sg::LayerGroup::New();
        group->Location({100, 50});
        group->Width(20);
        group->Height(10);
        group->Rotation = c.rotation;
        group->Scale = c.scale;
        group->ContentOrigin = c.origin;
        auto member = std::make_shared<Probe>("m", 2, 2);
        member->Group(group.get());
        member->Location(c.member);
        EXPECT_NEAR(member->WorldX(), c.world.x, 1e-3);
        EXPECT_NEAR(member->WorldY(), c.world.y, 1e-3);
        EXPECT_NEAR(member->WorldRotation(), c.rotation, 1e-6);
        EXPECT_NEAR(member->WorldWidth(), 2 * c.scale.x, 1e-6);
    }

    // Two levels: an inner group at (10, 5) of an outer group scaled by 2.
    auto outer = sg::LayerGroup::New();
    outer->Location({100, 50});
    outer->Width(20);
    outer->Height(10);
    outer->Scale = {2, 2};
    auto inner = std::make_shared<sg::LayerGroup>();
    inner->Group(outer.get());
    inner->Location({10, 5});
    inner->Handle = {0, 0};
    auto member = std::make_shared<Probe>("m", 2, 2);
    member->Group(inner.get());
    member->Location({1, 1});
    EXPECT_NEAR(member->WorldX(), 102, 1e-3);
    EXPECT_NEAR(member->WorldY(), 52, 1e-3);
    EXPECT_NEAR(member->WorldScaleX(), 2, 1e-6);
    EXPECT_NEAR(member->WorldHeight(), 4, 1e-6);

    // A free object reports its own values.
    auto free = std::make_shared<Probe>("f", 4, 6);
    free->Location({7, 8});
    free->Scale = {2, 3};
    EXPECT_EQ(free->WorldX(), 7);
    EXPECT_EQ(free->WorldHeight(), 18);
}

TEST(LayerObjectWorld, BrightnessTintsByGroupsAndLayer) {
    sgtest::FakeClock clock;
    auto layer = sg::Layer::New();
    auto group = sg::LayerGroup::New(layer.get());
    group->Color = {1, 0, 0, 1};
    auto member = std::make_shared<Probe>();
    member->Group(group.get());
    EXPECT_EQ(member->Brightness({1, 1, 1, 1}), (platform::Color{1, 0, 0, 1}));
    layer->Color = {0.5f, 0.5f, 0.5f, 0.5f};
    EXPECT_EQ(member->Brightness({1, 1, 1, 1}), (platform::Color{0.5f, 0, 0, 0.5f}));
    EXPECT_EQ(group->Brightness({1, 1, 1, 1}), (platform::Color{0.5f, 0.5f, 0.5f, 0.5f}));
}

TEST(LayerObjectExtras, CornersTurnWithTheObject) {
    sgtest::FakeClock clock;
    auto probe = std::make_shared<Probe>("p", 10, 6);
    auto expectNear = [](Vec2f got, Vec2f want) {
        EXPECT_NEAR(got.x, want.x, 1e-4);
        EXPECT_NEAR(got.y, want.y, 1e-4);
    };
    expectNear(probe->TopLeft(), {-5, -3});
    expectNear(probe->BottomRight(), {5, 3});
    expectNear(probe->TopRight(), {5, -3});
    expectNear(probe->BottomLeft(), {-5, 3});
    probe->Rotation = kPi / 2;  // clockwise on the screen
    expectNear(probe->TopLeft(), {3, -5});
}

TEST(LayerObjectExtras, LookupsAndCopiesToleratePartsThatAreMissing) {
    sgtest::FakeClock clock;
    auto probe = std::make_shared<Probe>("p");
    EXPECT_EQ(probe->View(), nullptr);
    EXPECT_FALSE(probe->MouseHit(1));
    EXPECT_FALSE(probe->MouseOver(nullptr));
    EXPECT_FALSE(probe->PointInside(nullptr, 0, 0));
    EXPECT_EQ(probe->GetLayerObject(3, 3), nullptr);
    EXPECT_EQ(probe->GetMouseLocation(nullptr), (Vec2f{}));
    EXPECT_EQ(probe->GetObject("p"), probe);
    EXPECT_EQ(probe->GetObject("q"), nullptr);
    EXPECT_EQ(sg::CopyLayerObject(probe, nullptr), nullptr);
    EXPECT_EQ(sg::CopyLayerObject(std::shared_ptr<sg::LayerObject>(), probe), nullptr);

    auto source = std::make_shared<Probe>("s", 4, 5);
    source->Location({7, 8});
    source->Properties = std::make_shared<kestrum::framework::Config>();
    source->Properties->Parse("a=1");
    source->Owner = probe;
    auto target = std::make_shared<Probe>("t");
    EXPECT_EQ(sg::CopyLayerObject(source, target), target);
    EXPECT_EQ(target->Location(), (Vec2f{7, 8}));
    EXPECT_EQ(target->Width(), 4);
    EXPECT_EQ(target->Name, "s");
    EXPECT_EQ(target->Owner, nullptr);
    ASSERT_TRUE(target->Properties);
    EXPECT_NE(target->Properties, source->Properties);
    EXPECT_EQ(target->Properties->ReadInt("a", 0), 1);
}

TEST(LayerObjectPlacement, AnUnownedObjectCannotBePlacedAndStaysFree) {
    sgtest::FakeClock clock;
    auto layer = sg::Layer::New();
    auto group = sg::LayerGroup::New();
    Probe onStack("stack");
    EXPECT_THROW(onStack.Layer(layer.get()), std::bad_weak_ptr);
    EXPECT_THROW(onStack.Group(group.get()), std::bad_weak_ptr);
    EXPECT_EQ(onStack.Layer(), nullptr);
    EXPECT_EQ(onStack.Group(), nullptr);
    EXPECT_EQ(layer->CountLayerObjects(), 0);
    onStack.Remove();  // nothing to leave
    EXPECT_FALSE(onStack.Enabled());
}
