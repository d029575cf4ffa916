// Base64 coding with the alphabet and pad of RFC 4648, section 4.
//
// Bytes are held as ints, one byte per element. Encoding takes the low eight
// bits of each element, so the signed bytes that PeekBytes_ returns encode
// as the bytes they came from. Decoding skips line breaks and blanks; any
// other character outside the alphabet, or a digit after a pad, makes the
// text "not Base64" and the result empty rather than garbage.
//
// Texts are UTF-8 and are coded by one rule, Latin-1: Encode(text) writes one
// byte per character, the character's code (U+0000 to U+00FF), and Decode(text)
// reads each byte back as the character of that code, so every text of those
// characters comes back as it was. A character above U+00FF has no byte of its
// own and is written as "?".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/databuffer.h"

namespace kestrum::framework::base64 {

// The 64 digits followed by the pad character "=".
extern std::string Base64Alphabet;
// Digit value per byte value: 0 to 63 for the digits, 64 for "=", -1 otherwise.
// Empty until Base64::Init_ fills it.
extern std::vector<int> Base64Table;

class Base64 {
public:
    static std::string Encode(const std::vector<int>& data, bool pad = true, bool breakLines = false,
                              int lineLength = 76);
    static std::string Encode(std::string_view text, bool pad = true, bool breakLines = false,
                              int lineLength = 76);

    // The bytes of a Base64 text; empty for an empty text, a text without a
    // whole byte, or a text that is not Base64.
    static std::vector<int> DecodeBytes(std::string_view text);
    // DecodeBytes, each byte turned into the character of that code.
    static std::string Decode(std::string_view text);

private:
    static void Init_();

    // Up to count bytes from offset (cut at the buffer's end) as signed 8-bit values.
    static std::vector<int> PeekBytes_(const platform::DataBuffer& buffer, int offset, int count);
    // Copies bytes from offset into array from arrayIndex on, cut at the end
    // of both the buffer and the array.
    static void PeekBytes_(const platform::DataBuffer& buffer, int offset, std::vector<int>& array,
                           int arrayIndex, int count);
    // Bytes turned into text by encoding "utf8" (malformed bytes become
    // U+FFFD, one per bad byte) or "ascii" (each byte one character of that
    // code). Any other name prints "Invalid string encoding:<name>" and gives "".
    static std::string PeekString_(const platform::DataBuffer& buffer, int offset, int count,
                                   std::string_view encoding);
    static std::string PeekString_(const platform::DataBuffer& buffer, int offset, std::string_view encoding);

    // The tests reach the peek helpers through it.
    friend struct Base64TestAccess;
};

// Sets Base64Alphabet; called by the framework's module initialiser.
void InitBase64Unit();

}  // namespace kestrum::framework::base64

namespace kestrum::framework {
using namespace base64;
}
