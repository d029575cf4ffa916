#include "kestrum-framework/drawdata.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "kestrum-framework/contentmanager.h"
#include "support/testsupport.h"

namespace fw = kestrum::framework;
using platform::Color;
using platform::Vec2f;

namespace {

std::shared_ptr<platform::Image> BlankImage(int width, int height) {
    return std::make_shared<platform::Image>(std::make_shared<platform::Pixmap>(width, height));
}

}  // namespace

TEST(ImageSet, StartsWithOneEmptySlotAndMakesDefaultEntriesOnDemand) {
    fw::ImageSet set;
    EXPECT_EQ(set.Frames(), 1);
    EXPECT_EQ(set.Width(), 0);
    EXPECT_EQ(set.Height(), 0);
    EXPECT_TRUE(set.Borders.empty());
    EXPECT_EQ(set.Entries.Get(0, 0), nullptr);

    const auto entry = set.DrawData(0, 0);
    ASSERT_TRUE(entry);
    EXPECT_EQ(set.Entries.Columns(), 1);
    EXPECT_EQ(set.Entries.Rows(), 1);
    EXPECT_EQ(entry->BlendMode, 2);
    EXPECT_EQ(entry->Color, Color(1, 1, 1, 1));
    EXPECT_EQ(entry->Offset, Vec2f(0, 0));
    EXPECT_EQ(entry->Scale, Vec2f(1, 1));
    EXPECT_EQ(entry->Image, nullptr);
    EXPECT_EQ(set.DrawData(0, 0), entry) << "entries are shared records";
}

TEST(ImageSet, GridGrowsToHoldTheSlotAndKeepsEveryEntryInPlace) {
    fw::ImageSet set;
    const auto normal = set.DrawData(0, 0);
    normal->Alpha(0.25f);
    normal->OffsetY(-2);

    const auto over = set.DrawData(4, 2);
    EXPECT_EQ(set.Entries.Columns(), 5);
    EXPECT_EQ(set.Entries.Rows(), 3);
    EXPECT_EQ(set.Frames(), 3);
    EXPECT_EQ(set.DrawData(0, 0), normal);
    EXPECT_EQ(set.Entries.Get(1, 1), nullptr) << "other new slots stay empty";
    EXPECT_EQ(set.Entries.Get(4, 2), over);
    // A new entry copies nothing from its neighbours.
    EXPECT_EQ(over->Alpha(), 1);
    EXPECT_EQ(over->OffsetY(), 0);

    set.DrawData(1, 6);
    EXPECT_EQ(set.Entries.Columns(), 5) << "the grid never shrinks";
    EXPECT_EQ(set.Entries.Rows(), 7);
    EXPECT_EQ(set.DrawData(4, 2), over);

    EXPECT_EQ(set.DrawData(-1, 0), nullptr);
    EXPECT_EQ(set.DrawData(0, -1), nullptr);
    EXPECT_EQ(set.Entries.Rows(), 7);
}

TEST(ImageSet, MeasuresItsLargestImageUnlessASizeIsSet) {
    fw::ImageSet set;
    set.DrawData(0, 0)->Image = BlankImage(32, 10);
    set.DrawData(2, 1)->Image = BlankImage(48, 6);
    set.DrawData(1, 1)->ScaleX(5);  // scales do not enter the measure
    EXPECT_EQ(set.Width(), 48);
    EXPECT_EQ(set.Height(), 10);
    set.Width(20);
    set.Height(7);
    EXPECT_EQ(set.Width(), 20);
    EXPECT_EQ(set.Height(), 7);
    set.Width(0);
    set.Height(0);
    EXPECT_EQ(set.Width(), 48);
    EXPECT_EQ(set.Height(), 10);
}

TEST(TextSet, MeasuresItsTextInItsFont) {
    // A fresh placeholder cache, so the set's font is loaded from the assets folder.
    fw::NullContent = std::make_shared<fw::ContentManager>();
    fw::TextSet set;
    ASSERT_TRUE(set.Font);
    EXPECT_EQ(set.Font, fw::NullFont(nullptr));
    EXPECT_EQ(set.Text, "");
    EXPECT_EQ(set.Width(), 0);
    EXPECT_EQ(set.Height(), set.Font->Height());

    set.Text = "Play";
    EXPECT_EQ(set.Width(), set.Font->TextWidth("Play"));
    set.Width(100);
    EXPECT_EQ(set.Width(), 100);

    set.Font = nullptr;
    EXPECT_EQ(set.Width(), 100);
    EXPECT_EQ(set.Height(), 0);
    set.Width(0);
    EXPECT_EQ(set.Width(), 0);
    set.Height(12);
    EXPECT_EQ(set.Height(), 12);

    const auto caption = set.DrawData(3, 0);
    ASSERT_TRUE(caption);
    EXPECT_EQ(set.DrawData(3, 0), caption);
    EXPECT_EQ(set.Entries.Columns(), 4);
    fw::NullContent = std::make_shared<fw::ContentManager>();
}

TEST(DrawData, ApplyPutsTheHandlePointOfTheBoxAtThePosition) {
    auto target = testsupport::MakeTarget(300, 200);
    fw::DrawData record;
    target.canvas->PushMatrix();
    record.Apply(*target.canvas, 200, 100, 100, 40, 0, 0.5f, 0.5f, Color::White());
    target.canvas->Color(Color(1, 0, 0, 1));
    target.canvas->DrawRect(0, 0, 100, 40);
    target.canvas->PopMatrix();

    struct Probe {
        int x, y;
        bool inside;
    };
    for (const Probe& p : {Probe{150, 80, true}, Probe{249, 119, true}, Probe{149, 100, false},
                           Probe{250, 100, false}, Probe{200, 79, false}, Probe{200, 120, false}}) {
        const auto pixel = target.Pixel(p.x, p.y);
        EXPECT_TRUE(testsupport::Near(pixel, p.inside ? Color(1, 0, 0, 1) : Color::Black()))
            << p.x << "," << p.y << " " << testsupport::Describe(pixel);
    }
}

TEST(DrawData, ApplyTurnsAboutTheHandleAndScalesAlongTheCanvasAxes) {
    auto target = testsupport::MakeTarget(8, 8);
    fw::DrawData record;
    record.Offset = {10, 5};
    record.Scale = {2, 1};
    record.Apply(*target.canvas, 100, 100, 0, 0, std::numbers::pi_v<float> / 2, 0, 0, Color::White());
    const platform::AffineMat3f& m = target.canvas->Matrix();
    auto near = [](Vec2f a, Vec2f b) { return std::abs(a.x - b.x) < 1e-4f && std::abs(a.y - b.y) < 1e-4f; };
    // The origin lands on the position moved by the offset.
    EXPECT_TRUE(near(m.Transform({0, 0}), {110, 105}));
    // A positive canvas rotation turns local x upward on the y-down screen...
    EXPECT_TRUE(near(m.Transform({1, 0}), {110, 104}));
    // ...and the scale applies after the turn: local y becomes screen x, doubled.
    EXPECT_TRUE(near(m.Transform({0, 1}), {112, 105}));
}

TEST(DrawData, ApplySetsBlendModeAndMultipliesTheColours) {
    auto target = testsupport::MakeTarget(8, 8);
    fw::ImageSet set;
    const auto entry = set.DrawData(2, 0);
    entry->BlendMode = 3;
    entry->Color = Color(0.5f, 1, 1, 1);
    entry->Alpha(0.5f);
    EXPECT_EQ(set.DrawData(0, 0)->Alpha(), 1) << "only that slot changed";
    entry->Apply(*target.canvas, 0, 0, 8, 8, 0, 0, 0, Color(1, 0.5f, 1, 0.5f));
    EXPECT_EQ(target.canvas->BlendMode(), 3);
    EXPECT_EQ(target.canvas->Color(), Color(0.5f, 0.5f, 1, 0.25f));
}

TEST(DrawSet, OffsetMovesTheWholeSet) {
    auto target = testsupport::MakeTarget(8, 8);
    fw::TextSet set;
    set.OffsetX(3);
    set.OffsetY(-4);
    EXPECT_EQ(set.Offset, Vec2f(3, -4));
    set.ApplyOffset(*target.canvas);
    EXPECT_EQ(target.canvas->Matrix().Transform({1, 1}), Vec2f(4, -3));
}
