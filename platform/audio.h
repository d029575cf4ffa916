// Sound through OpenAL. WAV and Ogg Vorbis files are decoded whole into a
// sound, or an Ogg Vorbis sound is kept encoded and streamed: each channel
// playing it decodes a few hundred milliseconds ahead into a queue of OpenAL
// buffers, topped up by AudioDevice::Update from the main loop. Each play runs
// on a channel. When no audio device can be opened the program prints one
// line and runs silent: every call still works and does nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/alhandle.h"

namespace platform {

class Channel;
class VorbisStream;

class Sound : public std::enable_shared_from_this<Sound> {
public:
    enum Mode {
        Whole,     // decoded whole when it loads
        Streamed,  // Ogg Vorbis kept encoded and decoded while it plays; a WAV loads whole
    };

    // Null when the file is missing or cannot be decoded (a damaged, cut-off
    // or empty file among them), after one line naming it: "Sound not found: "
    // or "Sound cannot be decoded: " and the path.
    static std::shared_ptr<Sound> Load(std::string_view path, Mode mode = Whole);
    // From 16-bit samples (interleaved when stereo).
    Sound(std::vector<std::int16_t> samples, int channels, int sampleRate);
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    int Channels() const { return channels_; }
    int SampleRate() const { return sampleRate_; }
    int Frames() const { return frames_; }
    float Duration() const { return sampleRate_ ? float(frames_) / float(sampleRate_) : 0.0f; }
    bool IsStreamed() const { return !encoded_.empty(); }
    // The decoded samples of a whole sound. They move into OpenAL when the
    // sound is first played on a device (one copy is kept, not two), so they
    // are empty from then on, as they are for a streamed sound.
    const std::vector<std::int16_t>& Samples() const { return samples_; }

    // Plays once or looped on a new channel. The channel plays to its end
    // even when the caller drops it. A sound that is not held by a shared_ptr
    // cannot be kept alive by its channel and does not play.
    std::shared_ptr<Channel> Play(bool loop = false);

    // The OpenAL buffer of a whole sound's samples, made on first use; 0 when
    // sound is off and for a streamed sound.
    unsigned AlBuffer();

private:
    friend class Channel;

    // A streamed sound of the encoded file, not yet checked (see Load).
    Sound(std::string encoded, std::string_view path);
    // A stream of the encoded file from its start; null for a whole sound.
    std::unique_ptr<VorbisStream> OpenStream() const;

    std::vector<std::int16_t> samples_;
    std::string encoded_;
    std::string path_;
    int channels_ = 0;
    int sampleRate_ = 0;
    int frames_ = 0;
    al::Buffer buffer_;
};

class Channel {
public:
    Channel();
    ~Channel();
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    // Plays the sound from its start, stopping whatever the channel played.
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
    // Whether the channel is sounding now (false while paused or after its
    // end). A stream that ran dry during a long frame still counts as playing:
    // the next AudioDevice::Update starts it again.
    bool Playing() const;

private:
    friend class AudioDevice;
    struct Stream;

    void Apply();
    // Refills a stream's processed buffers and restarts it if it ran dry.
    void Refill();
    // Decodes the next piece of the stream into the buffer and queues it; false at the stream's end.
    bool QueueNext(unsigned buffer);

    // Declared before the source so the source (which holds the sound's
    // buffer) is freed first.
    std::shared_ptr<Sound> sound_;
    al::Source source_;
    std::unique_ptr<Stream> stream_;
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

    // The gain of the whole mix, 0 to 1 (clamped): every channel sounds at
    // its own volume times this. 1 until set; it holds for a device opened
    // later too.
    float MasterVolume() const { return masterVolume_; }
    void MasterVolume(float volume);

    // Tops up the buffer queue of every streaming channel; the main loop
    // calls it on every pass.
    void Update();
    // Whether some channel streams now (the main loop then waits for events
    // no longer than a stream lasts).
    bool Streaming() const;

    // For tests: a device that mixes only when asked, into stereo float
    // samples at the given rate, so what was played can be compared sample by
    // sample (16-bit output would be dithered).
    bool OpenLoopback(int sampleRate);
    // Mixes the next frames of a loopback device into out (2 samples a frame).
    void RenderLoopback(float* out, int frames);

private:
    bool Opened(void* device, void* context);

    void* device_ = nullptr;
    void* context_ = nullptr;
    bool loopback_ = false;
    float masterVolume_ = 1;
};

using SoundPtr = std::shared_ptr<Sound>;
using ChannelPtr = std::shared_ptr<Channel>;

}  // namespace platform
