// Zandrovia localization: tables, loaders and lookup.
#include "zandrovia/localization.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/json.h"
#include "platform/text.h"

namespace morvane::locale {

namespace {

// Ends the process the way every load error does: an empty line, the
// message, exit code -1.
[[noreturn]] void Fatal(const std::string& message) {
    std::fputs("\n", stdout);
    platform::RuntimeError(message);
}

// A load that leaves the game without its texts: one line on standard
// output, and the game goes on with the keys' fallback texts.
void Report(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// A JSON object from a file, or nullopt when the file is missing, empty,
// malformed or holds something other than an object.
std::optional<platform::Json> ReadJsonObject(const std::string& path) {
    const std::string text = platform::LoadString(path);
    if (text.empty()) return std::nullopt;
    std::optional<platform::Json> json = platform::ParseJson(text);
    if (!json || !json->is_object()) return std::nullopt;
    return json;
}

// The INI text as trimmed, non-empty lines.
std::vector<std::string> IniLines(const std::string& path) {
    std::string text = platform::LoadString(path);
    text = platform::Replace(text, "\r\n", "\n");
    text = platform::Replace(text, "\r", "\n");
    std::vector<std::string> lines;
    for (const std::string& raw : platform::Split(text, "\n")) {
        std::string line = platform::Trim(raw);
        if (!line.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

bool IsSection(const std::string& line) { return line[0] == '['; }

// A pair line into the table; text from a second "=" on is dropped. A line
// without "=" holds no pair.
void AddPair(Table& table, const std::string& line) {
    const std::vector<std::string> parts = platform::Split(line, "=");
    if (parts.size() < 2) return;
    table[platform::Trim(parts[0])] = platform::Replace(platform::Trim(parts[1]), "\\n", "\n");
}

}  // namespace

bool TextLess::operator()(const std::string& a, const std::string& b) const {
    // UTF-8 byte order agrees with UTF-16 code-unit order up to the first
    // difference; only a difference at a non-ASCII character needs the full
    // comparison. Keys are ASCII, so lookups stay free of allocations.
    const std::size_t n = std::min(a.size(), b.size());
    std::size_t i = 0;
    while (i < n && a[i] == b[i]) ++i;
    if (i == n) return a.size() < b.size();
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if (ca < 0x80 && cb < 0x80) return ca < cb;
    return platform::Compare(a, b) < 0;
}

// --- Loaders -------------------------------------------------------------------

std::shared_ptr<LocInfo> LocInfo::Parse(const platform::Json& object) {
    auto info = std::make_shared<LocInfo>();
    if (!object.is_object()) return info;
    if (auto it = object.find("default"); it != object.end()) info->defaultLang = JsonText(*it);
    if (auto it = object.find("format"); it != object.end()) info->format = JsonText(*it);
    if (auto it = object.find("langs"); it != object.end() && it->is_array()) {
        for (const platform::Json& code : *it) info->langs.push_back(JsonText(code));
    }
    return info;
}

std::string JsonText(const platform::Json& value) {
    switch (value.type()) {
        case platform::Json::value_t::string: return value.get<std::string>();
        case platform::Json::value_t::boolean: return value.get<bool>() ? "true" : "false";
        case platform::Json::value_t::null: return "null";
        case platform::Json::value_t::number_integer:
        case platform::Json::value_t::number_unsigned:
        case platform::Json::value_t::number_float: return platform::FormatFloat("%.17g", value.get<double>());
        default: return "";
    }
}

TablePtr JsonLocLoader::FromJson(const platform::Json& object) {
    auto table = std::make_shared<Table>();
    if (!object.is_object()) return table;
    for (auto it = object.begin(); it != object.end(); ++it) (*table)[it.key()] = JsonText(it.value());
    return table;
}

TablePtr JsonLocLoader::LoadLang(const std::string& path, const std::string& lang) {
    const std::optional<platform::Json> json = ReadJsonObject(path);
    if (!json) return nullptr;
    const auto member = json->find(lang);
    if (member == json->end() || !member->is_object()) return nullptr;
    data = std::make_shared<Tables>();
    (*data)[lang] = FromJson(*member);
    return (*data)[lang];
}

TablesPtr JsonLocLoader::LoadAll(const std::string& path) {
    const std::optional<platform::Json> json = ReadJsonObject(path);
    const std::shared_ptr<LocInfo> info = LocInfo::Parse(json ? *json : platform::Json::object());
    defaultLang = info->defaultLang;
    format = "json";
    langs = info->langs;
    data = std::make_shared<Tables>();
    if (!json) return data;
    for (const std::string& code : langs) {
        const auto member = json->find(code);
        if (member == json->end() || !member->is_object()) continue;
        (*data)[code] = FromJson(*member);
    }
    return data;
}

TablePtr IniLocLoader::LoadLang(const std::string& path, const std::string& lang) {
    data = std::make_shared<Tables>();
    auto table = std::make_shared<Table>();
    for (const std::string& line : IniLines(path)) {
        if (!IsSection(line)) AddPair(*table, line);
    }
    (*data)[lang] = table;
    return table;
}

TablesPtr IniLocLoader::LoadAll(const std::string& path) {
    data = std::make_shared<Tables>();
    TablePtr current;
    for (const std::string& line : IniLines(path)) {
        if (IsSection(line)) {
            const std::string name = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string();
            current = std::make_shared<Table>();
            (*data)[name] = current;
        } else if (current) {
            AddPair(*current, line);
        }
    }
    defaultLang.clear();
    langs.clear();
    if (const auto info = data->find("info"); info != data->end()) {
        const Table& table = *info->second;
        if (const auto it = table.find("default"); it != table.end()) defaultLang = it->second;
        if (const auto it = table.find("langs"); it != table.end()) langs = platform::Split(it->second, ",");
    }
    format = "ini";
    return data;
}

// --- Localization ----------------------------------------------------------------

std::map<std::string, std::shared_ptr<LocLoader>, TextLess> Localization::Loaders;
std::vector<ValuesProvider> Localization::ValuesProviders;
std::shared_ptr<Localization> LocInstance;

Localization::Localization(const std::string& defaultLang) : defaultLang(defaultLang) {
    RegisterLoader("json", std::make_shared<JsonLocLoader>());
    RegisterLoader("ini", std::make_shared<IniLocLoader>());
}

void Localization::RegisterLoader(const std::string& format, std::shared_ptr<LocLoader> loader) {
    Loaders[format] = std::move(loader);
}

std::string FormatOf(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) return "";
    if (path.find('/', dot) != std::string::npos) return "";
    return path.substr(dot + 1);
}

void Localization::Load(const std::string& path, const std::string& lang) {
    this->path = path;
    this->lang = lang.empty() ? defaultLang : lang;
    switch (platform::GetFileType(platform::RealPath(path))) {
        case platform::FileType::File: LoadFile(path); break;
        case platform::FileType::Directory: LoadFolder(path); break;
        default:
            singleFile = true;
            dict = nullptr;
            Report("Localization file not found: " + path);
            break;
    }
    if (onChanged) onChanged();
}

void Localization::LoadFile(const std::string& path) {
    format = FormatOf(path);
    const auto loader = Loaders.find(format);
    if (loader == Loaders.end() || !loader->second) Fatal("Unsupported format - '" + format + "' !");
    data = loader->second->LoadAll(platform::RealPath(path));
    if (!data) data = std::make_shared<Tables>();
    langs = loader->second->langs;
    defaultLang = loader->second->defaultLang;
    const auto table = data->find(lang);
    dict = table == data->end() ? nullptr : table->second;
    singleFile = true;
    if (data->empty()) {
        Report("Localization file not readable: " + path);
    } else if (!dict) {
        Report("Localization file has no texts for " + lang + ": " + path);
    }
}

void Localization::LoadFolder(const std::string& dir) {
    const std::string folder = platform::EndsWith(dir, "/") ? dir : dir + "/";
    const std::optional<platform::Json> json = ReadJsonObject(platform::RealPath(folder + "info.json"));
    if (!json) Fatal("Can't load localization config from " + folder + "info.json!");
    const std::shared_ptr<LocInfo> info = LocInfo::Parse(*json);
    defaultLang = info->defaultLang;
    format = info->format;
    langs = info->langs;
    const auto loader = Loaders.find(format);
    if (loader == Loaders.end() || !loader->second) Fatal("Unsupported format - '" + format + "' !");
    dict = loader->second->LoadLang(platform::RealPath(folder + lang + "." + format), lang);
    singleFile = false;
    if (!dict) Fatal("Can't load localization data for " + lang + " lang!");
}

std::string Localization::_idx(const std::string& key) {
    for (const ValuesProvider& provider : ValuesProviders) {
        bool found = false;
        std::string text = provider ? provider(key, found) : std::string();
        if (found) return text;
    }
    if (!overrides.empty()) {
        const auto table = overrides.find(lang);
        if (table != overrides.end() && table->second) {
            const auto it = table->second->find(key);
            if (it != table->second->end()) return it->second;
        }
    }
    if (!dict) dict = std::make_shared<Table>();
    const auto it = dict->find(key);
    if (it != dict->end()) return it->second;
    std::string fallback = "$$" + key + "$$";
    (*dict)[key] = fallback;
    return fallback;
}

// --- Bindings, overrides and the language switch ---------------------------------

LocCallback::LocCallback(void (*function)(const std::string&))
    : target_(function ? std::make_shared<FunctionTarget>(function) : nullptr) {}

bool LocCallback::operator==(const LocCallback& other) const {
    if (!target_ || !other.target_) return target_ == other.target_;
    return target_->Same(*other.target_);
}

void Localization::RegisterValuesProvider(ValuesProvider provider) { ValuesProviders.push_back(std::move(provider)); }

void Localization::Bind(const std::string& key, const LocCallback& callback) {
    const std::string text = _idx(key);
    callback(text);
    std::vector<LocCallback>& list = bindings[key];
    if (std::find(list.begin(), list.end(), callback) == list.end()) list.push_back(callback);
}

void Localization::UnBind(const LocCallback& callback) {
    for (auto& [key, list] : bindings) {
        const auto it = std::find(list.begin(), list.end(), callback);
        if (it != list.end()) {
            list.erase(it);
            return;
        }
    }
}

void Localization::ReLocalizeKey(const std::string& key) {
    const auto found = bindings.find(key);
    if (found == bindings.end()) return;
    // The pass walks a copy, since a callback may bind and unbind.
    ReLocalize_(key, std::vector<LocCallback>(found->second));
}

void Localization::ReLocalizeAll() {
    // One copy for the whole pass: a callback bound to a later key while the
    // pass runs has had its text from Bind already.
    const auto pass = bindings;
    for (const auto& [key, callbacks] : pass) ReLocalize_(key, callbacks);
}

void Localization::ReLocalize_(const std::string& key, const std::vector<LocCallback>& callbacks) {
    for (const LocCallback& callback : callbacks) {
        // A callback unbound by an earlier one is not called: it may belong
        // to a LocString that the earlier one destroyed.
        const auto list = bindings.find(key);
        const bool bound = list != bindings.end() &&
                           std::find(list->second.begin(), list->second.end(), callback) != list->second.end();
        if (bound) callback(_idx(key));
    }
}

void Localization::AddOverrided(const std::string& lang, const std::string& key, const std::string& text,
                                bool reLocalize) {
    TablePtr& table = overrides[lang];
    if (!table) table = std::make_shared<Table>();
    (*table)[key] = text;
    if (reLocalize) ReLocalizeKey(key);
}

void Localization::RemoveOverrided(const std::string& lang, const std::string& key) {
    const auto table = overrides.find(lang);
    if (table != overrides.end() && table->second) table->second->erase(key);
}

void Localization::SetLang(const std::string& lang, bool force) {
    if (lang == this->lang && !force) return;
    this->lang = lang.empty() ? defaultLang : lang;
    if (singleFile) {
        dict = nullptr;
        if (data) {
            const auto table = data->find(this->lang);
            if (table != data->end()) dict = table->second;
        }
    } else {
        LoadFolder(path);
    }
    ReLocalizeAll();
    if (onChanged) onChanged();
}

void InitLocalizationModule() {
    static bool done = false;
    if (done) return;
    done = true;
    Localization::Loaders.clear();
    Localization::ValuesProviders.clear();
    LocInstance = std::make_shared<Localization>("en");
}

std::string Localize(const std::string& key) {
    if (!LocInstance) InitLocalizationModule();
    return (*LocInstance)[key];
}

LocCallback LocBind(const std::string& key, const LocCallback& callback) {
    if (!LocInstance) InitLocalizationModule();
    LocInstance->Bind(key, callback);
    return callback;
}

}  // namespace morvane::locale
