// Config: the framework's store of key=value text (the preferences file, the
// GUI layout file, particle and scene file blocks).
//
// Format: the text is trimmed (a leading UTF-8 byte-order mark with it, also
// one after blanks) and cut into lines at "\n" (an empty line is a line of its own; a CR before
// the LF stays on its line and is trimmed away by every comparison and
// value). A line's key stands before its first "=",
// compared without regard to case, blanks around key and value ignored. No
// comments, sections or escapes; a line without "=" stays in the store but
// never supplies a value.
//
// Searches start at the line of the last hit (Cursor) and wrap around once,
// so keys read in file order cost two line examinations each.
//
// ReadString and the readers built on it remove every double quote from the
// value; ReadInt, ReadFloat and ReadBool do not.
//
// Depends on assetpath.h, arrays.h, platform/text.h and platform/files.h.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/types.h"

namespace kestrum::framework::config {

class Config {
public:
    // An empty store: no lines.
    Config() = default;
    // An empty store, then Load(path); the result of Load is dropped.
    explicit Config(const std::string& path);

    // The lines in order, each without its "\n".
    std::vector<std::string> Data;
    // Index of the line where the next search starts: the line of the last hit.
    int Cursor = 0;
    // The path given to the last Load that read a file, and the text it read.
    std::string Path;
    std::string Text;

    // Replaces the lines by those of the text and puts the cursor on line 0.
    // Never fails: an empty or blank text gives one empty line. A UTF-8
    // byte-order mark at the start is dropped.
    void Parse(const std::string& text);
    // Reads an "asset::" (or absolute) path and parses it. A path equal to
    // Path with a non-empty Text is not read again. Returns false when the
    // file could not be read; the store is then one empty line, with Path set
    // and Text "".
    bool Load(const std::string& path);

    // Queries; none moves the cursor.
    int Lines() const;
    // The lines joined by the separator; empty lines at the start leave no trace.
    std::string ToString(const std::string& separator) const;
    // Each line trimmed in brackets, joined by ",": [a=1],[b=2].
    std::string Compact() const;
    // Whether some line holds the text anywhere (key or value).
    bool Contains(const std::string& text, bool caseSensitive) const;

    // The index of a line whose key matches (the key trimmed), -1 when none.
    int Find(const std::string& key);
    bool HasKey(const std::string& key);

    // Typed readers: the caller's default for an absent key.
    std::string ReadString(const std::string& key, const std::string& defaultValue);
    int ReadInt(const std::string& key, int defaultValue);
    float ReadFloat(const std::string& key, float defaultValue);
    // Only a value of "true" or "false" (any case) matches; other lines of the key are passed over.
    bool ReadBool(const std::string& key, bool defaultValue);
    // ReadString cut at every separator; the default also for an empty value.
    std::vector<std::string> ReadStringData(const std::string& key, const std::vector<std::string>& defaultValue,
                                            const std::string& separator);
    std::vector<int> ReadIntData(const std::string& key, const std::vector<int>& defaultValue,
                                 const std::string& separator);
    std::vector<float> ReadFloatData(const std::string& key, const std::vector<float>& defaultValue,
                                     const std::string& separator);
    // Exactly two parts, else the default.
    platform::Vec2i ReadVec2i(const std::string& key, platform::Vec2i defaultValue, const std::string& separator);
    platform::Vec2f ReadVec2f(const std::string& key, platform::Vec2f defaultValue, const std::string& separator);
    // Three parts (alpha 1) or four, each 0 to 1; else the default.
    platform::Color ReadColor(const std::string& key, platform::Color defaultValue, const std::string& separator);

    // Editing. Write adds a key=value line (needs at least one "="; the key is
    // the text before the first) or, with replace, rewrites the line of a
    // present key in place as trimmed key=value.
    void Write(const std::string& line, bool replace);
    // Nothing for an empty key or value; else Write(key=value, true).
    void WriteString(const std::string& key, const std::string& value);
    // Nothing for an empty key; Int as "%d", Float as "%.9g", Bool as "True"/"False".
    void WriteInt(const std::string& key, int value);
    void WriteFloat(const std::string& key, float value);
    void WriteBool(const std::string& key, bool value);
    // Sets a key's value as passed, appending key=value when the key is absent.
    void ReplaceValue(const std::string& key, const std::string& value);
    // Replaces every occurrence of the text in every line.
    void Replace(const std::string& text, const std::string& replacement);
    // Writes every key=value line of the other store into this one, then
    // optionally sorts the whole store.
    void Merge(const Config& other, bool replace, bool sort);
    // Ascending by UTF-16 code units, then length, whole lines; stable.
    void Sort();

    // Copying and emptying.
    // Takes the other's lines, Path and Text (cursor 0); nothing for a null or empty store.
    void CopyData(const Config* other);
    void CopyData(const std::shared_ptr<Config>& other) { CopyData(other.get()); }
    std::shared_ptr<Config> Clone() const;
    void Clear();
    // A new store of the lines that begin with the prefix, the prefix cut off their start.
    std::shared_ptr<Config> GetData(const std::string& prefix) const;

private:
    // The line index of the first match from the cursor on (moving the cursor
    // there), or -1 with the cursor unchanged.
    template <typename Match>
    int Search_(Match match);
    // The line index matched by ReadString, ReadInt and ReadFloat.
    int FindValueLine_(const std::string& key);
    std::string Value_(int line) const;
};

}  // namespace kestrum::framework::config

namespace kestrum::framework {
using namespace config;
}
