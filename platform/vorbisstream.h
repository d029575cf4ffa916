// VorbisStream: Ogg Vorbis decoded from memory a piece at a time, through the
// reference decoder (libvorbisfile). Sounds decode whole files with it and
// streamed channels decode the next fraction of a second each frame.
//
// A file is accepted only whole and undamaged: every Ogg page must pass its
// checksum, the pages must follow one another to the last byte, the last one
// must end its stream, and the Vorbis headers must decode to one or two
// channels. So a corrupt, cut-off or empty file is refused when it is opened,
// before any sound is made of it.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace platform {

class VorbisStream {
public:
    // Null when the bytes are not such a file. The bytes are not copied: they
    // must outlive the stream.
    static std::unique_ptr<VorbisStream> Open(std::string_view bytes);
    ~VorbisStream();
    VorbisStream(const VorbisStream&) = delete;
    VorbisStream& operator=(const VorbisStream&) = delete;

    int Channels() const { return channels_; }
    int SampleRate() const { return sampleRate_; }
    // The length in frames (one sample per channel), as the file declares it.
    std::int64_t Frames() const { return frames_; }

    // Decodes up to frames frames of interleaved 16-bit samples into out.
    // Looping, the end of the file is followed by its start in the same call,
    // so the samples run on without a seam. Fewer frames than asked for come
    // back only at the end (not looping) or when the data turns out damaged.
    int Read(std::int16_t* out, int frames, bool loop);
    // Whether Read met data it could not decode; the stream then gives nothing more.
    bool Failed() const { return failed_; }
    // Whether the end was reached (while looping only by a file with no frames).
    bool Ended() const { return ended_; }
    // Back to the first frame.
    void Rewind();

private:
    struct Source;
    VorbisStream();

    std::unique_ptr<Source> source_;
    int channels_ = 0;
    int sampleRate_ = 0;
    std::int64_t frames_ = 0;
    bool failed_ = false;
    bool ended_ = false;
};

}  // namespace platform
