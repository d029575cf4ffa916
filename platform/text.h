// Text operations of the platform. Texts are UTF-8 std::strings; every
// conversion between numbers and text is independent of the process locale.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Cuts at every occurrence of separator and keeps empty parts: n separators
// give n + 1 parts. An empty separator gives the whole text as one part.
std::vector<std::string> Split(std::string_view text, std::string_view separator);
std::string Join(const std::vector<std::string>& parts, std::string_view separator);
// Drops characters with codes 0 to 32 at both ends.
std::string Trim(std::string_view text);
// Replaces every occurrence of what (non-empty) by with.
std::string Replace(std::string_view text, std::string_view what, std::string_view with);
bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);
bool Contains(std::string_view text, std::string_view what);
// ASCII case mapping plus the German letters (ä ö ü and their capitals).
std::string ToLower(std::string_view text);
std::string ToUpper(std::string_view text);
// Compares UTF-16 code units, then lengths: < 0, 0 or > 0.
int Compare(std::string_view a, std::string_view b);

// The leading integer or decimal number of the text (after blanks); 0 when there is none.
int ToInt(std::string_view text);
float ToFloat(std::string_view text);
double ToDouble(std::string_view text);
// "%d" and "%.9g" in the C locale.
std::string FromInt(long long value);
std::string FromFloat(double value);
// printf-style formatting in the C locale, for one number.
std::string FormatFloat(const char* format, double value);

// Unicode helpers.
std::u32string ToUtf32(std::string_view text);   // malformed bytes become U+FFFD
std::string FromUtf32(std::u32string_view text);
std::u16string ToUtf16(std::string_view text);
std::string FromChar(char32_t code);
// Length of the text in code points.
int CharCount(std::string_view text);

}  // namespace platform
