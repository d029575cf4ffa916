#include <gtest/gtest.h>

#include <clocale>
#include <climits>
#include <cmath>
#include <limits>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/text.h"

using namespace platform;

TEST(Text, SplitKeepsEmptyParts) {
    struct Case {
        std::string text, separator;
        std::vector<std::string> parts;
    };
    const Case cases[] = {
        {"a,b,,c", ",", {"a", "b", "", "c"}},
        {"", ",", {""}},
        {",", ",", {"", ""}},
        {"a::b::", "::", {"a", "b", ""}},
        {"abc", "", {"abc"}},
        {"abc", "x", {"abc"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Split(c.text, c.separator), c.parts) << '"' << c.text << "\" by \"" << c.separator << '"';
        if (!c.separator.empty()) {
            EXPECT_EQ(Join(c.parts, c.separator), c.text);
        }
    }
}

TEST(Text, TrimDropsControlCodesAndSpacesOnly) {
    EXPECT_EQ(Trim("\t\r\n \x01 a b \x1f\x20"), "a b");
    EXPECT_EQ(Trim(" \n\t "), "");
    // Bytes of UTF-8 letters are above 127 and must not be taken for blanks.
    EXPECT_EQ(Trim(" \xC3\xA4\xC3\x9F "), "\xC3\xA4\xC3\x9F");
    EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
}

TEST(Text, ReplaceEveryOccurrence) {
    EXPECT_EQ(Replace("a-b-c", "-", "+"), "a+b+c");
    EXPECT_EQ(Replace("aaaa", "aa", "b"), "bb");
    // A replacement holding the searched text is not searched again.
    EXPECT_EQ(Replace("ab", "a", "aa"), "aab");
    EXPECT_EQ(Replace("abc", "", "x"), "abc");
    EXPECT_EQ(Replace("abc", "abc", ""), "");
}

TEST(Text, CompareByUtf16CodeUnitsThenLength) {
    struct Case {
        std::string a, b;
        int sign;
    };
    const Case cases[] = {
        {"a", "b", -1},
        {"b", "a", 1},
        {"ab", "abc", -1},
        {"abc", "ab", 1},
        {"", "", 0},
        {"Z", "a", -1},
        {"\xC3\xA4", "z", 1},
        // U+1F600 is the surrogate pair D83D DE00 in UTF-16, which sorts
        // before U+FFFD although its code point is larger.
        {"\xF0\x9F\x98\x80", "\xEF\xBF\xBD", -1},
    };
    for (const Case& c : cases) {
        const int result = Compare(c.a, c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " vs " << c.b;
    }
}

TEST(Text, ToIntTakesTheLeadingInteger) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"42", 42},       {"  -17abc", -17}, {"+5", 5},     {"3.9", 3},       {"\t\n8", 8},
        {"abc", 0},       {"", 0},           {"-", 0},      {"0x10", 0},      {"1e3", 1},
        {"99999999999", INT_MAX},            {"-99999999999", INT_MIN},       {"-2147483648", INT_MIN},
    };
    for (const Case& c : cases) EXPECT_EQ(ToInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(Text, ToFloatTakesTheLeadingNumber) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"0.5", 0.5}, {" -1.25e2x", -125}, {".5", 0.5},  {"5.", 5},      {"1e", 1},     {"2E-1", 0.2},
        {"e5", 0},    {"inf", 0},          {"nan", 0},   {"1.5.3", 1.5}, {"\t2.5", 2.5}, {"", 0},
        {"+.", 0},    {"0x1p3", 0},        {"12abc", 12},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(ToFloat(c.text), static_cast<float>(c.value)) << '"' << c.text << '"';
        EXPECT_DOUBLE_EQ(ToDouble(c.text), c.value) << '"' << c.text << '"';
    }
}

// Past the type's range a number is infinite, below it zero, as the C
// library reads it; within, it is the nearest value (also from many digits).
TEST(Text, NumbersOutOfRangeAndOfManyDigits) {
    const double inf = std::numeric_limits<double>::infinity();
    const float finf = std::numeric_limits<float>::infinity();
    const struct {
        const char* text;
        float asFloat;
        double asDouble;
    } cases[] = {
        {"1e400", finf, inf},
        {"-1e400", -finf, -inf},
        {"+1e400", finf, inf},
        {"1e-400", 0.0f, 0.0},
        {"-1e-400", -0.0f, -0.0},
        {"0.000000000000000000000000000000000000000000000001e-300", 0.0f, 0.0},
        {"1e39", finf, 1e39},
        {"1e-50", 0.0f, 1e-50},
        {"4.9e-324", 0.0f, 4.9e-324},
        {"1.8e308", finf, inf},
        {"1.7976931348623157e308", finf, 1.7976931348623157e308},
        // Halfway between the largest double and the next power of two: rounds to even, past the range.
        {"179769313486231580793728971405303415079934132710037826936173778980444968292764750946649017977587207096330286416692887910946555547851940402630657488671505820681908902000708383676273854845817711531764475730270069855571366959622842914819860834936475292719074168444365510704342711559699508093042880177904174497792", finf, inf},
        {"179769313486231580793728971405303415079934132710037826936173778980444968292764750946649017977587207096330286416692887910946555547851940402630657488671505820681908902000708383676273854845817711531764475730270069855571366959622842914819860834936475292719074168444365510704342711559699508093042880177904174497791", finf, 1.7976931348623157e308},
        {"0.1000000000000000055511151231257827021181583404541015625", 0.1f, 0.1},
        {"3.4028235e38", 3.4028235e38f, 3.4028235e38},
        {"0e999999999", 0.0f, 0.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToFloat(c.text), c.asFloat) << c.text;
        EXPECT_EQ(std::signbit(ToFloat(c.text)), std::signbit(c.asFloat)) << c.text;
        EXPECT_EQ(ToDouble(c.text), c.asDouble) << c.text;
        EXPECT_EQ(std::signbit(ToDouble(c.text)), std::signbit(c.asDouble)) << c.text;
    }
}

TEST(Text, NumbersBecomeTextAsPercentDAndPercentPoint9G) {
    EXPECT_EQ(FromInt(-2147483648LL), "-2147483648");
    EXPECT_EQ(FromInt(0), "0");
    EXPECT_EQ(FromFloat(0.1f), "0.100000001");
    EXPECT_EQ(FromFloat(100.0), "100");
    EXPECT_EQ(FromFloat(0.5), "0.5");
    EXPECT_EQ(FromFloat(1e20), "1e+20");
    EXPECT_EQ(FromFloat(-1.0 / 3.0), "-0.333333333");
    EXPECT_EQ(FormatFloat("%.2f", 3.14159), "3.14");
    EXPECT_EQ(FormatFloat("%08.3f", -1.5), "-001.500");
}

// With a German locale in force the C library writes and reads "1,5";
// the platform's number text must not follow it.
TEST(Text, NumberTextIgnoresTheProcessLocale) {
    // (The Windows C runtime names the locale German_Germany.1252.)
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr && std::setlocale(LC_ALL, "de_DE.utf8") == nullptr &&
        std::setlocale(LC_ALL, "German_Germany.1252") == nullptr) {
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed (scripts/install-deps.sh generates it)";
    }
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5") << "the German locale is not in force, so this test proves nothing";

    EXPECT_FLOAT_EQ(ToFloat("0.5"), 0.5f);
    EXPECT_DOUBLE_EQ(ToDouble("1,5"), 1.0);
    EXPECT_EQ(FromFloat(0.1f), "0.100000001");
    EXPECT_EQ(FromFloat(2.5), "2.5");
    EXPECT_EQ(FormatFloat("%.2f", 1.5), "1.50");
    EXPECT_EQ(FromInt(1234567), "1234567");
    std::setlocale(LC_ALL, "C");
}

TEST(Text, Utf8DecodingReplacesMalformedBytes) {
    EXPECT_EQ(ToUtf32("a\xC3\xA4\xC3\x9F\xE2\x82\xAC\xF0\x9F\x98\x80"), U"a\u00E4\u00DF\u20AC\U0001F600");
    struct Case {
        std::string bytes;
        std::u32string code;
    };
    const Case cases[] = {
        {"\xFF", U"\uFFFD"},
        {"a\xC3", U"a\uFFFD"},                       // cut off
        {"\xE2\x82" "A", U"\uFFFD" "A"},             // cut off, one replacement
        {"\xC0\xAF", U"\uFFFD\uFFFD"},               // overlong
        {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},     // surrogate
        {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
        {"\x80x", U"\uFFFDx"},                       // stray continuation byte
    };
    for (const Case& c : cases) EXPECT_EQ(ToUtf32(c.bytes), c.code) << testing::PrintToString(c.bytes);
    EXPECT_EQ(CharCount("a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"), 4);
    EXPECT_EQ(CharCount("\xE2\x82"), 1);
}

TEST(Text, Utf8EncodingRoundTrips) {
    const std::string text = "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80";
    EXPECT_EQ(FromUtf32(ToUtf32(text)), text);
    EXPECT_EQ(ToUtf16("\xF0\x9F\x98\x80" "a"), (std::u16string{0xD83D, 0xDE00, u'a'}));
    EXPECT_EQ(FromChar(U'\u00FC'), "\xC3\xBC");
    // Code points that UTF-8 cannot carry become U+FFFD.
    EXPECT_EQ(FromUtf32(std::u32string{0xD800, 0x110000}), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Text, CaseMappingCoversAsciiAndGermanUmlauts) {
    EXPECT_EQ(ToLower("\xC3\x84\xC3\x96\xC3\x9C Stra\xC3\x9F" "e ABCxyz"), "\xC3\xA4\xC3\xB6\xC3\xBC stra\xC3\x9F" "e abcxyz");
    EXPECT_EQ(ToUpper("\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F abc"), "\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F ABC");
    // Other accented letters and text around them stay as they are.
    EXPECT_EQ(ToUpper("\xC3\xA9" "e"), "\xC3\xA9" "E");
    EXPECT_EQ(ToLower("\xC3\x89"), "\xC3\x89");
    EXPECT_EQ(ToUpper("a\xC3"), "A\xC3");
}
