// WAV and Ogg Vorbis decoding. The RIFF chunks are walked by hand with every
// size checked against the bytes that are really there; Ogg Vorbis goes
// through the reference decoder (VorbisStream).
#include "platform/wav.h"

#include <algorithm>

#include "platform/vorbisstream.h"

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
    const std::unique_ptr<VorbisStream> stream = VorbisStream::Open(bytes);
    if (!stream) return std::nullopt;
    const auto channels = static_cast<std::size_t>(stream->Channels());
    DecodedSound sound;
    sound.channels = stream->Channels();
    sound.sampleRate = stream->SampleRate();
    // The declared length sizes the buffer, within reason: a damaged file may
    // declare any length. Longer than the limit (about 50 minutes of stereo
    // at 44.1 kHz) is no sound to hold whole.
    constexpr std::size_t limit = std::size_t{1} << 28;
    constexpr std::size_t piece = 65536;
    const std::size_t declared = static_cast<std::size_t>(std::min<std::int64_t>(stream->Frames(), limit));
    sound.samples.resize(std::min(declared, std::size_t{1} << 22) * channels);
    std::size_t frames = 0;
    while (!stream->Failed() && !stream->Ended()) {
        if (frames * channels == sound.samples.size()) {
            if (sound.samples.size() >= limit) return std::nullopt;
            sound.samples.resize(std::min(limit, sound.samples.size() * 3 / 2 + piece * channels) / channels * channels);
        }
        const std::size_t room = std::min(piece, sound.samples.size() / channels - frames);
        frames += static_cast<std::size_t>(
            stream->Read(sound.samples.data() + frames * channels, static_cast<int>(room), false));
    }
    if (stream->Failed()) return std::nullopt;
    sound.samples.resize(frames * channels);
    return sound;
}

}  // namespace platform
