// String utilities: texts to character codes and back, a split that honours
// double quotes, and sorting the items of a separated list.
//
// Texts are UTF-8 std::strings; a "character" of ToChars and FromChars is
// one UTF-16 code unit, as in the rest of the system's text comparisons.
//
// Depends on platform/text.h.
#pragma once

#include <string>
#include <vector>

namespace kestrum::framework::strings {

// One element per UTF-16 code unit (0 to 65535), in order.
std::vector<int> ToChars(const std::string& text);
// The inverse of ToChars; surrogate pairs are joined again, a lone surrogate
// becomes U+FFFD.
std::string FromChars(const std::vector<int>& chars);

// The parts of the text between separators that stand outside double
// quotes, with the quotes dropped. Every character is examined, so "a,,b"
// gives "a", "", "b". Empty parts count and parts are not trimmed; an empty
// text gives an empty array. The separator is one character; an empty one
// never matches.
std::vector<std::string> Split(const std::string& text, const std::string& separator);

// The items of a separated list in ascending order (UTF-16 code units, then
// length); empty items vanish. A text of fewer than two items comes back
// unchanged, untrimmed.
std::string SortString(const std::string& text, const std::string& separator);

}  // namespace kestrum::framework::strings

namespace kestrum::framework {
using namespace strings;
}
