// Zandrovia localization: every player-visible text by key, in the language
// chosen at start.
//
// A Localization holds one table per language read from a language file:
// the single-file form (one JSON or INI file holding every language, the
// game's "asset::translation.json") or the folder form (an "info.json"
// description and one file per language). Loaders are chosen by format name
// ("json", "ini"). A lookup asks the value providers, then the overrides of
// the current language, then the table; a key found nowhere yields
// "$$" + key + "$$", which is kept in the table for later lookups.
//
// Callers may also bind a key to a callback: the callback gets the key's
// text at once and again whenever the text may have changed (a language
// switch, an override added with re-localization, an explicit
// re-localization). Overrides replace single texts of one language; value
// providers answer lookups before everything else.
//
// Errors of a load (no loader for the format, a folder without a readable
// description, a folder without the language's data) end the process with
// the message on standard output and exit code -1. A single file that is
// missing, cannot be read or has no texts for the language prints one line
// naming it ("Localization file not found: " and the path, and so on), and
// the game goes on with the fallback texts.
//
// Texts are UTF-8; maps are ordered by UTF-16 code units, then length.
// Depends on the platform's files, text and JSON reader.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace morvane::locale {

struct TextLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

// key → text
using Table = std::map<std::string, std::string, TextLess>;
using TablePtr = std::shared_ptr<Table>;
// language code → table
using Tables = std::map<std::string, TablePtr, TextLess>;
using TablesPtr = std::shared_ptr<Tables>;

// Reads language files of one format into tables.
class LocLoader {
public:
    virtual ~LocLoader() = default;
    TablesPtr data;
    std::string defaultLang;
    std::vector<std::string> langs;
    std::string format;
    // One language from its own file; null when it cannot be read.
    virtual TablePtr LoadLang(const std::string& path, const std::string& lang) = 0;
    // Every language of one file; sets defaultLang, langs and format.
    virtual TablesPtr LoadAll(const std::string& path) = 0;
};

// The three members of a language description ("default", "format", "langs").
class LocInfo {
public:
    std::string defaultLang;
    std::vector<std::string> langs;
    std::string format;
    // Missing members give "" and no languages.
    static std::shared_ptr<LocInfo> Parse(const nlohmann::json& object);
};

// A JSON value as text: a string's characters; "true", "false", "null"; a
// number in "%.17g" form; "" for an object or an array.
std::string JsonText(const nlohmann::json& value);

class JsonLocLoader : public LocLoader {
public:
    // Every member of an object as key → text.
    static TablePtr FromJson(const nlohmann::json& object);
    // The table of the member named lang; null when the file cannot be
    // parsed as a JSON object or has no object member of that name.
    TablePtr LoadLang(const std::string& path, const std::string& lang) override;
    // The tables of the languages listed in "langs" that the file holds as
    // objects; no table for a listed code without one. An unreadable file
    // gives no tables.
    TablesPtr LoadAll(const std::string& path) override;
};

class IniLocLoader : public LocLoader {
public:
    // key=value lines, section lines skipped; never null.
    TablePtr LoadLang(const std::string& path, const std::string& lang) override;
    // One table per "[section]"; "info" holds "default" and "langs" (codes
    // joined by ","). Pairs before the first section are dropped.
    TablesPtr LoadAll(const std::string& path) override;
};

// A callback bound to a key: it receives the key's text. Two callbacks are
// equal when they call the same function, or the same method on the same
// object; a callback made from any other callable (a lambda) is equal only
// to its own copies.
class LocCallback {
public:
    LocCallback() = default;
    LocCallback(void (*function)(const std::string&));
    template <class T>
    LocCallback(T* object, void (T::*method)(const std::string&))
        : target_(std::make_shared<MethodTarget<T>>(object, method)) {}
    template <class F>
        requires(!std::is_same_v<std::decay_t<F>, LocCallback> &&
                 !std::is_convertible_v<F, void (*)(const std::string&)> &&
                 std::is_invocable_v<std::decay_t<F>&, const std::string&>)
    LocCallback(F callable) : target_(std::make_shared<CallableTarget<std::decay_t<F>>>(std::move(callable))) {}

    explicit operator bool() const { return target_ != nullptr; }
    void operator()(const std::string& text) const {
        if (target_) target_->Call(text);
    }
    bool operator==(const LocCallback& other) const;

private:
    struct Target {
        virtual ~Target() = default;
        virtual void Call(const std::string& text) = 0;
        virtual bool Same(const Target& other) const = 0;
    };
    struct FunctionTarget : Target {
        explicit FunctionTarget(void (*f)(const std::string&)) : function(f) {}
        void Call(const std::string& text) override { function(text); }
        bool Same(const Target& other) const override {
            const auto* o = dynamic_cast<const FunctionTarget*>(&other);
            return o && o->function == function;
        }
        void (*function)(const std::string&);
    };
    template <class T>
    struct MethodTarget : Target {
        MethodTarget(T* o, void (T::*m)(const std::string&)) : object(o), method(m) {}
        void Call(const std::string& text) override { (object->*method)(text); }
        bool Same(const Target& other) const override {
            const auto* o = dynamic_cast<const MethodTarget*>(&other);
            return o && o->object == object && o->method == method;
        }
        T* object;
        void (T::*method)(const std::string&);
    };
    template <class F>
    struct CallableTarget : Target {
        explicit CallableTarget(F f) : callable(std::move(f)) {}
        void Call(const std::string& text) override { callable(text); }
        bool Same(const Target& other) const override { return this == &other; }
        F callable;
    };

    std::shared_ptr<Target> target_;
};

using ValuesProvider = std::function<std::string(const std::string& key, bool& found)>;

class Localization {
public:
    explicit Localization(const std::string& defaultLang);

    std::function<void()> onChanged;
    TablesPtr data;
    std::string lang;
    Tables overrides;
    TablePtr dict;
    std::vector<std::string> langs;
    std::string defaultLang;
    std::string format;
    bool singleFile = false;
    std::string path;
    // key → callbacks, in the order they were bound; a list that empties stays.
    std::map<std::string, std::vector<LocCallback>, TextLess> bindings;

    static std::map<std::string, std::shared_ptr<LocLoader>, TextLess> Loaders;
    static std::vector<ValuesProvider> ValuesProviders;
    static void RegisterLoader(const std::string& format, std::shared_ptr<LocLoader> loader);
    // Appends a provider; providers answer in the order they were registered.
    static void RegisterValuesProvider(ValuesProvider provider);

    // Calls the callback with the key's text at once, then keeps it bound to
    // the key (once: binding an equal callback again only calls it).
    void Bind(const std::string& key, const LocCallback& callback);
    // Unbinds the callback from the first key (in key order) that holds it.
    void UnBind(const LocCallback& callback);
    // Calls the key's callbacks again, each with a fresh lookup, in the
    // order they were bound. A callback may bind and unbind: one unbound
    // during the pass is not called after (a LocString destroyed by another
    // string's callback), one bound during the pass is not called by it (Bind
    // has just handed it the text).
    void ReLocalizeKey(const std::string& key);
    // ReLocalizeKey for every bound key, in key order, as one pass: a callback
    // bound to any key during it is not called by it.
    void ReLocalizeAll();
    // Sets the text of key for lang only; with reLocalize the key's callbacks
    // are called again (whatever the current language is).
    void AddOverrided(const std::string& lang, const std::string& key, const std::string& text, bool reLocalize);
    // Removes an override; bound texts keep it until the next re-localization.
    void RemoveOverrided(const std::string& lang, const std::string& key);
    // Switches to lang (defaultLang when empty); nothing when lang is the
    // current language and force is false. Re-selects the table (the folder
    // form reads the language's file again), then re-localizes every binding
    // and calls onChanged.
    void SetLang(const std::string& lang, bool force);

    // Loads a single file or a folder (an "asset::" path resolves into the
    // assets folder) and selects lang, or defaultLang when lang is empty.
    void Load(const std::string& path, const std::string& lang);
    void LoadFile(const std::string& path);
    void LoadFolder(const std::string& dir);

    // The text of a key (see the header comment).
    std::string _idx(const std::string& key);
    std::string operator[](const std::string& key) { return _idx(key); }

private:
    // Calls those of callbacks (the key's list when the pass began) that are
    // bound to the key still.
    void ReLocalize_(const std::string& key, const std::vector<LocCallback>& callbacks);
};

// The format name of a path: the text after its last "." unless a "/" follows.
std::string FormatOf(const std::string& path);

// The game's one Localization ("en" until a load); made by InitLocalizationModule().
extern std::shared_ptr<Localization> LocInstance;

// Makes the loader registry, the provider list and LocInstance once.
void InitLocalizationModule();

// The text of a key in the current language: (*LocInstance)[key].
std::string Localize(const std::string& key);

// Binds the callback to key on LocInstance and returns it.
LocCallback LocBind(const std::string& key, const LocCallback& callback);

}  // namespace morvane::locale
