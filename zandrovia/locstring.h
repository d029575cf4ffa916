// Zandrovia localization: a text that follows its key.
//
// A LocString binds its own setter to a key of LocInstance when it is made,
// so it holds the key's text at once and keeps up with every language
// switch and re-localization. It unbinds itself when it is destroyed (the
// binding holds a plain pointer to it), which is also why it cannot be
// copied or moved; it may be destroyed at any time, even by another
// binding's callback in the middle of a re-localization.
//
// Depends on localization.h.
#pragma once

#include <string>

#include "zandrovia/localization.h"

namespace morvane::locale {

class LocString {
public:
    explicit LocString(const std::string& key);
    ~LocString();
    LocString(const LocString&) = delete;
    LocString& operator=(const LocString&) = delete;

    std::string text;

    operator const std::string&() const { return text; }

private:
    void SetText_(const std::string& value) { text = value; }
};

}  // namespace morvane::locale
