// The Config store: parse, then every typed reader, search and writer on
// keys taken from the text itself, and the write-then-read round trip.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzzsupport.h"
#include "kestrum-framework/config.h"
#include "platform/text.h"

namespace fw = kestrum::framework;

namespace {

// The keys of the first lines that hold "=", and some the game asks for.
std::vector<std::string> KeysOf(const fw::Config& config) {
    std::vector<std::string> keys = {"name", "x", "levelIndex", ""};
    for (const std::string& line : config.Data) {
        if (keys.size() >= 12) break;
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos) keys.push_back(line.substr(0, eq));
    }
    return keys;
}

void ReadEverything(fw::Config& config, const std::string& key) {
    config.Find(key);
    config.HasKey(key);
    config.ReadString(key, "d");
    config.ReadInt(key, 7);
    config.ReadFloat(key, 0.5f);
    config.ReadBool(key, true);
    config.ReadStringData(key, {"d"}, ",");
    config.ReadIntData(key, {1}, ",");
    config.ReadFloatData(key, {1}, ":");
    config.ReadVec2i(key, {1, 2}, ",");
    config.ReadVec2f(key, {1, 2}, ",");
    config.ReadColor(key, {1, 1, 1, 1}, ",");
    config.Contains(key, false);
    config.Contains(key, true);
}

// A key that Write and the readers must agree on: trimmed, not empty, no
// "=", no quote (ReadString removes quotes).
bool Plain(const std::string& key) {
    return !key.empty() && key == platform::Trim(key) && key.find_first_of("=\"") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::Start();
    fuzzsupport::Input input(data, size);
    const int number = input.Int(-100000, 100000);
    fw::Config config;
    config.Parse(std::string(input.Rest()));
    const std::vector<std::string> keys = KeysOf(config);
    for (const std::string& key : keys) ReadEverything(config, key);

    config.ToString("\n");
    config.Compact();
    config.Clone()->Sort();
    if (!keys.empty()) config.GetData(keys.back());

    // Merging writes line by line, each write a search: a copy of the first
    // lines keeps a long input from costing a quadratic walk on every run.
    fw::Config copy;
    copy.CopyData(&config);
    if (copy.Data.size() > 64) copy.Data.resize(64);
    for (const std::string& key : keys) {
        config.Cursor = number;  // any cursor, also one outside the lines
        config.WriteInt(key, number);
        if (!Plain(key)) continue;
        config.Cursor = 0;
        const int back = config.ReadInt(key, number + 1);
        if (back != number) {
            fuzzsupport::Fail("WriteInt(" + key + ", " + std::to_string(number) + ") read back as " +
                              std::to_string(back));
        }
        config.Cursor = 0;
        config.WriteBool(key, true);
        config.Cursor = 0;
        if (!config.ReadBool(key, false)) fuzzsupport::Fail("WriteBool(" + key + ", true) read back as false");
        config.WriteString(key, "v");
        config.WriteFloat(key, 0.25f);
        config.ReplaceValue(key, "w");
    }
    config.Write(std::string(input.Rest().substr(0, 64)), false);
    config.Write(std::string(input.Rest().substr(0, 64)), true);
    config.Replace("=", "==");
    config.Merge(copy, true, true);
    config.Merge(copy, false, false);
    config.Clear();
    return 0;
}
