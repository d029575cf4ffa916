// Groups, labels and lines.
#include "kestrum-scenegraph/layergroup.h"

#include <gtest/gtest.h>

#include "kestrum-scenegraph/layerlabel.h"
#include "kestrum-scenegraph/layerline.h"
#include "platform/font.h"
#include "sgtest.h"
#include "support/testsupport.h"

namespace sg = kestrum::scenegraph;
using sgtest::Probe;

TEST(LayerGroupContent, ExtentOfEnabledMembersIncludesTheOrigin) {
    sgtest::FakeClock clock;
    struct Case {
        const char* name;
        std::vector<float> xs;
        int disabled;  // index of a disabled member, -1 none
        float width;
    };
    const Case cases[] = {
        {"no members", {}, -1, 0},
        {"two members right of the origin", {10, 30}, -1, 35},
        {"one left of the origin", {-20, 30}, -1, 60},
        {"the disabled one does not count", {-20, 30}, 0, 35},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto group = sg::LayerGroup::New();
        for (std::size_t i = 0; i < c.xs.size(); ++i) {
            auto member = std::make_shared<Probe>("m", 10, 4);
            member->Group(group.get());
            member->X(c.xs[i]);
            if (static_cast<int>(i) == c.disabled) member->Enabled(false);
        }
        EXPECT_FLOAT_EQ(group->GetContentWidth(), c.width);
    }
    auto group = sg::LayerGroup::New();
    auto member = std::make_shared<Probe>("m", 10, 4);
    member->Group(group.get());
    member->Y(10);
    EXPECT_FLOAT_EQ(group->GetContentHeight(), 12);
}

TEST(LayerGroupContent, GetObjectSearchesMembersDepthFirst) {
    sgtest::FakeClock clock;
    auto group = sg::LayerGroup::New();
    group->Name = "ship";
    auto first = std::make_shared<Probe>("hull");
    first->Group(group.get());
    auto inner = std::make_shared<sg::LayerGroup>();
    inner->Name = "turret";
    inner->Group(group.get());
    auto barrel = std::make_shared<Probe>("barrel");
    barrel->Group(inner.get());
    EXPECT_EQ(group->GetObject("ship"), group);
    EXPECT_EQ(group->GetObject("barrel"), barrel);
    EXPECT_EQ(group->GetObject("turret"), inner);
    EXPECT_EQ(group->GetObject("wing"), nullptr);
    group->Remove();  // the members stay with the group
    EXPECT_EQ(group->Members.Length(), 2);
}

TEST(LayerLabelSize, MeasuredFromTheFont) {
    sgtest::FakeClock clock;
    const auto font = platform::Font::Load(testsupport::AssetsDir() + "fonts/stencil.otf", 24);
    ASSERT_TRUE(font);
    auto layer = sg::Layer::New();
    auto label = sg::LayerLabel::New(layer.get(), font, "SCORE");
    EXPECT_FLOAT_EQ(label->Width(), font->TextWidth("SCORE"));
    EXPECT_FLOAT_EQ(label->Height(), font->Height());
    label->Text = "";
    EXPECT_EQ(label->Width(), 0);

    auto noFont = sg::LayerLabel::New(layer.get(), nullptr, "x");
    EXPECT_EQ(noFont->Width(), 0);
    EXPECT_EQ(noFont->Height(), 0);
    auto target = testsupport::MakeTarget(8, 8);
    noFont->Draw(*target.canvas);  // draws nothing and does not crash

    sg::LayerLabel plain;
    EXPECT_TRUE(plain.Font);  // the placeholder font
    EXPECT_EQ(plain.Width(), 0);
}

TEST(LayerLineSize, TheEndPointFollowsTheSize) {
    sgtest::FakeClock clock;
    auto layer = sg::Layer::New();
    auto line = sg::LayerLine::New(layer.get(), 10, 10, 110, 60);
    EXPECT_EQ(line->Width(), 100);
    EXPECT_EQ(line->Height(), 50);
    line->Width(30);
    EXPECT_EQ(line->X2(), 40);
    line->Height(-5);
    EXPECT_EQ(line->Y2(), 5);
    line->Location2({3000, 3000});  // not re-filed: filed under its start
    EXPECT_EQ(line->Cell(), layer->Cells()(0, 0).get());
    EXPECT_EQ(line->Image(), nullptr);
    EXPECT_EQ(line->LastFrame(), -1);
    line->Images(sgtest::Frames({sgtest::SolidImage(4, 4, platform::Color::White()),
                                 sgtest::SolidImage(8, 4, platform::Color::White())}));
    line->Frame = 3;
    EXPECT_EQ(line->Image()->Width(), 8);
}
