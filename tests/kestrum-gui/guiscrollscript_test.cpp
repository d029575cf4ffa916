// The scroll-box content script.
#include <gtest/gtest.h>

#include <fstream>

#include "guitest.h"
#include "kestrum-framework/contentmanager.h"
#include "kestrum-framework/gfx.h"
#include "kestrum-gui/guiimage.h"
#include "kestrum-gui/guilabel.h"
#include "kestrum-gui/guiscrollbox.h"
#include "support/testsupport.h"

namespace {

using namespace kestrum::gui;
using guitest::GuiTest;

const char* kFont = "kestrum-framework/fonts/arial.ttf";

class GuiScrollScriptTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        box = std::make_shared<GuiScrollBox>();
        box->Width(338);
        box->Height(430);
        font = kestrum::framework::Content->GetFont(kFont, 20);
        ASSERT_TRUE(font);
        half = static_cast<int>(font->Height() * 0.5f);
    }
    void Run(const std::string& script) {
        const std::string path = testsupport::TempDir() + "content.txt";
        std::ofstream(path, std::ios::binary) << script;
        box->LoadScript(path);
    }
    std::shared_ptr<GuiLabel> LabelAt(int index) {
        return std::dynamic_pointer_cast<GuiLabel>(box->Members[index]);
    }
    std::shared_ptr<GuiScrollBox> box;
    std::shared_ptr<platform::Font> font;
    int half = 0;
};

TEST_F(GuiScrollScriptTest, LabelsStackDownwards) {
    Run(std::string("font=") + kFont + ",20\nlabel=one\nlabel=two\n");
    ASSERT_EQ(box->Members.Length(), 2);
    EXPECT_EQ(LabelAt(0)->Y(), half);
    EXPECT_EQ(LabelAt(1)->Y(), 3 * half);
    EXPECT_EQ(LabelAt(0)->X(), 0);
    ASSERT_NE(LabelAt(0)->Font(), nullptr);
    EXPECT_NE(LabelAt(0)->Font(), font) << "fonts load through a cache of the run";
    EXPECT_EQ(LabelAt(0)->Font(), LabelAt(1)->Font());
}

TEST_F(GuiScrollScriptTest, CursorAndColourTable) {
    struct Case {
        const char* script;
        float x, y;
        platform::Color color;
    } cases[] = {
        {"y=50%\nx=10%\n", 33, 215, {1, 1, 1, 1}},
        {"x=20\nx+=5\nx-=2\ny=7\ny+=10\ny-=1\n", 23, 16, {1, 1, 1, 1}},
        {"color=100%,0%,0%\n", 0, 0, {1, 0, 0, 1}},
        {"color=255,0,0\n", 0, 0, {255.0f / 256, 0, 0, 255.0f / 256}},
        {"color=10,20,300,128\n", 0, 0, {10.0f / 256, 20.0f / 256, 255.0f / 256, 128.0f / 256}},
        {"color=50%,50%\n", 0, 0, {1, 1, 1, 1}},
        {"  CoLoR = 0,0,0 \n", 0, 0, {0, 0, 0, 255.0f / 256}},
        // Beyond the Int range the cursor and the colour saturate.
        {"x=2147483647\nx+=10\ny=-2147483647\ny-=10\n", 2147483647.0f, -2147483648.0f, {1, 1, 1, 1}},
        {"x=-2147483648\nx-=-2147483648\nx-=2147483647\n", -2147483647.0f, 0, {1, 1, 1, 1}},
        {"x=1e30%\ny=-1e30%\n", 2147483647.0f, -2147483648.0f, {1, 1, 1, 1}},
        {"x=nan%\n", 0, 0, {1, 1, 1, 1}},
        {"color=1e30,-1e30,0\n", 0, 0, {255.0f / 256, 0, 0, 255.0f / 256}},
    };
    for (const Case& c : cases) {
        box->Clear();
        Run(std::string(c.script) + "label=x\n");
        ASSERT_EQ(box->Members.Length(), 1) << c.script;
        auto label = LabelAt(0);
        EXPECT_EQ(label->X(), c.x) << c.script;
        EXPECT_EQ(label->Y(), c.y) << c.script;  // no font: the label is 0 high
        EXPECT_EQ(label->Color, c.color) << c.script;
    }
    Run("clearcolor=0%,100%,0%\n");
    EXPECT_EQ(box->ClearColor, (platform::Color{0, 1, 0, 1}));
}

TEST_F(GuiScrollScriptTest, TextFieldsWrapIntoUpperCaseLabels) {
    const int width = static_cast<int>(font->TextWidth("aaa")) + 2;
    Run(std::string("font=") + kFont + ",20\nx=5\ntextfield=aaa bbb ccc," + std::to_string(width) + "\n");
    ASSERT_EQ(box->Members.Length(), 3);
    const int line = static_cast<int>(font->Height());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(LabelAt(i)->X(), 5);
        EXPECT_EQ(LabelAt(i)->Y(), line * (i + 1));
    }
    EXPECT_EQ(LabelAt(0)->Text(), "AAA");
    EXPECT_EQ(LabelAt(2)->Text(), "CCC");
}

TEST_F(GuiScrollScriptTest, ValuesKeepTheirBlanksAndCrLfLinesReadLikeLf) {
    Run(std::string("font=") + kFont + ",20\r\n LaBeL = hi\r\nlabel=a=b\r\n");
    ASSERT_EQ(box->Members.Length(), 2);
    EXPECT_EQ(LabelAt(0)->Text(), " hi");
    EXPECT_EQ(LabelAt(1)->Text(), "a");
    EXPECT_NE(LabelAt(0)->Font(), nullptr) << "the font path carries no carriage return";
}

TEST_F(GuiScrollScriptTest, LinesWithoutWhatTheyNeedAreSkipped) {
    Run(std::string("label\n"                      // no value
                    "font=") + kFont + "\n"        // no size
        "textfield=some words\n"                   // no font yet
        "image=no/such/image.png\n"                // a widget without image, 0 high
        "label=after\n");
    ASSERT_EQ(box->Members.Length(), 2);
    EXPECT_NE(std::dynamic_pointer_cast<GuiImage>(box->Members[0]), nullptr);
    EXPECT_EQ(box->Members[0]->Height(), 0);
    EXPECT_EQ(LabelAt(1)->Font(), nullptr);
    EXPECT_EQ(LabelAt(1)->Y(), 0);

    box->Clear();
    Run("");
    EXPECT_EQ(box->Members.Length(), 0);
    box->LoadScript("no/such/script.txt");
    EXPECT_EQ(box->Members.Length(), 0);
}

}  // namespace
