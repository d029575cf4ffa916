#include "kestrum-framework/config.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "kestrum-framework/arrays.h"
#include "kestrum-framework/assetpath.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kestrum::framework::config {

namespace {

// Whether the key of a line (the text before its first "=", or the whole
// line when it has none), lower-cased and trimmed, equals wanted, which is
// lower-cased already. A search examines every line, so keys and wanted
// texts of ASCII alone are compared in place; any other pair goes through
// Compare, whose UTF-16 view counts a malformed byte as U+FFFD.
bool KeyMatches(std::string_view line, std::string_view wanted) {
    std::string_view key = line.substr(0, line.find('='));
    while (!key.empty() && static_cast<unsigned char>(key.front()) <= 32) key.remove_prefix(1);
    while (!key.empty() && static_cast<unsigned char>(key.back()) <= 32) key.remove_suffix(1);
    const auto ascii = [](std::string_view text) {
        return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    };
    if (ascii(key)) {
        // An ASCII key is one UTF-16 unit per byte, all below 0x80: a wanted
        // text holding any other unit never equals it.
        if (key.size() != wanted.size() || !ascii(wanted)) return false;
        for (std::size_t i = 0; i < key.size(); ++i) {
            const char c = key[i] >= 'A' && key[i] <= 'Z' ? static_cast<char>(key[i] + 32) : key[i];
            if (c != wanted[i]) return false;
        }
        return true;
    }
    return platform::Compare(platform::Trim(platform::ToLower(key)), wanted) == 0;
}

std::string RemoveQuotes(const std::string& text) { return platform::Replace(text, "\"", ""); }

}  // namespace

Config::Config(const std::string& path) { Load(path); }

void Config::Parse(const std::string& text) {
    // A byte-order mark that an editor put before the first key is not part
    // of it: it is trimmed away with the blanks, also after a blank line.
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    std::string_view body = text;
    for (;;) {
        while (!body.empty() && static_cast<unsigned char>(body.front()) <= 32) body.remove_prefix(1);
        if (!body.starts_with(bom)) break;
        body.remove_prefix(bom.size());
    }
    Data = platform::Split(platform::Trim(body), "\n");
    Cursor = 0;
}

bool Config::Load(const std::string& path) {
    if (path == Path && !Text.empty()) return true;
    const std::optional<std::string> text = platform::TryLoadString(assetpath::ResolvePath(path, "asset::"));
    Text = text.value_or("");
    Parse(Text);
    Path = path;
    return text.has_value();
}

int Config::Lines() const { return static_cast<int>(Data.size()); }

std::string Config::ToString(const std::string& separator) const {
    std::string result;
    for (const auto& line : Data) {
        if (!result.empty()) result += separator;
        result += line;
    }
    return result;
}

std::string Config::Compact() const {
    std::string result;
    for (const auto& line : Data) {
        if (!result.empty()) result += ",";
        result += "[" + platform::Trim(line) + "]";
    }
    return result;
}

bool Config::Contains(const std::string& text, bool caseSensitive) const {
    const std::string needle = caseSensitive ? text : platform::ToLower(text);
    for (const auto& line : Data) {
        const std::string hay = caseSensitive ? line : platform::ToLower(line);
        if (hay.find(needle) != std::string::npos) return true;
    }
    return false;
}

template <typename Match>
int Config::Search_(Match match) {
    const int count = Lines();
    if (count == 0) return -1;
    if (Cursor < 0 || Cursor >= count) Cursor = 0;
    int index = Cursor;
    for (int examined = 0; examined < count; ++examined) {
        if (match(Data[static_cast<std::size_t>(index)])) {
            Cursor = index;
            return index;
        }
        index = index + 1 < count ? index + 1 : 0;
    }
    return -1;
}

int Config::Find(const std::string& key) {
    const std::string wanted = platform::Trim(platform::ToLower(key));
    return Search_([&](const std::string& line) { return KeyMatches(line, wanted); });
}

bool Config::HasKey(const std::string& key) { return Find(key) != -1; }

int Config::FindValueLine_(const std::string& key) {
    // The requested key is not trimmed: a key with blanks around it never matches.
    const std::string wanted = platform::ToLower(key);
    return Search_([&](const std::string& line) {
        // A line without "=" never supplies a value, not even to an empty key.
        return line.find('=') != std::string::npos && KeyMatches(line, wanted);
    });
}

std::string Config::Value_(int line) const { return arrays::SplitInTwo(Data[static_cast<std::size_t>(line)], "=")[1]; }

std::string Config::ReadString(const std::string& key, const std::string& defaultValue) {
    const int line = FindValueLine_(key);
    if (line < 0) return defaultValue;
    return platform::Trim(RemoveQuotes(Value_(line)));
}

int Config::ReadInt(const std::string& key, int defaultValue) {
    const int line = FindValueLine_(key);
    return line < 0 ? defaultValue : platform::ToInt(platform::Trim(Value_(line)));
}

float Config::ReadFloat(const std::string& key, float defaultValue) {
    const int line = FindValueLine_(key);
    return line < 0 ? defaultValue : platform::ToFloat(platform::Trim(Value_(line)));
}

bool Config::ReadBool(const std::string& key, bool defaultValue) {
    const std::string wanted = platform::ToLower(key);
    bool value = defaultValue;
    const int line = Search_([&](const std::string& text) {
        // The value is the text between the first "=" and the next one.
        const std::size_t eq = text.find('=');
        if (eq == std::string::npos || !KeyMatches(text, wanted)) return false;
        const std::size_t next = text.find('=', eq + 1);
        const std::size_t length = next == std::string::npos ? next : next - eq - 1;
        const std::string v = platform::Trim(platform::ToLower(text.substr(eq + 1, length)));
        if (v == "true") value = true;
        else if (v == "false") value = false;
        else return false;
        return true;
    });
    return line < 0 ? defaultValue : value;
}

std::vector<std::string> Config::ReadStringData(const std::string& key, const std::vector<std::string>& defaultValue,
                                                const std::string& separator) {
    const std::string text = ReadString(key, "");
    if (text.empty()) return defaultValue;
    return platform::Split(text, separator);
}

std::vector<int> Config::ReadIntData(const std::string& key, const std::vector<int>& defaultValue,
                                     const std::string& separator) {
    const std::string text = ReadString(key, "");
    if (text.empty()) return defaultValue;
    return arrays::ToInt(platform::Split(text, separator));
}

std::vector<float> Config::ReadFloatData(const std::string& key, const std::vector<float>& defaultValue,
                                         const std::string& separator) {
    const std::string text = ReadString(key, "");
    if (text.empty()) return defaultValue;
    return arrays::ToFloat(platform::Split(text, separator));
}

platform::Vec2i Config::ReadVec2i(const std::string& key, platform::Vec2i defaultValue, const std::string& separator) {
    const std::string text = ReadString(key, "");
    if (text.empty()) return defaultValue;
    const auto parts = platform::Split(text, separator);
    if (parts.size() != 2) return defaultValue;
    return {platform::ToInt(parts[0]), platform::ToInt(parts[1])};
}

platform::Vec2f Config::ReadVec2f(const std::string& key, platform::Vec2f defaultValue, const std::string& separator) {
    const std::string text = ReadString(key, "");
    if (text.empty()) return defaultValue;
    const auto parts = platform::Split(text, separator);
    if (parts.size() != 2) return defaultValue;
    return {platform::ToFloat(parts[0]), platform::ToFloat(parts[1])};
}

platform::Color Config::ReadColor(const std::string& key, platform::Color defaultValue, const std::string& separator) {
    const std::string text = ReadString(key, "");
    if (text.empty()) return defaultValue;
    const auto parts = platform::Split(text, separator);
    if (parts.size() == 3) {
        return {platform::ToFloat(parts[0]), platform::ToFloat(parts[1]), platform::ToFloat(parts[2]), 1.0f};
    }
    if (parts.size() == 4) {
        return {platform::ToFloat(parts[0]), platform::ToFloat(parts[1]), platform::ToFloat(parts[2]),
                platform::ToFloat(parts[3])};
    }
    return defaultValue;
}

void Config::Write(const std::string& line, bool replace) {
    if (line.empty()) return;
    // The key is the text before the first "="; the value keeps any further
    // "=", which the readers read back whole.
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) return;
    const std::string key = line.substr(0, eq);
    const std::string value = line.substr(eq + 1);
    const int index = Find(key);
    if (index < 0) {
        Data.push_back(line);
    } else if (replace) {
        Data[static_cast<std::size_t>(index)] = platform::Trim(key) + "=" + platform::Trim(value);
    }
}

void Config::WriteString(const std::string& key, const std::string& value) {
    if (key.empty() || value.empty()) return;
    Write(key + "=" + value, true);
}

void Config::WriteInt(const std::string& key, int value) {
    if (key.empty()) return;
    Write(key + "=" + platform::FromInt(value), true);
}

void Config::WriteFloat(const std::string& key, float value) {
    if (key.empty()) return;
    Write(key + "=" + platform::FromFloat(value), true);
}

void Config::WriteBool(const std::string& key, bool value) {
    if (key.empty()) return;
    Write(key + "=" + (value ? "True" : "False"), true);
}

void Config::ReplaceValue(const std::string& key, const std::string& value) {
    const int index = Find(key);
    if (index < 0) {
        Data.push_back(key + "=" + value);
        return;
    }
    std::string& line = Data[static_cast<std::size_t>(index)];
    const std::string lineKey = platform::Split(line, "=")[0];
    if (platform::Compare(platform::Trim(platform::ToLower(lineKey)), platform::ToLower(key)) == 0) {
        line = lineKey + "=" + value;
    }
}

void Config::Replace(const std::string& text, const std::string& replacement) {
    if (text.empty()) return;
    for (auto& line : Data) line = platform::Replace(line, text, replacement);
}

void Config::Merge(const Config& other, bool replace, bool sort) {
    // Copy first: merging a store into itself must not walk a growing array.
    const std::vector<std::string> lines = other.Data;
    for (const auto& line : lines) {
        if (line.empty() || line.find('=') == std::string::npos) continue;
        Write(line, replace);
    }
    if (sort) Sort();
}

void Config::Sort() {
    std::stable_sort(Data.begin(), Data.end(),
                     [](const std::string& a, const std::string& b) { return platform::Compare(a, b) < 0; });
}

void Config::CopyData(const Config* other) {
    if (other == nullptr || other->Data.empty() || other == this) return;
    Data = other->Data;
    Cursor = 0;
    Text = other->Text;
    Path = other->Path;
}

std::shared_ptr<Config> Config::Clone() const {
    auto copy = std::make_shared<Config>();
    copy->CopyData(this);
    return copy;
}

void Config::Clear() {
    Data = arrays::ResizeArray(std::move(Data), 0);
    Cursor = 0;
    Path.clear();
    Text.clear();
}

std::shared_ptr<Config> Config::GetData(const std::string& prefix) const {
    auto result = std::make_shared<Config>();
    for (const auto& line : Data) {
        if (!platform::StartsWith(line, prefix)) continue;
        // Only the leading prefix goes: a value may hold the same text.
        result->Data.push_back(line.substr(prefix.size()));
    }
    return result;
}

}  // namespace kestrum::framework::config
