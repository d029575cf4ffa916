// Sound through OpenAL. WAV and Ogg Vorbis files are decoded whole into a
// sound; each play runs on a channel. When no audio device can be opened the
// program prints one line and runs silent: every call still works and does nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/alhandle.h"

namespace platform {

class Channel;

class Sound : public std::enable_shared_from_this<Sound> {
public:
    // Null when the file is missing or cannot be decoded.
    static std::shared_ptr<Sound> Load(std::string_view path);
    // From 16-bit samples (interleaved when stereo).
    Sound(std::vector<std::int16_t> samples, int channels, int sampleRate);
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    int Channels() const { return channels_; }
    int SampleRate() const { return sampleRate_; }
    int Frames() const { return channels_ ? static_cast<int>(samples_.size()) / channels_ : 0; }
    float Duration() const { return sampleRate_ ? float(Frames()) / float(sampleRate_) : 0.0f; }
    const std::vector<std::int16_t>& Samples() const { return samples_; }

    // Plays once or looped on a new channel. The channel plays to its end
    // even when the caller drops it. A sound that is not held by a shared_ptr
    // cannot be kept alive by its channel and does not play.
    std::shared_ptr<Channel> Play(bool loop = false);

    // The OpenAL buffer of the samples, made on first use; 0 when sound is off.
    unsigned AlBuffer();

private:
    std::vector<std::int16_t> samples_;
    int channels_ = 0;
    int sampleRate_ = 0;
    al::Buffer buffer_;
};

class Channel {
public:
    Channel();
    ~Channel();
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    void Play(const std::shared_ptr<Sound>& sound, bool loop = false);
    // 0 to 1 (clamped).
    float Volume() const { return volume_; }
    void Volume(float volume);
    // -1 left to 1 right (clamped). Only mono sounds can be panned: OpenAL
    // places a mono source in space but plays stereo data as it is.
    float Pan() const { return pan_; }
    void Pan(float pan);
    // Playback speed (1 normal); not clamped beyond what the device needs.
    float Rate() const { return rate_; }
    void Rate(float rate);
    // Pausing a playing channel holds it; resuming continues it. A stopped channel is not restarted.
    bool Paused() const { return paused_; }
    void Paused(bool paused);
    void Stop();
    // Whether the channel is sounding now (false while paused or after its end).
    bool Playing() const;

private:
    void Apply();

    // Declared before the source so the source (which holds the sound's
    // buffer) is freed first.
    std::shared_ptr<Sound> sound_;
    al::Source source_;
    float volume_ = 1;
    float pan_ = 0;
    float rate_ = 1;
    bool paused_ = false;
};

// The audio device of the process, opened by the application object.
class AudioDevice {
public:
    // Opens the default device; prints one line and stays silent when it cannot.
    bool Open();
    // Stops every channel and closes the device; sounds and channels that
    // outlive it keep working silently.
    void Close();
    ~AudioDevice();
    bool Available() const { return device_ != nullptr; }
    static AudioDevice& Instance();

private:
    void* device_ = nullptr;
    void* context_ = nullptr;
};

using SoundPtr = std::shared_ptr<Sound>;
using ChannelPtr = std::shared_ptr<Channel>;

}  // namespace platform
