// Menus and the further widgets: progress bars, tabbers, rectangles, closers.
#include "kestrum-gui/guiwidgets.h"

#include <gtest/gtest.h>

#include "guitest.h"
#include "kestrum-gui/guilayer.h"
#include "kestrum-gui/guimenu.h"
#include "support/testsupport.h"

namespace {

using namespace kestrum::gui;
using namespace guitest;
using testsupport::Near;

class GuiWidgetsTest : public GuiTest {};

TEST_F(GuiWidgetsTest, ProgressBarFillTable) {
    GuiHProgressBar bar;
    bar.Bar.DrawData(0, 0)->Image = MakeImage(100, 10);
    struct Case {
        int maximum, value;
        float fill;
    } cases[] = {
        {200, 50, 25}, {200, 300, 100}, {200, -5, 0}, {200, 0, 0},
        {3, 1, 100.0f / 3},  // computed in floating point
        {0, 50, 0},          // no maximum: no bar instead of a division by zero
        {-10, 50, 0},
    };
    for (const Case& c : cases) {
        bar.Maximum = c.maximum;
        bar.Value = c.value;
        EXPECT_FLOAT_EQ(bar.FillWidth(), c.fill) << c.maximum << " " << c.value;
    }
}

TEST_F(GuiWidgetsTest, ProgressBarDrawsTheLeftPartOfItsBar) {
    testsupport::App();
    auto target = testsupport::MakeTarget(128, 32);
    auto bar = std::make_shared<GuiHProgressBar>();
    bar->Handle = {0, 0};
    bar->Bar.DrawData(0, 0)->Image = MakeImage(100, 10, kRed);
    bar->Maximum = 200;
    bar->Value = 50;
    bar->Layer(layer.get());
    layer->Draw(*target.canvas);
    EXPECT_TRUE(Near(target.Pixel(24, 5), kRed));
    EXPECT_TRUE(Near(target.Pixel(26, 5), kBlack));
    bar->Maximum = 0;
    target.canvas->Clear(kBlack);
    layer->Draw(*target.canvas);
    EXPECT_TRUE(Near(target.Pixel(2, 5), kBlack));
}

TEST_F(GuiWidgetsTest, APanelDrawsItsHeaderThenItsMembers) {
    testsupport::App();
    auto target = testsupport::MakeTarget(64, 64);
    auto panel = std::make_shared<GuiPanel>();
    panel->Handle = {0, 0};
    panel->Width(40);
    panel->Height(40);
    panel->X(10);
    panel->Y(10);
    panel->Header.DrawData(0, 0)->Image = MakeImage(40, 8, kRed);
    panel->Layer(layer.get());
    auto member = GuiImage::New(panel, MakeImage(4, 4, {0, 1, 0, 1}));
    member->X(20);
    member->Y(20);
    layer->Draw(*target.canvas);
    EXPECT_TRUE(Near(target.Pixel(12, 12), kRed));
    EXPECT_TRUE(Near(target.Pixel(12, 20), kBlack)) << "the header keeps its own height";
    EXPECT_TRUE(Near(target.Pixel(30, 30), {0, 1, 0, 1})) << "members in the panel's content space";
}

TEST_F(GuiWidgetsTest, RectangleOutlineAndFill) {
    testsupport::App();
    auto target = testsupport::MakeTarget(32, 32);
    auto rect = GuiRectangle::New(layer.get(), 10, 10);
    rect->Handle = {0, 0};
    rect->X(5);
    rect->Y(5);
    rect->Color = kRed;
    layer->Draw(*target.canvas);
    EXPECT_TRUE(Near(target.Pixel(5, 5), kRed));
    EXPECT_TRUE(Near(target.Pixel(14, 14), kRed));
    EXPECT_TRUE(Near(target.Pixel(5, 10), kRed)) << "left bar";
    EXPECT_TRUE(Near(target.Pixel(10, 10), kBlack)) << "hollow";
    rect->BorderWidth = 0;
    layer->Draw(*target.canvas);
    EXPECT_TRUE(Near(target.Pixel(10, 10), kRed));
}

TEST_F(GuiWidgetsTest, TabberShowsTheReleasedTabsDocument) {
    auto widget = std::make_shared<GuiTabber>();
    widget->Layer(layer.get());
    for (int i = 0; i < 3; ++i) {
        auto document = GuiGroup::New(widget);
        auto tab = std::make_shared<GuiTabber::Tab>();
        tab->Name = "tab" + std::to_string(i);
        tab->Images.Width(40);
        tab->Images.Height(20);
        tab->X(100.0f + 50 * i);
        tab->Y(100);
        tab->Group(widget);
        widget->Documents.push_back(document);
        widget->Tabs.push_back(tab);
    }
    widget->SetDocument(0);
    Frame(150, 100);
    Frame(150, 100, true);
    Frame(150, 100, false);  // tab 1 released; the tabber reacts in its update
    EXPECT_EQ(widget->Document(), 1);
    EXPECT_FALSE(widget->Documents[0]->Enabled());
    EXPECT_FALSE(widget->Documents[2]->Enabled());
    EXPECT_EQ(widget->Tabs[1]->Frame, 0);
    EXPECT_EQ(widget->Tabs[0]->Frame, 1);
    EXPECT_EQ(widget->Members.Data().back(), widget->Tabs[1]) << "tab on top";
    EXPECT_EQ(widget->Members[widget->Members.Length() - 2], widget->Documents[1]) << "document on top";
    widget->SetDocument(2);
    EXPECT_EQ(widget->Document(), 2);
    EXPECT_EQ(widget->GetDocumentNames(), (std::vector<std::string>{"tab0", "tab1", "tab2"}));
    EXPECT_EQ(widget->GetDocument(5), nullptr);
    EXPECT_EQ(widget->GetDocumentName(-1), "");
}

TEST_F(GuiWidgetsTest, ADialogClosedByItsOwnCloserIsFreed) {
    auto dialog = GuiGroup::New(layer.get());
    dialog->Handle = {0, 0};
    auto closer = std::make_shared<GuiGroup::Closer>();
    closer->Images.Width(20);
    closer->Images.Height(20);
    closer->X(50);
    closer->Y(50);
    closer->Group(dialog);
    closer->Target = dialog;
    std::weak_ptr<GuiGroup> watch = dialog;
    dialog.reset();
    closer.reset();
    Frame(50, 50, true);
    Frame(50, 50, false);
    EXPECT_EQ(layer->Objects.Length(), 0);
    Frame(50, 50);
    EXPECT_TRUE(watch.expired());
}

TEST_F(GuiWidgetsTest, CloserRemovesItsTarget) {
    auto dialog = GuiGroup::New(layer.get());
    auto closer = std::make_shared<GuiGroup::Closer>();
    closer->Images.Width(20);
    closer->Images.Height(20);
    closer->X(50);
    closer->Y(50);
    closer->Layer(layer.get());
    Frame(50, 50, true);
    Frame(50, 50, false);  // no target: nothing happens
    EXPECT_EQ(layer->Objects.Length(), 2);
    closer->Target = dialog;
    Frame(50, 50, true);
    Frame(50, 50, false);
    EXPECT_EQ(layer->Objects.Length(), 1);
    EXPECT_EQ(dialog->Layer(), nullptr);
}

TEST_F(GuiWidgetsTest, AMenuBarSpansItsLayersViewport) {
    GuiMenuBar loose;
    loose.Height(30);
    EXPECT_EQ(loose.Width(), 0);
    EXPECT_EQ(loose.Height(), 0);
    auto bar = std::make_shared<GuiMenuBar>();
    bar->Width(100);  // the left inset of its picture
    bar->Height(30);
    bar->Layer(layer.get());
    EXPECT_EQ(bar->Width(), 1136);
    EXPECT_EQ(bar->Height(), 30);
    layer->Viewport({0, 0, 500, 300});
    EXPECT_EQ(bar->Width(), 500);
    auto tab = std::make_shared<GuiMenuTab>();
    tab->Name = "file";
    tab->Group(bar);
    EXPECT_EQ(bar->GetTab("file"), tab);
    EXPECT_EQ(bar->GetTab("edit"), nullptr);
}

TEST_F(GuiWidgetsTest, MenusOpenAndCloseThroughTheGlobals) {
    auto a = std::make_shared<GuiMenu>();
    auto b = std::make_shared<GuiMenu>();
    a->Layer(layer.get());
    b->Layer(layer.get());
    a->Name = "a";
    a->Show(10, 10);
    b->Show(50, 60);
    EXPECT_FALSE(a->Enabled());
    EXPECT_TRUE(b->Enabled());
    EXPECT_EQ(b->X(), 50);
    EXPECT_EQ(OpenMenu.lock(), b);
    b->Show(70, 60);
    EXPECT_TRUE(b->Enabled());
    EXPECT_EQ(b->X(), 70);
    EXPECT_EQ(layer->GetObject("a"), a) << "a closed menu stays in its layer";

    auto plain = std::make_shared<GuiButton>();
    plain->Name = "open";
    plain->Group(b);
    auto item = std::make_shared<GuiMenuItem>();
    item->Name = "open";
    item->Group(b);
    EXPECT_EQ(b->GetItem("open"), item) << "a plain button of that name is skipped";
    EXPECT_EQ(b->GetItem("close"), nullptr);

    item->OnReleased();  // no submenu: closes the open menu, which stays named
    EXPECT_FALSE(b->Enabled());
    EXPECT_EQ(OpenMenu.lock(), b);

    auto bar = std::make_shared<GuiMenuBar>();
    bar->Layer(layer.get());
    auto tab = std::make_shared<GuiMenuTab>();
    tab->Menu = a;
    tab->Group(bar);
    tab->OnRollOver();
    EXPECT_FALSE(a->Enabled()) << "no switching while the open menu is closed";
    tab->OnReleased();
    EXPECT_TRUE(a->Enabled());
    EXPECT_EQ(OpenMenu.lock(), a);
    tab->OnReleased();
    EXPECT_TRUE(a->Enabled()) << "a click always leaves its own menu open";

    Frame(900, 600);  // over nothing
    GuiLayerTestAccess::UpdateContextMenu_(*layer);
    EXPECT_FALSE(a->Enabled());
}

}  // namespace
