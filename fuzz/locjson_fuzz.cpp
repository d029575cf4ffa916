// The JSON localization loader: a single file of every language, read by
// the loader and by a Localization that then looks texts up.
#include <memory>
#include <string>

#include "fuzzsupport.h"
#include "zandrovia/localization.h"

namespace loc = morvane::locale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::Start();
    const std::string path =
        fuzzsupport::WriteFile("translation.json", std::string_view(reinterpret_cast<const char*>(data), size));
    loc::JsonLocLoader loader;
    loader.LoadAll(path);
    loader.LoadLang(path, "de");
    loc::Localization localization("en");
    localization.Load(path, "");
    localization["pause"];
    localization["no such key"];
    return 0;
}
