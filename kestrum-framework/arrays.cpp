#include "kestrum-framework/arrays.h"

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kestrum::framework::arrays {

std::vector<float> ToFloat(const std::vector<std::string>& strings) {
    std::vector<float> result;
    result.reserve(strings.size());
    for (const auto& text : strings) result.push_back(platform::ToFloat(text));
    return result;
}

std::vector<int> ToInt(const std::vector<std::string>& strings) {
    std::vector<int> result;
    result.reserve(strings.size());
    for (const auto& text : strings) result.push_back(platform::ToInt(text));
    return result;
}

namespace {

template <typename T, typename Format>
std::string Join(const std::vector<T>& values, Format format) {
    std::string result;
    for (const T& value : values) {
        if (!result.empty()) result += ",";
        result += format(value);
    }
    return result;
}

}  // namespace

std::string ArrayToString(const std::vector<float>& values) {
    return Join(values, [](float v) { return platform::FromFloat(v); });
}

std::string ArrayToString(const std::vector<int>& values) {
    return Join(values, [](int v) { return platform::FromInt(v); });
}

std::vector<std::string> SplitInTwo(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts(2);
    if (separator.empty()) return parts;
    const std::size_t index = text.find(separator);
    if (index == std::string::npos || index == 0) return parts;
    parts[0] = text.substr(0, index);
    // The separator counts as one character (every caller passes "=").
    if (index + 1 < text.size()) parts[1] = text.substr(index + 1);
    return parts;
}

std::vector<std::string> ShuffleArray(const std::vector<std::string>& strings) {
    const int length = static_cast<int>(strings.size());
    std::vector<std::string> result(strings.size());
    // Which slots are taken, so that an element that is itself "" keeps its
    // slot and the draw never waits for a slot that looks free but is not.
    std::vector<bool> taken(strings.size(), false);
    for (const auto& text : strings) {
        int slot;
        do {
            slot = static_cast<int>(platform::Rnd(length));
            if (slot >= length) slot = length - 1;
        } while (taken[static_cast<std::size_t>(slot)]);
        taken[static_cast<std::size_t>(slot)] = true;
        result[static_cast<std::size_t>(slot)] = text;
    }
    return result;
}

std::vector<int> LoadIntArray(const std::string& path) {
    const std::string text = platform::LoadString(path);
    if (text.empty()) return {};
    return ToInt(platform::Split(text, ","));
}

}  // namespace kestrum::framework::arrays
