// VorbisStream: libvorbisfile reading from memory through ov_open_callbacks,
// after libogg has checked every page of the file.
#include "platform/vorbisstream.h"

#include <ogg/ogg.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdio>
#include <cstring>

namespace platform {
namespace {

// Whether the bytes are whole Ogg pages from the first byte to the last, each
// with a good checksum, the last one ending its logical stream.
bool WholeOggPages(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(LONG_MAX)) return false;
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    char* buffer = ogg_sync_buffer(&sync, static_cast<long>(bytes.size()));
    bool whole = buffer != nullptr;
    if (whole) {
        std::memcpy(buffer, bytes.data(), bytes.size());
        ogg_sync_wrote(&sync, static_cast<long>(bytes.size()));
    }
    std::size_t covered = 0;
    bool endOfStream = false;
    ogg_page page;
    while (whole) {
        const long size = ogg_sync_pageseek(&sync, &page);
        if (size == 0) break;  // what is left is not a whole page
        // A negative size means bytes were skipped: a bad checksum or bytes between pages.
        if (size < 0) whole = false;
        else {
            covered += static_cast<std::size_t>(size);
            endOfStream = ogg_page_eos(&page) != 0;
        }
    }
    ogg_sync_clear(&sync);
    return whole && covered == bytes.size() && endOfStream;
}

}  // namespace

// The file in memory as libvorbisfile reads it: through callbacks with a position.
struct VorbisStream::Source {
    std::string_view bytes;
    std::size_t at = 0;
    OggVorbis_File file{};
    bool open = false;

    static std::size_t Read(void* into, std::size_t size, std::size_t count, void* self) {
        Source& source = *static_cast<Source*>(self);
        if (size == 0) return 0;
        const std::size_t wanted = std::min(count, (source.bytes.size() - source.at) / size);
        std::memcpy(into, source.bytes.data() + source.at, wanted * size);
        source.at += wanted * size;
        return wanted;
    }

    static int Seek(void* self, ogg_int64_t offset, int whence) {
        Source& source = *static_cast<Source*>(self);
        const auto size = static_cast<ogg_int64_t>(source.bytes.size());
        ogg_int64_t base = 0;
        if (whence == SEEK_CUR) base = static_cast<ogg_int64_t>(source.at);
        else if (whence == SEEK_END) base = size;
        else if (whence != SEEK_SET) return -1;
        if (offset < -base || offset > size - base) return -1;
        source.at = static_cast<std::size_t>(base + offset);
        return 0;
    }

    static long Tell(void* self) { return static_cast<long>(static_cast<Source*>(self)->at); }
};

VorbisStream::VorbisStream() : source_(std::make_unique<Source>()) {}

VorbisStream::~VorbisStream() {
    if (source_->open) ov_clear(&source_->file);
}

std::unique_ptr<VorbisStream> VorbisStream::Open(std::string_view bytes) {
    if (!WholeOggPages(bytes)) return nullptr;
    std::unique_ptr<VorbisStream> stream(new VorbisStream());
    Source& source = *stream->source_;
    source.bytes = bytes;
    const ov_callbacks callbacks{&Source::Read, &Source::Seek, nullptr, &Source::Tell};
    if (ov_open_callbacks(&source, &source.file, nullptr, 0, callbacks) != 0) return nullptr;
    source.open = true;
    // Every link of a chained file must sound alike: the samples go to one queue.
    const long links = ov_streams(&source.file);
    for (long link = 0; link < links; ++link) {
        const vorbis_info* info = ov_info(&source.file, static_cast<int>(link));
        if (info == nullptr || (info->channels != 1 && info->channels != 2) || info->rate <= 0 ||
            info->rate > 1000000) {
            return nullptr;
        }
        if (link == 0) {
            stream->channels_ = info->channels;
            stream->sampleRate_ = static_cast<int>(info->rate);
        } else if (info->channels != stream->channels_ || info->rate != stream->sampleRate_) {
            return nullptr;
        }
    }
    stream->frames_ = ov_pcm_total(&source.file, -1);
    if (links < 1 || stream->frames_ < 0) return nullptr;
    return stream;
}

int VorbisStream::Read(std::int16_t* out, int frames, bool loop) {
    if (failed_ || frames <= 0) return 0;
    const int channels = channels_;
    const int bigEndian = std::endian::native == std::endian::big ? 1 : 0;
    int done = 0;
    bool restarted = false;  // a loop of a file that yields nothing must not spin
    while (done < frames) {
        char* into = reinterpret_cast<char*>(out + static_cast<std::ptrdiff_t>(done) * channels);
        const int bytes = (frames - done) * channels * static_cast<int>(sizeof(std::int16_t));
        int link = 0;
        const long got = ov_read(&source_->file, into, bytes, bigEndian, 2, 1, &link);
        if (got < 0) {
            failed_ = true;
            break;
        }
        if (got == 0) {
            if (!loop || restarted) {
                ended_ = true;
                break;
            }
            if (ov_pcm_seek(&source_->file, 0) != 0) {
                failed_ = true;
                break;
            }
            restarted = true;
            continue;
        }
        done += static_cast<int>(got) / (channels * static_cast<int>(sizeof(std::int16_t)));
        restarted = false;
    }
    return done;
}

void VorbisStream::Rewind() {
    ended_ = false;
    if (!failed_ && ov_pcm_seek(&source_->file, 0) != 0) failed_ = true;
}

}  // namespace platform
