// WAV and Ogg Vorbis decoding. The RIFF chunks are walked by hand with every
// size checked against the bytes that are really there; Ogg Vorbis goes
// through stb_vorbis (the implementation lives in Debian's libstb).
#include "platform/wav.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

namespace platform {
namespace {

constexpr int kFormatPcm = 1;
constexpr int kFormatExtensible = 0xFFFE;

std::uint32_t ReadU32(std::string_view bytes, std::size_t at) {
    const auto b = [&](std::size_t k) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + k])); };
    return b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
}

std::uint16_t ReadU16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

struct Format {
    int tag = 0;
    int channels = 0;
    int sampleRate = 0;
    int bits = 0;
};

std::optional<Format> ReadFormat(std::string_view chunk) {
    if (chunk.size() < 16) return std::nullopt;
    Format format;
    format.tag = ReadU16(chunk, 0);
    format.channels = ReadU16(chunk, 2);
    const std::uint32_t rate = ReadU32(chunk, 4);
    format.bits = ReadU16(chunk, 14);
    if (format.tag == kFormatExtensible) {
        // The real format is the first two bytes of the sub-format GUID.
        if (chunk.size() < 26) return std::nullopt;
        format.tag = ReadU16(chunk, 24);
    }
    if (format.tag != kFormatPcm) return std::nullopt;
    if (format.channels != 1 && format.channels != 2) return std::nullopt;
    if (format.bits != 8 && format.bits != 16) return std::nullopt;
    if (rate == 0 || rate > 1000000) return std::nullopt;
    format.sampleRate = static_cast<int>(rate);
    return format;
}

// Whether the Vorbis comment header (the packet that starts on the second
// Ogg page) holds the vendor text and every comment it declares. The decoder
// trusts those lengths: it allocates and reads whatever they say, and when
// one of its allocations fails it frees comment slots it never filled.
// Pages are read as the decoder reads them: in file order, the packet's
// segments joined across pages until one shorter than 255 bytes.
bool CommentsFit(std::string_view bytes) {
    std::string packet;
    std::size_t at = 0;
    for (int page = 0;; ++page) {
        constexpr std::size_t kHeader = 27;
        if (bytes.size() - at < kHeader || bytes.substr(at, 4) != "OggS") return false;
        const std::size_t segments = static_cast<unsigned char>(bytes[at + 26]);
        if (bytes.size() - at - kHeader < segments) return false;
        const std::string_view lacing = bytes.substr(at + kHeader, segments);
        at += kHeader + segments;
        bool ended = false;
        for (const char lace : lacing) {
            const std::size_t length = static_cast<unsigned char>(lace);
            if (bytes.size() - at < length) return false;
            if (page > 0 && !ended) packet.append(bytes.substr(at, length));
            at += length;
            if (page > 0 && length < 255) ended = true;
        }
        if (ended) break;
    }
    // Type 3, "vorbis", the vendor, the number of comments, each comment.
    std::size_t read = 7;
    const auto text = [&] {
        if (packet.size() < read + 4) return false;
        const std::size_t length = ReadU32(packet, read);
        read += 4;
        if (packet.size() - read < length) return false;
        read += length;
        return true;
    };
    if (!text() || packet.size() < read + 4) return false;
    const std::size_t count = ReadU32(packet, read);
    read += 4;
    // Every comment takes at least its four length bytes.
    if ((packet.size() - read) / 4 < count) return false;
    for (std::size_t i = 0; i < count; ++i) {
        if (!text()) return false;
    }
    return true;
}

}  // namespace

std::optional<DecodedSound> DecodeWav(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") return std::nullopt;
    std::optional<Format> format;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string_view id = bytes.substr(at, 4);
        const std::uint64_t declared = ReadU32(bytes, at + 4);
        const std::size_t start = at + 8;
        // A size running past the end (a cut-off file, or a writer that never
        // filled it in) covers what is there.
        const std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(declared, bytes.size() - start));
        const std::string_view chunk = bytes.substr(start, size);
        if (id == "fmt ") {
            format = ReadFormat(chunk);
            if (!format) return std::nullopt;
        } else if (id == "data") {
            if (!format) return std::nullopt;
            DecodedSound sound;
            sound.channels = format->channels;
            sound.sampleRate = format->sampleRate;
            const std::size_t bytesPerSample = static_cast<std::size_t>(format->bits / 8);
            const std::size_t frameBytes = bytesPerSample * static_cast<std::size_t>(format->channels);
            const std::size_t count = chunk.size() / frameBytes * static_cast<std::size_t>(format->channels);
            sound.samples.resize(count);
            for (std::size_t i = 0; i < count; ++i) {
                if (bytesPerSample == 1) {
                    // 8-bit WAV samples are unsigned around 128.
                    sound.samples[i] = static_cast<std::int16_t>((static_cast<unsigned char>(chunk[i]) - 128) * 256);
                } else {
                    sound.samples[i] = static_cast<std::int16_t>(ReadU16(chunk, i * 2));
                }
            }
            return sound;
        }
        // Chunks are padded to an even length.
        at = start + size + (size & 1);
    }
    return std::nullopt;
}

std::optional<DecodedSound> DecodeOgg(std::string_view bytes) {
    if (bytes.size() < 4 || bytes.substr(0, 4) != "OggS") return std::nullopt;
    if (bytes.size() > static_cast<std::size_t>(INT32_MAX) || !CommentsFit(bytes)) return std::nullopt;
    int channels = 0, sampleRate = 0;
    short* output = nullptr;
    const int frames = stb_vorbis_decode_memory(reinterpret_cast<const unsigned char*>(bytes.data()),
                                                static_cast<int>(bytes.size()), &channels, &sampleRate, &output);
    if (frames < 0 || output == nullptr) {
        std::free(output);
        return std::nullopt;
    }
    std::optional<DecodedSound> sound;
    if ((channels == 1 || channels == 2) && sampleRate > 0) {
        sound.emplace();
        sound->channels = channels;
        sound->sampleRate = sampleRate;
        sound->samples.assign(output, output + static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels));
    }
    std::free(output);
    return sound;
}

}  // namespace platform
