// Decoders of the sound formats the game ships: RIFF WAVE (PCM 8 or 16 bit)
// and Ogg Vorbis, decoded whole into interleaved 16-bit samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace platform {

struct DecodedSound {
    std::vector<std::int16_t> samples;  // interleaved when stereo
    int channels = 0;
    int sampleRate = 0;
};

// Reads the chunks of a RIFF WAVE file. Mono or stereo PCM of 8 or 16 bits
// (also in the extensible header) is accepted; anything else, or a file cut
// off before its sound data starts, gives nullopt. Sound data cut off part
// way gives the whole frames that are there.
std::optional<DecodedSound> DecodeWav(std::string_view bytes);

// Decodes an Ogg Vorbis file whole; nullopt when it is not one, or is
// damaged, cut off or empty (see VorbisStream).
std::optional<DecodedSound> DecodeOgg(std::string_view bytes);

}  // namespace platform
