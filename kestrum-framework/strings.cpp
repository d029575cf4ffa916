#include "kestrum-framework/strings.h"

#include "platform/text.h"

namespace kestrum::framework::strings {

std::vector<int> ToChars(const std::string& text) {
    const std::u16string units = platform::ToUtf16(text);
    return std::vector<int>(units.begin(), units.end());
}

std::string FromChars(const std::vector<int>& chars) {
    std::u32string codes;
    codes.reserve(chars.size());
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const int unit = chars[i] & 0xFFFF;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < chars.size()) {
            const int low = chars[i + 1] & 0xFFFF;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                codes.push_back(static_cast<char32_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                ++i;
                continue;
            }
        }
        codes.push_back(unit >= 0xD800 && unit <= 0xDFFF ? U'\uFFFD' : static_cast<char32_t>(unit));
    }
    return platform::FromUtf32(codes);
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    if (text.empty()) return parts;
    parts.emplace_back();
    bool quoted = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == '"') {
            quoted = !quoted;
            ++pos;
        } else if (!quoted && !separator.empty() && text.compare(pos, separator.size(), separator) == 0) {
            parts.emplace_back();
            pos += separator.size();
        } else {
            parts.back() += text[pos];
            ++pos;
        }
    }
    return parts;
}

std::string SortString(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts = platform::Split(platform::Trim(text), separator);
    if (parts.size() < 2) return text;
    // A stable bubble sort, as few items are ever sorted.
    for (std::size_t pass = 0; pass < parts.size(); ++pass) {
        for (std::size_t j = 1; j < parts.size(); ++j) {
            if (platform::Compare(parts[j - 1], parts[j]) > 0) std::swap(parts[j - 1], parts[j]);
        }
    }
    std::string result;
    for (const auto& part : parts) {
        if (!result.empty()) result += separator;
        result += part;
    }
    return result;
}

}  // namespace kestrum::framework::strings
