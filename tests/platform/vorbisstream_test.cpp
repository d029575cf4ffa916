// The Ogg Vorbis decoder: damaged, cut-off and empty files are refused
// before any sound is made of them, and a looping stream runs on across the
// end of the file without a seam.
#include "platform/vorbisstream.h"

#include <gtest/gtest.h>
#include <ogg/ogg.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/wav.h"

using platform::VorbisStream;
using namespace std::string_literals;

namespace {

std::string Sine() {
    const char* dir = std::getenv("ZANDROVIA_TEST_DATA");
    return platform::LoadString(std::string(dir ? dir : "tests/data") + "/sine.ogg");
}

// Where each Ogg page of the file starts.
std::vector<std::size_t> PageStarts(const std::string& bytes) {
    std::vector<std::size_t> starts;
    for (std::size_t at = bytes.find("OggS"); at != std::string::npos; at = bytes.find("OggS", at + 1)) {
        starts.push_back(at);
    }
    return starts;
}

// Gives every page the checksum of its present content, so a change inside a
// page passes the page check and reaches the Vorbis decoder.
std::string WithGoodChecksums(std::string bytes) {
    for (std::size_t at : PageStarts(bytes)) {
        if (at + 27 > bytes.size()) break;
        auto* header = reinterpret_cast<unsigned char*>(bytes.data() + at);
        const std::size_t segments = header[26];
        std::size_t body = 0;
        for (std::size_t k = 0; k < segments && at + 27 + k < bytes.size(); ++k) body += header[27 + k];
        const std::size_t headerSize = 27 + segments;
        if (at + headerSize + body > bytes.size()) break;
        ogg_page page{header, static_cast<long>(headerSize), header + headerSize, static_cast<long>(body)};
        ogg_page_checksum_set(&page);
    }
    return bytes;
}

std::string Flipped(std::string bytes, std::size_t at) {
    bytes[at] = static_cast<char>(bytes[at] ^ 0x5A);
    return bytes;
}

std::vector<std::int16_t> Whole(const std::string& bytes) {
    const auto decoded = platform::DecodeOgg(bytes);
    return decoded ? decoded->samples : std::vector<std::int16_t>{};
}

}  // namespace

TEST(VorbisStream, DamagedCutOffAndEmptyFilesAreRefused) {
    const std::string good = Sine();
    const std::vector<std::size_t> pages = PageStarts(good);
    ASSERT_GE(pages.size(), 3u) << "the sample file has its two header pages and audio";
    const std::size_t setup = good.find("\x05vorbis");
    ASSERT_NE(setup, std::string::npos);
    // Page 1 is 27 bytes of page header, one lacing value, then the
    // identification packet: type, "vorbis", version, channels.
    constexpr std::size_t channelsByte = 28 + 1 + 6 + 4;
    ASSERT_EQ(good[channelsByte], 1);
    std::string threeChannels = good;
    threeChannels[channelsByte] = 3;

    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"a capture pattern only", "OggS"},
        {"not Ogg at all", std::string(4000, '\x7f')},
        {"cut inside the headers", good.substr(0, 200)},
        {"cut inside the last page", good.substr(0, good.size() - 100)},
        {"cut before the last page (no end of stream)", good.substr(0, pages.back())},
        {"a byte changed in an audio page", Flipped(good, pages.back() + 40)},
        {"a byte changed in the first page", Flipped(good, 40)},
        {"bytes after the last page", good + "junk after the end"},
        {"the setup header damaged, checksums made good", WithGoodChecksums(Flipped(good, setup))},
        {"the identification header damaged, checksums made good", WithGoodChecksums(Flipped(good, 30))},
        {"three channels, checksums made good", WithGoodChecksums(threeChannels)},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(VorbisStream::Open(c.bytes)) << c.what;
        EXPECT_FALSE(platform::DecodeOgg(c.bytes)) << c.what;
    }
    EXPECT_TRUE(VorbisStream::Open(WithGoodChecksums(good))) << "rewriting good checksums changes nothing";
}

// Every single-byte change that passes the page check reaches the decoder;
// none may crash it (the sanitizer build watches the memory).
TEST(VorbisStream, ChangedBytesBehindGoodChecksumsNeverBreakTheDecoder) {
    const std::string good = Sine();
    int refused = 0;
    for (std::size_t at = 0; at < good.size(); at += 5) {
        const auto decoded = platform::DecodeOgg(WithGoodChecksums(Flipped(good, at)));
        if (!decoded) {
            ++refused;
            continue;
        }
        EXPECT_EQ(decoded->channels, 1) << at;
        EXPECT_LT(decoded->samples.size(), 1u << 20) << at;
    }
    EXPECT_GT(refused, 0);
}

TEST(VorbisStream, ReadsTheWholeFileInPiecesOfAnySize) {
    const std::string bytes = Sine();
    const std::vector<std::int16_t> whole = Whole(bytes);
    ASSERT_FALSE(whole.empty());
    const auto stream = VorbisStream::Open(bytes);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->Channels(), 1);
    EXPECT_EQ(stream->SampleRate(), 22050);
    EXPECT_EQ(stream->Frames(), static_cast<std::int64_t>(whole.size()));

    std::vector<std::int16_t> read;
    std::vector<std::int16_t> piece(1000);
    for (int size = 1; !stream->Ended(); size = size * 3 % 997 + 1) {
        const int got = stream->Read(piece.data(), size, false);
        ASSERT_LE(got, size);
        read.insert(read.end(), piece.begin(), piece.begin() + got);
        ASSERT_LE(read.size(), whole.size());
    }
    EXPECT_FALSE(stream->Failed());
    EXPECT_EQ(read, whole);
    EXPECT_EQ(stream->Read(piece.data(), 10, false), 0);

    // Rewound, it starts over.
    stream->Rewind();
    EXPECT_FALSE(stream->Ended());
    ASSERT_EQ(stream->Read(piece.data(), 100, false), 100);
    EXPECT_TRUE(std::equal(piece.begin(), piece.begin() + 100, whole.begin()));
}

// The samples across the loop point are the end of the file followed by its
// start, exactly as two whole decodes placed end to end.
TEST(VorbisStream, LoopingRunsOnAcrossTheEndWithoutASeam) {
    const std::string bytes = Sine();
    const std::vector<std::int16_t> whole = Whole(bytes);
    ASSERT_FALSE(whole.empty());
    std::vector<std::int16_t> expected;
    for (int k = 0; k < 4; ++k) expected.insert(expected.end(), whole.begin(), whole.end());

    for (const int size : {1, 441, 2205, 5000, static_cast<int>(whole.size()), static_cast<int>(whole.size()) + 7}) {
        const auto stream = VorbisStream::Open(bytes);
        ASSERT_TRUE(stream);
        std::vector<std::int16_t> read;
        std::vector<std::int16_t> piece(static_cast<std::size_t>(size));
        while (read.size() < expected.size()) {
            ASSERT_EQ(stream->Read(piece.data(), size, true), size) << "a looping stream fills every piece";
            read.insert(read.end(), piece.begin(), piece.end());
        }
        read.resize(expected.size());
        EXPECT_EQ(read, expected) << "pieces of " << size;
        EXPECT_FALSE(stream->Ended());
    }
}
