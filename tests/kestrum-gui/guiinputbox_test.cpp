#include "kestrum-gui/guiinputbox.h"

#include <gtest/gtest.h>

#include "guitest.h"
#include "kestrum-framework/contentmanager.h"
#include "kestrum-gui/guilayer.h"
#include "support/testsupport.h"

namespace {

using namespace kestrum::gui;
using guitest::GuiTest;
using platform::KeyEvent;

KeyEvent Char(char c) { return {KeyEvent::KeyChar, static_cast<unsigned char>(c), 0, std::string(1, c)}; }
KeyEvent Down(int key) { return {KeyEvent::KeyDown, key, 0, ""}; }

class GuiInputBoxTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        box = std::make_shared<GuiInputBox>();
        box->Images.Width(100);
        box->Images.Height(30);
        box->X(100);
        box->Y(100);
        box->Layer(layer.get());
    }
    void Click() {
        Frame(100, 100, true);
        Frame(100, 100, false);
    }
    void Type(const std::string& text) {
        for (char c : text) layer->SendKeyEvent(Char(c));
    }
    std::shared_ptr<GuiInputBox> box;
};

TEST_F(GuiInputBoxTest, TypingNeedsTheFocusThatAClickGives) {
    Type("ab");
    EXPECT_EQ(box->Text(), "");
    Click();
    EXPECT_EQ(FocusedObject.lock(), box);
    Type("ab");
    layer->SendKeyEvent(Down(platform::Key::Left));
    Type("x");
    EXPECT_EQ(box->Text(), "axb");
    layer->SendKeyEvent({KeyEvent::KeyChar, 228, 0, "\xc3\xa4"});
    EXPECT_EQ(box->Text(), "axb") << "characters outside 32 to 126 are not inserted";
    box->Text("hello");
    Type("!");
    EXPECT_EQ(box->Text(), "hello!") << "Text puts the caret at the end";

    auto other = std::make_shared<GuiInputBox>();
    other->Images.Width(100);
    other->Images.Height(30);
    other->X(300);
    other->Y(100);
    other->Layer(layer.get());
    Frame(300, 100, true);
    Frame(300, 100, false);
    Type("z");
    EXPECT_EQ(box->Text(), "hello!");
    EXPECT_EQ(other->Text(), "z");
}

TEST_F(GuiInputBoxTest, AFullBoxStillTakesEditingKeys) {
    Click();
    box->MaxLength = 3;
    box->Text("abc");
    Type("d");
    EXPECT_EQ(box->Text(), "abc");
    layer->SendKeyEvent(Down(platform::Key::Backspace));
    EXPECT_EQ(box->Text(), "ab");

    box->MaxLength = 0;
    box->TextMargin = 10;
    box->Texts.Width(95);  // wider than the room of 100 - 10
    Type("c");
    EXPECT_EQ(box->Text(), "ab");
    layer->SendKeyEvent(Down(platform::Key::Backspace));
    EXPECT_EQ(box->Text(), "a");
    box->Texts.Width(90);
    Type("c");
    EXPECT_EQ(box->Text(), "ac");
}

TEST_F(GuiInputBoxTest, EnterIsReportedOnce) {
    Click();
    layer->SendKeyEvent(Down(platform::Key::Enter));
    EXPECT_TRUE(box->Submitted());
    EXPECT_FALSE(box->Submitted());
    EXPECT_EQ(box->Text(), "") << "a single-line box inserts no line break";
}

TEST_F(GuiInputBoxTest, AGhostedBoxTakesNoFocusAndNoKeys) {
    box->Ghosted = true;
    Click();
    EXPECT_EQ(FocusedObject.lock(), nullptr);
    FocusedObject = box;
    Type("a");
    EXPECT_EQ(box->Text(), "");
}

TEST_F(GuiInputBoxTest, TheCaretIsDrawnAsWideAsTheCharacterUnderIt) {
    testsupport::App();
    auto target = testsupport::MakeTarget(256, 160);
    auto font = kestrum::framework::NullFont(nullptr);
    box->Font(font);
    box->TextMargin = 20;
    box->Text("");
    box->CaretColor = {1, 0, 0, 1};
    FocusedObject = box;
    layer->Draw(*target.canvas);
    // The box spans 50..150 × 85..115; the text starts at 10 from its left edge.
    const int space = static_cast<int>(font->TextWidth(" "));
    EXPECT_TRUE(testsupport::Near(target.Pixel(61, 100), {1, 0, 0, 1})) << testsupport::Describe(target.Pixel(61, 100));
    EXPECT_TRUE(testsupport::Near(target.Pixel(60 + space + 1, 100), {0, 0, 0, 1}));
}

}  // namespace
