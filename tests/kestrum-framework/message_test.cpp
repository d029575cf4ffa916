#include "kestrum-framework/message.h"

#include <gtest/gtest.h>

namespace fw = kestrum::framework;

namespace {

class MessageTest : public ::testing::Test {
protected:
    void SetUp() override { fw::InitMessageUnit(); }
    void TearDown() override { fw::Message::Clear(); }
    int a = 0, b = 0;
};

}  // namespace

TEST_F(MessageTest, CreateKeepsOneMessagePerExactNameAndSource) {
    auto first = fw::Message::Create("Clicked", &a);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Name, "Clicked");
    EXPECT_EQ(first->Source, &a);
    EXPECT_EQ(fw::Message::Create("Clicked", &a), nullptr);
    EXPECT_NE(fw::Message::Create("clicked", &a), nullptr) << "names are compared case-sensitively";
    EXPECT_NE(fw::Message::Create("Clicked", &b), nullptr) << "sources by identity";
    EXPECT_EQ(fw::Message::Count(), 3);
    EXPECT_TRUE(fw::Message::Contains("Clicked", &b));
    EXPECT_FALSE(fw::Message::Contains("CLICKED", &b));
}

TEST_F(MessageTest, GetTakesMatchingMessagesOutInOrder) {
    fw::Message::Create("Button.Clicked", &b);
    fw::Message::Create("OK", &a);
    fw::Message::Create("ok", &b);
    fw::Message::Create("", &b);

    EXPECT_EQ(fw::Message::Get("clicked"), nullptr) << "whole-name match without a source";
    EXPECT_EQ(fw::Message::Get("clicked", &a), nullptr) << "another source";
    auto clicked = fw::Message::Get("CLICKED", &b);
    ASSERT_NE(clicked, nullptr);
    EXPECT_EQ(clicked->Name, "Button.Clicked");

    auto ok1 = fw::Message::Get("Ok");
    auto ok2 = fw::Message::Get("Ok");
    ASSERT_NE(ok1, nullptr);
    ASSERT_NE(ok2, nullptr);
    EXPECT_EQ(ok1->Source, &a);
    EXPECT_EQ(ok2->Source, &b);
    EXPECT_EQ(fw::Message::Get("Ok"), nullptr);

    auto empty = fw::Message::Get("", &b);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->Name, "") << "an empty name matches only an empty name";
    EXPECT_EQ(fw::Message::Count(), 0);
}

TEST_F(MessageTest, ShowPrintsLowerCasedNames) {
    testing::internal::CaptureStdout();
    fw::Message::Show();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    fw::Message::Create("Hello", &a);
    fw::Message::Create("World", &b);
    testing::internal::CaptureStdout();
    fw::Message::Show();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "hello\nworld\n");
}
