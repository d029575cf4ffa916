// Sound tests. OpenAL Soft reads its configuration once per process, so each
// test that needs a particular output (the null driver, the wave-file driver,
// no driver at all) sets it up before the first audio call; ctest runs every
// test in a process of its own. Run all in one process, a test whose set-up
// came too late skips itself.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio.h"
#include "platform/files.h"
#include "platform/wav.h"
#include "support/testsupport.h"

using namespace platform;
using namespace std::string_literals;

namespace {

// A RIFF WAVE file of 16-bit (or 8-bit) PCM written by hand.
std::string MakeWav(const std::vector<std::int16_t>& samples, int channels, int rate, int bits = 16,
                    std::string extraChunk = "") {
    const auto u32 = [](std::uint32_t v) {
        return std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
    };
    const auto u16 = [](std::uint16_t v) { return std::string{char(v & 0xFF), char(v >> 8)}; };
    std::string data;
    for (std::int16_t s : samples) {
        if (bits == 8) data += char(static_cast<std::uint8_t>((s >> 8) + 128));
        else data += u16(static_cast<std::uint16_t>(s));
    }
    const int block = channels * bits / 8;
    std::string fmt = u16(1) + u16(static_cast<std::uint16_t>(channels)) + u32(static_cast<std::uint32_t>(rate)) +
                      u32(static_cast<std::uint32_t>(rate * block)) + u16(static_cast<std::uint16_t>(block)) +
                      u16(static_cast<std::uint16_t>(bits));
    std::string body = "WAVE" + std::string("fmt ") + u32(16) + fmt + extraChunk + "data" +
                       u32(static_cast<std::uint32_t>(data.size())) + data;
    return "RIFF" + u32(static_cast<std::uint32_t>(body.size())) + body;
}

std::vector<std::int16_t> Sine(int frames, int rate, double hz = 440, double amplitude = 12000) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        samples[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(amplitude * std::sin(2 * std::numbers::pi * hz * i / rate));
    }
    return samples;
}

int Peak(const std::vector<std::int16_t>& samples) {
    int peak = 0;
    for (std::int16_t s : samples) peak = std::max(peak, std::abs(int(s)));
    return peak;
}

std::string TestData(const std::string& name) {
    const char* dir = std::getenv("ZANDROVIA_TEST_DATA");
    return std::string(dir ? dir : "tests/data") + "/" + name;
}

// Chooses OpenAL Soft's driver for this process; false when the process
// already started OpenAL with another one.
bool UseAudioDriver(const std::string& drivers, const std::string& config = "") {
    static std::string chosen;
    if (!chosen.empty()) return chosen == drivers + config;
    chosen = drivers + config;
    testsupport::SetEnv("ALSOFT_DRIVERS", drivers);
    if (!config.empty()) testsupport::SetEnv("ALSOFT_CONF", config);
    return true;
}

template <typename Condition>
bool WaitFor(Condition condition) {
    // The audio drivers mix in real time, so the end of a sound is a matter
    // of wall-clock time; this waits for it with a generous bound.
    for (int i = 0; i < 1000; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return condition();
}

}  // namespace

TEST(WavDecoder, ReadsPcmOf8And16Bits) {
    const auto mono = DecodeWav(MakeWav({0, 1000, -1000, 32767}, 1, 22050));
    ASSERT_TRUE(mono);
    EXPECT_EQ(mono->channels, 1);
    EXPECT_EQ(mono->sampleRate, 22050);
    EXPECT_EQ(mono->samples, (std::vector<std::int16_t>{0, 1000, -1000, 32767}));

    const auto eight = DecodeWav(MakeWav({-32768, 0, 32512}, 2, 8000, 8));
    ASSERT_TRUE(eight);
    EXPECT_EQ(eight->channels, 2);
    // Three samples are one whole stereo frame and a half: the half is dropped.
    EXPECT_EQ(eight->samples, (std::vector<std::int16_t>{-32768, 0}));

    // Unknown chunks (of odd size, padded) before the data are skipped.
    const auto listed = DecodeWav(MakeWav({5, 6}, 1, 44100, 16, std::string("LIST\x03\0\0\0abc\0", 12)));
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->samples, (std::vector<std::int16_t>{5, 6}));
}

TEST(WavDecoder, CutOffDataGivesTheFramesThatAreThere) {
    const std::string full = MakeWav({1, 2, 3, 4, 5, 6}, 2, 22050);
    const auto cut = DecodeWav(full.substr(0, full.size() - 3));  // half of sample 5 and all of 6 missing
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->samples, (std::vector<std::int16_t>{1, 2, 3, 4}));
}

TEST(WavDecoder, RejectsCorruptAndUnsupportedFiles) {
    const std::string good = MakeWav({1, 2}, 1, 22050);
    std::string threeChannels = MakeWav({1, 2, 3}, 3, 22050);
    std::string float32 = good;
    float32[20] = 3;  // IEEE float format tag
    std::string bits24 = good;
    bits24[34] = 24;
    std::string zeroRate = good;
    zeroRate[24] = zeroRate[25] = zeroRate[26] = zeroRate[27] = 0;
    const std::string dataFirst = "RIFF\x10\0\0\0WAVEdata\x02\0\0\0\x01\x02"s;
    const std::string cases[] = {
        "",
        "RIFF",
        "RIFF\0\0\0\0WAVX"s,
        good.substr(0, 30),  // cut off inside the format chunk
        good.substr(0, 36),  // cut off before the data chunk
        threeChannels,
        float32,
        bits24,
        zeroRate,
        dataFirst,
        std::string(1000, '\xFF'),
    };
    for (const std::string& bytes : cases) EXPECT_FALSE(DecodeWav(bytes)) << testing::PrintToString(bytes);
}

// The Vorbis comment header declares the lengths of its texts; a file whose
// lengths or comment count overstate what the packet holds is rejected
// before the decoder allocates or frees by them.
TEST(SoundLoad, OggCommentHeadersThatOverstateTheirContentAreRejected) {
    const std::string sine = LoadString(TestData("sine.ogg"));
    ASSERT_TRUE(DecodeOgg(sine));
    // sine.ogg's comment packet: "\x03vorbis" at 0x63, the vendor's length
    // (52) at 0x6a, the number of comments (0) at 0xa2, the framing byte.
    ASSERT_EQ(sine.substr(0x63, 7), "\x03vorbis");
    struct Case {
        std::size_t at;
        std::uint32_t value;
        const char* fault;
    };
    const Case cases[] = {
        {0x6a, 0xFFFFFFF0u, "a vendor text beyond the file"},
        {0x6a, 56, "a vendor text beyond the packet"},
        {0xa2, 2, "comment slots left unfilled, then freed"},
        {0xa2, 0x7FFFFFFFu, "gigabytes of comment slots"},
    };
    for (const Case& c : cases) {
        std::string bytes = sine;
        for (int k = 0; k < 4; ++k) bytes[c.at + k] = static_cast<char>((c.value >> (8 * k)) & 0xFF);
        EXPECT_FALSE(DecodeOgg(bytes)) << c.fault;
    }
}

TEST(SoundLoad, DecodesWavAndOggAndRejectsTheRest) {
    const std::string dir = testsupport::TempDir();
    ASSERT_TRUE(SaveString(MakeWav(Sine(2205, 22050), 1, 22050), dir + "sine.wav"));
    const auto wav = Sound::Load(dir + "sine.wav");
    ASSERT_TRUE(wav);
    EXPECT_EQ(wav->Channels(), 1);
    EXPECT_EQ(wav->SampleRate(), 22050);
    EXPECT_EQ(wav->Frames(), 2205);
    EXPECT_FLOAT_EQ(wav->Duration(), 0.1f);

    const auto ogg = Sound::Load(TestData("sine.ogg"));
    ASSERT_TRUE(ogg) << TestData("sine.ogg");
    EXPECT_EQ(ogg->Channels(), 1);
    EXPECT_EQ(ogg->SampleRate(), 22050);
    EXPECT_NEAR(ogg->Duration(), 0.25f, 0.01f);
    EXPECT_GT(Peak(ogg->Samples()), 8000) << "the decoded sine is (nearly) silent";

    ASSERT_TRUE(SaveString("OggS but not really an ogg file", dir + "bad.ogg"));
    ASSERT_TRUE(SaveString(LoadString(TestData("sine.ogg")).substr(0, 200), dir + "cut.ogg"));
    EXPECT_FALSE(Sound::Load(dir + "missing.wav"));
    EXPECT_FALSE(Sound::Load(dir + "bad.ogg"));
    EXPECT_FALSE(Sound::Load(dir + "cut.ogg"));
    EXPECT_FALSE(Sound::Load(dir));
}

// Both formats play through OpenAL Soft's wave-file driver, and what it
// writes is the sound, not silence.
TEST(AudioOutput, WavAndOggReachTheWaveDriver) {
    const std::string dir = testsupport::TempDir();
    const std::string out = dir + "out.wav";
    ASSERT_TRUE(SaveString("[general]\ndrivers = wave\nsample-type = int16\nchannels = stereo\nfrequency = 22050\n"
                           "[wave]\nfile = " + out + "\n",
                           dir + "alsoft.conf"));
    if (!UseAudioDriver("wave", dir + "alsoft.conf")) GTEST_SKIP() << "needs a process of its own";
    ASSERT_TRUE(AudioDevice::Instance().Open());

    ASSERT_TRUE(SaveString(MakeWav(Sine(4410, 22050), 1, 22050), dir + "sine.wav"));
    for (const std::string& path : {dir + "sine.wav", TestData("sine.ogg")}) {
        const auto sound = Sound::Load(path);
        ASSERT_TRUE(sound) << path;
        const auto channel = sound->Play();
        EXPECT_TRUE(channel->Playing()) << path;
        EXPECT_TRUE(WaitFor([&] { return !channel->Playing(); })) << path;
    }
    AudioDevice::Instance().Close();  // finishes the file

    const auto written = DecodeWav(LoadString(out));
    ASSERT_TRUE(written) << "the wave driver wrote no readable file";
    EXPECT_EQ(written->channels, 2);
    EXPECT_GT(Peak(written->samples), 2000) << "the output is silent";
}

TEST(AudioChannel, PauseResumeAndStop) {
    if (!UseAudioDriver("null")) GTEST_SKIP() << "needs a process of its own";
    ASSERT_TRUE(AudioDevice::Instance().Open());
    const auto sound = std::make_shared<Sound>(Sine(22050, 22050), 1, 22050);

    const auto channel = sound->Play(true);
    EXPECT_TRUE(channel->Playing());
    channel->Paused(true);
    EXPECT_TRUE(channel->Paused());
    EXPECT_FALSE(channel->Playing());
    channel->Paused(false);
    EXPECT_FALSE(channel->Paused());
    EXPECT_TRUE(channel->Playing());

    channel->Stop();
    EXPECT_FALSE(channel->Playing());
    channel->Paused(false);
    EXPECT_FALSE(channel->Playing()) << "resuming must not restart a stopped channel";
    channel->Paused(true);
    EXPECT_FALSE(channel->Paused()) << "only a playing channel can be paused";

    // A channel that played to its end is not restarted either.
    const auto blip = std::make_shared<Sound>(Sine(64, 22050), 1, 22050);
    const auto once = blip->Play();
    ASSERT_TRUE(WaitFor([&] { return !once->Playing(); }));
    once->Paused(false);
    EXPECT_FALSE(once->Playing());

    // Playing again on the same channel starts over.
    channel->Play(sound, false);
    EXPECT_TRUE(channel->Playing());
    AudioDevice::Instance().Close();
    EXPECT_FALSE(channel->Playing());
}

TEST(AudioChannel, SettingsAreClampedAndEveryRateStillPlays) {
    if (!UseAudioDriver("null")) GTEST_SKIP() << "needs a process of its own";
    ASSERT_TRUE(AudioDevice::Instance().Open());
    const auto sound = std::make_shared<Sound>(Sine(22050, 22050), 2, 22050);
    const auto channel = sound->Play(true);
    struct Case {
        float in, volume, pan;
    };
    const Case cases[] = {{2, 1, 1}, {-1, 0, -1}, {0.25f, 0.25f, 0.25f}, {NAN, 0, 0}};
    for (const Case& c : cases) {
        channel->Volume(c.in);
        channel->Pan(c.in);
        EXPECT_EQ(channel->Volume(), c.volume) << c.in;
        EXPECT_EQ(channel->Pan(), c.pan) << c.in;
    }
    for (float rate : {0.5f, 2.0f, 0.0f, -1.0f}) {
        channel->Rate(rate);
        EXPECT_EQ(channel->Rate(), rate);
        EXPECT_TRUE(channel->Playing()) << "rate " << rate;
    }
    AudioDevice::Instance().Close();
}

// A channel keeps its sound alive while it plays, and a channel that the
// caller drops keeps playing (sound effects are fired and forgotten).
TEST(AudioChannel, PlayingChannelsOwnTheirSoundAndOutliveTheirCaller) {
    if (!UseAudioDriver("null")) GTEST_SKIP() << "needs a process of its own";
    ASSERT_TRUE(AudioDevice::Instance().Open());
    auto sound = std::make_shared<Sound>(Sine(22050, 22050), 1, 22050);
    const std::weak_ptr<Sound> weakSound = sound;
    std::weak_ptr<Channel> weakChannel = sound->Play(true);
    sound.reset();
    ASSERT_FALSE(weakChannel.expired()) << "the dropped channel was destroyed and its sound cut off";
    EXPECT_TRUE(weakChannel.lock()->Playing());
    EXPECT_FALSE(weakSound.expired());
    weakChannel.lock()->Stop();
    EXPECT_TRUE(weakSound.expired()) << "a stopped channel still holds its sound";
    AudioDevice::Instance().Close();
    EXPECT_TRUE(weakChannel.expired());

    // A sound on the stack cannot be kept alive by a channel, so it does not play.
    Sound local(Sine(100, 22050), 1, 22050);
    ASSERT_TRUE(AudioDevice::Instance().Open());
    EXPECT_FALSE(local.Play()->Playing());
    AudioDevice::Instance().Close();
}

TEST(AudioDevice, WithoutADeviceEverySoundCallWorksSilently) {
    if (!UseAudioDriver("zandrovia-no-such-driver")) GTEST_SKIP() << "needs a process of its own";
    testing::internal::CaptureStdout();
    EXPECT_FALSE(AudioDevice::Instance().Open());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "No audio device: sound is off\n");
    EXPECT_FALSE(AudioDevice::Instance().Available());

    const auto sound = std::make_shared<Sound>(Sine(2205, 22050), 1, 22050);
    EXPECT_EQ(sound->AlBuffer(), 0u);
    EXPECT_EQ(sound->Frames(), 2205);
    const auto channel = sound->Play(true);
    ASSERT_TRUE(channel);
    EXPECT_FALSE(channel->Playing());
    channel->Volume(0.5f);
    channel->Pan(-0.5f);
    channel->Rate(1.5f);
    channel->Paused(true);
    channel->Paused(false);
    channel->Stop();
    channel->Play(sound, false);
    EXPECT_FALSE(channel->Playing());
    EXPECT_EQ(channel->Volume(), 0.5f);
    AudioDevice::Instance().Close();
}

// ---------------------------------------------------------------------------
// Load failures and streamed sounds. Streams are checked on a loopback device,
// which mixes only when asked: what a streamed channel plays is compared
// sample by sample with the same sound decoded whole and looped by OpenAL.

namespace {

constexpr int kLoopbackRate = 22050;  // the sample file's rate: samples pass unchanged

using Mix = std::vector<float>;

// Mixes the next frames of the loopback device in pieces of 512, topping the
// streams up before each piece as the main loop does every frame.
Mix Render(int frames, bool update = true) {
    Mix out(static_cast<std::size_t>(frames) * 2);
    for (int done = 0; done < frames; done += 512) {
        if (update) AudioDevice::Instance().Update();
        AudioDevice::Instance().RenderLoopback(out.data() + static_cast<std::size_t>(done) * 2,
                                               std::min(512, frames - done));
    }
    return out;
}

Mix Part(const Mix& samples, int firstFrame, int frames) {
    return {samples.begin() + firstFrame * 2, samples.begin() + (firstFrame + frames) * 2};
}

float Loudest(const Mix& samples) {
    float peak = 0;
    for (float s : samples) peak = std::max(peak, std::abs(s));
    return peak;
}

bool Silent(const Mix& samples) { return Loudest(samples) < 1e-6f; }

// The number of frames up to the last one that sounds.
int SoundingFrames(const Mix& samples) {
    int frames = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) >= 1e-6f) frames = static_cast<int>(i / 2) + 1;
    }
    return frames;
}

// OpenAL Soft from 1.20 on does not cut off a source that is paused, resumed
// or stopped, or one that runs out of data: it fades it out over a short
// time, against clicks. Older versions cut at once (Debian's 1.19 does; the
// Windows build's 1.21 fades). How long this library's fades last, in frames
// of the loopback device, measured with a sine: 0 where it cuts.
struct Fades {
    int pause = 0;  // after a pause (or a stop) of a playing source
    int end = 0;    // after the last sample of the data
};
Fades MeasureFades() {
    Fades fades;
    // The data ends just past a piece of the mix: a fade that starts with the
    // next piece is at its longest.
    const auto sound = std::make_shared<Sound>(Sine(513, kLoopbackRate), 1, kLoopbackRate);
    auto channel = sound->Play(false);
    fades.end = std::max(0, SoundingFrames(Render(4096)) - 513);
    channel = sound->Play(true);
    Render(512);
    channel->Paused(true);
    fades.pause = SoundingFrames(Render(4096));
    channel->Stop();
    Render(4096);
    return fades;
}

// Plays the sound decoded whole and looped by OpenAL: what a stream must
// sound like. The device's own processing delays its output by a few frames,
// so the reference starts and ends with a stretch of silence that lets the
// delayed tail out.
Mix Reference(const SoundPtr& whole, int frames, bool loop = true) {
    const auto channel = whole->Play(loop);
    Mix mix = Render(frames);
    channel->Stop();
    Render(1000);
    return mix;
}

}  // namespace

TEST(SoundLoad, AMissingOrDamagedFileGivesNoSoundAndOneLineNamingIt) {
    const std::string dir = testsupport::TempDir();
    const std::string sine = LoadString(TestData("sine.ogg"));
    ASSERT_TRUE(SaveString(sine.substr(0, sine.size() / 2), dir + "cut.ogg"));
    ASSERT_TRUE(SaveString("", dir + "empty.ogg"));
    std::string damaged = sine;
    damaged[damaged.size() - 300] ^= 0x20;
    ASSERT_TRUE(SaveString(damaged, dir + "damaged.ogg"));
    const struct {
        std::string path;
        std::string line;
    } cases[] = {
        {dir + "missing.ogg", "Sound not found: "},
        {dir, "Sound not found: "},
        {dir + "cut.ogg", "Sound cannot be decoded: "},
        {dir + "empty.ogg", "Sound cannot be decoded: "},
        {dir + "damaged.ogg", "Sound cannot be decoded: "},
    };
    for (const auto& c : cases) {
        for (const Sound::Mode mode : {Sound::Whole, Sound::Streamed}) {
            testing::internal::CaptureStdout();
            EXPECT_FALSE(Sound::Load(c.path, mode)) << c.path;
            EXPECT_EQ(testing::internal::GetCapturedStdout(), c.line + c.path + "\n") << "mode " << mode;
        }
    }
}

TEST(StreamedSound, LoopsExactlyAsTheWholeSoundAcrossItsLoopPoints) {
    ASSERT_TRUE(AudioDevice::Instance().OpenLoopback(kLoopbackRate));
    const auto whole = Sound::Load(TestData("sine.ogg"));
    const auto streamed = Sound::Load(TestData("sine.ogg"), Sound::Streamed);
    ASSERT_TRUE(whole && streamed);
    EXPECT_FALSE(whole->IsStreamed());
    EXPECT_TRUE(streamed->IsStreamed());
    EXPECT_EQ(streamed->Frames(), whole->Frames());
    EXPECT_EQ(streamed->Channels(), 1);
    EXPECT_EQ(streamed->SampleRate(), kLoopbackRate);
    EXPECT_TRUE(streamed->Samples().empty()) << "a streamed sound holds no decoded samples";

    // Long enough for the loop point to pass three times.
    const int frames = whole->Frames() * 3 + 1000;
    const Mix expected = Reference(whole, frames);
    EXPECT_GT(Loudest(expected), 0.1f);

    const auto channel = streamed->Play(true);
    EXPECT_TRUE(channel->Playing());
    EXPECT_TRUE(AudioDevice::Instance().Streaming());
    EXPECT_EQ(Render(frames), expected);
    EXPECT_TRUE(channel->Playing());
    channel->Stop();
    EXPECT_FALSE(AudioDevice::Instance().Streaming());
    AudioDevice::Instance().Close();
}

TEST(StreamedSound, PlaysOnceToItsEndWithoutLooping) {
    ASSERT_TRUE(AudioDevice::Instance().OpenLoopback(kLoopbackRate));
    const auto whole = Sound::Load(TestData("sine.ogg"));
    const auto streamed = Sound::Load(TestData("sine.ogg"), Sound::Streamed);
    ASSERT_TRUE(whole && streamed);
    const int frames = whole->Frames() + 3000;
    const Mix expected = Reference(whole, frames, false);
    const auto channel = streamed->Play(false);
    EXPECT_EQ(Render(frames), expected);
    EXPECT_FALSE(channel->Playing()) << "the stream ended with its file";
    EXPECT_TRUE(Silent(Render(1000)));
    AudioDevice::Instance().Close();
}

// Pause, resume, stop and a restart from the start (as the music switch does)
// on a streamed channel, checked by what is heard.
TEST(StreamedSound, PauseResumeStopAndRestart) {
    ASSERT_TRUE(AudioDevice::Instance().OpenLoopback(kLoopbackRate));
    const auto whole = Sound::Load(TestData("sine.ogg"));
    const auto music = Sound::Load(TestData("sine.ogg"), Sound::Streamed);
    ASSERT_TRUE(whole && music);
    const Mix expected = Reference(whole, 4000);
    // Where the library fades (see Fades), what follows a pause, resume or
    // stop is compared from the fade's end on.
    const int fade = MeasureFades().pause;
    ASSERT_LE(fade, 512) << "a fade is short";
    const auto after = [fade](const Mix& mix) { return Part(mix, fade, static_cast<int>(mix.size() / 2) - fade); };

    auto channel = music->Play(true);
    EXPECT_EQ(Render(1000), Part(expected, 0, 1000));
    channel->Paused(true);
    EXPECT_TRUE(channel->Paused());
    EXPECT_FALSE(channel->Playing());
    EXPECT_FALSE(AudioDevice::Instance().Streaming()) << "a paused stream needs no refills";
    EXPECT_TRUE(Silent(after(Render(3000))));
    channel->Paused(false);
    EXPECT_TRUE(channel->Playing());
    EXPECT_EQ(after(Render(1000)), after(Part(expected, 1000, 1000))) << "resuming goes on where the pause held it";

    channel->Stop();
    EXPECT_FALSE(channel->Playing());
    EXPECT_TRUE(Silent(after(Render(1000))));
    channel->Paused(false);
    EXPECT_FALSE(channel->Playing()) << "resuming must not restart a stopped channel";
    EXPECT_TRUE(Silent(Render(1000)));
    channel->Paused(true);
    EXPECT_FALSE(channel->Paused()) << "only a playing channel can be paused";

    // The music switch turned on: the old channel stops, the music starts over.
    channel->Stop();
    channel = music->Play(true);
    EXPECT_EQ(Render(1000), Part(expected, 0, 1000));
    // Playing again on the same channel starts over too.
    channel->Play(music, true);
    EXPECT_EQ(after(Render(1000)), after(Part(expected, 0, 1000)));
    AudioDevice::Instance().Close();
    EXPECT_FALSE(channel->Playing());
}

// A frame that takes longer than the queue lasts lets the stream run dry; it
// still counts as playing and goes on with the next refill.
TEST(StreamedSound, AStreamThatRanDryGoesOnAtTheNextRefill) {
    ASSERT_TRUE(AudioDevice::Instance().OpenLoopback(kLoopbackRate));
    const auto music = Sound::Load(TestData("sine.ogg"), Sound::Streamed);
    ASSERT_TRUE(music);
    const Fades fades = MeasureFades();
    ASSERT_LE(fades.end, 2048) << "a fade is short";
    const auto channel = music->Play(true);
    // 400 ms are queued; a whole second passes without a refill.
    const Mix stalled = Render(kLoopbackRate, false);
    EXPECT_FALSE(Silent(Part(stalled, 0, 8000)));
    EXPECT_TRUE(Silent(Part(stalled, 9000 + fades.end, kLoopbackRate - 9000 - fades.end))) << fades.end;
    EXPECT_TRUE(channel->Playing());
    EXPECT_GT(Loudest(Render(4000)), 0.1f);
    EXPECT_TRUE(channel->Playing());

    // Pausing and resuming a dry stream works as for any other.
    Render(kLoopbackRate, false);
    channel->Paused(true);
    EXPECT_TRUE(channel->Paused());
    EXPECT_TRUE(Silent(Render(2000)));
    channel->Paused(false);
    EXPECT_GT(Loudest(Render(4000)), 0.1f);
    AudioDevice::Instance().Close();
}

// A whole sound keeps its samples only until OpenAL has its own copy.
TEST(AudioChannel, AWholeSoundsSamplesMoveIntoOpenAl) {
    ASSERT_TRUE(AudioDevice::Instance().OpenLoopback(kLoopbackRate));
    const auto sound = std::make_shared<Sound>(Sine(2205, kLoopbackRate), 1, kLoopbackRate);
    EXPECT_EQ(sound->Samples().size(), 2205u);
    sound->Play();
    EXPECT_TRUE(sound->Samples().empty());
    EXPECT_EQ(sound->Frames(), 2205);
    EXPECT_GT(Loudest(Render(2205)), 0.1f);
    sound->Play();
    EXPECT_GT(Loudest(Render(2205)), 0.1f) << "the sound plays again from OpenAL's copy";
    AudioDevice::Instance().Close();
}

TEST(AudioDevice, TheMasterVolumeScalesTheWholeMix) {
    // Set before the device opens: the device takes it.
    AudioDevice::Instance().MasterVolume(0.5f);
    ASSERT_TRUE(AudioDevice::Instance().OpenLoopback(kLoopbackRate));
    const auto sound = std::make_shared<Sound>(Sine(2205, kLoopbackRate), 1, kLoopbackRate);
    const auto loudest = [&] {
        const auto channel = sound->Play();
        const float peak = Loudest(Render(2205));
        Render(1000);
        return peak;
    };
    const float half = loudest();
    AudioDevice::Instance().MasterVolume(1);
    const float full = loudest();
    EXPECT_GT(full, 0.1f);
    EXPECT_NEAR(half / full, 0.5f, 0.01f);
    for (const float volume : {2.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
        AudioDevice::Instance().MasterVolume(volume);
        EXPECT_EQ(AudioDevice::Instance().MasterVolume(), volume > 1 ? 1.0f : 0.0f) << volume;
    }
    EXPECT_LT(loudest(), 1e-6f) << "nothing is heard at 0";
    AudioDevice::Instance().Close();
    AudioDevice::Instance().MasterVolume(1);
}
