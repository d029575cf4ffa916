// The RIFF WAVE parser.
#include "fuzzsupport.h"
#include "platform/wav.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto sound = platform::DecodeWav(std::string_view(reinterpret_cast<const char*>(data), size));
    if (sound && (sound->channels < 1 || sound->channels > 2 || sound->samples.size() % sound->channels != 0)) {
        fuzzsupport::Fail("a decoded sound of " + std::to_string(sound->channels) + " channels and " +
                          std::to_string(sound->samples.size()) + " samples");
    }
    return 0;
}
