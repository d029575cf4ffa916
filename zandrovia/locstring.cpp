// Zandrovia localization: a text that follows its key.
#include "zandrovia/locstring.h"

namespace morvane::locale {

LocString::LocString(const std::string& key) { LocBind(key, LocCallback(this, &LocString::SetText_)); }

LocString::~LocString() {
    if (LocInstance) LocInstance->UnBind(LocCallback(this, &LocString::SetText_));
}

}  // namespace morvane::locale
