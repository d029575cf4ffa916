// Sound through OpenAL Soft: one buffer per whole sound, one source per
// channel, and for a streamed sound a small queue of buffers per channel that
// the main loop keeps topped up. With no device every call still works and
// does nothing, so the game never has to ask whether sound is on.
#include "platform/audio.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdio>

#include "platform/files.h"
#include "platform/vorbisstream.h"
#include "platform/wav.h"

namespace platform {
namespace {

unsigned currentGeneration = 0;
unsigned lastGeneration = 0;

// Channels started by Sound::Play are held here until they end, so a sound
// played and forgotten by its caller still plays to its end.
std::vector<std::shared_ptr<Channel>>& LiveChannels() {
    static std::vector<std::shared_ptr<Channel>> channels;
    return channels;
}

// Channels that play a streamed sound, whose queues AudioDevice::Update tops
// up. Never destroyed: channels held by globals leave it at exit, after every
// function's statics are gone.
std::vector<Channel*>& StreamingChannels() {
    static auto* channels = new std::vector<Channel*>;
    return *channels;
}

void StopStreaming(Channel* channel) {
    auto& streaming = StreamingChannels();
    streaming.erase(std::remove(streaming.begin(), streaming.end(), channel), streaming.end());
}

void PrintFailure(const char* what, std::string_view path) {
    std::printf("%s%.*s\n", what, static_cast<int>(path.size()), path.data());
    std::fflush(stdout);
}

void PruneLiveChannels() {
    auto& live = LiveChannels();
    live.erase(std::remove_if(live.begin(), live.end(),
                              [](const std::shared_ptr<Channel>& c) { return !c->Playing() && !c->Paused(); }),
               live.end());
}

}  // namespace

namespace al {

unsigned CurrentGeneration() { return currentGeneration; }

template <Kind K>
Handle<K> Handle<K>::Create() {
    Handle handle;
    if (currentGeneration == 0) return handle;
    alGetError();
    ALuint id = 0;
    if constexpr (K == Kind::Buffer) alGenBuffers(1, &id);
    else alGenSources(1, &id);
    if (alGetError() != AL_NO_ERROR) return handle;  // for sources: the device's source limit
    handle.id_ = id;
    handle.generation_ = currentGeneration;
    return handle;
}

template <Kind K>
void Handle<K>::Release() {
    if (Valid()) {
        const ALuint id = id_;
        if constexpr (K == Kind::Buffer) {
            alDeleteBuffers(1, &id);
        } else {
            alSourceStop(id);
            alDeleteSources(1, &id);
        }
    }
    id_ = 0;
}

template class Handle<Kind::Buffer>;
template class Handle<Kind::Source>;

}  // namespace al

// ---- Sound

std::shared_ptr<Sound> Sound::Load(std::string_view path, Mode mode) {
    std::optional<std::string> bytes = TryLoadString(path);
    if (!bytes) {
        PrintFailure("Sound not found: ", path);
        return nullptr;
    }
    // Decided by the content, not the extension.
    if (std::optional<DecodedSound> wav = DecodeWav(*bytes)) {
        return std::make_shared<Sound>(std::move(wav->samples), wav->channels, wav->sampleRate);
    }
    if (mode == Streamed) {
        // The constructor opens a stream on the file to check it and read its format.
        std::shared_ptr<Sound> sound(new Sound(std::move(*bytes), path));
        if (sound->Channels() != 0) return sound;
    } else if (std::optional<DecodedSound> ogg = DecodeOgg(*bytes)) {
        return std::make_shared<Sound>(std::move(ogg->samples), ogg->channels, ogg->sampleRate);
    }
    PrintFailure("Sound cannot be decoded: ", path);
    return nullptr;
}

Sound::Sound(std::vector<std::int16_t> samples, int channels, int sampleRate)
    : samples_(std::move(samples)), channels_(channels), sampleRate_(sampleRate) {
    // Only whole frames of mono or stereo data can be played.
    if (channels_ != 1 && channels_ != 2) {
        channels_ = 0;
        samples_.clear();
    }
    if (sampleRate_ <= 0) sampleRate_ = 0;
    if (channels_ > 0) {
        const std::size_t frames = std::min<std::size_t>(samples_.size() / static_cast<std::size_t>(channels_), INT_MAX);
        samples_.resize(frames * static_cast<std::size_t>(channels_));
        frames_ = static_cast<int>(frames);
    }
}

Sound::Sound(std::string encoded, std::string_view path) : encoded_(std::move(encoded)), path_(path) {
    if (const std::unique_ptr<VorbisStream> stream = OpenStream()) {
        channels_ = stream->Channels();
        sampleRate_ = stream->SampleRate();
        frames_ = static_cast<int>(std::min<std::int64_t>(stream->Frames(), INT_MAX));
    }
}

Sound::~Sound() = default;

std::unique_ptr<VorbisStream> Sound::OpenStream() const {
    return encoded_.empty() ? nullptr : VorbisStream::Open(encoded_);
}

unsigned Sound::AlBuffer() {
    if (buffer_.Valid()) return buffer_.Id();
    if (!AudioDevice::Instance().Available() || channels_ == 0 || sampleRate_ == 0 || samples_.empty()) return 0;
    al::Buffer buffer = al::Buffer::Create();
    if (!buffer.Valid()) return 0;
    alGetError();
    alBufferData(buffer.Id(), channels_ == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, samples_.data(),
                 static_cast<ALsizei>(samples_.size() * sizeof(std::int16_t)), sampleRate_);
    if (alGetError() != AL_NO_ERROR) return 0;
    buffer_ = std::move(buffer);
    // OpenAL holds its own copy now.
    samples_ = {};
    return buffer_.Id();
}

std::shared_ptr<Channel> Sound::Play(bool loop) {
    auto channel = std::make_shared<Channel>();
    std::shared_ptr<Sound> self = weak_from_this().lock();
    if (!self) return channel;
    channel->Play(self, loop);
    if (channel->Playing()) {
        PruneLiveChannels();
        LiveChannels().push_back(channel);
    }
    return channel;
}

// ---- Channel

namespace {

// A streaming channel decodes ahead into this many buffers of a tenth of a
// second each: 400 ms of sound, so a frame may take that long before the
// stream runs dry.
constexpr int kStreamBuffers = 4;
constexpr int kPiecesPerSecond = 10;

}  // namespace

struct Channel::Stream {
    std::unique_ptr<VorbisStream> decoder;
    std::array<al::Buffer, kStreamBuffers> buffers;
    std::vector<std::int16_t> piece;
    bool loop = false;
    // The decoder has given its last samples: what is queued plays out.
    bool drained = false;
};

Channel::Channel() = default;

Channel::~Channel() { Stop(); }

void Channel::Play(const std::shared_ptr<Sound>& sound, bool loop) {
    Stop();
    if (!sound) return;
    if (sound->IsStreamed()) {
        if (!AudioDevice::Instance().Available()) return;
        auto stream = std::make_unique<Stream>();
        stream->decoder = sound->OpenStream();
        if (!stream->decoder) return;
        for (al::Buffer& buffer : stream->buffers) {
            buffer = al::Buffer::Create();
            if (!buffer.Valid()) return;
        }
        if (!source_.Valid()) source_ = al::Source::Create();
        if (!source_.Valid()) return;
        stream->loop = loop;
        stream->piece.resize(static_cast<std::size_t>(std::max(1, sound->SampleRate() / kPiecesPerSecond)) *
                             static_cast<std::size_t>(sound->Channels()));
        sound_ = sound;
        stream_ = std::move(stream);
        const ALuint id = source_.Id();
        alSourcei(id, AL_BUFFER, 0);
        alSourcei(id, AL_LOOPING, AL_FALSE);
        alSourcei(id, AL_SOURCE_RELATIVE, AL_TRUE);
        for (const al::Buffer& buffer : stream_->buffers) {
            if (!QueueNext(buffer.Id())) break;
        }
        Apply();
        alSourcePlay(id);
        StreamingChannels().push_back(this);
        return;
    }
    const unsigned buffer = sound->AlBuffer();
    if (buffer == 0) return;
    if (!source_.Valid()) source_ = al::Source::Create();
    if (!source_.Valid()) return;
    sound_ = sound;
    const ALuint id = source_.Id();
    alSourcei(id, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcei(id, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourcei(id, AL_SOURCE_RELATIVE, AL_TRUE);
    Apply();
    alSourcePlay(id);
}

bool Channel::QueueNext(unsigned buffer) {
    Stream& stream = *stream_;
    if (stream.drained) return false;
    const int channels = sound_->Channels();
    const int frames = static_cast<int>(stream.piece.size()) / channels;
    const int got = stream.decoder->Read(stream.piece.data(), frames, stream.loop);
    if (stream.decoder->Failed()) {
        // Damage the load could not see (the pages were whole): the stream
        // ends here, once, and says so.
        PrintFailure("Sound cannot be decoded: ", sound_->path_);
    }
    if (got < frames) stream.drained = true;
    if (got <= 0) return false;
    alBufferData(buffer, channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, stream.piece.data(),
                 static_cast<ALsizei>(static_cast<std::size_t>(got) * static_cast<std::size_t>(channels) *
                                      sizeof(std::int16_t)),
                 sound_->SampleRate());
    const ALuint id = buffer;
    alSourceQueueBuffers(source_.Id(), 1, &id);
    return true;
}

void Channel::Refill() {
    if (!stream_ || !source_.Valid()) return;
    const ALuint id = source_.Id();
    ALint processed = 0;
    alGetSourcei(id, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0; --processed) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(id, 1, &buffer);
        QueueNext(buffer);
    }
    ALint state = AL_STOPPED;
    alGetSourcei(id, AL_SOURCE_STATE, &state);
    ALint queued = 0;
    alGetSourcei(id, AL_BUFFERS_QUEUED, &queued);
    // The stream ran dry (a frame took longer than the queue lasts): go on
    // from the fresh buffers.
    if (state == AL_STOPPED && !paused_ && queued > 0) alSourcePlay(id);
}

void Channel::Apply() {
    if (!source_.Valid()) return;
    const ALuint id = source_.Id();
    alSourcef(id, AL_GAIN, volume_);
    // OpenAL needs a pitch above 0; the rate itself is kept as given.
    alSourcef(id, AL_PITCH, std::isfinite(rate_) && rate_ > 0.001f ? rate_ : 0.001f);
    // The pan places a listener-relative source on a unit circle in front of
    // the listener, so its distance (and gain) stays 1 wherever it is.
    alSource3f(id, AL_POSITION, pan_, 0.0f, -std::sqrt(1.0f - pan_ * pan_));
}

void Channel::Volume(float volume) {
    volume_ = std::isnan(volume) ? 0.0f : std::clamp(volume, 0.0f, 1.0f);
    Apply();
}

void Channel::Pan(float pan) {
    pan_ = std::isnan(pan) ? 0.0f : std::clamp(pan, -1.0f, 1.0f);
    Apply();
}

void Channel::Rate(float rate) {
    rate_ = rate;
    Apply();
}

void Channel::Paused(bool paused) {
    if (!source_.Valid()) return;
    const ALuint id = source_.Id();
    ALint state = AL_STOPPED;
    alGetSourcei(id, AL_SOURCE_STATE, &state);
    // A stream that ran dry is stopped in OpenAL's terms but still playing in ours.
    const bool dry = stream_ && !stream_->drained && state == AL_STOPPED;
    if (paused && !paused_ && (state == AL_PLAYING || dry)) {
        alSourcePause(id);
        paused_ = true;
    } else if (!paused && paused_ && (state == AL_PAUSED || dry)) {
        // Only a paused channel resumes: one that was stopped or has ended stays silent.
        paused_ = false;
        if (dry) Refill();
        else alSourcePlay(id);
    }
}

void Channel::Stop() {
    paused_ = false;
    if (source_.Valid()) {
        alSourceStop(source_.Id());
        // Also takes a stream's queued buffers off the source, so they can be freed.
        alSourcei(source_.Id(), AL_BUFFER, 0);
    }
    if (stream_) {
        StopStreaming(this);
        stream_.reset();
    }
    sound_.reset();
}

bool Channel::Playing() const {
    if (!source_.Valid()) return false;
    ALint state = AL_STOPPED;
    alGetSourcei(source_.Id(), AL_SOURCE_STATE, &state);
    if (state == AL_PLAYING) return true;
    return stream_ && !stream_->drained && state == AL_STOPPED && !paused_;
}

// ---- AudioDevice

bool AudioDevice::Open() {
    if (device_ != nullptr) return true;
    ALCdevice* device = alcOpenDevice(nullptr);
    ALCcontext* context = device != nullptr ? alcCreateContext(device, nullptr) : nullptr;
    if (!Opened(device, context)) {
        std::printf("No audio device: sound is off\n");
        std::fflush(stdout);
        return false;
    }
    return true;
}

bool AudioDevice::OpenLoopback(int sampleRate) {
    if (device_ != nullptr) return false;
    const auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    if (open == nullptr) return false;
    ALCdevice* device = open(nullptr);
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_FLOAT_SOFT,
                                 ALC_FREQUENCY, sampleRate, 0};
    ALCcontext* context = device != nullptr ? alcCreateContext(device, attributes) : nullptr;
    if (!Opened(device, context)) return false;
    loopback_ = true;
    return true;
}

bool AudioDevice::Opened(void* device, void* context) {
    if (context == nullptr || alcMakeContextCurrent(static_cast<ALCcontext*>(context)) == ALC_FALSE) {
        if (context != nullptr) alcDestroyContext(static_cast<ALCcontext*>(context));
        if (device != nullptr) alcCloseDevice(static_cast<ALCdevice*>(device));
        return false;
    }
    device_ = device;
    context_ = context;
    currentGeneration = ++lastGeneration;
    alListenerf(AL_GAIN, masterVolume_);
    return true;
}

void AudioDevice::MasterVolume(float volume) {
    masterVolume_ = std::isnan(volume) ? 0.0f : std::clamp(volume, 0.0f, 1.0f);
    if (device_ != nullptr) alListenerf(AL_GAIN, masterVolume_);
}

void AudioDevice::RenderLoopback(float* out, int frames) {
    if (!loopback_ || frames <= 0) return;
    const auto render =
        reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(static_cast<ALCdevice*>(device_), "alcRenderSamplesSOFT"));
    if (render) render(static_cast<ALCdevice*>(device_), out, frames);
}

void AudioDevice::Update() {
    // Refilling never starts or stops a channel of this list, so it can be walked as it is.
    for (Channel* channel : StreamingChannels()) channel->Refill();
}

bool AudioDevice::Streaming() const {
    return std::any_of(StreamingChannels().begin(), StreamingChannels().end(), [](const Channel* channel) {
        return !channel->stream_->drained && !channel->paused_;
    });
}

void AudioDevice::Close() {
    if (device_ == nullptr) return;
    for (const auto& channel : LiveChannels()) channel->Stop();
    LiveChannels().clear();
    while (!StreamingChannels().empty()) StreamingChannels().back()->Stop();
    // Handles made in this context become inert: they no longer free anything.
    currentGeneration = 0;
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(static_cast<ALCcontext*>(context_));
    alcCloseDevice(static_cast<ALCdevice*>(device_));
    context_ = nullptr;
    device_ = nullptr;
    loopback_ = false;
}

AudioDevice::~AudioDevice() { Close(); }

AudioDevice& AudioDevice::Instance() {
    // The channel list is made first so it is destroyed after the device,
    // whose destructor still walks it.
    LiveChannels();
    static AudioDevice device;
    return device;
}

}  // namespace platform
