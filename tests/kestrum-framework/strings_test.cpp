#include "kestrum-framework/strings.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace fw = kestrum::framework;

TEST(Strings, CharsRoundTrip) {
    EXPECT_EQ(fw::ToChars("A\xC3\xA9"), (std::vector<int>{65, 233}));
    EXPECT_EQ(fw::FromChars({65, 233}), "A\xC3\xA9");
    EXPECT_TRUE(fw::ToChars("").empty());
    EXPECT_EQ(fw::FromChars({}), "");
    // A character outside the basic plane is two code units and comes back whole.
    const std::string clef = "\xF0\x9D\x84\x9E";
    EXPECT_EQ(fw::ToChars(clef), (std::vector<int>{0xD834, 0xDD1E}));
    EXPECT_EQ(fw::FromChars(fw::ToChars(clef)), clef);
}

TEST(Strings, SplitHonoursQuotesAndExaminesEveryCharacter) {
    using Parts = std::vector<std::string>;
    struct Case {
        const char* text;
        Parts parts;
    };
    const Case cases[] = {
        {"a,b,c", {"a", "b", "c"}},
        {"a,", {"a", ""}},
        {"\"x,y\",z", {"x,y", "z"}},
        {"whole", {"whole"}},
        {"a,,b", {"a", "", "b"}},
        {",\"q,r\"", {"", "q,r"}},
        {"\"\"a", {"a"}},
        {" a , b ", {" a ", " b "}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::Split(c.text, ","), c.parts) << c.text;
}

TEST(Strings, SortString) {
    struct Case {
        const char* text;
        const char* sorted;
    };
    const Case cases[] = {
        {"c,a,b", "a,b,c"}, {"b,,a", "a,b"}, {"  single  ", "  single  "}, {"B,a", "B,a"}, {"a,B", "B,a"},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::SortString(c.text, ","), c.sorted) << c.text;
}
