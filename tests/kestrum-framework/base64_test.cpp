#include "kestrum-framework/base64.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using kestrum::framework::Base64;

namespace kestrum::framework::base64 {

struct Base64TestAccess {
    template <typename... Args>
    static auto PeekBytes_(Args&&... args) {
        return Base64::PeekBytes_(std::forward<Args>(args)...);
    }
    template <typename... Args>
    static auto PeekString_(Args&&... args) {
        return Base64::PeekString_(std::forward<Args>(args)...);
    }
};

}  // namespace kestrum::framework::base64

namespace {

using kestrum::framework::base64::Base64TestAccess;

std::vector<int> Bytes(std::string_view text) { return std::vector<int>(text.begin(), text.end()); }

}  // namespace

TEST(Base64Test, EncodesTableOfCases) {
    struct Case {
        std::string bytes;
        bool pad;
        bool breakLines;
        int lineLength;
        std::string expected;
    };
    const Case cases[] = {
        {"", true, false, 0, ""},
        {"abc", true, false, 0, "YWJj"},
        {"ab", true, false, 0, "YWI="},
        {"ab", false, false, 0, "YWI"},
        {"a", true, false, 0, "YQ=="},
        {"a", false, false, 0, "YQ"},
        {"foobar", true, true, 4, "Zm9v\nYmFy"},
        {"fooba", true, true, 4, "Zm9v\nYmE="},      // the pad counts as a character
        {"foob", true, true, 4, "Zm9v\nYg=="},
        {"foobar", true, true, 0, "Zm9vYmFy"},       // no breaks without a line length
        {"foobar", true, false, 4, "Zm9vYmFy"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Base64::Encode(Bytes(c.bytes), c.pad, c.breakLines, c.lineLength), c.expected)
            << "bytes " << c.bytes << " pad " << c.pad << " lines " << c.lineLength;
    }
}

TEST(Base64Test, DecodesLenientlyAndRejectsWhatIsNotBase64) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"YWJj", "abc"},
        {"YWI=", "ab"},
        {"YWI", "ab"},
        {"YQ==", "a"},
        {"YQ", "a"},
        {"Y", ""},                    // a single digit holds no whole byte
        {"YWJjZ", "abc"},             // the fifth digit is ignored
        {"Zm9v\nYmFy", "foobar"},
        {" Zm 9v\r\nYm\tFy \n", "foobar"},
        {"", ""},
        {"YW=j", ""},                 // a digit after the pad
        {"YWJj!", ""},                // a character outside the alphabet
        {"hello world?", ""},
        {"====", ""},
        {"YQ===", ""},
        {"Y\xC3\xA9WJj", ""},         // non-ASCII bytes are not Base64
    };
    for (const auto& c : cases) {
        const auto bytes = Base64::DecodeBytes(c.text);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), c.expected) << "text " << c.text;
    }
}

TEST(Base64Test, RoundTripsEveryByteValue) {
    std::vector<int> all;
    for (int i = 0; i < 256; ++i) all.push_back(i);
    for (bool pad : {true, false}) {
        for (std::size_t length : {std::size_t{254}, std::size_t{255}, std::size_t{256}}) {
            std::vector<int> bytes(all.begin(), all.begin() + static_cast<long>(length));
            const std::string text = Base64::Encode(bytes, pad, true, 76);
            EXPECT_EQ(Base64::DecodeBytes(text), bytes) << "length " << length << " pad " << pad;
        }
    }
    // Signed bytes, as PeekBytes_ returns them, encode as the bytes they came from.
    EXPECT_EQ(Base64::Encode(std::vector<int>{-1, -128, 127}), Base64::Encode(std::vector<int>{255, 128, 127}));
}

TEST(Base64Test, TextRoundTrips) {
    // Latin-1 text: one byte per character, read back one character per byte.
    const std::string latin = "Gr\xC3\xBC\xC3\x9F" "e \xC3\xA9t\xC3\xA9";  // "Grüße été"
    EXPECT_EQ(Base64::Encode(std::string_view("\xC3\xA9")), "6Q==");
    EXPECT_EQ(Base64::Decode(Base64::Encode(latin)), latin);
    EXPECT_EQ(Base64::Decode(Base64::Encode(std::string_view("plain ascii"))), "plain ascii");

    // Decode gives one character per byte, not the UTF-8 characters they spell.
    EXPECT_EQ(Base64::Decode("w6k="), "\xC3\x83\xC2\xA9");

    // One rule whatever the neighbours: a character is one byte of its code,
    // alone or beside one that has none (written as "?").
    const std::string eAcute = "\xC3\xA9", euro = "\xE2\x82\xAC";
    EXPECT_EQ(Base64::DecodeBytes(Base64::Encode(eAcute + euro)), (std::vector<int>{0xE9, '?'}));
    EXPECT_EQ(Base64::DecodeBytes(Base64::Encode(euro + " 5 " + eAcute)), (std::vector<int>{'?', ' ', '5', ' ', 0xE9}));
    for (const std::string& text : {eAcute, eAcute + "\xC3\xBF\x01 x", std::string("\0\x7F", 2), std::string()}) {
        EXPECT_EQ(Base64::Decode(Base64::Encode(text)), text) << text;
    }
}

TEST(Base64Test, PeeksBytesFromABuffer) {
    platform::DataBuffer buffer(std::vector<std::uint8_t>{1, 2, 0xFF, 0x80});
    EXPECT_EQ(Base64TestAccess::PeekBytes_(buffer, 1, 10), (std::vector<int>{2, -1, -128}));
    EXPECT_TRUE(Base64TestAccess::PeekBytes_(buffer, 4, 1).empty());
    EXPECT_TRUE(Base64TestAccess::PeekBytes_(buffer, -1, 2).empty());
    EXPECT_TRUE(Base64TestAccess::PeekBytes_(buffer, 0, 0).empty());

    std::vector<int> array(3, 7);
    Base64TestAccess::PeekBytes_(buffer, 2, array, 1, 5);  // cut by the buffer's end and the array's
    EXPECT_EQ(array, (std::vector<int>{7, -1, -128}));
    std::vector<int> empty;
    Base64TestAccess::PeekBytes_(buffer, 0, empty, 0, 4);
    EXPECT_TRUE(empty.empty());
    Base64TestAccess::PeekBytes_(buffer, 0, array, 3, 4);
    EXPECT_EQ(array, (std::vector<int>{7, -1, -128}));
}

TEST(Base64Test, PeeksStringsByEncoding) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        std::string encoding;
        std::string expected;
    };
    const Case cases[] = {
        {{'h', 'i'}, "utf8", "hi"},
        {{0xC3, 0xA9, '!'}, "utf8", "\xC3\xA9!"},
        {{0xE2, 0x82, 0xAC}, "utf8", "\xE2\x82\xAC"},
        {{0xF0, 0x9F, 0x98, 0x80}, "utf8", "\xF0\x9F\x98\x80"},
        // Each bad byte becomes U+FFFD; the good characters around it survive.
        {{'a', 0x80, 'b'}, "utf8", "a\xEF\xBF\xBD" "b"},
        {{'a', 0xC3}, "utf8", "a\xEF\xBF\xBD"},
        {{0xC3, 'x'}, "utf8", "\xEF\xBF\xBDx"},
        {{0xE2, 0x82, 'x'}, "utf8", "\xEF\xBF\xBD\xEF\xBF\xBDx"},
        {{0xC0, 0x80}, "utf8", "\xEF\xBF\xBD\xEF\xBF\xBD"},  // overlong
        {{0xC3, 0xA9}, "ascii", "\xC3\x83\xC2\xA9"},
        {{'o', 'k'}, "ascii", "ok"},
    };
    for (const auto& c : cases) {
        platform::DataBuffer buffer(c.bytes);
        EXPECT_EQ(Base64TestAccess::PeekString_(buffer, 0, c.encoding), c.expected) << c.encoding;
    }
    platform::DataBuffer buffer(std::vector<std::uint8_t>{'a', 'b', 'c', 'd'});
    EXPECT_EQ(Base64TestAccess::PeekString_(buffer, 1, 2, "utf8"), "bc");

    testing::internal::CaptureStdout();
    EXPECT_EQ(Base64TestAccess::PeekString_(buffer, 0, "latin1"), "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Invalid string encoding:latin1\n");
}
