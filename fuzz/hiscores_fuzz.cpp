// The hall-of-fame reply of the score service: the parser, and the split of
// each entry into score and name that the credits box makes of it.
#include <optional>
#include <string>
#include <vector>

#include "fuzzsupport.h"
#include "platform/text.h"
#include "zandrovia/scoreservice.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::Start();
    const std::string reply(reinterpret_cast<const char*>(data), size);
    const std::optional<std::vector<std::string>> entries = GetHiscoresFromData(reply);
    if (!entries) return 0;
    if (entries->empty()) fuzzsupport::Fail("a usable reply without entries");
    for (const std::string& entry : *entries) {
        if (entry.find(':') == std::string::npos) fuzzsupport::Fail("an entry without \":\" was accepted");
        if (entry.size() > reply.size()) fuzzsupport::Fail("an entry longer than the reply");
        platform::Split(platform::ToUpper(entry), ":");
    }
    return 0;
}
