// Sound through OpenAL Soft: one buffer per sound, one source per channel.
// With no device every call still works and does nothing, so the game never
// has to ask whether sound is on.
#include "platform/audio.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/files.h"
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

std::shared_ptr<Sound> Sound::Load(std::string_view path) {
    const std::optional<std::string> bytes = TryLoadString(path);
    if (!bytes) return nullptr;
    // Decided by the content, not the extension.
    std::optional<DecodedSound> decoded = DecodeWav(*bytes);
    if (!decoded) decoded = DecodeOgg(*bytes);
    if (!decoded) return nullptr;
    return std::make_shared<Sound>(std::move(decoded->samples), decoded->channels, decoded->sampleRate);
}

Sound::Sound(std::vector<std::int16_t> samples, int channels, int sampleRate)
    : samples_(std::move(samples)), channels_(channels), sampleRate_(sampleRate) {
    // Only whole frames of mono or stereo data can be played.
    if (channels_ != 1 && channels_ != 2) {
        channels_ = 0;
        samples_.clear();
    }
    if (sampleRate_ <= 0) sampleRate_ = 0;
    if (channels_ > 0) samples_.resize(samples_.size() / static_cast<std::size_t>(channels_) * static_cast<std::size_t>(channels_));
}

Sound::~Sound() = default;

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

Channel::Channel() = default;
Channel::~Channel() = default;

void Channel::Play(const std::shared_ptr<Sound>& sound, bool loop) {
    Stop();
    if (!sound) return;
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
    if (paused && state == AL_PLAYING) {
        alSourcePause(id);
        paused_ = true;
    } else if (!paused && state == AL_PAUSED) {
        // Only a paused channel resumes: one that was stopped or has ended stays silent.
        alSourcePlay(id);
        paused_ = false;
    }
}

void Channel::Stop() {
    paused_ = false;
    if (source_.Valid()) {
        alSourceStop(source_.Id());
        alSourcei(source_.Id(), AL_BUFFER, 0);
    }
    sound_.reset();
}

bool Channel::Playing() const {
    if (!source_.Valid()) return false;
    ALint state = AL_STOPPED;
    alGetSourcei(source_.Id(), AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

// ---- AudioDevice

bool AudioDevice::Open() {
    if (device_ != nullptr) return true;
    ALCdevice* device = alcOpenDevice(nullptr);
    ALCcontext* context = device != nullptr ? alcCreateContext(device, nullptr) : nullptr;
    if (context == nullptr || alcMakeContextCurrent(context) == ALC_FALSE) {
        if (context != nullptr) alcDestroyContext(context);
        if (device != nullptr) alcCloseDevice(device);
        std::printf("No audio device: sound is off\n");
        std::fflush(stdout);
        return false;
    }
    device_ = device;
    context_ = context;
    currentGeneration = ++lastGeneration;
    return true;
}

void AudioDevice::Close() {
    if (device_ == nullptr) return;
    for (const auto& channel : LiveChannels()) channel->Stop();
    LiveChannels().clear();
    // Handles made in this context become inert: they no longer free anything.
    currentGeneration = 0;
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(static_cast<ALCcontext*>(context_));
    alcCloseDevice(static_cast<ALCdevice*>(device_));
    context_ = nullptr;
    device_ = nullptr;
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
